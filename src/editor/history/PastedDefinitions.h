#pragma once
// The sub-circuits that travel with copied instances: which ones a copy takes along, and, on
// paste, which of them the target circuit has already (the same name and the same body), which
// must come under a new name because the target's of that name is another, and which are new.

#include "file/CircuitFragment.h"

#include <unordered_map>
#include <vector>

namespace flow {

class CompoundEdit;

// The sub-circuits the objects' instances are made from, with every sub-circuit those use, in
// the circuit's order.
std::vector<const FunctionDef*> DefinitionsNeeded(const Circuit& circuit,
                                                  const FrameObjects& objects);

// A sub-circuit's body as a save writes it, but with node IDs counted from 1 in body order, so
// that two bodies drawn alike compare equal wherever their IDs came from.
std::string ComparableBody(const FunctionDef& definition);

struct PastePlan {
    // Sub-circuits of the pasted text -> those of the target that stand for them.
    std::unordered_map<const FunctionDef*, FunctionDef*> Target;
    // Sub-circuits of the text the target lacks, each after those it uses; renamed where the
    // target has another of that name.
    std::vector<FunctionDef*> Created;
};

// Matches the sub-circuits of `pasted` (a circuit read from the clipboard or a file) to those of
// `target`, renaming in `pasted` those that must come under a new name: all of them, or the
// `wanted` ones with every one those use.
PastePlan PlanPastedDefinitions(Circuit& pasted, const Circuit& target);
PastePlan PlanPastedDefinitions(Circuit& pasted, const Circuit& target,
                                const std::vector<FunctionDef*>& wanted);

// The target's sub-circuit that stands for one of `pasted`; none for a built-in function.
FunctionDef* TargetOf(const PastePlan& plan, FunctionDef* pasted);
// Adds the planned new sub-circuits to the target, bodies and all, each a part of the edit.
void AddPlannedDefinitions(Circuit& target, PastePlan& plan, CompoundEdit& edit);

// Why the pasted objects cannot go into the frame: an instance in them would make the frame's
// sub-circuit contain itself. Empty when they can.
QString PasteRecursion(const Circuit& pasted, const PastePlan& plan, const Frame& into);

} // namespace flow
