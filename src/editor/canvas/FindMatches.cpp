#include "editor/canvas/FindMatches.h"

#include "model/SubCircuits.h"

#include <deque>
#include <unordered_map>

namespace flow {

namespace {

using Paths = std::unordered_map<const FunctionDef*, std::vector<Node*>>;

// Breadth first from the frame, so that each body is reached by the fewest levels; bodies
// reached already keep their path.
void ReachBodies(Frame& from, const std::vector<Node*>& path, Paths& paths) {
    std::deque<std::pair<Frame*, std::vector<Node*>>> waiting{{&from, path}};
    while (!waiting.empty()) {
        auto [frame, reached] = std::move(waiting.front());
        waiting.pop_front();
        for (Node* instance : InstancesIn(*frame)) {
            if (paths.count(instance->Function)) continue;
            std::vector<Node*> inner = reached;
            inner.push_back(instance);
            paths.emplace(instance->Function, inner);
            waiting.emplace_back(&BodyOf(*instance->Function), std::move(inner));
        }
    }
}

void FindIn(Frame& frame, const std::vector<Node*>& path, const FindText& text,
            std::vector<FoundObject>& found) {
    for (const auto& node : frame.Nodes)
        if (Matches(*node, text)) found.push_back({path, &frame, node.get(), nullptr});
    for (const auto& comment : frame.Comments)
        if (Matches(*comment, text)) found.push_back({path, &frame, nullptr, comment.get()});
}

} // namespace

std::vector<FoundObject> FindInCircuit(Circuit& circuit, const FindText& text, const QString& first,
                                       const std::vector<Node*>& shownPath) {
    std::vector<FoundObject> found;
    if (text.Empty()) return found;
    Frame& shown = shownPath.empty() ? circuit.MainFrame : BodyOf(*shownPath.back()->Function);
    Paths paths;
    if (!shownPath.empty()) paths.emplace(shownPath.back()->Function, shownPath);
    ReachBodies(shown, shownPath, paths);
    ReachBodies(circuit.MainFrame, {}, paths);

    std::vector<Frame*> order;
    if (Frame* named = FrameNamed(circuit, first)) order.push_back(named);
    if (order.empty() || order.front() != &circuit.MainFrame) order.push_back(&circuit.MainFrame);
    for (const auto& definition : circuit.SubCircuits)
        if (&BodyOf(*definition) != order.front()) order.push_back(&BodyOf(*definition));
    for (Frame* frame : order) {
        if (frame == &circuit.MainFrame) {
            FindIn(*frame, {}, text, found);
            continue;
        }
        const auto path = paths.find(frame->Definition);
        if (path != paths.end()) FindIn(*frame, path->second, text, found);
    }
    return found;
}

} // namespace flow
