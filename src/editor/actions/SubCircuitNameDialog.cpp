#include "editor/actions/SubCircuitNameDialog.h"

#include "editor/window/CircuitWindow.h"

#include "model/SubCircuits.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace flow {

namespace {

std::optional<QString> AskWithDialog(Circuit& circuit) {
    SubCircuitNameDialog dialog(circuit, WindowOf(circuit));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Field()->text();
}

std::optional<QString> AskWithRenameDialog(Circuit& circuit, const FunctionDef& definition) {
    SubCircuitNameDialog dialog(circuit, WindowOf(circuit), &definition);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Field()->text();
}

} // namespace

SubCircuitNameDialog::SubCircuitNameDialog(const Circuit& circuit, QWidget* parent,
                                           const FunctionDef* renamed)
    : QDialog(parent), circuit_(circuit), renamed_(renamed), field_(new QLineEdit),
      reason_(new QLabel) {
    setWindowTitle(renamed ? QStringLiteral("Rename Sub-circuit")
                           : QStringLiteral("Make Sub-circuit"));
    // Wide enough for a refusal on two lines at the most.
    setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(renamed ? QStringLiteral("New name of “%1”:").arg(renamed->Name)
                                      : QStringLiteral("Name of the new sub-circuit:"));
    prompt->setTextFormat(Qt::PlainText);
    layout->addWidget(prompt);
    field_->setText(renamed ? renamed->Name
                            : FreeSubCircuitName(circuit, QStringLiteral("Sub-circuit")));
    field_->selectAll();
    layout->addWidget(field_);
    reason_->setWordWrap(true);
    reason_->hide();
    layout->addWidget(reason_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SubCircuitNameDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SubCircuitNameDialog::reject);
    layout->addWidget(buttons);
}

void SubCircuitNameDialog::accept() {
    const bool unchanged = renamed_ && field_->text() == renamed_->Name;
    const QString problem = unchanged ? QString() : SubCircuitNameProblem(circuit_, field_->text());
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    reason_->setText(problem);
    reason_->show();
    adjustSize();
    field_->setFocus();
}

SubCircuitNameAsker& AskSubCircuitName() {
    static SubCircuitNameAsker asker = AskWithDialog;
    return asker;
}

SubCircuitRenameAsker& AskNewSubCircuitName() {
    static SubCircuitRenameAsker asker = AskWithRenameDialog;
    return asker;
}

} // namespace flow
