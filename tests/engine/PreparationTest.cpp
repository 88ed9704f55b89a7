// Checking a circuit before a run, and the threads preparation starts or keeps.

#include "EngineFixture.h"

#include "engine/Execution.h"
#include "engine/NodeThread.h"
#include "engine/Preparation.h"
#include "engine/Routines.h"
#include "model/Catalogue.h"
#include "model/Model.h"

namespace flow::test {
namespace {

class PreparationTest : public EngineFixture {};

// The point the window centres its view on; preparation itself moves no camera.
void ExpectCentreAt(const RunSession& session, Int x, Int y) {
    ASSERT_TRUE(session.Fault().Centre);
    EXPECT_EQ(session.Fault().Centre->X, x);
    EXPECT_EQ(session.Fault().Centre->Y, y);
}

TEST_F(PreparationTest, EmptyCircuitIsReady) {
    Circuit& circuit = MakeCircuit();
    EXPECT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).State(), RunState::Ready);
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::None);
    ExecuteCircuit(Session(circuit));
    const RunReport report = RunToCompletion(Session(circuit));
    EXPECT_EQ(report.Fired, 0u);
    EXPECT_TRUE(report.NeverFire.empty());
    const CollectingObserver& observer = ObserverOf(circuit);
    EXPECT_EQ(observer.Statuses(), QStringList({"Initialization ...", "Initialization ... finished",
                                                "Execution ...", "Execution ... finished"}));
    EXPECT_EQ(observer.Clears(), 1);
    EXPECT_EQ(observer.Redraws(), 4);
    EXPECT_EQ(Session(circuit).State(), RunState::Ready);
}

TEST_F(PreparationTest, MissingInputIsReportedAtThePort) {
    Circuit& circuit = MakeCircuit();
    Node* constant = Constant(circuit, Int(1));
    PrintOf(circuit, constant);
    Node* unfed = Apply(circuit, "Print", {});
    unfed->X = -100;
    unfed->Y = 51;
    Node* alsoUnfed = Apply(circuit, "Print", {});
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).State(), RunState::Defect);
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::MissingInput);
    EXPECT_EQ(Session(circuit).Fault().Message, "Missing input port connection");
    // Only the first problem is reported: the first unfed node in list order.
    EXPECT_EQ(Session(circuit).Fault().Object, ObjectRef(unfed->PortArray[1]));
    ExpectCentreAt(Session(circuit), -100 + 3, 51 + 20);
    EXPECT_EQ(circuit.Saved.CameraX, 0);
    EXPECT_EQ(ObserverOf(circuit).Statuses().last(), "Defect!");
    // Nodes before the failing one keep the threads they were given; later ones get none.
    EXPECT_NE(ThreadOf(constant), nullptr);
    EXPECT_EQ(ThreadOf(alsoUnfed), nullptr);

    // The next preparation starts from a clean error.
    DeleteNode(unfed);
    DeleteNode(alsoUnfed);
    EXPECT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::None);
    EXPECT_EQ(Session(circuit).Fault().Message, "");
    EXPECT_EQ(Session(circuit).State(), RunState::Ready);
}

// A Real into an Integer Plus fits no implementation: the wire is invalid, and the camera goes
// to its midpoint, halved toward zero.
TEST_F(PreparationTest, InvalidWireIsReportedAtItsMidpoint) {
    Circuit& circuit = MakeCircuit();
    Node* integer = Constant(circuit, Int(1));
    Node* real = Constant(circuit, 1.5);
    Node* plus = Apply(circuit, "Plus", {integer, real});
    PrintOf(circuit, plus);
    EXPECT_EQ(plus->Implementation->Routine, &routines::Plus_III);
    real->X = -10;
    real->Y = -5;
    plus->X = 0;
    plus->Y = -40;
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::InvalidWire);
    EXPECT_EQ(Session(circuit).Fault().Message, "Invalid port connection");
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 3u);
    EXPECT_EQ(Session(circuit).Fault().Object, ObjectRef(circuit.MainFrame.Wires[1].get()));
    // (-10 + 0 + 0 + 3) / 2 = -3 and (-5 + 0 - 40 + 24) / 2 = -10, not -4 and -11.
    ExpectCentreAt(Session(circuit), -3, -10);
    EXPECT_EQ(Session(circuit).State(), RunState::Defect);
}

TEST_F(PreparationTest, SecondWireIntoOneInputIsInvalid) {
    Circuit& circuit = MakeCircuit();
    Node* first = Constant(circuit, Int(1));
    Node* second = Constant(circuit, Int(2));
    Node* print = PrintOf(circuit, first);
    ASSERT_NE(ConnectPorts(Output(second), print->PortArray[1]), nullptr);
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::InvalidWire);
    EXPECT_EQ(Session(circuit).Fault().Object, ObjectRef(circuit.MainFrame.Wires[1].get()));
}

// Nodes are examined before wires, whatever their order in the lists.
TEST_F(PreparationTest, NodesAreCheckedBeforeWires) {
    Circuit& circuit = MakeCircuit();
    Node* integer = Constant(circuit, Int(1));
    Node* real = Constant(circuit, 1.5);
    PrintOf(circuit, Apply(circuit, "Plus", {integer, real}));
    Node* unfed = Apply(circuit, "Not", {});
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::MissingInput);
    EXPECT_EQ(Session(circuit).Fault().Object, ObjectRef(unfed->PortArray[1]));
}

TEST_F(PreparationTest, NodeWithoutImplementationCannotRun) {
    Circuit& circuit = MakeCircuit();
    // A constant read without a value has no implementation.
    Node* valueless = AddNode(&circuit.MainFrame, Catalogue().Constant, nullptr);
    valueless->X = 40;
    valueless->Y = -30;
    PrintOf(circuit, valueless);
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::NoImplementation);
    EXPECT_EQ(Session(circuit).Fault().Message, "Node cannot run: it has no implementation");
    ExpectCentreAt(Session(circuit), 40, -30);
    EXPECT_EQ(ThreadOf(valueless), nullptr);
    EXPECT_EQ(Session(circuit).Fault().Object, ObjectRef(valueless));
}

TEST_F(PreparationTest, SecondStartKeepsTheThreads) {
    Circuit& circuit = MakeCircuit();
    Node* x = Constant(circuit, Int(2));
    Node* y = Constant(circuit, Int(3));
    Node* plus = Apply(circuit, "Plus", {x, y});
    Node* print = PrintOf(circuit, plus);
    EXPECT_EQ(Run(circuit), QStringList{"5"});
    EXPECT_EQ(Run(circuit), QStringList{"5"});
    // A thread started by the second preparation would have been given one start only.
    for (Node* node : {x, y, plus, print}) {
        ASSERT_NE(ThreadOf(node), nullptr);
        EXPECT_EQ(ThreadOf(node)->Started, 2u);
        EXPECT_EQ(ThreadOf(node)->Fired, 2u);
        EXPECT_EQ(RoutineOf(node), node->Implementation->Routine);
    }
}

TEST_F(PreparationTest, ImplementationChangeStartsANewThread) {
    Circuit& circuit = MakeCircuit();
    Node* integer = Constant(circuit, Int(12));
    Node* text = Constant(circuit, QString("twelve"));
    Node* print = PrintOf(circuit, integer);
    EXPECT_EQ(Run(circuit), QStringList{"12"});
    EXPECT_EQ(RoutineOf(print), &routines::Print_I);

    DeleteWire(print->PortArray[1]->Wires.front());
    ConnectPorts(Output(text), print->PortArray[1]);
    EXPECT_EQ(print->Implementation->Routine, &routines::Print_S);
    // The old thread runs on until the next preparation finds it out of date.
    EXPECT_EQ(RoutineOf(print), &routines::Print_I);
    EXPECT_EQ(Run(circuit), QStringList{"twelve"});
    EXPECT_EQ(RoutineOf(print), &routines::Print_S);
    EXPECT_EQ(ThreadOf(print)->Started, 1u);
    EXPECT_EQ(ThreadOf(integer)->Started, 2u);
}

} // namespace
} // namespace flow::test
