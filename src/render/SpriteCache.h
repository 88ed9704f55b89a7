#pragma once
// Drawing of repeated appearances through cached images.
//
// Node bodies and comment boxes are mostly translucent shadows and gradients, which the raster
// engine blends slowly, and most of them look alike: the same shape with the same highlight at
// the same magnification. Drawn at the same sub-pixel phase, two such objects give the same
// pixels, so each appearance is painted once into a transparent image and then copied, which
// costs a fraction of painting it again.

#include <QPainter>
#include <QRectF>
#include <QString>
#include <QtGlobal>

namespace flow {

namespace SpriteKind {
constexpr int ConstantBox = 1, FunctionBody = 2, CommentBox = 3, Port = 4;
}

// Everything that decides how a cached drawing looks, apart from the painter's transform.
struct SpriteKey {
    int Kind = 0;
    quint64 Paths = 0;               // FunctionPaths::Serial, for function nodes
    QString Text;                    // text drawn into the image
    long long Width = 0, Height = 0; // or other sizes and states
    int Flags = 0;
    unsigned Shadow = 0; // shadow colour
    unsigned Tint = 0;   // type colour of a constant's bottom edge

    bool operator==(const SpriteKey&) const = default;
};

// A reference to something that paints, taken without copying it: a sprite is drawn for every
// node and port of every frame, and wrapping each painting lambda in a std::function would
// allocate for most of them.
class PaintRef {
  public:
    template <typename Paint>
    PaintRef(const Paint& paint)
        : object_(&paint), call_([](const void* object, QPainter& painter) {
              (*static_cast<const Paint*>(object))(painter);
          }) {}
    void operator()(QPainter& painter) const { call_(object_, painter); }

  private:
    const void* object_;
    void (*call_)(const void*, QPainter&);
};

// The device pixel ratio of the image about to be drawn. Sprites are kept per ratio: one drawn
// for another ratio is never shown.
void UseSpritesAtRatio(double ratio);

// Paints `paint` (in local units) through the painter's transform, as a cached image placed to
// the nearest eighth of a pixel when the painter paints a raster image, the transform is a
// plain scale and translation and the painter draws plainly (no clip, opacity or other
// composition); otherwise `paint` draws directly. `bounds` must hold everything `paint` draws, in
// local units.
void DrawThroughSprite(QPainter& painter, const SpriteKey& key, const QRectF& bounds,
                       PaintRef paint);
// The same through `local` for a painter left in device space (no transform): drawings made of
// many sprites place each by its own transform instead of switching the painter's twice per
// sprite. The painter is in device space again afterwards.
void DrawThroughSprite(QPainter& painter, const QTransform& local, const SpriteKey& key,
                       const QRectF& bounds, PaintRef paint);

} // namespace flow
