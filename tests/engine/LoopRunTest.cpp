// Loops run for real: counted and conditional ones against the same recurrence computed in
// C++, nested loops, zero iterations, a carried value that would change its type, and Stop
// ending a loop that never would.

#include "EngineFixture.h"
#include "support/SubCircuitBuilding.h"

#include "engine/Execution.h"
#include "engine/PortValues.h"
#include "engine/Preparation.h"

#include <random>

namespace flow::test {
namespace {

using Unsigned = std::uint64_t;

class LoopRunTest : public EngineFixture {
  protected:
    std::mt19937 random{std::uint32_t(qEnvironmentVariableIntValue("FLOW_RANDOM_SEED")) ^ 2929u};
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // "Step": x := x * k + i, carried; i printed inside and sent out as "last", which is not
    // carried. Instances: times, x in; x, last out.
    FunctionDef* MakeStep(Circuit& circuit, Int k) {
        FunctionDef* step = AddSubCircuit(circuit, QStringLiteral("Step"));
        Frame& body = BodyOf(*step);
        Node* i = AddPin(*step, PinFunctions().Iteration, QString(), -200, -80);
        Node* x = AddPin(*step, PinFunctions().Input, QStringLiteral("x"), -200, 0);
        Node* times = Place(body, QStringLiteral("Times"), -80, 0);
        Node* plus = Place(body, QStringLiteral("Plus"), 0, 0);
        Node* out = AddPin(*step, PinFunctions().Output, QStringLiteral("x"), 100, 0);
        Node* last = AddPin(*step, PinFunctions().Output, QStringLiteral("last"), 100, 40);
        Node* factor = ConstantIn(body, k);
        Link(x, 1, times, 1);
        Link(factor, 1, times, 2);
        Link(times, 3, plus, 1);
        Link(i, 1, plus, 2);
        Link(plus, 3, out, 1);
        Link(i, 1, last, 1);
        Link(i, 1, Place(body, QStringLiteral("Print"), 0, 80), 1);
        FollowDefinitions(circuit);
        return step;
    }

    // "Count": adds 1 to "n" m times, where m comes in through times; a loop in a loop when
    // the outer one uses it.
    FunctionDef* MakeCount(Circuit& circuit, const QString& name) {
        FunctionDef* count = AddSubCircuit(circuit, name);
        Frame& body = BodyOf(*count);
        AddPin(*count, PinFunctions().Iteration, QString(), -200, -80);
        Node* n = AddPin(*count, PinFunctions().Input, QStringLiteral("n"), -200, 0);
        Node* plus = Place(body, QStringLiteral("Plus"));
        Node* one = ConstantIn(body, Int(1));
        Link(n, 1, plus, 1);
        Link(one, 1, plus, 2);
        Link(plus, 3, AddPin(*count, PinFunctions().Output, QStringLiteral("n"), 100, 0), 1);
        FollowDefinitions(circuit);
        return count;
    }
};

TEST_F(LoopRunTest, CountedLoopsComputeTheRecurrencePrintInOrderAndPassCarriedValuesOnZero) {
    for (int round = 0; round < 12; ++round) {
        const int count = round < 2 ? -round : Between(1, 40);
        const Int k = Between(-5, 5), start = Between(-100, 100);
        SCOPED_TRACE(testing::Message() << "times " << count << " k " << k << " x " << start);
        Circuit& circuit = MakeCircuit();
        FunctionDef* step = MakeStep(circuit, k);
        Node* loop = Place(circuit.MainFrame, step->Name);
        ASSERT_EQ(loop->PortArray[1]->Label, QStringLiteral("times"));
        Link(Constant(circuit, Int(count)), 1, loop, 1);
        Link(Constant(circuit, start), 1, loop, 2);
        for (const std::size_t output : {3, 4}) // x, last
            Link(loop, output, Place(circuit.MainFrame, QStringLiteral("Print")), 1);

        Int x = start;
        QStringList inside;
        for (Int i = 0; i < count; ++i) {
            x = Int(Unsigned(x) * Unsigned(k) + Unsigned(i));
            inside << QString::number(i);
        }
        const QStringList lines = Run(circuit);
        ASSERT_GE(lines.size(), inside.size());
        EXPECT_EQ(lines.mid(0, inside.size()), inside);
        // After no iteration the carried x leaves as it came, and "last" carries nothing,
        // which its Print does not print.
        QStringList after = lines.mid(inside.size());
        after.sort();
        QStringList expected{QString::number(x)};
        if (count > 0) expected << QString::number(count - 1);
        expected.sort();
        EXPECT_EQ(after, expected);
        EXPECT_EQ(IterationsInLatestRun(&Session(circuit), *loop, {}),
                  std::optional<std::uint64_t>(std::max(count, 0)));
    }
}

TEST_F(LoopRunTest, LoopsNestAndRunAgainOnEveryStart) {
    for (int round = 0; round < 6; ++round) {
        const int outerTimes = Between(0, 7), innerTimes = Between(-1, 9);
        SCOPED_TRACE(testing::Message() << outerTimes << " x " << innerTimes);
        Circuit& circuit = MakeCircuit();
        FunctionDef* inner = MakeCount(circuit, QStringLiteral("Inner"));
        // The outer loop hands its n to the inner one, which adds innerTimes each time.
        FunctionDef* outer = AddSubCircuit(circuit, QStringLiteral("Outer"));
        Frame& body = BodyOf(*outer);
        AddPin(*outer, PinFunctions().Iteration, QString(), -200, -80);
        Node* n = AddPin(*outer, PinFunctions().Input, QStringLiteral("n"), -200, 0);
        Node* innerLoop = Place(body, inner->Name);
        Node* m = ConstantIn(body, Int(innerTimes));
        Link(m, 1, innerLoop, 1);
        Link(n, 1, innerLoop, 2);
        Link(innerLoop, 3, AddPin(*outer, PinFunctions().Output, QStringLiteral("n"), 100, 0), 1);
        FollowDefinitions(circuit);

        Node* loop = Place(circuit.MainFrame, outer->Name);
        Link(Constant(circuit, Int(outerTimes)), 1, loop, 1);
        Link(Constant(circuit, Int(5)), 1, loop, 2);
        PrintOf(circuit, loop);
        const QString expected = QString::number(5 + outerTimes * std::max(innerTimes, 0));
        EXPECT_EQ(Run(circuit), QStringList{expected});
        EXPECT_EQ(Run(circuit), QStringList{expected}) << "a second Start";
    }
}

TEST_F(LoopRunTest, ConditionalLoopsRunUntilTheirContinuePinSaysStop) {
    // "Halve": x := x / 2 while the new x is above 0; counts its steps in "steps".
    for (int round = 0; round < 10; ++round) {
        const Int start = round == 0 ? 0 : Between(1, 1 << 20);
        SCOPED_TRACE(start);
        Circuit& circuit = MakeCircuit();
        FunctionDef* halve = AddSubCircuit(circuit, QStringLiteral("Halve"));
        Frame& body = BodyOf(*halve);
        Node* x = AddPin(*halve, PinFunctions().Input, QStringLiteral("x"), -200, 0);
        Node* steps = AddPin(*halve, PinFunctions().Input, QStringLiteral("steps"), -200, 40);
        Node* two = ConstantIn(body, Int(2));
        Node* zero = ConstantIn(body, Int(0));
        Node* one = ConstantIn(body, Int(1));
        Node* divide = Place(body, QStringLiteral("Divide"));
        Node* above = Place(body, QStringLiteral("Greater"));
        Node* counted = Place(body, QStringLiteral("Plus"));
        Link(x, 1, divide, 1);
        Link(two, 1, divide, 2);
        Link(divide, 3, above, 1);
        Link(zero, 1, above, 2);
        Link(steps, 1, counted, 1);
        Link(one, 1, counted, 2);
        Link(above, 3, AddPin(*halve, PinFunctions().Continue, QString(), 100, 80), 1);
        Link(divide, 3, AddPin(*halve, PinFunctions().Output, QStringLiteral("x"), 100, 0), 1);
        Link(counted, 3, AddPin(*halve, PinFunctions().Output, QStringLiteral("steps"), 100, 40),
             1);
        FollowDefinitions(circuit);

        Node* loop = Place(circuit.MainFrame, halve->Name);
        EXPECT_EQ(loop->PortArray[1]->Label, QStringLiteral("x")) << "no times on a condition";
        Link(Constant(circuit, start), 1, loop, 1);
        Link(Constant(circuit, Int(0)), 1, loop, 2);
        Link(loop, 4, Place(circuit.MainFrame, QStringLiteral("Print")), 1);
        Int expected = 0;
        for (Int value = start;;) {
            ++expected;
            value /= 2;
            if (!(value > 0)) break;
        }
        EXPECT_EQ(Run(circuit), QStringList{QString::number(expected)});
    }
}

TEST_F(LoopRunTest, ACarriedValueThatChangesItsTypeIsADefectBeforeTheRun) {
    Circuit& circuit = MakeCircuit();
    FunctionDef* widen = AddSubCircuit(circuit, QStringLiteral("Widen"));
    AddPin(*widen, PinFunctions().Iteration, QString(), -200, -80);
    Node* x = AddPin(*widen, PinFunctions().Input, QStringLiteral("x"), -200, 0);
    Node* real = Place(BodyOf(*widen), QStringLiteral("ToReal"));
    Link(x, 1, real, 1);
    Link(real, 2, AddPin(*widen, PinFunctions().Output, QStringLiteral("x"), 100, 0), 1);
    FollowDefinitions(circuit);
    Node* loop = Place(circuit.MainFrame, widen->Name);
    Link(Constant(circuit, Int(3)), 1, loop, 1);
    Link(Constant(circuit, Int(1)), 1, loop, 2);
    PrintOf(circuit, loop);
    EXPECT_FALSE(PrepareCircuit(Session(circuit)));
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::CarriedType);
    EXPECT_EQ(Session(circuit).Fault().Message,
              QStringLiteral("Carried value changes type: \"x\" comes in as Integer and goes out "
                             "as Real"));
    // Found on the instance's own copy of the pin, where the window will show it.
    const auto* pin = std::get_if<const Node*>(&Session(circuit).Fault().Object);
    ASSERT_NE(pin, nullptr);
    EXPECT_EQ((*pin)->Frame, loop->Expansion.get());
    EXPECT_TRUE(IsOutputPin(**pin));
}

TEST_F(LoopRunTest, StopEndsALoopThatNeverWouldAndTheNextStartRunsAfresh) {
    Circuit& circuit = MakeCircuit();
    FunctionDef* forever = AddSubCircuit(circuit, QStringLiteral("Forever"));
    Frame& body = BodyOf(*forever);
    Node* i = AddPin(*forever, PinFunctions().Iteration, QString(), -200, 0);
    Link(i, 1, Place(body, QStringLiteral("Print")), 1);
    Node* goOn = ConstantIn(body, true);
    Link(goOn, 1, AddPin(*forever, PinFunctions().Continue, QString(), 100, 0), 1);
    FollowDefinitions(circuit);
    Place(circuit.MainFrame, forever->Name);

    RunSession& session = Session(circuit);
    CollectingObserver& observer = ObserverOf(circuit);
    ASSERT_TRUE(PrepareCircuit(session));
    ExecuteCircuit(session);
    // The loop is still going once it printed this much: its condition never turns false.
    ASSERT_TRUE(observer.WaitForLines(200));
    EXPECT_TRUE(StopRun(session));
    EXPECT_EQ(observer.Statuses().back(), QStringLiteral("Execution ... stopped"));
    const QStringList printed = observer.Lines();
    for (int k = 0; k < 200; ++k)
        ASSERT_EQ(printed[k], QString::number(k)) << "in iteration order";
    EXPECT_FALSE(StopRun(session)) << "nothing left to stop";

    // A body edited while its loop runs: the run stops before the copy's nodes go.
    ASSERT_TRUE(PrepareCircuit(session));
    ExecuteCircuit(session);
    ASSERT_TRUE(observer.WaitForLines(200));
    Node* print = nullptr;
    for (const auto& node : body.Nodes)
        if (node->Function == FindFunction("Print")) print = node.get();
    DeleteNode(print);
    FollowDefinitions(circuit);
    EXPECT_EQ(observer.Statuses().back(), QStringLiteral("Execution ... stopped"));
    Link(i, 1, Place(body, QStringLiteral("Print")), 1);

    // The instance runs a new copy of the body once it changed.
    SetConstant(goOn, false);
    NoteBodyChange(&body);
    EXPECT_EQ(Run(circuit), QStringList{QStringLiteral("0")});
}

} // namespace
} // namespace flow::test
