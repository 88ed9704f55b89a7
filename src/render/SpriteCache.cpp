#include "render/SpriteCache.h"

#include <QHash>
#include <QImage>
#include <QPaintEngine>

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace flow {

namespace {

// Cached drawings are placed to the nearest eighth of a pixel. At whole zoom levels objects lie
// on such steps anyway; at the others (a quarter wheel notch apart) every object would have a
// phase of its own and none would repeat, while a sixteenth of a pixel is too little to see.
constexpr double kPhaseSteps = 8;
// Sprites larger than this are rare (few objects fit on the canvas then) and drawn directly.
constexpr int kMaxSide = 1024;
// When the sprites together exceed this many pixels, the cache starts again.
constexpr qint64 kMaxPixels = 8 * 1024 * 1024;

struct FullKey {
    SpriteKey Look;
    double Ratio;
    double Scale;
    double PhaseX, PhaseY;
    bool operator==(const FullKey&) const = default;
};

// The bits of a number, equal for numbers that compare equal (zero has two signs).
quint64 BitsOf(double value) {
    return std::bit_cast<quint64>(value == 0 ? 0.0 : value);
}

// Every node and port of every frame looks its sprite up: the fields are folded into one
// word each step, instead of each being hashed on its own, and only a text that is there is.
size_t qHash(const FullKey& key, size_t seed = 0) {
    const SpriteKey& look = key.Look;
    quint64 hash = seed ^ 0x9E3779B97F4A7C15ULL;
    for (const quint64 word :
         {quint64(look.Kind) << 32 | quint32(look.Flags), quint64(look.Paths), quint64(look.Width),
          quint64(look.Height), quint64(look.Shadow) << 32 | look.Tint, BitsOf(key.Ratio),
          BitsOf(key.Scale), BitsOf(key.PhaseX), BitsOf(key.PhaseY)})
        hash = (hash ^ word) * 0x100000001B3ULL + (hash >> 29);
    if (!look.Text.isEmpty()) hash ^= qHash(look.Text, seed);
    // The last multiplication's high bits reach the low ones, which pick the bucket.
    hash ^= hash >> 32;
    hash *= 0xFF51AFD7ED558CCDULL;
    return size_t(hash ^ (hash >> 29));
}

struct Sprite {
    QImage Image;
    QPoint Offset; // of the image's corner from the whole pixel below the local origin
    quint64 LastUse = 0;
};

struct Cache {
    QHash<FullKey, Sprite> Sprites;
    double Ratio = 1;
    qint64 Pixels = 0;
    quint64 Clock = 0; // counts uses

    // Makes room by dropping the less recently used half, so that what the current redraw
    // still needs mostly stays.
    void Shrink() {
        std::vector<quint64> uses;
        uses.reserve(std::size_t(Sprites.size()));
        for (const Sprite& sprite : std::as_const(Sprites))
            uses.push_back(sprite.LastUse);
        if (uses.empty()) return;
        auto middle = uses.begin() + std::ptrdiff_t(uses.size() / 2);
        std::nth_element(uses.begin(), middle, uses.end());
        const quint64 cutoff = *middle;
        for (auto it = Sprites.begin(); it != Sprites.end();) {
            if (it->LastUse <= cutoff) {
                Pixels -= qint64(it->Image.width()) * it->Image.height();
                it = Sprites.erase(it);
            } else {
                ++it;
            }
        }
    }
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

double NearestStep(double position) {
    return std::round(position * kPhaseSteps) / kPhaseSteps;
}

Sprite Render(const QRectF& device, double scale, QPointF phase, PaintRef paint) {
    // One spare pixel on every side for anti-aliasing.
    const QPoint corner(int(std::floor(device.left())) - 1, int(std::floor(device.top())) - 1);
    const QSize size(int(std::ceil(device.right())) + 1 - corner.x(),
                     int(std::ceil(device.bottom())) + 1 - corner.y());
    Sprite sprite{QImage(size, QImage::Format_ARGB32_Premultiplied), corner};
    sprite.Image.fill(Qt::transparent);
    QPainter painter(&sprite.Image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(phase.x() - corner.x(), phase.y() - corner.y());
    painter.scale(scale, scale);
    paint(painter);
    return sprite;
}

} // namespace

void UseSpritesAtRatio(double ratio) {
    TheCache().Ratio = ratio;
}

void DrawThroughSprite(QPainter& painter, const SpriteKey& key, const QRectF& bounds,
                       PaintRef paint) {
    // Only the transform changes for the copy; keeping it is much cheaper than a full save.
    const QTransform local = painter.transform();
    painter.setTransform(QTransform());
    DrawThroughSprite(painter, local, key, bounds, paint);
    painter.setTransform(local);
}

void DrawThroughSprite(QPainter& painter, const QTransform& local, const SpriteKey& key,
                       const QRectF& bounds, PaintRef paint) {
    const double scale = local.m11();
    const double x = NearestStep(local.dx());
    const double y = NearestStep(local.dy());
    const double originX = std::floor(x);
    const double originY = std::floor(y);
    const QPointF phase(x - originX, y - originY);
    const QRectF device(phase.x() + bounds.left() * scale, phase.y() + bounds.top() * scale,
                        bounds.width() * scale, bounds.height() * scale);
    // Only a raster image takes a copied image as it would the drawing itself; a vector
    // device (a picture for a document) gets the drawing. A clip (a repaint of part of the
    // canvas) cuts the copy as it would cut the drawing, so the pixels it lets through are the
    // ones a whole repaint makes.
    const bool raster =
        painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    const bool cacheable = raster && local.type() <= QTransform::TxScale && scale > 0 &&
                           local.m22() == scale && painter.testRenderHint(QPainter::Antialiasing) &&
                           painter.opacity() == 1.0 &&
                           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
                           std::fabs(originX) < 1e9 && std::fabs(originY) < 1e9 &&
                           device.width() < kMaxSide && device.height() < kMaxSide;
    if (!cacheable) {
        painter.save();
        painter.setTransform(local);
        paint(painter);
        painter.restore();
        return;
    }

    Cache& cache = TheCache();
    const FullKey fullKey{key, cache.Ratio, scale, phase.x(), phase.y()};
    auto found = cache.Sprites.find(fullKey);
    if (found == cache.Sprites.end()) {
        Sprite sprite = Render(device, scale, phase, paint);
        const qint64 pixels = qint64(sprite.Image.width()) * sprite.Image.height();
        while (cache.Pixels + pixels > kMaxPixels && !cache.Sprites.isEmpty())
            cache.Shrink();
        cache.Pixels += pixels;
        found = cache.Sprites.insert(fullKey, std::move(sprite));
    }
    found->LastUse = ++cache.Clock;
    painter.drawImage(QPoint(int(originX), int(originY)) + found->Offset, found->Image);
}

} // namespace flow
