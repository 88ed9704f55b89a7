// Threads started ahead of time: how the reserve fills, serves runs, respects the system's
// allowance and ends.

#include "EngineFixture.h"

#include "engine/Execution.h"
#include "engine/NodeThread.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "engine/ThreadLimits.h"
#include "engine/ThreadReserve.h"
#include "model/Model.h"

#include <chrono>
#include <thread>

namespace flow::test {
namespace {

class ThreadReserveTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        EndThreadReserve();
    }
    void TearDown() override {
        ThreadAllowance() = savedAllowance_;
        EndThreadReserve();
        EngineFixture::TearDown();
    }
    std::function<std::size_t()> savedAllowance_ = ThreadAllowance();
};

// Parked threads are handed their nodes without being woken; releases that came before the
// hand-over still count, and the reserve's threads end when it does.
TEST_F(ThreadReserveTest, ParkedThreadsServeRunsAndEndCleanly) {
    Circuit& circuit = MakeCircuit();
    Node* x = Constant(circuit, Int(40));
    PrintOf(circuit, Apply(circuit, "Plus", {x, Constant(circuit, Int(2))}));
    Node* late = PrintOf(circuit, x);
    ReserveThreadsFor(Session(circuit));
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 5u);
    ReserveThreads(3); // there already
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 5u);

    ASSERT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(ParkedThreads(), 0u);
    ExecuteCircuit(Session(circuit));
    EXPECT_EQ(RunToCompletion(Session(circuit)).Fired, 5u);
    QStringList lines = ObserverOf(circuit).Lines();
    lines.sort();
    EXPECT_EQ(lines, QStringList({"40", "42"}));
    // Taken threads are not replaced: the reserve grows only when asked.
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 0u);

    RunSession& session = Session(circuit);
    ASSERT_TRUE(StopNodeThread(session, late));
    session.RunOf(*late)->Start.Release();
    SetConstant(x, Int(7));
    SendToTargets(Firing{session, *x, *session.RunOf(*x), session.RunNumber}, 1, Int(7),
                  PortType::Integer);
    ReserveThreads(1);
    WaitForThreadReserve();
    // Long enough for the new thread to be asleep in the reserve, so that nothing but the
    // hand-over can wake it.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(StartNodeThread(session, *late, *session.RunOf(*late)));
    EXPECT_EQ(ParkedThreads(), 0u);
    ASSERT_TRUE(ObserverOf(circuit).WaitForLines(3));
    ++ThreadOf(late)->Started;
    ThreadOf(late)->WaitForFirings(1);
    EXPECT_EQ(ObserverOf(circuit).Lines().back(), "7");

    ReserveThreads(4);
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 4u);
    EndThreadReserve();
    EXPECT_EQ(ParkedThreads(), 0u);
    lines = Run(circuit);
    lines.sort();
    EXPECT_EQ(lines, QStringList({"7", "9"}));
}

// The reserve takes at most half of what the system allows, nothing for a run that would be
// refused, and parked threads are not counted twice when a run asks for its threads.
TEST_F(ThreadReserveTest, ReserveStaysWithinTheAllowance) {
    ThreadAllowance() = [] { return std::size_t(200); };
    ReserveThreads(201);
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 0u);
    ReserveThreads(180);
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 100u);

    Circuit& circuit = MakeCircuit();
    for (int i = 0; i < 150; ++i)
        PrintOf(circuit, Constant(circuit, Int(i)));
    ThreadAllowance() = [] { return std::size_t(150); };
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Message,
              QStringLiteral("Too many nodes to run: 200 threads needed, the system allows 150"));
    EXPECT_EQ(ParkedThreads(), 100u);

    DeleteNode(circuit.MainFrame.Nodes.back().get());
    for (int i = 0; i < 49; ++i)
        DeleteNode(circuit.MainFrame.Nodes.back().get());
    // 250 nodes, of which 100 find a parked thread.
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 250u);
    EXPECT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(ParkedThreads(), 0u);
}

} // namespace
} // namespace flow::test
