#include "editor/canvas/CanvasRedraw.h"

#include "editor/canvas/HighlightRepaint.h"
#include "editor/canvas/HitTestPass.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/StatusText.h"
#include "engine/DefectPlace.h"
#include "engine/RunSession.h"
#include "render/CanvasSurface.h"
#include "render/Overview.h"
#include "render/Redraw.h"

#include <QRegion>

#include <optional>
#include <vector>

namespace flow {

namespace {

// The hover text stays only while the hit test found something under the mouse. Otherwise the
// field says where a defect is, in the command line's words, which the canvas has no room for.
void ClearHoverTextUnlessFound(CircuitView& view) {
    if (view.Has(InteractionFlag::HoverFound)) return;
    const RunSession* run = view.Run;
    QString idle;
    if (run && run->State() == RunState::Defect && run->Fault().Kind != ErrorKind::None) {
        // The canvas shows the message; the place is what it cannot say.
        const QString place = DefectPlace(run->Fault());
        idle = place.isEmpty() ? run->Fault().Message : QStringLiteral("At ") + place;
    }
    SetStatusText(*view.Circuit, StatusField::Hover, idle);
}

bool Drawable(const QImage& image) {
    return !image.isNull() && !image.size().isEmpty();
}

// The hit-test pass, then the drawing: of the areas where highlights changed when nothing else
// can have (returned), else of the whole image.
std::optional<std::vector<QRect>> Draw(CircuitView& view, QImage& image, bool hoverOnly) {
    FitCanvas(view, image.size(), image.devicePixelRatio());
    HitTestPass(view);
    RefreshOverview(view, image.devicePixelRatio());
    std::optional<std::vector<QRect>> areas =
        hoverOnly ? HighlightAreas(view, image) : std::nullopt;
    if (areas)
        RepaintCircuitAreas(view, image, *areas);
    else
        RedrawCircuitInto(view, image);
    view.Painted = StampOf(view, image);
    return areas;
}

// The device pixels, in the canvas's own.
QRegion InCanvasPixels(const std::vector<QRect>& areas, double ratio) {
    QRegion region;
    for (const QRect& area : areas)
        region += QRectF(QPointF(area.topLeft()) / ratio,
                         QSizeF(area.width() / ratio, area.height() / ratio))
                      .toAlignedRect();
    return region;
}

} // namespace

void RedrawViewInto(CircuitView& view, QImage& image) {
    // An image with nothing to draw into changes neither the view nor the canvas size.
    if (Drawable(image)) Draw(view, image, false);
    ClearHoverTextUnlessFound(view);
}

void RedrawView(CircuitView& view) {
    if (view.Canvas) {
        RedrawViewInto(view, view.Canvas->Surface());
        view.Canvas->Present();
    } else {
        ClearHoverTextUnlessFound(view);
    }
}

void RedrawHoverChange(CircuitView& view) {
    QImage* image = view.Canvas ? &view.Canvas->Surface() : nullptr;
    if (!image || !Drawable(*image)) {
        RedrawView(view);
        return;
    }
    const std::optional<std::vector<QRect>> areas = Draw(view, *image, true);
    ClearHoverTextUnlessFound(view);
    if (areas)
        view.Canvas->Present(InCanvasPixels(*areas, image->devicePixelRatio()));
    else
        view.Canvas->Present();
}

void RedrawCircuit(Circuit& circuit) {
    if (CircuitView* view = ViewOf(circuit)) RedrawView(*view);
}

} // namespace flow
