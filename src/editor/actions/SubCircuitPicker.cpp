#include "editor/actions/SubCircuitPicker.h"

#include "editor/window/CircuitWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace flow {

namespace {

std::optional<QStringList> AskWithDialog(Circuit& circuit, const QString& fileTitle,
                                         const QStringList& names) {
    SubCircuitPicker picker(fileTitle, names, WindowOf(circuit));
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.Ticked();
}

} // namespace

SubCircuitPicker::SubCircuitPicker(const QString& fileTitle, const QStringList& names,
                                   QWidget* parent)
    : QDialog(parent), list_(new QListWidget) {
    setWindowTitle(QStringLiteral("Import Sub-circuits"));
    setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("Sub-circuits of “%1” to import:").arg(fileTitle));
    prompt->setTextFormat(Qt::PlainText);
    layout->addWidget(prompt);
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QStringList SubCircuitPicker::Ticked() const {
    QStringList ticked;
    for (int row = 0; row < list_->count(); ++row)
        if (list_->item(row)->checkState() == Qt::Checked) ticked << list_->item(row)->text();
    return ticked;
}

SubCircuitPick& PickSubCircuits() {
    static SubCircuitPick pick = AskWithDialog;
    return pick;
}

} // namespace flow
