#include "render/ShapeNotation.h"

#include "engine/NumberText.h"
#include "render/Palette.h"
#include "render/TextMetrics.h"

#include <algorithm>
#include <array>

namespace flow {

namespace {

bool IsSeparator(QChar c) {
    return c == u',' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Reads the notation token by token: numbers (sign, digits, fraction, no exponent) and
// command letters, with separators skipped between them.
class Tokens {
  public:
    explicit Tokens(const QString& text) : text_(text) {}

    // The next command letter, or none when the string is used up.
    bool NextLetter(QChar& letter) {
        SkipSeparators();
        if (pos_ >= text_.size()) return false;
        letter = text_[pos_++];
        return true;
    }

    // A number at the current position, consumed only when there is one.
    bool NextNumber(double& value) {
        SkipSeparators();
        qsizetype i = pos_;
        if (i < text_.size() && (text_[i] == u'+' || text_[i] == u'-')) ++i;
        const qsizetype wholeStart = i;
        while (i < text_.size() && IsDigit(text_[i]))
            ++i;
        qsizetype digits = i - wholeStart;
        if (i < text_.size() && text_[i] == u'.') {
            const qsizetype fractionStart = ++i;
            while (i < text_.size() && IsDigit(text_[i]))
                ++i;
            digits += i - fractionStart;
        }
        if (digits == 0) return false; // a lone sign or point is no number
        value = text_.mid(pos_, i - pos_).toDouble();
        pos_ = i;
        return true;
    }

    // Whether a number follows, without consuming it.
    bool AtNumber() {
        const qsizetype saved = pos_;
        double ignored;
        const bool found = NextNumber(ignored);
        pos_ = saved;
        return found;
    }

  private:
    void SkipSeparators() {
        while (pos_ < text_.size() && IsSeparator(text_[pos_]))
            ++pos_;
    }

    const QString& text_;
    qsizetype pos_ = 0;
};

int GroupSize(char16_t command) {
    switch (command) {
    case u'M':
    case u'L':
    case u'T':
        return 2;
    case u'H':
    case u'V':
        return 1;
    case u'C':
        return 6;
    case u'S':
    case u'Q':
        return 4;
    case u'Z':
        return 0;
    default:
        return -1;
    }
}

// Interpreter state between commands; points are in the caller's coordinates.
struct PathWriter {
    QPainterPath& Path;
    QPointF Current{0.0, 0.0};
    QPointF FigureStart{0.0, 0.0};
    QPointF LastControl{0.0, 0.0}; // second cubic control, or the quadratic control
    char16_t LastCommand = 0;      // upper-case letter of the previous group
    bool NeedsMove = true;         // no figure is open: the next segment starts one

    void StartFigureIfNeeded() {
        if (NeedsMove) {
            Path.moveTo(Current);
            FigureStart = Current;
            NeedsMove = false;
        }
    }
    void MoveTo(QPointF p) {
        Path.moveTo(p);
        Current = FigureStart = p;
        NeedsMove = false;
    }
    void LineTo(QPointF p) {
        StartFigureIfNeeded();
        Path.lineTo(p);
        Current = p;
    }
    void CubicTo(QPointF c1, QPointF c2, QPointF p) {
        StartFigureIfNeeded();
        Path.cubicTo(c1, c2, p);
        LastControl = c2;
        Current = p;
    }
    void QuadTo(QPointF c, QPointF p) {
        const QPointF from = Current;
        CubicTo(from + 2.0 / 3.0 * (c - from), p + 2.0 / 3.0 * (c - p), p);
        LastControl = c;
    }
    void Close() {
        if (!NeedsMove) Path.closeSubpath();
        Current = FigureStart;
        NeedsMove = true;
    }
    QPointF Reflected(bool follows) const {
        return follows ? 2.0 * Current - LastControl : Current;
    }

    // One coordinate group of a command; absolute coordinates are relative to `base`.
    void Apply(char16_t command, bool firstGroup, const std::array<double, 6>& v, QPointF base) {
        auto point = [&](int k) { return base + QPointF(v[k], v[k + 1]); };
        switch (command) {
        case u'M':
            if (firstGroup)
                MoveTo(point(0));
            else
                LineTo(point(0));
            break;
        case u'L':
            LineTo(point(0));
            break;
        case u'H':
            LineTo(QPointF(base.x() + v[0], Current.y()));
            break;
        case u'V':
            LineTo(QPointF(Current.x(), base.y() + v[0]));
            break;
        case u'C':
            CubicTo(point(0), point(2), point(4));
            break;
        case u'S':
            CubicTo(Reflected(LastCommand == u'C' || LastCommand == u'S'), point(0), point(2));
            break;
        case u'Q':
            QuadTo(point(0), point(2));
            break;
        case u'T':
            QuadTo(Reflected(LastCommand == u'Q' || LastCommand == u'T'), point(0));
            break;
        }
        LastCommand = command;
    }
};

} // namespace

void AddPath(QPainterPath& path, const QString& notation) {
    Tokens tokens(notation);
    PathWriter writer{path};
    QChar letter;
    while (tokens.NextLetter(letter)) {
        // Only the ASCII letters are commands: Unicode case mapping would turn others (the long
        // s, for one) into command letters.
        if (letter.unicode() > 0x7F) return;
        const char16_t command = letter.toUpper().unicode();
        const int groupSize = GroupSize(command);
        if (groupSize < 0) return;
        if (groupSize == 0) {
            writer.Close();
            writer.LastCommand = command;
            continue;
        }
        // Every group of a relative command is measured from where the command began.
        const QPointF base = letter.isLower() ? writer.Current : QPointF(0.0, 0.0);
        for (bool first = true; tokens.AtNumber(); first = false) {
            std::array<double, 6> values{};
            for (int k = 0; k < groupSize; ++k)
                if (!tokens.NextNumber(values[k]))
                    return; // an incomplete group ends the whole path
            writer.Apply(command, first, values, base);
        }
    }
}

namespace {

// "$text,size,x,y": bold text of that size centred on (x, y).
struct TextSymbol {
    QStringList Fields;
    QString Text;
    QFont Font;
};

TextSymbol ParseTextSymbol(const QString& symbol) {
    TextSymbol parsed;
    parsed.Fields = symbol.split(QLatin1Char(','));
    parsed.Text = parsed.Fields.front();
    if (parsed.Text.startsWith(QLatin1Char('$'))) parsed.Text.remove(0, 1);
    // Sizes beyond any sensible glyph are clamped, so that a stray field cannot ask the font
    // engine for absurd outlines.
    const Int size = std::clamp<Int>(ParseInteger(parsed.Fields.value(1)), 0, 1000);
    parsed.Font = FontAt(BoldFont(), double(size));
    return parsed;
}

} // namespace

void AddTextSymbol(QPainterPath& path, const QString& symbol) {
    const TextSymbol parsed = ParseTextSymbol(symbol);
    AddCentredTextOutline(path, parsed.Font, double(ParseInteger(parsed.Fields.value(2))),
                          double(ParseInteger(parsed.Fields.value(3))), parsed.Text);
}

QString ElidedTextSymbol(const QString& symbol, double width) {
    if (!symbol.startsWith(QLatin1Char('$'))) return symbol;
    TextSymbol parsed = ParseTextSymbol(symbol);
    const QString elided =
        MetricsOf(parsed.Font).elidedText(parsed.Text, Qt::ElideRight, std::max(0.0, width));
    if (elided == parsed.Text) return symbol;
    parsed.Fields.front() = QLatin1Char('$') + elided;
    return parsed.Fields.join(QLatin1Char(','));
}

void AddSymbol(QPainterPath& path, const QString& symbol) {
    if (symbol.startsWith(QLatin1Char('$')))
        AddTextSymbol(path, symbol);
    else
        AddPath(path, symbol);
}

} // namespace flow
