#pragma once
// The small dialog that asks for a new sub-circuit's name. A name the circuit cannot take keeps
// it open, saying why; Cancel gives none.

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
    SubCircuitNameDialog(const Circuit& circuit, QWidget* parent);
    QLineEdit* Field() const { return field_; }
    QLabel* Reason() const { return reason_; }
    void accept() override;

  private:
    const Circuit& circuit_;
    QLineEdit* field_;
    QLabel* reason_;
};

// Asks the user for the name; none when cancelled. Tests put an answer of their own here.
using SubCircuitNameAsker = std::function<std::optional<QString>(Circuit& circuit)>;
SubCircuitNameAsker& AskSubCircuitName();

} // namespace flow
