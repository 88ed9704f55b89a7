// Firings made on the thread that hands a node its last input, instead of on the node's own:
// a warm run wakes a few threads however long its chain or loop, a watched run still wakes
// every node's own thread, and a pause or a stop reaches a run in the middle of such firings.

#include "EngineFixture.h"
#include "support/SubCircuitBuilding.h"

#include "engine/CountingSemaphore.h"
#include "engine/Execution.h"
#include "engine/NodeThread.h"
#include "engine/Preparation.h"
#include "engine/Stepping.h"

#include <chrono>
#include <thread>

namespace flow::test {
namespace {

class InlineFiringsTest : public EngineFixture {
  protected:
    // 0, then `length` Plus nodes adding 1 each, printed at the end.
    void Chain(Circuit& circuit, int length) {
        Node* last = Constant(circuit, Int(0));
        Node* one = Constant(circuit, Int(1));
        for (int i = 0; i < length; ++i)
            last = Apply(circuit, "Plus", {last, one});
        PrintOf(circuit, last);
    }

    // A counted loop adding its iteration to n, from 0, printed at the end: the body fires a
    // Plus per iteration. Returns the constant that says how many.
    Node* SumOfIterations(Circuit& circuit, Int times) {
        FunctionDef* sum = AddSubCircuit(circuit, QStringLiteral("Sum"));
        Frame& body = BodyOf(*sum);
        Node* i = AddPin(*sum, PinFunctions().Iteration, QString(), -200, -80);
        Node* n = AddPin(*sum, PinFunctions().Input, QStringLiteral("n"), -200, 0);
        Node* plus = Place(body, QStringLiteral("Plus"));
        Link(n, 1, plus, 1);
        Link(i, 1, plus, 2);
        Link(plus, 3, AddPin(*sum, PinFunctions().Output, QStringLiteral("n"), 100, 0), 1);
        FollowDefinitions(circuit);
        Node* loop = Place(circuit.MainFrame, sum->Name);
        Node* count = Constant(circuit, times);
        Link(count, 1, loop, 1);
        Link(Constant(circuit, Int(0)), 1, loop, 2);
        PrintOf(circuit, loop);
        return count;
    }

    // The wakes a warm run rings (the threads are in place), and what it printed.
    std::pair<std::uint64_t, QStringList> WarmRun(Circuit& circuit) {
        Run(circuit);
        const std::uint64_t before = RingsSoFar();
        const QStringList lines = Run(circuit);
        return {RingsSoFar() - before, lines};
    }
};

TEST_F(InlineFiringsTest, AWarmRunWakesAFewThreadsHoweverLongItsChainOrLoopUnlessItIsWatched) {
    for (const int length : {400, 800}) {
        SCOPED_TRACE(length);
        Circuit& circuit = MakeCircuit();
        Chain(circuit, length);
        const auto [rings, lines] = WarmRun(circuit);
        EXPECT_EQ(lines, QStringList{QString::number(length)});
        // The two constants, woken by their starts; nothing else.
        EXPECT_LE(rings, 4u);

        // Recorded, every node fires on its own thread, as the timeline shows it.
        Session(circuit).Watch.SetRecording(true);
        const auto [watchedRings, watchedLines] = WarmRun(circuit);
        EXPECT_EQ(watchedLines, lines);
        EXPECT_GE(watchedRings, std::uint64_t(length));
        EXPECT_EQ(Session(circuit).Watch.Recorder().Firings().size(), std::size_t(length) + 3);
    }

    Circuit& looped = MakeCircuit();
    Node* times = SumOfIterations(looped, 100);
    const auto [fewRings, fewLines] = WarmRun(looped);
    EXPECT_EQ(fewLines, QStringList{QStringLiteral("4950")});
    SetConstant(times, Int(5000));
    const auto [manyRings, manyLines] = WarmRun(looped);
    EXPECT_EQ(manyLines, QStringList{QStringLiteral("12497500")});
    // The loop's thread, woken once, runs every iteration of its body itself.
    EXPECT_LE(manyRings, fewRings + 2);
    EXPECT_LE(manyRings, 8u);
}

TEST_F(InlineFiringsTest, APauseOrAStopReachesALoopWhoseBodyFiresOnTheLoopsThread) {
    Circuit& circuit = MakeCircuit();
    // Far more iterations than the loop can run before the pause.
    Node* times = SumOfIterations(circuit, 20'000'000);
    RunSession& session = Session(circuit);
    ASSERT_TRUE(PrepareCircuit(session));
    session.Watch.Gate().Reset(false);
    ExecuteCircuit(session);
    // Let the body fire for a while on the loop's thread before the pause comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    session.Watch.Gate().Pause();
    PauseOutlook held;
    for (int tries = 0; tries < 20000 && !(held.Paused && held.AtRest); ++tries) {
        std::this_thread::sleep_for(std::chrono::microseconds(250));
        held = LookAtPause(session);
    }
    ASSERT_TRUE(held.Paused && held.AtRest);
    // Held before a firing of the body, in the middle of the iterations.
    ASSERT_NE(held.Next, nullptr);
    EXPECT_EQ(held.Next->Function->Name, QStringLiteral("Plus"));
    EXPECT_TRUE(ObserverOf(circuit).Lines().isEmpty());

    // Stepping goes on one body firing at a time; Stop ends the loop without a line.
    const std::uint64_t fired = RunOf(held.Next)->Thread->Fired;
    EXPECT_TRUE(StepRun(session, held));
    for (int tries = 0; tries < 20000 && RunOf(held.Next)->Thread->Fired == fired; ++tries)
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    EXPECT_EQ(RunOf(held.Next)->Thread->Fired, fired + 1);
    EXPECT_TRUE(StopRun(session));
    EXPECT_TRUE(ObserverOf(circuit).Lines().isEmpty());

    // The next Start, unwatched and shorter, runs to its end.
    session.Watch.Gate().Reset(false);
    SetConstant(times, Int(1000));
    EXPECT_EQ(Run(circuit), QStringList{QStringLiteral("499500")});
}

} // namespace
} // namespace flow::test
