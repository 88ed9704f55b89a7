// Runs that would need more threads than the system can spare are refused before any starts.

#include "EngineFixture.h"

#include "engine/Preparation.h"
#include "engine/ThreadLimits.h"
#include "model/Model.h"

namespace flow::test {
namespace {

class ThreadLimitsTest : public EngineFixture {
  protected:
    void TearDown() override {
        ThreadAllowance() = saved_;
        EngineFixture::TearDown();
    }
    std::function<std::size_t()> saved_ = ThreadAllowance();
};

std::size_t Threads(const RunSession& session) {
    std::size_t threads = 0;
    for (const auto& node : session.Target()->MainFrame.Nodes) {
        const NodeRun* run = session.RunOf(*node);
        threads += run && run->Thread != nullptr;
    }
    return threads;
}

TEST_F(ThreadLimitsTest, RunBeyondTheAllowanceIsRefusedWithBothFigures) {
    Circuit& circuit = MakeCircuit();
    for (int i = 0; i < 100; ++i)
        PrintOf(circuit, Constant(circuit, Int(i)));
    ThreadAllowance() = [] { return std::size_t(150); };
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).State(), RunState::Defect);
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::NoThread);
    EXPECT_EQ(Session(circuit).Fault().Message,
              QStringLiteral("Too many nodes to run: 200 threads needed, the system allows 150"));
    EXPECT_EQ(Threads(Session(circuit)), 0u);
    EXPECT_EQ(circuit.Saved.Magnification, 1.0f); // a whole-circuit defect does not move the view

    // Within the allowance the run goes on as always; its threads then count no more.
    ThreadAllowance() = [] { return std::size_t(200); };
    ASSERT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Threads(Session(circuit)), 200u);
    ThreadAllowance() = [] { return std::size_t(0); };
    EXPECT_EQ(Run(circuit).size(), 100);

    // A few threads never ask the system.
    Circuit& small = MakeCircuit();
    PrintOf(small, Constant(small, Int(1)));
    EXPECT_EQ(Run(small), QStringList{QStringLiteral("1")});
}

TEST_F(ThreadLimitsTest, AllowanceKeepsAMarginUnderEveryLimit) {
    EXPECT_EQ(ThreadsLeftUnder({32768, 500}), 32768u - 500 - 128 - 4096);
    EXPECT_EQ(ThreadsLeftUnder({1000, 900}), 0u);
    EXPECT_EQ(ThreadsLeftUnder({std::size_t(-1), 5}), std::size_t(-1));
    // Linux always states threads-max: the machine's own allowance is bounded, yet leaves room
    // for a small run.
    const std::size_t allowed = ThreadAllowance()();
    EXPECT_GT(allowed, 64u);
    EXPECT_LT(allowed, std::size_t(-1));
}

} // namespace
} // namespace flow::test
