// Runs on the node threads: repeated and overlapping Starts, cycles, editing while a run is in
// flight, stopping threads, and a circuit of ten thousand nodes.

#include "EngineFixture.h"

#include "engine/Execution.h"
#include "engine/NodeThread.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "engine/ThreadLimits.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

namespace flow::test {
namespace {

using Clock = std::chrono::steady_clock;

class ExecutionTest : public EngineFixture {
  protected:
    // Constant 2 and Constant 3 into Plus into Print.
    struct TwoPlusThree {
        Node* X;
        Node* Y;
        Node* Plus;
        Node* Print;
    };
    TwoPlusThree MakeTwoPlusThree(Circuit& circuit) {
        TwoPlusThree parts;
        parts.X = Constant(circuit, Int(2));
        parts.Y = Constant(circuit, Int(3));
        parts.Plus = Apply(circuit, "Plus", {parts.X, parts.Y});
        parts.Print = PrintOf(circuit, parts.Plus);
        return parts;
    }

    static bool Contains(const std::vector<Node*>& nodes, const Node* node) {
        return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
    }
};

TEST_F(ExecutionTest, EveryStartPrintsOneLine) {
    Circuit& circuit = MakeCircuit();
    MakeTwoPlusThree(circuit);
    for (int start = 1; start <= 5; ++start) {
        EXPECT_EQ(Run(circuit), QStringList{"5"}) << "start " << start;
        EXPECT_EQ(ObserverOf(circuit).Clears(), start);
    }
}

// Starts given before the previous run finished: whatever the earlier runs left behind, the
// panel ends with the one line of the last run, and no value crosses from one run to another.
TEST_F(ExecutionTest, OverlappingStartsNeverMixValues) {
    Circuit& circuit = MakeCircuit();
    TwoPlusThree parts = MakeTwoPlusThree(circuit);
    for (int round = 0; round < 20; ++round) {
        for (Int start = 0; start < 5; ++start) {
            SetConstant(parts.X, round * 100 + start);
            ASSERT_TRUE(PrepareCircuit(Session(circuit)))
                << Session(circuit).Fault().Message.toStdString();
            ExecuteCircuit(Session(circuit));
        }
        const RunReport report = RunToCompletion(Session(circuit));
        EXPECT_EQ(report.Fired, 4u);
        EXPECT_EQ(ObserverOf(circuit).Lines(), QStringList{QString::number(round * 100 + 7)});
    }
}

TEST_F(ExecutionTest, OneOutputFeedsTwoPrints) {
    Circuit& circuit = MakeCircuit();
    Node* constant = Constant(circuit, QString("both"));
    PrintOf(circuit, constant);
    PrintOf(circuit, constant);
    for (int start = 0; start < 3; ++start)
        EXPECT_EQ(Run(circuit), QStringList({"both", "both"}));
}

// A cycle never fires; RunToCompletion says so at once, the rest of the circuit runs, and the
// circuit runs again on every Start.
TEST_F(ExecutionTest, CyclesAreReportedAndDoNotBlockTheRest) {
    Circuit& circuit = MakeCircuit();
    Node* one = Constant(circuit, Int(1));
    Node* a = Apply(circuit, "Plus", {one});
    Node* b = Apply(circuit, "Plus", {one, a});
    ASSERT_NE(ConnectPorts(Output(b), a->PortArray[2]), nullptr);
    Node* downstream = PrintOf(circuit, b);
    Node* fine = PrintOf(circuit, Apply(circuit, "Not", {one}));
    Node* self = Apply(circuit, "Or", {one});
    ASSERT_NE(ConnectPorts(Output(self), self->PortArray[2]), nullptr);

    for (int start = 0; start < 3; ++start) {
        ASSERT_TRUE(PrepareCircuit(Session(circuit)))
            << Session(circuit).Fault().Message.toStdString();
        ExecuteCircuit(Session(circuit));
        const RunReport report = RunToCompletion(Session(circuit));
        // Nothing waited for them: what never fires is still waiting for its inputs.
        for (const Node* waiting : {a, b, downstream, self})
            EXPECT_EQ(ThreadOf(waiting)->Fired, 0u) << "start " << start;
        EXPECT_EQ(report.NeverFire, (std::vector<Node*>{a, b, downstream, self}));
        EXPECT_EQ(report.Fired, 3u);
        EXPECT_EQ(ObserverOf(circuit).Lines(), QStringList{"-2"});
        EXPECT_EQ(ThreadOf(fine)->Fired, start + 1u);
    }
}

// A stop releases every semaphore its thread may wait on. A thread that was just looking at its
// counts when the stop came must take those releases for what they are, not for a value and a
// start: a node that never got its input must never fire, however the stop falls.
TEST_F(ExecutionTest, AStoppedNodeNeverTakesTheStopsReleasesForItsInputs) {
    int firedAfterStop = 0;
    for (int round = 0; round < 300; ++round) {
        Circuit& circuit = MakeCircuit();
        Node* one = Constant(circuit, Int(1));
        Node* loop = Apply(circuit, "Plus", {one});
        ASSERT_NE(ConnectPorts(Output(loop), loop->PortArray[2]), nullptr);
        PrintOf(circuit, loop);
        ASSERT_TRUE(PrepareCircuit(Session(circuit)))
            << Session(circuit).Fault().Message.toStdString();
        ExecuteCircuit(Session(circuit));
        // No wait: the stop comes while the threads still look at their starts.
        StopCircuitThreads(Session(circuit));
        firedAfterStop += int(ObserverOf(circuit).Lines().size());
    }
    EXPECT_EQ(firedAfterStop, 0);
}

TEST_F(ExecutionTest, DeletingAWaitingNodeEndsItsThread) {
    Circuit& circuit = MakeCircuit();
    Node* one = Constant(circuit, Int(1));
    Node* a = Apply(circuit, "Plus", {one});
    Node* b = Apply(circuit, "Plus", {one, a});
    ConnectPorts(Output(b), a->PortArray[2]);
    Node* print = PrintOf(circuit, b);
    ASSERT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    ExecuteCircuit(Session(circuit));
    RunToCompletion(Session(circuit));
    ASSERT_NE(ThreadOf(a), nullptr);

    DeleteNode(a);
    // Ended by its stop, not left running detached after the grace period.
    EXPECT_FALSE(ThreadsStillRunIn(Session(circuit)));
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 3u);
    EXPECT_TRUE(b->PortArray[2]->Wires.empty());
    EXPECT_EQ(b->PortArray[2]->Source, nullptr);

    // The node waiting on the deleted one is stopped by the next preparation, which then
    // reports the input left unfed.
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Object, ObjectRef(b->PortArray[2]));
    DeleteNode(print);
    DeleteNode(b);
    DeleteNode(one);
    EXPECT_TRUE(circuit.MainFrame.Nodes.empty());
    EXPECT_TRUE(circuit.MainFrame.Wires.empty());
}

// Rewiring a cycle while its run is in flight, with new constant values: the next run computes
// from this run's values only.
TEST_F(ExecutionTest, EditingWhileACycleRuns) {
    Circuit& circuit = MakeCircuit();
    Node* x = Constant(circuit, Int(10));
    Node* y = Constant(circuit, Int(20));
    Node* a = Apply(circuit, "Plus", {x});
    Node* b = Apply(circuit, "Plus", {y, a});
    ConnectPorts(Output(b), a->PortArray[2]);
    PrintOf(circuit, b);
    ASSERT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    ExecuteCircuit(Session(circuit));
    EXPECT_EQ(RunToCompletion(Session(circuit)).NeverFire.size(), 3u);

    // Break the cycle: a now adds x and a new constant.
    DeleteWire(a->PortArray[2]->Wires.front());
    Node* z = Constant(circuit, Int(300));
    ConnectPorts(Output(z), a->PortArray[2]);
    SetConstant(x, Int(1000));
    EXPECT_EQ(Run(circuit), QStringList{"1320"});
    EXPECT_EQ(Run(circuit), QStringList{"1320"});

    // Close it again while a run is under way, then break it once more.
    ASSERT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    ExecuteCircuit(Session(circuit));
    DeleteWire(a->PortArray[2]->Wires.front());
    ConnectPorts(Output(b), a->PortArray[2]);
    DeleteNode(z);
    ASSERT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    ExecuteCircuit(Session(circuit));
    EXPECT_EQ(RunToCompletion(Session(circuit)).Fired, 2u);
    DeleteWire(a->PortArray[2]->Wires.front());
    ConnectPorts(Output(y), a->PortArray[2]);
    SetConstant(y, Int(5));
    EXPECT_EQ(Run(circuit), QStringList{"1010"});
}

// A stop waits for a thread that is busy but leaves within the grace period. A thread that
// cannot leave within it is detached, not killed: the node ends up without a thread, and the
// thread finishes its firing and ends on its own later.
TEST_F(ExecutionTest, ThreadThatIgnoresItsStopIsDetached) {
    class SlowObserver : public CollectingObserver {
      public:
        using CollectingObserver::CollectingObserver;
        void PrintLine(const QString& line, std::uint64_t runNumber) override {
            {
                std::lock_guard lock(mutex);
                entered = true;
            }
            changed.notify_all();
            std::this_thread::sleep_for(delay);
            CollectingObserver::PrintLine(line, runNumber);
        }
        // Starts a run and waits until its Print is inside this observer.
        void RunUntilPrinting(RunSession& session) {
            {
                std::lock_guard lock(mutex);
                entered = false;
            }
            ASSERT_TRUE(PrepareCircuit(session)) << session.Fault().Message.toStdString();
            ExecuteCircuit(session);
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return entered; });
        }
        std::chrono::milliseconds delay{0};
        std::mutex mutex;
        std::condition_variable changed;
        bool entered = false;
    };
    Circuit& circuit = NewCircuit();
    SlowObserver observer;
    RunSession session(circuit, &observer);
    observer.Attach(session);
    Node* print = PrintOf(circuit, Constant(circuit, QString("slow")));

    // A fifth of the grace period: the stop waits for the firing to end.
    observer.delay = std::chrono::milliseconds(200);
    observer.RunUntilPrinting(session);
    EXPECT_TRUE(StopNodeThread(session, print));
    EXPECT_FALSE(ThreadsStillRunIn(session));
    EXPECT_EQ(observer.Lines(), QStringList{"slow"});

    // Half as long again as the grace period: the stop gives up on it.
    observer.delay = std::chrono::milliseconds(1500);
    observer.RunUntilPrinting(session);
    EXPECT_FALSE(StopNodeThread(session, print));
    EXPECT_TRUE(ThreadsStillRunIn(session));
    EXPECT_EQ(session.RunOf(*print)->Thread, nullptr);
    EXPECT_EQ(session.RunOf(*print)->Routine, nullptr);
    EXPECT_EQ(session.RunOf(*print)->StopRequest, 0);

    // While the detached thread lives the node must outlive it: deleting keeps it aside, and the
    // session keeps what the thread reads of it.
    DeleteNode(print);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 1u);
    EXPECT_EQ(session.RunOf(*print), nullptr);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (ThreadsStillRunIn(session) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(ThreadsStillRunIn(session));
    EXPECT_EQ(observer.Lines(), QStringList{"slow"});
}

// Built as the command line or a benchmark would: ten thousand nodes, each with its thread.
TEST_F(ExecutionTest, TenThousandNodes) {
    // The allowance counts the threads of the whole machine: other programs' threads must not
    // decide this test. It asks for its own; only where the system truly cannot start them does
    // the test step aside, saying so.
    const std::function<std::size_t()> saved = ThreadAllowance();
    ThreadAllowance() = [] { return std::size_t(20000); };
    struct Restore {
        std::function<std::size_t()> Saved;
        ~Restore() { ThreadAllowance() = Saved; }
    } restore{saved};
    Circuit& circuit = MakeCircuit();
    Node* start = Constant(circuit, Int(0));
    Node* one = Constant(circuit, Int(1));
    Node* last = start;
    constexpr int kPlusNodes = 9997;
    for (int i = 0; i < kPlusNodes; ++i)
        last = Apply(circuit, "Plus", {last, one});
    PrintOf(circuit, last);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 10000u);
    for (int run = 0; run < 2; ++run) {
        const bool ready = PrepareCircuit(Session(circuit));
        if (!ready && Session(circuit).Fault().Kind == ErrorKind::NoThread)
            GTEST_SKIP() << "the system started fewer than 10000 threads: "
                         << Session(circuit).Fault().Message.toStdString();
        ASSERT_TRUE(ready) << Session(circuit).Fault().Message.toStdString();
        ExecuteCircuit(Session(circuit));
        const RunReport report = RunToCompletion(Session(circuit));
        EXPECT_EQ(report.Fired, 10000u);
        EXPECT_TRUE(report.NeverFire.empty());
        EXPECT_EQ(ObserverOf(circuit).Lines(), QStringList{QString::number(kPlusNodes)});
    }
    StopCircuitThreads(Session(circuit));
    for (const auto& node : circuit.MainFrame.Nodes)
        ASSERT_EQ(ThreadOf(node), nullptr);
}

} // namespace
} // namespace flow::test
