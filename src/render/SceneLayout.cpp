#include "render/SceneLayout.h"

#include "render/CircuitView.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"
#include "render/PinDrawing.h"

namespace flow {

void LayOutShownFrame(CircuitView& view) {
    Frame& frame = ShownFrame(view);
    for (auto it = frame.Comments.rbegin(); it != frame.Comments.rend(); ++it) {
        LayoutComment(**it, &view);
        (*it)->Flags &= ~ObjectFlag::NeedsLayout;
    }
    for (auto it = frame.Nodes.rbegin(); it != frame.Nodes.rend(); ++it) {
        LayoutConstant(**it, &view);
        LayoutPinName(**it, view);
        (*it)->Flags &= ~ObjectFlag::NeedsLayout;
    }
}

} // namespace flow
