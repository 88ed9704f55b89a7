// What a run keeps lives in its session, apart from the circuit: two sessions of one circuit
// keep their own values, a run leaves a constant's stored value alone, and the model's edits
// reach the session through the circuit's link to it.

#include "EngineFixture.h"

#include "engine/Execution.h"
#include "engine/NodeThreads.h"
#include "engine/PortValues.h"
#include "engine/Preparation.h"
#include "model/Model.h"
#include "model/Placement.h"

namespace flow::test {
namespace {

class RunSessionTest : public EngineFixture {};

TEST_F(RunSessionTest, SessionsOfOneCircuitKeepTheirOwnValues) {
    Circuit& circuit = MakeCircuit();
    Node* constant = Constant(circuit, Int(20));
    Node* plus = Apply(circuit, "Plus", {constant, constant});
    PrintOf(circuit, plus);
    RunSession& first = Session(circuit);
    EXPECT_EQ(Run(circuit), QStringList{"40"});

    CollectingObserver observer;
    RunSession second(circuit, &observer);
    observer.Attach(second);
    EXPECT_FALSE(LatestValue(&second, *Output(plus))); // nothing ran in it yet
    SetConstantValue(*constant, 1, QString());
    ASSERT_TRUE(PrepareCircuit(second));
    ExecuteCircuit(second);
    RunToCompletion(second);
    EXPECT_EQ(observer.Lines(), QStringList{"2"});

    EXPECT_EQ(LatestValue(&second, *Output(plus))->Value, 2);
    // The first session's value was of the constant before the edit, which forgot only the
    // constant's own slot.
    EXPECT_EQ(LatestValue(&first, *Output(plus))->Value, 40);
    EXPECT_FALSE(LatestValue(&first, *Output(constant)));
    // Each node has a thread in each session.
    EXPECT_NE(first.RunOf(*plus)->Thread, second.RunOf(*plus)->Thread);
    // What travelled never overwrote what the constant stores.
    EXPECT_EQ(Output(constant)->Value, 1);
    StopCircuitThreads(second);
}

TEST_F(RunSessionTest, DeletingANodeEndsItsThreadAndItsDefect) {
    Circuit& circuit = MakeCircuit();
    Node* fed = PrintOf(circuit, Constant(circuit, Int(3)));
    Node* unfed = Apply(circuit, "Print", {});
    RunSession& session = Session(circuit);
    EXPECT_FALSE(PrepareCircuit(session));
    EXPECT_EQ(session.Fault().Object, ObjectRef(unfed->PortArray[1]));
    ASSERT_NE(session.RunOf(*fed)->Thread, nullptr);
    ASSERT_EQ(session.Threaded().size(), 2u); // the Print and its constant

    DeleteNode(unfed);
    EXPECT_EQ(session.Fault().Object, ObjectRef());
    DeleteNode(fed);
    EXPECT_EQ(session.RunOf(*fed), nullptr);
    EXPECT_EQ(session.Threaded().size(), 1u);
    EXPECT_FALSE(ThreadsStillRunIn(session));

    // A closed circuit stops what is left.
    Node* again = PrintOf(circuit, Constant(circuit, Int(4)));
    EXPECT_EQ(Run(circuit), QStringList{"4"});
    ASSERT_NE(session.RunOf(*again)->Thread, nullptr);
    CloseCircuit(circuit);
    EXPECT_EQ(session.RunOf(*again)->Thread, nullptr);
}

} // namespace
} // namespace flow::test
