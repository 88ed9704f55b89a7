#pragma once
// A sub-circuit's new name as one step: every instance shows it, and files name them by it.

#include "editor/history/HistorySteps.h"

namespace flow {

class SubCircuitNameStep : public HistoryStep {
  public:
    SubCircuitNameStep(Circuit& circuit, QString before, QString after);
    void undo() override { Rename(after_, before_); }
    void redo() override { Rename(before_, after_); }
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Rename(const QString& from, const QString& to);

    QString before_, after_;
};

// Renames the sub-circuit, and so every instance, as one step of its circuit's history. Returns
// why the name cannot be taken (a built-in function's, another sub-circuit's, ...), or an empty
// text; the sub-circuit's own name changes nothing.
QString ChangeSubCircuitName(Circuit& circuit, FunctionDef& definition, const QString& name);

} // namespace flow
