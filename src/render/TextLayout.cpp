#include "render/TextLayout.h"

#include "render/TextMetrics.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace flow {

namespace {

const QChar kLineFeed(u'\n');
const QChar kTab(u'\t');
const QString kReferenceGlyph = QStringLiteral("|");

// A tab always advances, even from a position that already is a stop.
double NextTabStop(double x) {
    return x - std::fmod(x, double(kTabStep)) + kTabStep;
}

} // namespace

double TextBlockWidth(const QFont& font, const QString& text) {
    const QFontMetricsF& metrics = MetricsOf(font);
    double widest = 0.0;
    double pen = 0.0;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool atEnd = i == text.size();
        if (!atEnd && text[i] != kTab && text[i] != kLineFeed) continue;
        if (i > runStart) pen += RunWidth(metrics, QStringView(text).mid(runStart, i - runStart));
        runStart = i + 1;
        if (!atEnd && text[i] == kTab) {
            pen = NextTabStop(pen);
        } else {
            widest = std::max(widest, pen);
            pen = 0.0;
        }
    }
    return widest;
}

double TextBlockHeight(const QFont& font, const QString& text) {
    // Every line, empty or not, is measured as a run in the same font, and a run's layout box
    // is always one line high: the block is as many lines high as it has lines.
    const qsizetype lines = text.count(kLineFeed) + 1;
    return double(lines) * RunHeight(MetricsOf(font));
}

namespace {

// The caret positions of a text as the pointer finds them: x is the pen before the character,
// y the vertical centre of its line. Characters are measured one by one.
class CaretWalk {
  public:
    explicit CaretWalk(const QFont& font)
        : metrics_(MetricsOf(font)), lineHeight_(RunHeight(metrics_)), y_(lineHeight_ / 2) {}
    double X() const { return x_; }
    double Y() const { return y_; }
    double LineHeight() const { return lineHeight_; }
    void Pass(QChar c) {
        if (c == kLineFeed) {
            x_ = 0.0;
            y_ += lineHeight_;
        } else if (c == kTab) {
            x_ = NextTabStop(x_);
        } else {
            x_ += metrics_.horizontalAdvance(c);
        }
    }

  private:
    const QFontMetricsF& metrics_;
    double lineHeight_;
    double x_ = 0.0;
    double y_;
};

} // namespace

int TextIndexAt(const QFont& font, const QString& text, double x, double y) {
    CaretWalk walk(font);
    int best = 0;
    double bestDy = std::numeric_limits<double>::infinity();
    double bestDx = bestDy;
    for (qsizetype i = 0;; ++i) {
        const double dy = std::fabs(walk.Y() - y);
        const double dx = std::fabs(walk.X() - x);
        // The nearest line wins first; along it the nearest position, ties to the later one.
        if (dy < bestDy || (dy == bestDy && dx <= bestDx)) {
            best = int(i);
            bestDy = dy;
            bestDx = dx;
        }
        if (i == text.size()) break;
        walk.Pass(text[i]);
    }
    return best;
}

QPointF CaretPoint(const QFont& font, const QString& text, int index) {
    CaretWalk walk(font);
    const qsizetype end = std::clamp<qsizetype>(index, 0, text.size());
    for (qsizetype i = 0; i < end; ++i)
        walk.Pass(text[i]);
    return QPointF(walk.X(), walk.Y());
}

namespace {

// The longest start of the line that fits with the ellipsis after it; the ellipsis alone when
// none does.
QString ElidedLine(const QFont& font, const QString& line, double width) {
    const QString ellipsis(QChar(0x2026));
    qsizetype fits = 0, tooLong = line.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (TextBlockWidth(font, line.left(middle) + ellipsis) <= width)
            fits = middle;
        else
            tooLong = middle;
    }
    // A cut between the halves of a surrogate pair would leave half a character.
    if (fits > 0 && line[fits - 1].isHighSurrogate()) --fits;
    return line.left(fits) + ellipsis;
}

} // namespace

QString ElidedTextBlock(const QFont& font, const QString& text, double width) {
    if (TextBlockWidth(font, text) <= width) return text;
    QStringList lines = text.split(kLineFeed);
    for (QString& line : lines)
        if (TextBlockWidth(font, line) > width) line = ElidedLine(font, line, width);
    return lines.join(kLineFeed);
}

double LineHeight(const QFont& font) {
    return RunHeight(MetricsOf(font));
}

namespace {

// Runs longer than kLongestShaped are drawn in pieces of this many characters, and only the
// pieces in sight: shaping a whole line of millions of characters takes seconds and gigabytes.
// Each piece stands where RunWidth measures its start (from OwnAdvances). Shorter runs are drawn
// whole.
constexpr qsizetype kDrawnPiece = 4096;

// What the painter can still change of its device, in its own coordinates, widened by the margin;
// none when it cannot tell (a device other than a raster image).
std::optional<QRectF> AreaInSight(const QPainter& painter, double margin) {
    const QPaintDevice* device = painter.device();
    if (!device || !painter.paintEngine() ||
        painter.paintEngine()->type() != QPaintEngine::Raster || device->width() <= 0 ||
        device->height() <= 0)
        return std::nullopt;
    bool invertible = false;
    const QTransform toPainter = painter.deviceTransform().inverted(&invertible);
    if (!invertible) return std::nullopt;
    QRectF area = toPainter.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (painter.hasClipping()) area &= painter.clipBoundingRect();
    return area.adjusted(-margin, -margin, margin, margin);
}

// A long run drawn in pieces, each at the pen its start has in the whole run; the pieces out of
// sight are only measured.
void DrawLongRun(QPainter& painter, QPointF pen, QStringView run, const QFontMetricsF& metrics,
                 const QRectF& sight) {
    double x = pen.x();
    for (qsizetype start = 0; start < run.size();) {
        qsizetype end = std::min(run.size(), start + kDrawnPiece);
        // A cut between the halves of a surrogate pair would draw two broken characters.
        if (end < run.size() && run[end - 1].isHighSurrogate()) ++end;
        const QStringView piece = run.mid(start, end - start);
        const double advance = OwnAdvances(metrics, piece);
        if (x <= sight.right() && x + advance >= sight.left())
            painter.drawText(QPointF(x, pen.y()), piece.toString());
        x += advance;
        start = end;
    }
}

// Text with no caret and no selection: only the lines in sight are drawn.
void DrawPlainText(QPainter& painter, double x, double y, const QString& text,
                   const QFontMetricsF& metrics) {
    const double lineHeight = RunHeight(metrics);
    const double ascent = metrics.ascent();
    const std::optional<QRectF> sight = AreaInSight(painter, 2 * lineHeight);
    double top = y;
    for (qsizetype lineStart = 0; lineStart <= text.size(); top += lineHeight) {
        qsizetype lineEnd = text.indexOf(kLineFeed, lineStart);
        if (lineEnd < 0) lineEnd = text.size();
        const bool shown = !sight || (top <= sight->bottom() && top + lineHeight >= sight->top());
        double cx = 0.0;
        for (qsizetype runStart = lineStart; shown && runStart <= lineEnd;) {
            // Within the line: a search to the end of the text for every line would be endless.
            const qsizetype tab = QStringView(text).mid(runStart, lineEnd - runStart).indexOf(kTab);
            const qsizetype runEnd = tab < 0 ? lineEnd : runStart + tab;
            const QStringView run = QStringView(text).mid(runStart, runEnd - runStart);
            const QPointF pen(x + cx, top + ascent);
            if (run.size() > kLongestShaped && sight)
                DrawLongRun(painter, pen, run, metrics, *sight);
            else if (!run.isEmpty())
                painter.drawText(pen, run.toString());
            cx += RunWidth(metrics, run);
            if (runEnd < lineEnd) cx = NextTabStop(cx);
            runStart = runEnd + 1;
        }
        lineStart = lineEnd + 1;
    }
}

} // namespace

void DrawEditText(QPainter& painter, double x, double y, const QString& text, int caret,
                  int selection) {
    const QFont font = painter.font();
    if (caret == kNoCaret) {
        DrawPlainText(painter, x, y, text, MetricsOf(font));
        return;
    }
    const QFontMetricsF& metrics = MetricsOf(font);
    const QColor color = painter.pen().color();
    const double lineHeight = RunHeight(metrics);
    const double ascent = metrics.ascent();
    const double lineEndWidth = RunWidth(metrics, kReferenceGlyph);
    const auto length = int(text.size());

    const bool hasCaret = caret != kNoCaret;
    if (!hasCaret) selection = 0;
    if (selection < 0) {
        caret += selection;
        selection = -selection;
    }
    const int selectionStart = std::clamp(caret, 0, length);
    const int selectionEnd = std::clamp(caret + selection, selectionStart, length);
    const bool hasSelection = selectionEnd > selectionStart;
    auto isSelected = [&](qsizetype i) { return i >= selectionStart && i < selectionEnd; };

    // Selected text becomes boxes with its glyphs as holes, filled in one go.
    QPainterPath inverted;
    inverted.setFillRule(Qt::OddEvenFill);
    double cx = 0.0;
    double cy = 0.0;
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end > runStart) {
            const QString run = text.mid(runStart, end - runStart);
            const double width = RunWidth(metrics, run);
            if (isSelected(runStart)) {
                inverted.addRect(x + cx, y + cy, width, lineHeight);
                inverted.addText(x + cx, y + cy + ascent, font, run);
            } else {
                painter.drawText(QPointF(x + cx, y + cy + ascent), run);
            }
            cx += width;
        }
        runStart = end;
    };

    for (qsizetype i = 0;; ++i) {
        if (hasSelection && (i == selectionStart || i == selectionEnd)) flush(i);
        if (hasSelection && i == selectionEnd) painter.fillPath(inverted, color);
        if (hasCaret && !hasSelection && i == selectionStart) {
            // The caret sits inside the run without splitting it.
            const double passed = RunWidth(metrics, text.mid(runStart, i - runStart));
            const QPointF top(x + cx + passed, y + cy);
            painter.save();
            painter.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(top, top + QPointF(0.0, lineHeight));
            painter.restore();
        }
        if (i == length) {
            flush(i);
            break;
        }
        const QChar c = text[i];
        if (c == kTab) {
            flush(i);
            const double stop = NextTabStop(cx);
            if (isSelected(i)) inverted.addRect(x + cx, y + cy, stop - cx, lineHeight);
            cx = stop;
            runStart = i + 1;
        } else if (c == kLineFeed) {
            flush(i);
            if (isSelected(i)) inverted.addRect(x + cx, y + cy, lineEndWidth, lineHeight);
            cx = 0.0;
            cy += lineHeight;
            runStart = i + 1;
        }
    }
}

} // namespace flow
