#include "model/Inputs.h"

#include "model/Catalogue.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <algorithm>

namespace flow {

namespace {

bool NameTaken(const Frame& frame, const QString& name, const Node* except) {
    return std::ranges::any_of(frame.Nodes, [&](const auto& node) {
        return node.get() != except && IsInput(*node) && InputName(*node) == name;
    });
}

} // namespace

bool IsInput(const Node& node) {
    return node.Function && node.Function == Catalogue().Input;
}

bool HoldsValue(const Node& node) {
    return IsConstant(node) || IsInput(node);
}

int HeldType(const Node& node) {
    const Implementation* implementation = node.Implementation;
    return implementation && implementation->Types.size() > 1 ? implementation->Types[1]
                                                              : PortType::Generic;
}

// An input keeps its name where a pin does, as its one port's label: the pin's accessors
// serve both, and a rename is an edit that windows see.
QString InputName(const Node& input) {
    return PinName(input);
}

void SetInputName(Node& input, const QString& name) {
    SetPinName(input, name);
}

std::vector<Node*> InputsOf(const Circuit& circuit) {
    std::vector<Node*> inputs;
    for (const auto& node : circuit.MainFrame.Nodes)
        if (IsInput(*node)) inputs.push_back(node.get());
    return inputs;
}

QString FreeInputName(const Frame& frame, const QString& name, const Node* except) {
    if (!NameTaken(frame, name, except)) return name;
    for (int number = 2;; ++number)
        if (QString numbered = NumberedName(name, number); !NameTaken(frame, numbered, except))
            return numbered;
}

QString InputNameProblem(const Node& input, const QString& name) {
    if (name.trimmed().isEmpty()) return QStringLiteral("An input needs a name");
    if (name.size() > kLongestName)
        return QStringLiteral("An input's name may hold at most %1 characters").arg(kLongestName);
    // The command line splits NAME=VALUE at the first "=", and --inputs parts its columns by
    // tabs.
    if (name.contains(QLatin1Char('=')) || name.contains(QLatin1Char('\t')))
        return QStringLiteral("An input's name may not hold “=” or a tab");
    if (name != name.trimmed())
        return QStringLiteral("An input's name may not begin or end with a blank");
    if (input.Frame && NameTaken(*input.Frame, name, &input))
        return QStringLiteral("Another input is named “%1”").arg(name);
    return QString();
}

} // namespace flow
