#pragma once
// What a view keeps of its overview: the whole shown frame drawn small, made again only when the
// frame's objects change (SceneIndex::Generation) or the map's size does.

#include "model/Records.h"

#include <QImage>
#include <QRectF>

#include <cstdint>

namespace flow {

struct OverviewMap {
    const Frame* Shown = nullptr;
    std::uint64_t Generation = 0;
    // What the map shows, in circuit units: the frame's objects with a margin; empty for an
    // empty frame, which has no map.
    QRectF Bounds;
    // The map as drawn, at the canvas's device pixel ratio.
    QImage Picture;
};

} // namespace flow
