#include "editor/actions/ReloadCircuit.h"

#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/OpenViews.h"
#include "editor/history/CompoundEdit.h"
#include "editor/history/History.h"
#include "editor/history/ObjectCopy.h"
#include "editor/history/PastedDefinitions.h"
#include "file/CircuitReader.h"
#include "model/SubCircuits.h"

#include <QFile>

namespace flow {

namespace {

// The circuit's sub-circuits, each after those its body uses.
std::vector<FunctionDef*> UsedFirst(Circuit& circuit) {
    const Circuit none;
    return PlanPastedDefinitions(circuit, none).Created;
}

} // namespace

bool ReloadCircuit(Circuit& circuit) {
    QFile file(circuit.FileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    Circuit read;
    read.MainFrame.Owner = &read;
    ReadLosses losses;
    ReadCircuitText(read, std::string_view(bytes.constData(), std::size_t(bytes.size())), losses);
    if (losses.Any()) return false;

    if (CircuitView* view = ViewOf(circuit)) CancelEdit(*view);
    GoUpTo(circuit, 0);
    CompoundEdit edit(circuit, QStringLiteral("Reload"));
    Frame& main = circuit.MainFrame;
    const FrameObjects old = AllObjectsOf(main);
    edit.Edit(main, old, [&old] {
        TakeOut(old);
        return FrameObjects{};
    });
    // Users before what they use: a sub-circuit goes only once nothing holds an instance of it.
    const std::vector<FunctionDef*> oldDefinitions = UsedFirst(circuit);
    for (auto definition = oldDefinitions.rbegin(); definition != oldDefinitions.rend();
         ++definition)
        edit.Remove(**definition);

    std::unordered_map<FunctionDef*, FunctionDef*> made;
    const auto choose = [&made](FunctionDef* function) -> FunctionDef* {
        const auto found = made.find(function);
        return found == made.end() ? nullptr : found->second;
    };
    for (FunctionDef* definition : UsedFirst(read)) {
        FunctionDef* copy = AddSubCircuit(circuit, definition->Name);
        CopyObjects(AllObjectsOf(BodyOf(*definition)), BodyOf(*copy), 0, 0, choose);
        made.emplace(definition, copy);
        edit.Added(*copy);
    }
    edit.Edit(main, {},
              [&] { return CopyObjects(AllObjectsOf(read.MainFrame), main, 0, 0, choose).Made; });
    edit.Commit();
    return true;
}

} // namespace flow
