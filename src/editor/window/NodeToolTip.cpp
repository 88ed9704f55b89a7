#include "editor/window/NodeToolTip.h"

#include "editor/canvas/TextEditing.h"
#include "render/Camera.h"
#include "render/CircuitView.h"
#include "render/NodeReference.h"

#include <QHelpEvent>
#include <QToolTip>

namespace flow {

namespace {

// A tooltip would stand in the way of a drag, a band, a pan, a node being placed or a text
// being typed.
const Node* NodeToDescribe(const CircuitView& view) {
    if (view.Band() || view.Drag() || view.Pan || view.Preview.Function || EditingText(view))
        return nullptr;
    return view.HoveredPort ? view.HoveredPort->Node : view.HoveredNode;
}

// The node's box on the canvas, with its ports' discs, which reach past it.
QRect CanvasBox(const CircuitView& view, const Node& node) {
    constexpr double kPortReach = 6.0;
    const double left = double(std::min(node.X, node.X + node.Width)) - kPortReach;
    const double right = double(std::max(node.X, node.X + node.Width)) + kPortReach;
    const double top = double(std::min(node.Y, node.Y + node.Height)) - kPortReach;
    const double bottom = double(std::max(node.Y, node.Y + node.Height)) + kPortReach;
    return QRect(QPoint(ToScreenX(view, left), ToScreenY(view, top)),
                 QPoint(ToScreenX(view, right), ToScreenY(view, bottom)));
}

} // namespace

void ShowNodeToolTip(QWidget& canvas, const CircuitView& view, QHelpEvent& event) {
    const Node* node = NodeToDescribe(view);
    if (!node) {
        QToolTip::hideText();
        event.ignore();
        return;
    }
    QToolTip::showText(event.globalPos(), NodeReferenceHtml(*node, view.OpenPath), &canvas,
                       CanvasBox(view, *node));
}

} // namespace flow
