#include "editor/actions/InputsDialog.h"

#include "editor/actions/MenuCommands.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/TypedValue.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "model/Inputs.h"
#include "model/Model.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace flow {

namespace {

QLabel* PlainLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

InputsDialog::InputsDialog(Circuit& circuit, QWidget* parent)
    : QDialog(parent), inputs_(InputsOf(circuit)), reason_(new QLabel),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setWindowTitle(QStringLiteral("Start With Inputs"));
    setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    if (inputs_.empty()) {
        layout->addWidget(PlainLabel(QStringLiteral("The circuit has no inputs: OK starts it "
                                                    "as it is.")));
    } else {
        auto* grid = new QGridLayout;
        grid->addWidget(PlainLabel(QStringLiteral("Input")), 0, 0);
        grid->addWidget(PlainLabel(QStringLiteral("Type")), 0, 1);
        grid->addWidget(PlainLabel(QStringLiteral("Value")), 0, 2);
        for (std::size_t i = 0; i < inputs_.size(); ++i) {
            const int row = int(i) + 1;
            grid->addWidget(PlainLabel(InputName(*inputs_[i])), row, 0);
            grid->addWidget(PlainLabel(PortTypeName(HeldType(*inputs_[i]))), row, 1);
            auto* field = new QLineEdit(EditTextOf(*inputs_[i]));
            // An input read from a file without a value has no type to read one as.
            field->setEnabled(HeldType(*inputs_[i]) != PortType::Generic);
            connect(field, &QLineEdit::textChanged, this, [this] { Check(); });
            grid->addWidget(field, row, 2);
            fields_.push_back(field);
        }
        grid->setColumnStretch(2, 1);
        layout->addLayout(grid);
    }
    reason_->setWordWrap(true);
    reason_->setTextFormat(Qt::PlainText);
    reason_->hide();
    layout->addWidget(reason_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
    if (!fields_.empty()) {
        fields_.front()->setFocus();
        fields_.front()->selectAll();
    }
    Check();
}

std::vector<NewInputValue> InputsDialog::Values() const {
    std::vector<NewInputValue> values;
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        Node& input = *inputs_[i];
        const TypedValue read = ValueTypedInto(input, fields_[i]->text());
        if (!read.Refusal.isEmpty()) return {};
        values.push_back({&input, read.Number, read.Text});
    }
    return values;
}

void InputsDialog::Check() {
    QString problem;
    for (std::size_t i = 0; i < inputs_.size() && problem.isEmpty(); ++i) {
        if (HeldType(*inputs_[i]) == PortType::Generic) continue;
        const TypedValue read = ReadTypedValue(HeldType(*inputs_[i]), fields_[i]->text());
        if (!read.Refusal.isEmpty())
            problem = QStringLiteral("%1: %2").arg(InputName(*inputs_[i]), read.Refusal);
    }
    reason_->setText(problem);
    reason_->setVisible(!problem.isEmpty());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

InputsDialogRunner& RunInputsDialog() {
    static InputsDialogRunner runner = [](InputsDialog& dialog) {
        return dialog.exec() == QDialog::Accepted;
    };
    return runner;
}

void StartWithInputs(Circuit& circuit) {
    CommitEditOf(circuit);
    InputsDialog dialog(circuit, WindowOf(circuit));
    const bool accepted = RunInputsDialog()(dialog);
    // Keys go back to the canvas, where they went before the dialog took them.
    if (CircuitWindow* window = WindowOf(circuit)) window->Canvas()->setFocus();
    if (!accepted) return;
    ChangeInputValues(circuit, dialog.Values());
    OnMenu(circuit, Command::Start);
}

} // namespace flow
