#pragma once
// The list to tick of File → Import Sub-circuits…: the sub-circuits a file holds, all ticked at
// first.

#include "model/Records.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <optional>

class QListWidget;

namespace flow {

class SubCircuitPicker : public QDialog {
    Q_OBJECT
  public:
    SubCircuitPicker(const QString& fileTitle, const QStringList& names, QWidget* parent);
    QListWidget* List() const { return list_; }
    QStringList Ticked() const;

  private:
    QListWidget* list_;
};

// Asks which of the names to take; none when cancelled. Tests put an answer of their own here.
using SubCircuitPick = std::function<std::optional<QStringList>(
    Circuit& circuit, const QString& fileTitle, const QStringList& names)>;
SubCircuitPick& PickSubCircuits();

} // namespace flow
