#include "editor/canvas/CanvasRedraw.h"

#include "editor/canvas/HitTestPass.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/StatusText.h"
#include "engine/DefectPlace.h"
#include "engine/RunSession.h"
#include "render/CanvasSurface.h"
#include "render/Overview.h"
#include "render/Redraw.h"

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

} // namespace

void RedrawViewInto(CircuitView& view, QImage& image) {
    // An image with nothing to draw into changes neither the view nor the canvas size.
    if (!image.isNull() && !image.size().isEmpty()) {
        FitCanvas(view, image.size(), image.devicePixelRatio());
        HitTestPass(view);
        RefreshOverview(view, image.devicePixelRatio());
        RedrawCircuitInto(view, image);
    }
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

void RedrawCircuit(Circuit& circuit) {
    if (CircuitView* view = ViewOf(circuit)) RedrawView(*view);
}

} // namespace flow
