#pragma once
// Run → Start With Inputs…: one dialog with every input of the circuit, its name, type and
// value. Each value is read as it is typed, as a constant's is; OK stays disabled, saying why,
// while one is not of its input's type. OK gives the inputs their new values in one step of the
// history and starts the run; Cancel changes nothing.

#include "editor/history/History.h"

#include <QDialog>

#include <functional>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace flow {

class InputsDialog : public QDialog {
  public:
    InputsDialog(Circuit& circuit, QWidget* parent);
    // One field per input, in the main frame's order.
    const std::vector<QLineEdit*>& Fields() const { return fields_; }
    QLabel* Reason() const { return reason_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    // What the fields hold, each read as its input's type; only while every one reads.
    std::vector<NewInputValue> Values() const;

  private:
    void Check();

    std::vector<Node*> inputs_;
    std::vector<QLineEdit*> fields_;
    QLabel* reason_;
    QDialogButtonBox* buttons_;
};

// Shows the dialog and returns whether it was accepted. Tests fill and accept it here instead.
using InputsDialogRunner = std::function<bool(InputsDialog& dialog)>;
InputsDialogRunner& RunInputsDialog();

// Asks for the inputs' values, sets those that changed and starts the run.
void StartWithInputs(Circuit& circuit);

} // namespace flow
