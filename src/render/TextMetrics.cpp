#include "render/TextMetrics.h"

#include <QCoreApplication>

#include <memory>
#include <utility>
#include <vector>

namespace flow {

namespace {
using MetricsCache = std::vector<std::pair<QFont, std::unique_ptr<QFontMetricsF>>>;

MetricsCache& Cache() {
    static MetricsCache cache;
    return cache;
}

// Font metrics hold on to the application's font engines, so they go with the application.
void ClearCache() {
    Cache().clear();
}
} // namespace

const QFontMetricsF& MetricsOf(const QFont& font) {
    // Only a handful of fonts are ever used (the comment, constant and symbol sizes), so a
    // short list searched from the front is enough. The metrics live on the heap so that the
    // references handed out stay valid while the list grows.
    MetricsCache& cache = Cache();
    for (const auto& [known, metrics] : cache)
        if (known == font) return *metrics;
    if (cache.empty()) qAddPostRoutine(ClearCache);
    cache.emplace_back(font, std::make_unique<QFontMetricsF>(font));
    return *cache.back().second;
}

} // namespace flow
