#pragma once
// Steps that add or take out a whole sub-circuit, and steps made of steps: an edit that spans
// frames (a new sub-circuit and the instance that replaces the selection, a pin removed and the
// wires to it in every frame) is undone at once.

#include "editor/history/HistorySteps.h"

#include <memory>
#include <vector>

namespace flow {

// A sub-circuit put into the circuit or taken out of it, with its name, its place in the list
// of sub-circuits and its body, which comes back with the IDs it had.
class SubCircuitStep : public HistoryStep {
  public:
    enum class Change { Added, Removed };
    // Keeps the sub-circuit as it is now. An added one is in the circuit already; a removed
    // one goes at the first redo. Its instances must be gone before it is taken out.
    SubCircuitStep(Circuit& circuit, const QString& name, const FunctionDef& definition,
                   Change change);
    void undo() override { Show(change_ == Change::Removed); }
    void redo() override;
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Show(bool present);

    Change change_;
    QString name_;
    std::size_t position_;
    std::unique_ptr<GroupSnapshot> body_;
    bool made_;
};

// Steps done in order and undone in reverse, instances following the bodies between each two.
// The steps have been made already.
class CompoundStep : public HistoryStep {
  public:
    CompoundStep(Circuit& circuit, const QString& name,
                 std::vector<std::unique_ptr<HistoryStep>> steps);
    void undo() override;
    void redo() override;
    std::size_t Bytes() const override;

  private:
    void Release() override;

    std::vector<std::unique_ptr<HistoryStep>> steps_;
    bool made_ = true;
};

} // namespace flow
