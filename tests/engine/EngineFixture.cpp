#include "EngineFixture.h"

#include "engine/BuiltInFunctions.h"
#include "engine/Execution.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <bit>

namespace flow::test {

void EngineFixture::SetUp() {
    RegisterCatalogue();
}

void EngineFixture::TearDown() {
    runs_.clear(); // each session stops its threads
}

Circuit& EngineFixture::MakeCircuit() {
    Circuit& circuit = NewCircuit();
    auto observer = std::make_unique<CollectingObserver>();
    auto session = std::make_unique<RunSession>(circuit, observer.get());
    observer->Attach(*session);
    runs_.push_back({std::move(observer), std::move(session)});
    return circuit;
}

CollectingObserver& EngineFixture::ObserverOf(Circuit& circuit) {
    return *static_cast<CollectingObserver*>(Session(circuit).Observer());
}

RunSession& EngineFixture::Session(Circuit& circuit) {
    for (const OwnedRun& run : runs_)
        if (run.Session->Target() == &circuit) return *run.Session;
    ADD_FAILURE() << "a circuit without a session";
    MakeCircuit(); // a session of another circuit, only to return something
    return *runs_.back().Session;
}

NodeRun* EngineFixture::RunOf(const Node* node) {
    Circuit* circuit = node ? OwnerCircuit(*node) : nullptr;
    return circuit ? Session(*circuit).RunOf(*node) : nullptr;
}

void EngineFixture::SetConstant(Node* constant, const Value& value) {
    Port* port = constant->PortArray[1];
    RunsHeld held(OwnerCircuit(*constant));
    if (const auto* b = std::get_if<bool>(&value))
        port->Value = *b ? 1 : 0;
    else if (const auto* i = std::get_if<Int>(&value))
        port->Value = *i;
    else if (const auto* r = std::get_if<double>(&value))
        port->Value = std::bit_cast<Int>(*r);
    else
        port->Text = std::get<QString>(value);
}

Node* EngineFixture::Constant(Circuit& circuit, const Value& value) {
    return ConstantIn(circuit.MainFrame, value);
}

Node* EngineFixture::ConstantIn(Frame& frame, const Value& value) {
    const CatalogueState& catalogue = Catalogue();
    Implementation* const types[] = {catalogue.ConstantBoolean, catalogue.ConstantInteger,
                                     catalogue.ConstantReal, catalogue.ConstantString};
    Node* node = AddNode(&frame, catalogue.Constant, types[value.index()]);
    SetConstant(node, value);
    return node;
}

Port* EngineFixture::Output(Node* node) {
    return node->PortArray.back();
}

Node* EngineFixture::Apply(Circuit& circuit, const char* function,
                           std::initializer_list<Node*> inputs) {
    FunctionDef* def = FindFunction(QString::fromLatin1(function));
    EXPECT_NE(def, nullptr) << function;
    Node* node = AddNode(&circuit.MainFrame, def, nullptr);
    std::size_t number = 1;
    for (Node* input : inputs)
        EXPECT_NE(ConnectPorts(Output(input), node->PortArray[number++]), nullptr);
    return node;
}

Node* EngineFixture::PrintOf(Circuit& circuit, Node* source) {
    return Apply(circuit, "Print", {source});
}

QStringList EngineFixture::Run(Circuit& circuit) {
    RunSession& session = Session(circuit);
    EXPECT_TRUE(PrepareCircuit(session)) << session.Fault().Message.toStdString();
    ExecuteCircuit(session);
    RunToCompletion(session);
    return ObserverOf(circuit).Lines();
}

QString EngineFixture::Evaluate(const char* function, std::initializer_list<Value> inputs) {
    Circuit& circuit = MakeCircuit();
    std::vector<Node*> constants;
    for (const Value& value : inputs)
        constants.push_back(Constant(circuit, value));
    Node* node = nullptr;
    if (QLatin1String(function) == QLatin1String("Print"))
        node = constants[0]; // the constant itself is printed
    else if (constants.size() == 1)
        node = Apply(circuit, function, {constants[0]});
    else
        node = Apply(circuit, function, {constants[0], constants[1]});
    PrintOf(circuit, node);
    const QStringList lines = Run(circuit);
    StopCircuitThreads(Session(circuit));
    EXPECT_EQ(lines.size(), 1) << function;
    return lines.value(0);
}

} // namespace flow::test
