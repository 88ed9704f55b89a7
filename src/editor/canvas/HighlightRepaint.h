#pragma once
// A hover change repaints only where highlights changed: the areas of the canvas's image that the
// objects marked or unmarked by the last hit-test pass can draw on, when the image holds the
// view's last drawing and nothing else it shows changed since.

#include "render/CircuitView.h"

#include <QRect>

#include <optional>
#include <vector>

class QImage;

namespace flow {

// What the image shows of the view, once drawn.
PictureStamp StampOf(const CircuitView& view, const QImage& image);

// The device pixels to draw again, after the hit-test pass, for the image to show what a whole
// drawing would; none when only a whole drawing can tell.
std::optional<std::vector<QRect>> HighlightAreas(const CircuitView& view, const QImage& image);

} // namespace flow
