// The watch of a run: the bounded recording of firings, and the pause gate with breakpoints,
// steps, Continue and Stop, on circuits running for real.

#include "EngineFixture.h"
#include "support/SubCircuitBuilding.h"

#include "engine/Execution.h"
#include "engine/NodeThread.h"
#include "engine/PortValues.h"
#include "engine/Preparation.h"
#include "engine/Stepping.h"
#include "engine/TraceEvents.h"

#include <chrono>
#include <thread>

namespace flow::test {
namespace {

class RunWatchTest : public EngineFixture {
  protected:
    // 2 + 3 into a Print, and 7 into another: six nodes in this list order.
    struct Sum {
        Node *Two, *Three, *Plus, *PrintSum, *Seven, *PrintSeven;
    };
    Sum MakeSum(Circuit& circuit) {
        Sum sum{};
        sum.Two = Constant(circuit, Int(2));
        sum.Three = Constant(circuit, Int(3));
        sum.Plus = Apply(circuit, "Plus", {sum.Two, sum.Three});
        sum.PrintSum = PrintOf(circuit, sum.Plus);
        sum.Seven = Constant(circuit, Int(7));
        sum.PrintSeven = PrintOf(circuit, sum.Seven);
        return sum;
    }

    // Starts a run held as the gate is set; the caller steers it.
    void StartHeld(RunSession& session, bool paused, std::unordered_set<const Node*> breaks = {}) {
        ASSERT_TRUE(PrepareCircuit(session));
        session.Watch.Gate().Reset(paused);
        session.Watch.Gate().SetBreakpoints(std::move(breaks));
        ExecuteCircuit(session);
    }

    // Waits (without judging the time it takes) until the run is held and at rest.
    static PauseOutlook Rest(RunSession& session) {
        for (int tries = 0; tries < 20000; ++tries) {
            const PauseOutlook outlook = LookAtPause(session);
            if (outlook.Paused && outlook.AtRest) return outlook;
            std::this_thread::sleep_for(std::chrono::microseconds(250));
        }
        ADD_FAILURE() << "the run never came to rest";
        return {};
    }

    static std::uint64_t FiringsSoFar(const RunSession& session) {
        std::uint64_t fired = 0;
        for (const auto& [node, run] : session.Threaded())
            fired += run->Thread->Fired;
        return fired;
    }

    // Steps the held run to its end; returns the nodes in the order they were let through,
    // checking that each step fired exactly one node (a loop's instance counts its firing only
    // once its iterations are over: not for a loop).
    std::vector<const Node*> StepToTheEnd(RunSession& session, bool countEach = true) {
        std::vector<const Node*> order;
        for (PauseOutlook outlook = Rest(session); outlook.Next; outlook = Rest(session)) {
            const std::uint64_t before = FiringsSoFar(session);
            order.push_back(outlook.Next);
            EXPECT_TRUE(StepRun(session, outlook));
            const PauseOutlook after = Rest(session);
            if (countEach) {
                EXPECT_EQ(FiringsSoFar(session), before + 1) << "step " << order.size();
            }
            if (!after.Next) break;
        }
        return order;
    }
};

TEST_F(RunWatchTest, RecordingKeepsEachFiringWithItsValuesOnlyWhenAskedAndWithinItsBound) {
    Circuit& circuit = MakeCircuit();
    const Sum sum = MakeSum(circuit);
    RunSession& session = Session(circuit);
    Run(circuit);
    EXPECT_TRUE(session.Watch.Recorder().Firings().empty());

    session.Watch.SetRecording(true);
    EXPECT_EQ(Run(circuit).size(), 2);
    const std::vector<FiringRecord> firings = session.Watch.Recorder().Firings();
    ASSERT_EQ(firings.size(), 6u);
    const FiringRecord* plus = nullptr;
    const FiringRecord* printSum = nullptr;
    for (const FiringRecord& firing : firings) {
        EXPECT_LE(0, firing.Arrived);
        EXPECT_LE(firing.Arrived, firing.Began);
        EXPECT_LE(firing.Began, firing.Ended);
        if (firing.Fired == sum.Plus) plus = &firing;
        if (firing.Fired == sum.PrintSum) printSum = &firing;
    }
    ASSERT_TRUE(plus && printSum);
    ASSERT_EQ(plus->In.size(), 2u);
    EXPECT_EQ(TokenText(plus->In[0].Carried), QStringLiteral("2"));
    EXPECT_EQ(TokenText(plus->In[1].Carried), QStringLiteral("3"));
    ASSERT_EQ(plus->Out.size(), 1u);
    EXPECT_EQ(plus->Out[0].Port, 3u);
    EXPECT_EQ(TokenText(plus->Out[0].Carried), QStringLiteral("5"));
    // The sum reached its Print while Plus computed.
    EXPECT_GE(printSum->Arrived, plus->Began);
    EXPECT_EQ(LanesOf(firings).size(), 6u);

    // The last kLimit firings stay; older ones are counted, and other runs' left out.
    FiringRecorder recorder;
    recorder.BeginRun(4);
    for (std::size_t i = 0; i < FiringRecorder::kLimit + 5; ++i) {
        FiringRecord record;
        record.RunNumber = i == 7 ? 3 : 4;
        record.Began = std::int64_t(i);
        recorder.Add(record);
    }
    const std::vector<FiringRecord> kept = recorder.Firings();
    ASSERT_EQ(kept.size(), FiringRecorder::kLimit);
    EXPECT_EQ(recorder.Dropped(), 4u);
    EXPECT_EQ(kept.front().Began, 4);
    EXPECT_EQ(kept[3].Began, 8); // the one of run 3 was never kept
    EXPECT_EQ(kept.back().Began, std::int64_t(FiringRecorder::kLimit + 4));
}

TEST_F(RunWatchTest, ABreakpointHoldsTheRunBeforeItsNodeWithItsInputsThereUntilContinue) {
    Circuit& circuit = MakeCircuit();
    const Sum sum = MakeSum(circuit);
    RunSession& session = Session(circuit);
    StartHeld(session, false, {sum.Plus});
    const PauseOutlook held = Rest(session);
    EXPECT_EQ(held.Next, sum.Plus);
    EXPECT_NE(std::find(held.Waiting.begin(), held.Waiting.end(), sum.Plus), held.Waiting.end());
    EXPECT_EQ(RunOf(sum.Plus)->Thread->Fired, 0u);
    EXPECT_EQ(LatestValue(&session, *sum.Plus->PortArray[1])->Value, 2);
    EXPECT_EQ(LatestValue(&session, *sum.Plus->PortArray[2])->Value, 3);
    EXPECT_FALSE(ObserverOf(circuit).Lines().contains(QStringLiteral("5")));

    session.Watch.Gate().Continue();
    RunToCompletion(session);
    QStringList lines = ObserverOf(circuit).Lines();
    lines.sort();
    EXPECT_EQ(lines, (QStringList{QStringLiteral("5"), QStringLiteral("7")}));
}

TEST_F(RunWatchTest, StepsFireOneNodeAtATimeInNodeListOrderToTheSameEnd) {
    Circuit& circuit = MakeCircuit();
    const Sum sum = MakeSum(circuit);
    RunSession& session = Session(circuit);
    StartHeld(session, true);
    const std::vector<const Node*> order = StepToTheEnd(session);
    EXPECT_EQ(order, (std::vector<const Node*>{sum.Two, sum.Three, sum.Plus, sum.PrintSum,
                                               sum.Seven, sum.PrintSeven}));
    RunToCompletion(session);
    EXPECT_EQ(ObserverOf(circuit).Lines(), (QStringList{QStringLiteral("5"), QStringLiteral("7")}));

    // Inside a loop, iteration by iteration: the loop once, then its body's three nodes in
    // every iteration, then what it feeds.
    Circuit& looped = MakeCircuit();
    FunctionDef* count = AddSubCircuit(looped, QStringLiteral("Count"));
    Frame& body = BodyOf(*count);
    Node* i = AddPin(*count, PinFunctions().Iteration, QString(), -200, -80);
    Node* n = AddPin(*count, PinFunctions().Input, QStringLiteral("n"), -200, 0);
    Node* plus = Place(body, QStringLiteral("Plus"));
    Link(n, 1, plus, 1);
    Link(i, 1, plus, 2);
    Link(plus, 3, AddPin(*count, PinFunctions().Output, QStringLiteral("n"), 100, 0), 1);
    Link(plus, 3, Place(body, QStringLiteral("Print")), 1);
    Link(ConstantIn(body, Int(1)), 1, Place(body, QStringLiteral("Print")), 1);
    FollowDefinitions(looped);
    Node* loop = Place(looped.MainFrame, count->Name);
    Link(Constant(looped, Int(3)), 1, loop, 1);
    Link(Constant(looped, Int(10)), 1, loop, 2);
    PrintOf(looped, loop);
    const QStringList unpaused = Run(looped);
    RunSession& loopSession = Session(looped);
    StartHeld(loopSession, true);
    EXPECT_EQ(StepToTheEnd(loopSession, false).size(), 3 + 3 * 4 + 1u);
    RunToCompletion(loopSession);
    // The two Prints of an iteration print in either order when nothing holds them.
    QStringList lines = ObserverOf(looped).Lines();
    EXPECT_EQ(lines, (QStringList{"10", "1", "11", "1", "13", "1", "13"}));
    lines.sort();
    QStringList expected = unpaused;
    expected.sort();
    EXPECT_EQ(lines, expected);
}

TEST_F(RunWatchTest, StopWhilePausedEndsTheRunWithoutFiringAndTheNextOneRuns) {
    Circuit& circuit = MakeCircuit();
    const Sum sum = MakeSum(circuit);
    RunSession& session = Session(circuit);
    StartHeld(session, false, {sum.PrintSum});
    EXPECT_EQ(Rest(session).Next, sum.PrintSum);
    EXPECT_TRUE(StopRun(session));
    EXPECT_FALSE(ObserverOf(circuit).Lines().contains(QStringLiteral("5")));
    EXPECT_FALSE(LookAtPause(session).Paused);

    session.Watch.Gate().SetBreakpoints({});
    QStringList lines = Run(circuit);
    lines.sort();
    EXPECT_EQ(lines, (QStringList{QStringLiteral("5"), QStringLiteral("7")}));
}

} // namespace
} // namespace flow::test
