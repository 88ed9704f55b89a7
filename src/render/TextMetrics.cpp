#include "render/TextMetrics.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
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
    // By a digest of the word's characters; a word whose digest another holds is shaped each
    // time.
    std::unordered_map<std::uint64_t, std::pair<QString, double>> Words;
    // Each UTF-16 unit's own advance, by its code, once asked for; NaN until then.
    std::vector<double> Characters;
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

std::uint64_t Digest(QStringView word) {
    std::uint64_t digest = 0xcbf29ce484222325ull;
    for (const QChar c : word)
        digest = (digest ^ c.unicode()) * 0x100000001b3ull;
    return digest;
}

// Found without making a string of the word: a text holds millions of them.
double WordAdvance(Measured& font, QStringView word) {
    if (word.size() > kLongestKept) return font.Metrics.horizontalAdvance(word.toString());
    const std::uint64_t digest = Digest(word);
    const auto known = font.Words.find(digest);
    if (known != font.Words.end())
        return known->second.first == word ? known->second.second
                                           : font.Metrics.horizontalAdvance(word.toString());
    if (font.Words.size() >= std::size_t(kMostKept)) font.Words.clear();
    const QString key = word.toString();
    const double advance = font.Metrics.horizontalAdvance(key);
    font.Words.emplace(digest, std::make_pair(key, advance));
    return advance;
}

// The sum of the characters' advances, each shaped alone.
double UnkernedAdvance(Measured& font, QStringView run) {
    std::vector<double>& advances = font.Characters;
    if (advances.empty()) advances.assign(std::size_t(1) << 16, std::nan(""));
    double sum = 0;
    for (const QChar c : run) {
        double& advance = advances[c.unicode()];
        if (std::isnan(advance)) advance = font.Metrics.horizontalAdvance(QString(c));
        sum += advance;
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

double OwnAdvances(const QFontMetricsF& metrics, QStringView run) {
    Measured* font = MeasuredOf(metrics);
    return font ? UnkernedAdvance(*font, run) : metrics.horizontalAdvance(run.toString());
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
