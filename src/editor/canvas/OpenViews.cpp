#include "editor/canvas/OpenViews.h"
#include "model/Model.h"

#include <algorithm>
#include <vector>

namespace flow {

namespace {
std::vector<CircuitView*>& Listed() {
    static std::vector<CircuitView*> views;
    return views;
}
} // namespace

void ListView(CircuitView& view) {
    Listed().push_back(&view);
}

void UnlistView(const CircuitView& view) {
    auto& views = Listed();
    views.erase(std::remove(views.begin(), views.end(), &view), views.end());
}

CircuitView* ViewOf(const Circuit& circuit) {
    for (CircuitView* view : Listed())
        if (view->Circuit == &circuit) return view;
    return nullptr;
}

Frame& ShownFrame(const Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    return view ? ShownFrame(*view) : const_cast<Circuit&>(circuit).MainFrame;
}

void ForgetNode(const Node* node) {
    if (const Circuit* circuit = node ? OwnerCircuit(*node) : nullptr)
        if (CircuitView* view = ViewOf(*circuit)) ForgetNode(*view, node);
}

void ForgetComment(const Comment* comment) {
    if (comment && comment->Frame && comment->Frame->Owner)
        if (CircuitView* view = ViewOf(*comment->Frame->Owner)) ForgetComment(*view, comment);
}

} // namespace flow
