#include "editor/history/CompoundEdit.h"

#include "editor/history/DefinitionSteps.h"
#include "editor/history/History.h"
#include "model/Expansion.h"
#include "model/SubCircuits.h"

namespace flow {

CompoundEdit::CompoundEdit(Circuit& circuit, QString name)
    : circuit_(circuit), name_(std::move(name)), recording_(HistoryOf(circuit) != nullptr) {}

void CompoundEdit::Keep(std::unique_ptr<HistoryStep> step) {
    // A kept step counts as made: its first redo, which would find the change done, is spent
    // here, so that the compound's later redos all carry the change out.
    step->redo();
    steps_.push_back(std::move(step));
}

FrameObjects CompoundEdit::Edit(Frame& frame, const FrameObjects& removing,
                                const std::function<FrameObjects()>& edit) {
    if (!recording_) {
        const FrameObjects added = edit();
        FollowDefinitions(circuit_);
        return added;
    }
    TypesById before = CaptureTypes(frame);
    auto removed = std::make_unique<GroupSnapshot>(frame, removing);
    const FrameObjects added = edit();
    auto made = std::make_unique<GroupSnapshot>(frame, added);
    TypesById after = CaptureTypes(frame);
    FollowDefinitions(circuit_);
    if (removed->Empty() && made->Empty()) return added;
    TypesById changedBefore = ChangedTypes(before, after);
    TypesById changedAfter = ChangedTypes(after, before);
    Keep(std::make_unique<GroupStep>(circuit_, name_, frame, std::move(removed), std::move(made),
                                     std::move(changedBefore), std::move(changedAfter)));
    return added;
}

void CompoundEdit::Added(const FunctionDef& definition) {
    FollowDefinitions(circuit_);
    if (recording_)
        Keep(std::make_unique<SubCircuitStep>(circuit_, name_, definition,
                                              SubCircuitStep::Change::Added));
}

void CompoundEdit::Remove(FunctionDef& definition) {
    auto step = std::make_unique<SubCircuitStep>(circuit_, name_, definition,
                                                 SubCircuitStep::Change::Removed);
    if (recording_)
        Keep(std::move(step));
    else
        step->redo();
}

void CompoundEdit::Commit() {
    if (!recording_ || steps_.empty()) return;
    RecordStep(circuit_, std::make_unique<CompoundStep>(circuit_, name_, std::move(steps_)));
    steps_.clear();
}

} // namespace flow
