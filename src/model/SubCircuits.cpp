#include "model/SubCircuits.h"

#include "model/Catalogue.h"
#include "model/Model.h"

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

const QString kInputShape = QStringLiteral("M 0,0 l 30,0 l 10,8 l -10,8 l -30,0 z");
const QString kOutputShape = QStringLiteral("M 0,8 l 10,-8 l 30,0 l 0,16 l -30,0 z");

// A named pin takes the type of what meets it; a loop's pins have one type each. No thread ever
// runs a pin, so none has a routine.
std::unique_ptr<FunctionDef> MakePinFunction(const QString& name, const QString& shape,
                                             const QString& symbol, int direction, Int portX,
                                             std::vector<int> types, const QString& description) {
    auto function = std::make_unique<FunctionDef>();
    function->Name = name;
    function->Description = description;
    function->Shape = shape;
    function->Symbol = symbol;
    function->Width = 40;
    function->Height = 16;
    AddPortTemplate(function.get(), direction, name, portX, 8, 1, 0);
    for (const int type : types) {
        auto implementation = std::make_unique<Implementation>();
        implementation->Types = {0, type};
        function->Implementations.push_back(std::move(implementation));
    }
    return function;
}

// The order of a side's ports: top to bottom, then left to right, then the body's list order.
bool StandsAbove(const Node* a, const Node* b) {
    if (a->Y != b->Y) return a->Y < b->Y;
    return a->X < b->X;
}

// A text symbol cannot hold a comma: it separates the symbol's fields.
QString SymbolText(const QString& name) {
    QString text = name;
    text.replace(QLatin1Char(','), QChar(0x201A));
    return text;
}

// A body's own functions, by name.
FunctionDef* PinFunctionNamed(const QString& name) {
    const PinFunctionSet& pins = PinFunctions();
    for (FunctionDef* pin : {pins.Input, pins.Output, pins.Iteration, pins.Continue})
        if (pin->Name == name) return pin;
    return nullptr;
}

// The catalogue's functions and the pins: names no sub-circuit may take.
bool IsBuiltInName(const QString& name) {
    return FindFunction(name) || PinFunctionNamed(name);
}

constexpr Int kRow = 16;   // distance of neighbouring ports
constexpr Int kTop = 20;   // the first port's height below the top, under the name
constexpr Int kSpare = 12; // below the last port

// The width a row of port labels needs: each label its inset from its side, and a row with
// both an inset between them. A side without a port in the row has no label.
Int RowWidth(const QString* input, const QString* output) {
    const auto label = [](const QString* text) {
        return text ? double(text->size() * kPortLabelCharWidth) : 0.0;
    };
    const double insets = input && output ? 3 * kPortLabelInset : 1.5 * kPortLabelInset;
    return Int(std::ceil(label(input) + label(output) + insets));
}

} // namespace

const PinFunctionSet& PinFunctions() {
    static const auto functions = [] {
        const std::vector<int> anyType{PortType::Boolean, PortType::Integer, PortType::Real,
                                       PortType::String};
        static std::unique_ptr<FunctionDef> input = MakePinFunction(
            QStringLiteral("Input Pin"), kInputShape, {}, Direction::Out, 37, anyType,
            QStringLiteral("The value that comes into the instance's input of the same name"));
        static std::unique_ptr<FunctionDef> output = MakePinFunction(
            QStringLiteral("Output Pin"), kOutputShape, {}, Direction::In, 3, anyType,
            QStringLiteral(
                "Sends the value it receives out of the instance's output of the same name"));
        // Shaped as the named pins whose direction they share, marked inside.
        static std::unique_ptr<FunctionDef> iteration = MakePinFunction(
            QStringLiteral("Iteration Pin"), kInputShape, QStringLiteral("$#,11,16,8"),
            Direction::Out, 37, {PortType::Integer},
            QStringLiteral("The number of the loop's current iteration, counting from 0"));
        static std::unique_ptr<FunctionDef> goOn = MakePinFunction(
            QStringLiteral("Continue Pin"), kOutputShape, QStringLiteral("$?,11,24,8"),
            Direction::In, 3, {PortType::Boolean},
            QStringLiteral("False, or nothing, ends the loop after the current iteration"));
        return PinFunctionSet{input.get(), output.get(), iteration.get(), goOn.get()};
    }();
    return functions;
}

bool IsInputPin(const Node& node) {
    return node.Function && node.Function == PinFunctions().Input;
}

bool IsOutputPin(const Node& node) {
    return node.Function && node.Function == PinFunctions().Output;
}

bool IsPin(const Node& node) {
    return IsInputPin(node) || IsOutputPin(node);
}

bool IsIterationPin(const Node& node) {
    return node.Function && node.Function == PinFunctions().Iteration;
}

bool IsContinuePin(const Node& node) {
    return node.Function && node.Function == PinFunctions().Continue;
}

bool IsBodyPin(const Node& node) {
    return IsPin(node) || IsIterationPin(node) || IsContinuePin(node);
}

bool IsSubCircuit(const FunctionDef* function) {
    return function && !function->Frames.empty();
}

bool IsInstance(const Node& node) {
    return IsSubCircuit(node.Function);
}

bool IsLoopInstance(const Node& node) {
    return IsInstance(node) && node.Function->Loop != LoopKind::None;
}

QString PinName(const Node& pin) {
    return pin.Ports.empty() ? QString() : pin.Ports.front()->Label;
}

void SetPinName(Node& pin, const QString& name) {
    if (pin.Ports.empty() || pin.Ports.front()->Label == name) return;
    pin.Ports.front()->Label = name;
    pin.Flags |= ObjectFlag::NeedsLayout;
    NoteEdit(pin.Frame);
}

Frame& BodyOf(const FunctionDef& definition) {
    return *definition.Frames.front();
}

Frame* FrameNamed(Circuit& circuit, const QString& name) {
    if (name.isEmpty()) return &circuit.MainFrame;
    FunctionDef* definition = FindSubCircuit(circuit, name);
    return definition ? &BodyOf(*definition) : nullptr;
}

QString NameOfFrame(const Frame& frame) {
    return frame.Definition ? frame.Definition->Name : QString();
}

FunctionDef* DefinitionOf(const Frame& frame) {
    // An expansion copies the body of its instance's function.
    if (frame.Instance) return frame.Instance->Function;
    return frame.Definition;
}

FunctionDef* FindSubCircuit(const Circuit& circuit, const QString& name) {
    return circuit.SubCircuitsByName.value(name, nullptr);
}

void RenameSubCircuit(Circuit& circuit, FunctionDef& definition, const QString& name) {
    if (circuit.SubCircuitsByName.value(definition.Name) == &definition)
        circuit.SubCircuitsByName.remove(definition.Name);
    definition.Name = name;
    circuit.SubCircuitsByName.insert(name, &definition);
    // The name is drawn in every instance, which is as wide as it needs.
    circuit.DefinitionsChanged = true;
    ++circuit.Edits;
}

FunctionDef* FunctionNamed(const Frame& frame, const QString& name) {
    if (FunctionDef* builtIn = FindFunction(name)) return builtIn;
    if (DefinitionOf(frame))
        if (FunctionDef* pin = PinFunctionNamed(name)) return pin;
    return frame.Owner ? FindSubCircuit(*frame.Owner, name) : nullptr;
}

QString SubCircuitNameProblem(const Circuit& circuit, const QString& name) {
    if (name.trimmed().isEmpty()) return QStringLiteral("A sub-circuit needs a name");
    if (name.size() > kLongestName)
        return QStringLiteral("A sub-circuit's name may hold at most %1 characters")
            .arg(kLongestName);
    if (name != name.trimmed())
        return QStringLiteral("A sub-circuit's name may not begin or end with a blank");
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("A sub-circuit's name may not hold control characters");
    if (IsBuiltInName(name))
        return QStringLiteral("“%1” is the name of a built-in function").arg(name);
    if (FindSubCircuit(circuit, name))
        return QStringLiteral("The circuit has a sub-circuit named “%1” already").arg(name);
    return QString();
}

QString NumberedName(const QString& name, int number) {
    const QString suffix = QLatin1Char(' ') + QString::number(number);
    qsizetype kept = std::min(name.size(), std::max<qsizetype>(kLongestName - suffix.size(), 0));
    // A cut between the halves of a surrogate pair would leave half a character.
    if (kept > 0 && kept < name.size() && name[kept - 1].isHighSurrogate()) --kept;
    return name.left(kept) + suffix;
}

QString FreeSubCircuitName(const Circuit& circuit, const QString& name) {
    const auto free = [&](const QString& candidate) {
        return !IsBuiltInName(candidate) && !FindSubCircuit(circuit, candidate);
    };
    if (free(name)) return name;
    for (int n = 2;; ++n) {
        const QString candidate = NumberedName(name, n);
        if (free(candidate)) return candidate;
    }
}

FunctionDef* AddSubCircuit(Circuit& circuit, const QString& name, std::size_t position) {
    auto definition = std::make_unique<FunctionDef>();
    definition->Name = name;
    auto body = std::make_unique<Frame>();
    body->Owner = &circuit;
    body->Definition = definition.get();
    definition->Frames.push_back(std::move(body));
    LayOutSubCircuit(*definition);
    FunctionDef* raw = definition.get();
    circuit.SubCircuitsByName.insert(name, raw);
    auto& list = circuit.SubCircuits;
    list.insert(list.begin() + std::ptrdiff_t(std::min(position, list.size())),
                std::move(definition));
    return raw;
}

void DeleteSubCircuit(Circuit& circuit, FunctionDef* definition) {
    Frame& body = BodyOf(*definition);
    while (!body.Wires.empty())
        DeleteWire(body.Wires.back().get());
    while (!body.Nodes.empty())
        DeleteNode(body.Nodes.back().get());
    while (!body.Comments.empty())
        DeleteComment(body.Comments.back().get());
    if (circuit.SubCircuitsByName.value(definition->Name) == definition)
        circuit.SubCircuitsByName.remove(definition->Name);
    std::erase_if(circuit.SubCircuits, [&](const std::unique_ptr<FunctionDef>& owned) {
        return owned.get() == definition;
    });
}

std::size_t SubCircuitPosition(const Circuit& circuit, const FunctionDef* definition) {
    for (std::size_t i = 0; i < circuit.SubCircuits.size(); ++i)
        if (circuit.SubCircuits[i].get() == definition) return i;
    return circuit.SubCircuits.size();
}

bool WouldRecurse(const FunctionDef* outer, const FunctionDef* inner) {
    if (!outer || !inner) return false;
    if (outer == inner) return true;
    if (!IsSubCircuit(inner)) return false;
    std::vector<const FunctionDef*> pending{inner};
    std::vector<const FunctionDef*> seen;
    while (!pending.empty()) {
        const FunctionDef* next = pending.back();
        pending.pop_back();
        if (std::find(seen.begin(), seen.end(), next) != seen.end()) continue;
        seen.push_back(next);
        for (const auto& node : BodyOf(*next).Nodes) {
            if (!IsInstance(*node)) continue;
            if (node->Function == outer) return true;
            pending.push_back(node->Function);
        }
    }
    return false;
}

std::vector<Node*> InstancesIn(const Frame& frame) {
    std::vector<Node*> instances;
    for (const auto& node : frame.Nodes)
        if (IsInstance(*node)) instances.push_back(node.get());
    return instances;
}

std::size_t InstanceCount(const Circuit& circuit, const FunctionDef* definition) {
    std::size_t count = 0;
    const auto countIn = [&](const Frame& frame) {
        for (const auto& node : frame.Nodes)
            count += node->Function == definition ? 1 : 0;
    };
    countIn(circuit.MainFrame);
    for (const auto& other : circuit.SubCircuits)
        countIn(BodyOf(*other));
    return count;
}

void NoteBodyChange(const Frame* frame) {
    if (!frame || !frame->Definition) return;
    ++frame->Definition->Revision;
    if (frame->Owner) frame->Owner->DefinitionsChanged = true;
}

bool LayOutSubCircuit(FunctionDef& definition) {
    std::vector<const Node*> inputs, outputs;
    bool counts = false, asks = false;
    for (const auto& node : BodyOf(definition).Nodes) {
        if (IsInputPin(*node)) inputs.push_back(node.get());
        if (IsOutputPin(*node)) outputs.push_back(node.get());
        counts = counts || IsIterationPin(*node);
        asks = asks || IsContinuePin(*node);
    }
    std::stable_sort(inputs.begin(), inputs.end(), StandsAbove);
    std::stable_sort(outputs.begin(), outputs.end(), StandsAbove);
    definition.Loop = asks ? LoopKind::Conditional : counts ? LoopKind::Counted : LoopKind::None;
    const std::size_t timesRows = definition.Loop == LoopKind::Counted ? 1 : 0;

    // The labels down each side: a counted loop's "times" first of the inputs.
    QStringList inputLabels, outputLabels;
    if (timesRows) inputLabels << kTimesLabel;
    for (const Node* pin : inputs)
        inputLabels << PinName(*pin);
    for (const Node* pin : outputs)
        outputLabels << PinName(*pin);
    const Int rows = Int(std::max<qsizetype>({inputLabels.size(), outputLabels.size(), 1}));
    // Room for the name, centred above the ports, and for the labels beside them.
    Int wanted = Int(std::min<qsizetype>(definition.Name.size(), kWidestInstance)) * 8 + 24;
    for (qsizetype row = 0; row < rows && wanted < kWidestInstance; ++row)
        wanted =
            std::max(wanted, RowWidth(row < inputLabels.size() ? &inputLabels[row] : nullptr,
                                      row < outputLabels.size() ? &outputLabels[row] : nullptr));
    const Int width = std::clamp<Int>((wanted + 7) / 8 * 8, 48, kWidestInstance);
    const Int height = kTop + (rows - 1) * kRow + kSpare;

    struct Template {
        Int PinId;
        int Direction;
        QString Label;
        Int X, Y;
        bool operator==(const Template&) const = default;
    };
    std::vector<Template> templates;
    if (timesRows) templates.push_back({kTimesPortId, Direction::In, kTimesLabel, 3, kTop});
    for (std::size_t i = 0; i < inputs.size(); ++i)
        templates.push_back({inputs[i]->Id, Direction::In, PinName(*inputs[i]), 3,
                             kTop + Int(i + timesRows) * kRow});
    for (std::size_t i = 0; i < outputs.size(); ++i)
        templates.push_back({outputs[i]->Id, Direction::Out, PinName(*outputs[i]), width - 3,
                             kTop + Int(i) * kRow});
    std::vector<Template> had;
    for (const auto& port : definition.Ports)
        had.push_back({port->Id, port->Direction, port->Label, port->X, port->Y});

    definition.Width = width;
    definition.Height = height;
    definition.Shape = QStringLiteral("M 0,6 c 0,-4 2,-6 6,-6 l %1,0 c 4,0 6,2 6,6 l 0,%2 "
                                      "c 0,4 -2,6 -6,6 l -%1,0 c -4,0 -6,-2 -6,-6 z")
                           .arg(width - 12)
                           .arg(height - 12);
    definition.Symbol =
        QStringLiteral("$%1,10,%2,9").arg(SymbolText(definition.Name)).arg(width / 2);
    if (templates == had) return false;
    definition.Ports.clear();
    for (const Template& t : templates) {
        Port* port = AddPortTemplate(&definition, t.Direction, t.Label, t.X, t.Y, 1, 0);
        port->Id = t.PinId;
    }
    return true;
}

} // namespace flow
