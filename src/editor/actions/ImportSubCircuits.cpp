#include "editor/actions/ImportSubCircuits.h"

#include "editor/actions/MenuCommands.h"
#include "editor/actions/SubCircuitPicker.h"
#include "editor/history/CompoundEdit.h"
#include "editor/history/PastedDefinitions.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"
#include "file/CircuitReader.h"
#include "model/SubCircuits.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include <memory>

namespace flow {

namespace {

void Warn(Circuit& circuit, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Import Sub-circuits"), text,
                    QMessageBox::Ok, WindowOf(circuit));
    // Names from files are text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The file read into a circuit of its own; none, the user told why, when it cannot be read
// whole: a sub-circuit of a file read in part may lack what its author drew.
std::unique_ptr<Circuit> ReadWhole(Circuit& circuit, const QString& fileName) {
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
        Warn(circuit, QStringLiteral("Cannot read circuit file “%1”: %2.")
                          .arg(fileName, LoadFailureReason(fileName)));
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    auto read = std::make_unique<Circuit>();
    read->MainFrame.Owner = read.get();
    ReadLosses losses;
    ReadCircuitText(*read, std::string_view(bytes.constData(), std::size_t(bytes.size())), losses);
    if (!losses.Any()) return read;
    Warn(circuit, DescribeLosses(QFileInfo(fileName).fileName(), losses) +
                      QStringLiteral("\n\nNothing was imported."));
    return nullptr;
}

QStringList NamesOf(const Circuit& circuit) {
    QStringList names;
    for (const auto& definition : circuit.SubCircuits)
        names << definition->Name;
    return names;
}

// Returns what the status bar tells.
QString Import(Circuit& circuit, Circuit& read, const QStringList& names) {
    std::vector<FunctionDef*> wanted;
    for (const QString& name : names)
        if (FunctionDef* definition = FindSubCircuit(read, name)) wanted.push_back(definition);
    if (wanted.empty()) return QStringLiteral("Nothing imported");
    PastePlan plan = PlanPastedDefinitions(read, circuit, wanted);
    if (plan.Created.empty())
        return QStringLiteral("Nothing imported: the circuit has these sub-circuits already");
    CompoundEdit edit(circuit, QStringLiteral("Import Sub-circuits"));
    AddPlannedDefinitions(circuit, plan, edit);
    edit.Commit();
    QStringList made;
    for (FunctionDef* definition : plan.Created)
        made << TargetOf(plan, definition)->Name;
    return QStringLiteral("Imported %1").arg(made.join(QStringLiteral(", ")));
}

} // namespace

void ImportSubCircuitsAsking(Circuit& circuit) {
    const QString fileName = ChooseFileName()(WindowOf(circuit), FileDialogKind::Open);
    if (fileName.isEmpty()) return;
    const std::unique_ptr<Circuit> read = ReadWhole(circuit, fileName);
    if (!read) return;
    const QString title = QFileInfo(fileName).fileName();
    if (read->SubCircuits.empty()) {
        ShowStatusNotice(circuit, QStringLiteral("“%1” holds no sub-circuits").arg(title));
        return;
    }
    const std::optional<QStringList> names = PickSubCircuits()(circuit, title, NamesOf(*read));
    if (names) ShowStatusNotice(circuit, Import(circuit, *read, *names));
}

} // namespace flow
