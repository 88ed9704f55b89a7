#include "editor/history/SubCircuitNameStep.h"

#include "editor/canvas/OpenViews.h"
#include "editor/history/History.h"
#include "model/SubCircuits.h"

namespace flow {

SubCircuitNameStep::SubCircuitNameStep(Circuit& circuit, QString before, QString after)
    : HistoryStep(circuit, QStringLiteral("Rename Sub-circuit")), before_(std::move(before)),
      after_(std::move(after)) {}

std::size_t SubCircuitNameStep::Bytes() const {
    return sizeof(*this) + std::size_t(before_.capacity() + after_.capacity()) * sizeof(QChar);
}

void SubCircuitNameStep::Release() {
    before_ = after_ = QString();
}

void SubCircuitNameStep::Rename(const QString& from, const QString& to) {
    FunctionDef* definition = FindSubCircuit(circuit_, from);
    if (!definition) return;
    RenameSubCircuit(circuit_, *definition, to);
    // The camera its body was left with goes by its name.
    if (CircuitView* view = ViewOf(circuit_); view && view->CamerasInside.contains(from))
        view->CamerasInside.insert(to, view->CamerasInside.take(from));
    Settle();
}

QString ChangeSubCircuitName(Circuit& circuit, FunctionDef& definition, const QString& name) {
    if (name == definition.Name) return QString();
    if (const QString problem = SubCircuitNameProblem(circuit, name); !problem.isEmpty())
        return problem;
    RecordStep(circuit, std::make_unique<SubCircuitNameStep>(circuit, definition.Name, name));
    return QString();
}

} // namespace flow
