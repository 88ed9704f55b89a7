#pragma once
// The small dialog that asks for a new sub-circuit's name, or for a sub-circuit's new name. A name
// the circuit cannot take keeps it open, saying why; Cancel gives none.

#include "model/Records.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;

namespace flow {

class SubCircuitNameDialog : public QDialog {
    Q_OBJECT
  public:
    // Asks for the name of a new sub-circuit, or for a new name of `renamed`, whose own name it
    // offers and takes.
    SubCircuitNameDialog(const Circuit& circuit, QWidget* parent,
                         const FunctionDef* renamed = nullptr);
    QLineEdit* Field() const { return field_; }
    QLabel* Reason() const { return reason_; }
    void accept() override;

  private:
    const Circuit& circuit_;
    const FunctionDef* renamed_;
    QLineEdit* field_;
    QLabel* reason_;
};

// Asks the user for the name; none when cancelled. Tests put an answer of their own here.
using SubCircuitNameAsker = std::function<std::optional<QString>(Circuit& circuit)>;
SubCircuitNameAsker& AskSubCircuitName();
// Asks the user for a new name of the sub-circuit; none when cancelled. Tests answer it too.
using SubCircuitRenameAsker =
    std::function<std::optional<QString>(Circuit& circuit, const FunctionDef& definition)>;
SubCircuitRenameAsker& AskNewSubCircuitName();

} // namespace flow
