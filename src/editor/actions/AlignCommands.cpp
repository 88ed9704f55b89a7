#include "editor/actions/AlignCommands.h"

#include "editor/canvas/OpenViews.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"
#include "model/SubCircuits.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace flow {

namespace {

// An object's box; a negative Width or Height extends it left of X or above Y.
struct Box {
    Int Id;
    Int Left, Top, Right, Bottom;
    Int Along(bool horizontal) const { return horizontal ? Left : Top; }
    Int Size(bool horizontal) const { return horizontal ? Right - Left : Bottom - Top; }
};

Box BoxOf(const ObjectHeader& object) {
    const Int x2 = object.X + object.Width, y2 = object.Y + object.Height;
    return {object.Id, std::min(object.X, x2), std::min(object.Y, y2), std::max(object.X, x2),
            std::max(object.Y, y2)};
}

std::vector<Box> SelectedBoxes(const Circuit& circuit) {
    const FrameObjects selected = SelectedObjectsWithInnerWires(ShownFrame(circuit));
    std::vector<Box> boxes;
    for (const Node* node : selected.Nodes)
        boxes.push_back(BoxOf(*node));
    for (const Comment* comment : selected.Comments)
        boxes.push_back(BoxOf(*comment));
    return boxes;
}

QString NameOf(Alignment alignment) {
    switch (alignment) {
    case Alignment::Left:
        return QStringLiteral("Align Left");
    case Alignment::Right:
        return QStringLiteral("Align Right");
    case Alignment::Top:
        return QStringLiteral("Align Top");
    case Alignment::Bottom:
        return QStringLiteral("Align Bottom");
    case Alignment::Centres:
        break;
    }
    return QStringLiteral("Align Centres");
}

} // namespace

void AlignSelection(Circuit& circuit, Alignment alignment) {
    const std::vector<Box> boxes = SelectedBoxes(circuit);
    if (boxes.size() < 2) return;
    Box all = boxes.front();
    for (const Box& box : boxes) {
        all.Left = std::min(all.Left, box.Left);
        all.Top = std::min(all.Top, box.Top);
        all.Right = std::max(all.Right, box.Right);
        all.Bottom = std::max(all.Bottom, box.Bottom);
    }
    const bool row = all.Right - all.Left > all.Bottom - all.Top;
    std::vector<MoveStep::Shift> shifts;
    for (const Box& box : boxes) {
        MoveStep::Shift shift{box.Id, 0, 0};
        switch (alignment) {
        case Alignment::Left:
            shift.DX = all.Left - box.Left;
            break;
        case Alignment::Right:
            shift.DX = all.Right - box.Right;
            break;
        case Alignment::Top:
            shift.DY = all.Top - box.Top;
            break;
        case Alignment::Bottom:
            shift.DY = all.Bottom - box.Bottom;
            break;
        case Alignment::Centres:
            // Doubled coordinates keep the middles whole; the move rounds towards the left/top.
            if (row)
                shift.DY = ((all.Top + all.Bottom) - (box.Top + box.Bottom)) / 2;
            else
                shift.DX = ((all.Left + all.Right) - (box.Left + box.Right)) / 2;
            break;
        }
        shifts.push_back(shift);
    }
    ShiftObjects(circuit, NameOf(alignment), std::move(shifts));
}

void DistributeSelection(Circuit& circuit, Spread spread) {
    std::vector<Box> boxes = SelectedBoxes(circuit);
    if (boxes.size() < 3) return;
    const bool horizontal = spread == Spread::Horizontally;
    std::stable_sort(boxes.begin(), boxes.end(), [horizontal](const Box& a, const Box& b) {
        return a.Along(horizontal) < b.Along(horizontal);
    });
    const Box& first = boxes.front();
    const Box& last = boxes.back();
    const Int span = last.Along(horizontal) + last.Size(horizontal) - first.Along(horizontal);
    const Int sizes =
        std::accumulate(boxes.begin(), boxes.end(), Int(0),
                        [&](Int sum, const Box& b) { return sum + b.Size(horizontal); });
    const double gap = double(span - sizes) / double(boxes.size() - 1);
    std::vector<MoveStep::Shift> shifts;
    Int sizesBefore = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Int place =
            first.Along(horizontal) + sizesBefore + Int(std::llround(gap * double(i)));
        const Int move = place - boxes[i].Along(horizontal);
        shifts.push_back({boxes[i].Id, horizontal ? move : 0, horizontal ? 0 : move});
        sizesBefore += boxes[i].Size(horizontal);
    }
    ShiftObjects(circuit,
                 horizontal ? QStringLiteral("Distribute Horizontally")
                            : QStringLiteral("Distribute Vertically"),
                 std::move(shifts));
}

} // namespace flow
