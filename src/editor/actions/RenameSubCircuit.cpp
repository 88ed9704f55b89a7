#include "editor/actions/RenameSubCircuit.h"

#include "editor/actions/SubCircuitNameDialog.h"
#include "editor/canvas/OpenViews.h"
#include "editor/history/SubCircuitNameStep.h"
#include "editor/window/StatusText.h"
#include "model/SubCircuits.h"

namespace flow {

FunctionDef* SubCircuitToRename(const Circuit& circuit) {
    const Frame& shown = ShownFrame(circuit);
    const Node* selected = nullptr;
    for (const auto& node : shown.Nodes) {
        if (!(node->Flags & ObjectFlag::Selected)) continue;
        if (selected) {
            selected = nullptr; // which one would be a guess
            break;
        }
        selected = node.get();
    }
    if (selected && IsInstance(*selected)) return selected->Function;
    return shown.Definition;
}

void RenameSubCircuitAsking(Circuit& circuit, FunctionDef& definition) {
    // Found again by its name after the question: nothing is held across it.
    const QString name = definition.Name;
    const std::optional<QString> chosen = AskNewSubCircuitName()(circuit, definition);
    FunctionDef* renamed = FindSubCircuit(circuit, name);
    if (!chosen || !renamed) return;
    if (const QString problem = ChangeSubCircuitName(circuit, *renamed, *chosen);
        !problem.isEmpty())
        ShowStatusNotice(circuit, problem);
}

void RenameChosenSubCircuit(Circuit& circuit) {
    if (FunctionDef* definition = SubCircuitToRename(circuit))
        RenameSubCircuitAsking(circuit, *definition);
    else
        ShowStatusNotice(circuit,
                         QStringLiteral("Select one instance of the sub-circuit to rename"));
}

} // namespace flow
