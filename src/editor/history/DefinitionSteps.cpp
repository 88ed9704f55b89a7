#include "editor/history/DefinitionSteps.h"

#include "editor/canvas/OpenViews.h"
#include "editor/history/ObjectCopy.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

namespace flow {

SubCircuitStep::SubCircuitStep(Circuit& circuit, const QString& name, const FunctionDef& definition,
                               Change change)
    : HistoryStep(circuit, name), change_(change), name_(definition.Name),
      position_(SubCircuitPosition(circuit, &definition)),
      body_(std::make_unique<GroupSnapshot>(BodyOf(definition), AllObjectsOf(BodyOf(definition)))),
      made_(change == Change::Added) {}

void SubCircuitStep::redo() {
    if (std::exchange(made_, false)) return;
    Show(change_ == Change::Added);
}

std::size_t SubCircuitStep::Bytes() const {
    return sizeof(*this) + std::size_t(name_.capacity()) * 2 + (body_ ? body_->Bytes() : 0);
}

void SubCircuitStep::Release() {
    body_.reset();
}

void SubCircuitStep::Show(bool present) {
    if (!body_) return;
    FunctionDef* existing = FindSubCircuit(circuit_, name_);
    if (present && !existing) {
        FunctionDef* definition = AddSubCircuit(circuit_, name_, position_);
        body_->Restore(BodyOf(*definition));
    } else if (!present && existing) {
        // The editor may hold on to what lies inside, as it does to any object it hovers.
        const FrameObjects inside = AllObjectsOf(BodyOf(*existing));
        for (const Node* node : inside.Nodes) {
            LeaveInstance(*node);
            ForgetNode(node);
        }
        for (const Comment* comment : inside.Comments)
            ForgetComment(comment);
        if (CircuitView* view = ViewOf(circuit_); view && view->Preview.Function == existing)
            view->Preview.Function = nullptr;
        DeleteSubCircuit(circuit_, existing);
    }
    Settle();
}

CompoundStep::CompoundStep(Circuit& circuit, const QString& name,
                           std::vector<std::unique_ptr<HistoryStep>> steps)
    : HistoryStep(circuit, name), steps_(std::move(steps)) {}

void CompoundStep::undo() {
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
        (*step)->undo();
        Settle();
    }
}

void CompoundStep::redo() {
    if (std::exchange(made_, false)) return;
    for (const auto& step : steps_) {
        step->redo();
        Settle();
    }
}

std::size_t CompoundStep::Bytes() const {
    std::size_t bytes = sizeof(*this) + steps_.capacity() * sizeof(void*);
    for (const auto& step : steps_)
        bytes += step->Bytes();
    return bytes;
}

void CompoundStep::Release() {
    for (const auto& step : steps_)
        step->Forget();
    steps_.clear();
}

} // namespace flow
