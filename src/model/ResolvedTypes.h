#pragma once
// The implementation and port types that resolution chose for each node, kept by node ID.
// Resolution starts from a node's current implementation, so taking an edit back through the
// model's operations can leave other choices than those made before the edit; putting the kept
// choices back makes the circuit resolve exactly as it did.

#include "model/Records.h"

#include <unordered_map>

namespace flow {

struct ResolvedTypes {
    Implementation* Chosen = nullptr;
    std::vector<int> PortTypes; // in port order
    bool operator==(const ResolvedTypes&) const = default;
};

using TypesById = std::unordered_map<Int, ResolvedTypes>;

TypesById CaptureTypes(const Frame& frame);
// The entries of `from` whose node is missing from `to` or resolved otherwise there.
TypesById ChangedTypes(const TypesById& from, const TypesById& to);
// Gives each node of the frame the types kept for its ID in `preferred`, else in `fallback`;
// nodes found in neither keep theirs.
void RestoreTypes(Frame& frame, const TypesById& preferred, const TypesById& fallback);

} // namespace flow
