#pragma once
// Text measurement shared by the text layout and the text symbols: the metrics of a font,
// kept across redraws because building them costs more than measuring with them.

#include <QFont>
#include <QFontMetricsF>
#include <QString>

namespace flow {

const QFontMetricsF& MetricsOf(const QFont& font);

// The layout box of a run of text (not its ink): its advance and the font's line height.
inline double RunWidth(const QFontMetricsF& metrics, const QString& run) {
    return metrics.horizontalAdvance(run);
}
inline double RunHeight(const QFontMetricsF& metrics) {
    return metrics.height();
}

} // namespace flow
