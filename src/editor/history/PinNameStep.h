#pragma once
// A pin's new name as one step: every instance's port label follows it.

#include "editor/history/HistorySteps.h"

namespace flow {

class PinNameStep : public HistoryStep {
  public:
    PinNameStep(Circuit& circuit, Int pinId, QString before, QString after);
    void undo() override { Set(before_); }
    void redo() override { Set(after_); }
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Set(const QString& name);

    Int pinId_;
    QString before_, after_;
};

// Renames the pin, of the body the window shows, as one step of its circuit's history.
void RenamePin(Node& pin, const QString& name);

} // namespace flow
