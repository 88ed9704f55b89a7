#include "editor/canvas/GridSnap.h"

#include "editor/canvas/OpenViews.h"
#include "model/Coordinates.h"
#include "model/Placement.h"
#include "render/Grid.h"

#include <QSettings>

#include <optional>

namespace flow {

namespace {

constexpr char kSnapKey[] = "SnapToGrid";

std::optional<bool>& Remembered() {
    static std::optional<bool> on;
    return on;
}

const ObjectHeader* Anchor(const FrameObjects& group) {
    if (!group.Nodes.empty()) return group.Nodes.front();
    if (!group.Comments.empty()) return group.Comments.front();
    return nullptr;
}

} // namespace

bool SnapToGridOn() {
    std::optional<bool>& on = Remembered();
    if (!on)
        on = QSettings(QStringLiteral("Flowlattice"), QStringLiteral("Flowlattice"))
                 .value(QLatin1String(kSnapKey), false)
                 .toBool();
    return *on;
}

void SetSnapToGrid(bool on) {
    Remembered() = on;
    QSettings(QStringLiteral("Flowlattice"), QStringLiteral("Flowlattice"))
        .setValue(QLatin1String(kSnapKey), on);
}

namespace {
// The finest grid the circuit's window shows; none without a window.
Int GridStepOf(const Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    return view ? FinestGridStep(*view) : 1;
}
} // namespace

Int SnapToStep(Int value, Int step) {
    if (step <= 1) return value;
    const Int rest = value % step; // takes the sign of value
    if (2 * (rest < 0 ? -rest : rest) < step) return value - rest;
    return SaturatedSum(value - rest, rest < 0 ? -step : step);
}

UnitPair SnappedPlace(const Circuit& circuit, Int x, Int y) {
    if (!SnapToGridOn()) return {x, y};
    const Int step = GridStepOf(circuit);
    return {SnapToStep(x, step), SnapToStep(y, step)};
}

UnitPair SnappedGroupOffset(const Circuit& circuit, const FrameObjects& group, Int dx, Int dy) {
    const ObjectHeader* anchor = Anchor(group);
    if (!SnapToGridOn() || !anchor) return {dx, dy};
    const Int step = GridStepOf(circuit);
    const Int x = SaturatedSum(anchor->X, dx), y = SaturatedSum(anchor->Y, dy);
    return {SnapToStep(x, step) - anchor->X, SnapToStep(y, step) - anchor->Y};
}

void SnapNewGroup(const Circuit& circuit, const FrameObjects& group) {
    const UnitPair offset = SnappedGroupOffset(circuit, group, 0, 0);
    if (offset.X == 0 && offset.Y == 0) return;
    for (Node* node : group.Nodes)
        MoveObject(*node, node->X + offset.X, node->Y + offset.Y);
    for (Comment* comment : group.Comments)
        MoveObject(*comment, comment->X + offset.X, comment->Y + offset.Y);
}

} // namespace flow
