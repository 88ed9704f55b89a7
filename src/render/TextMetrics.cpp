#include "render/TextMetrics.h"

#include <QCoreApplication>
#include <QHash>

#include <memory>
#include <vector>

namespace flow {

namespace {

// Words longer than this are shaped each time rather than kept.
constexpr qsizetype kLongestKept = 64;
// Past this many kept words a font starts again from none: a text of a million different words
// must not keep them all.
constexpr qsizetype kMostKept = qsizetype(1) << 16;

// A font's metrics, with the advances of the words and single characters measured so far.
struct Measured {
    explicit Measured(const QFont& font) : Font(font), Metrics(font) {}
    QFont Font;
    QFontMetricsF Metrics;
    QHash<QString, double> Words;
    QHash<char16_t, double> Characters;
};

using MetricsCache = std::vector<std::unique_ptr<Measured>>;

MetricsCache& Cache() {
    static MetricsCache cache;
    return cache;
}

// Font metrics hold on to the application's font engines, so they go with the application.
void ClearCache() {
    Cache().clear();
}

Measured* MeasuredOf(const QFontMetricsF& metrics) {
    for (const auto& measured : Cache())
        if (&measured->Metrics == &metrics) return measured.get();
    return nullptr;
}

bool PlainAscii(QStringView run) {
    for (const QChar c : run)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
    return true;
}

double WordAdvance(Measured& font, QStringView word) {
    if (word.size() > kLongestKept) return font.Metrics.horizontalAdvance(word.toString());
    const QString key = word.toString();
    auto known = font.Words.constFind(key);
    if (known != font.Words.cend()) return *known;
    if (font.Words.size() >= kMostKept) font.Words.clear();
    return *font.Words.insert(key, font.Metrics.horizontalAdvance(key));
}

// The sum of the characters' advances, each shaped alone.
double UnkernedAdvance(Measured& font, QStringView run) {
    double sum = 0;
    for (const QChar c : run) {
        auto known = font.Characters.constFind(c.unicode());
        if (known == font.Characters.cend())
            known = font.Characters.insert(c.unicode(), font.Metrics.horizontalAdvance(QString(c)));
        sum += *known;
    }
    return sum;
}

} // namespace

const QFontMetricsF& MetricsOf(const QFont& font) {
    // Only a handful of fonts are ever used (the comment, constant and symbol sizes), so a
    // short list searched from the front is enough. The metrics live on the heap so that the
    // references handed out stay valid while the list grows.
    MetricsCache& cache = Cache();
    for (const auto& measured : cache)
        if (measured->Font == font) return measured->Metrics;
    if (cache.empty()) qAddPostRoutine(ClearCache);
    cache.push_back(std::make_unique<Measured>(font));
    return cache.back()->Metrics;
}

double RunWidth(const QFontMetricsF& metrics, QStringView run) {
    Measured* font = MeasuredOf(metrics);
    if (!font || run.isEmpty()) return metrics.horizontalAdvance(run.toString());
    if (run.size() > kLongestShaped) return UnkernedAdvance(*font, run);
    if (!PlainAscii(run)) return metrics.horizontalAdvance(run.toString());
    // Shaping parts plain text at its spaces and shapes each part alone: the words and the
    // spaces between them, each measured once and kept, add up to what shaping the whole gives,
    // to the last bit (the tests compare the two).
    double sum = 0;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= run.size(); ++i) {
        if (i < run.size() && (run[i] == u' ') == (run[start] == u' ')) continue;
        sum += WordAdvance(*font, run.mid(start, i - start));
        start = i;
    }
    return sum;
}

} // namespace flow
