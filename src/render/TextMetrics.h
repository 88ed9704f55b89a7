#pragma once
// Text measurement shared by the text layout and the text symbols: the metrics of a font,
// kept across redraws because building them costs more than measuring with them.

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QString>
#include <QStringView>

namespace flow {

const QFontMetricsF& MetricsOf(const QFont& font);

// Text longer than this is measured from its characters' own advances, kerning left out:
// shaping it whole would hold the program for seconds and take gigabytes, and a line this long is
// far wider than any screen.
constexpr qsizetype kLongestShaped = qsizetype(1) << 16;

// The layout box of a run of text (not its ink): its advance and the font's line height. The
// advance is the one shaping gives; for metrics from MetricsOf, plain ASCII is measured from the
// words it is made of, each shaped once, and text longer than kLongestShaped from each
// character's own advance.
double RunWidth(const QFontMetricsF& metrics, QStringView run);
// The sum of the characters' own advances, kerning left out: how RunWidth measures text longer
// than kLongestShaped, and so the pieces such text is drawn in.
double OwnAdvances(const QFontMetricsF& metrics, QStringView run);
inline double RunHeight(const QFontMetricsF& metrics) {
    return metrics.height();
}

// Glyph outlines of text whose layout box has its top-left corner at (left, top): the path takes
// the baseline, so the font's ascent is added.
inline void AddTextOutline(QPainterPath& path, const QFont& font, double left, double top,
                           const QString& text) {
    path.addText(left, top + MetricsOf(font).ascent(), font, text);
}

// The same with the layout box centred on (x, y).
inline void AddCentredTextOutline(QPainterPath& path, const QFont& font, double x, double y,
                                  const QString& text) {
    const QFontMetricsF& metrics = MetricsOf(font);
    AddTextOutline(path, font, x - RunWidth(metrics, text) / 2, y - RunHeight(metrics) / 2, text);
}

} // namespace flow
