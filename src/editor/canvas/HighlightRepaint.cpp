#include "editor/canvas/HighlightRepaint.h"

#include "engine/RunSession.h"
#include "render/Overview.h"
#include "render/ValueLabels.h"

#include <QImage>

#include <cmath>

namespace flow {

namespace {

// An object's box, in circuit units, as the scene index keeps it: everything its drawing covers.
std::optional<QRectF> BoxOf(const CircuitView& view, const HoverMark& mark) {
    const Frame& frame = ShownFrame(view);
    const auto index = std::size_t(mark.Index);
    switch (mark.Of) {
    case HoverMark::Kind::Comment:
        return SceneIndex::CommentBox(*frame.Comments[index]);
    case HoverMark::Kind::Node:
    case HoverMark::Kind::Port:
        return SceneIndex::NodeBox(*frame.Nodes[index]);
    case HoverMark::Kind::Wire:
        // A wire with an end off any node has no box: it is drawn wherever it goes.
        if (!view.Index.HasCurve(mark.Index)) return std::nullopt;
        return SceneIndex::WireBox(view.Index.Curve(mark.Index));
    }
    return std::nullopt;
}

// The box in device pixels, as the camera draws it, a pixel wider for anti-aliasing and cut to
// the image.
std::optional<QRect> OnImage(const CircuitView& view, const QRectF& box, const QImage& image) {
    const double m = double(view.Magnification), ratio = image.devicePixelRatio();
    // The scene's origin is the integer half of the canvas, as drawing places it.
    const double cx = view.CanvasWidth / 2, cy = view.CanvasHeight / 2;
    const auto x = [&](double u) { return ((u - double(view.CameraX)) * m + cx) * ratio; };
    const auto y = [&](double u) { return ((u - double(view.CameraY)) * m + cy) * ratio; };
    const QRectF pixels(QPointF(x(box.left()), y(box.top())),
                        QPointF(x(box.right()), y(box.bottom())));
    if (!std::isfinite(pixels.left()) || !std::isfinite(pixels.right()) ||
        !std::isfinite(pixels.top()) || !std::isfinite(pixels.bottom()))
        return std::nullopt;
    const QRectF shown = pixels.adjusted(-1, -1, 1, 1) & QRectF(QPointF(0, 0), image.size());
    return shown.toAlignedRect();
}

} // namespace

PictureStamp StampOf(const CircuitView& view, const QImage& image) {
    PictureStamp stamp;
    stamp.Image = image.cacheKey();
    stamp.Shown = &ShownFrame(view);
    stamp.Edits = view.Circuit->Edits;
    stamp.Camera = view.Camera();
    stamp.CanvasWidth = view.CanvasWidth;
    stamp.CanvasHeight = view.CanvasHeight;
    if (const RunSession* run = view.Run) {
        stamp.Run = run;
        stamp.RunState = int(run->State());
        stamp.RunNumber = run->RunNumber;
        stamp.Skips = run->SkipsIn;
        stamp.Firings = run->FiringsInRun;
    }
    stamp.FindText = view.FindText;
    stamp.ShowsEditing = view.ShowsEditing;
    stamp.Labels = ValueLabelsShown();
    stamp.Overview = OverviewShown();
    stamp.OverviewGeneration = view.Overview.Generation;
    stamp.Press = view.Press.index();
    stamp.Pan = view.Pan.has_value();
    stamp.Editing = view.Has(InteractionFlag::Editing);
    stamp.WireSource = view.WireSource;
    stamp.Placing = view.Preview.Function;
    return stamp;
}

std::optional<std::vector<QRect>> HighlightAreas(const CircuitView& view, const QImage& image) {
    const PassRecord& pass = view.LastPass;
    if (!pass.ChangesListed || view.Painted.Image == 0 || !(StampOf(view, image) == view.Painted))
        return std::nullopt;
    // Value labels and find marks reach beyond the boxes of their objects; an iteration of a
    // loop changes what a body shows without a firing counted.
    const RunSession* run = view.Run;
    if (!view.FindText.isEmpty() || (ValueLabelsShown() && run && run->RunNumber != 0) ||
        (run && run->State() == RunState::Executing && !view.OpenPath.empty()))
        return std::nullopt;
    std::vector<QRect> areas;
    for (const HoverMark& mark : pass.Changed) {
        const std::optional<QRectF> box = BoxOf(view, mark);
        const std::optional<QRect> pixels = box ? OnImage(view, *box, image) : std::nullopt;
        if (!pixels) return std::nullopt;
        if (!pixels->isEmpty()) areas.push_back(*pixels);
    }
    return areas;
}

} // namespace flow
