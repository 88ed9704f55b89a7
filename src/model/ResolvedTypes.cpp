#include "model/ResolvedTypes.h"

#include "model/Model.h"

namespace flow {

namespace {

ResolvedTypes TypesOf(const Node& node) {
    ResolvedTypes types{node.Implementation, {}};
    types.PortTypes.reserve(node.Ports.size());
    for (const auto& port : node.Ports)
        types.PortTypes.push_back(port->Type);
    return types;
}

void SetTypes(Node& node, const ResolvedTypes& types) {
    if (TypesOf(node) == types || types.PortTypes.size() != node.Ports.size()) return;
    node.Implementation = types.Chosen;
    for (std::size_t i = 0; i < node.Ports.size(); ++i)
        node.Ports[i]->Type = types.PortTypes[i];
    node.Flags |= ObjectFlag::NeedsLayout;
    CountEdit(node.Frame);
}

} // namespace

TypesById CaptureTypes(const Frame& frame) {
    TypesById all;
    all.reserve(frame.Nodes.size());
    for (const auto& node : frame.Nodes)
        all.emplace(node->Id, TypesOf(*node));
    return all;
}

TypesById ChangedTypes(const TypesById& from, const TypesById& to) {
    TypesById changed;
    for (const auto& [id, types] : from) {
        const auto there = to.find(id);
        if (there == to.end() || !(there->second == types)) changed.emplace(id, types);
    }
    return changed;
}

void RestoreTypes(Frame& frame, const TypesById& preferred, const TypesById& fallback) {
    for (const auto& node : frame.Nodes) {
        if (const auto kept = preferred.find(node->Id); kept != preferred.end())
            SetTypes(*node, kept->second);
        else if (const auto before = fallback.find(node->Id); before != fallback.end())
            SetTypes(*node, before->second);
    }
}

} // namespace flow
