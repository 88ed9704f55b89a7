#pragma once
// A pin's or an input's new name as one step: every instance's port label follows a pin's.

#include "editor/history/HistorySteps.h"

namespace flow {

class PinNameStep : public HistoryStep {
  public:
    PinNameStep(Circuit& circuit, const QString& stepName, Int nodeId, QString before,
                QString after);
    void undo() override { Set(before_); }
    void redo() override { Set(after_); }
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Set(const QString& name);

    Int nodeId_;
    QString before_, after_;
};

// Renames the pin, of the body the window shows, as one step of its circuit's history.
void RenamePin(Node& pin, const QString& name);
// Renames the input as one step; the name must be one it may take (InputNameProblem).
void RenameInput(Node& input, const QString& name);

} // namespace flow
