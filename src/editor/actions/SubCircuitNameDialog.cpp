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

} // namespace

SubCircuitNameDialog::SubCircuitNameDialog(const Circuit& circuit, QWidget* parent)
    : QDialog(parent), circuit_(circuit), field_(new QLineEdit), reason_(new QLabel) {
    setWindowTitle(QStringLiteral("Make Sub-circuit"));
    // Wide enough for a refusal on two lines at the most.
    setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Name of the new sub-circuit:")));
    field_->setText(FreeSubCircuitName(circuit, QStringLiteral("Sub-circuit")));
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
    const QString problem = SubCircuitNameProblem(circuit_, field_->text());
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

} // namespace flow
