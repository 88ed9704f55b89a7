// The firing protocol over random circuits: every Start makes every node fire exactly once and
// the printed values are those of a plain evaluation in data order, through edits between runs
// and edits while a run is in flight, with threads started by the run or taken from the reserve.

#include "EngineFixture.h"

#include "engine/Execution.h"
#include "engine/NodeThread.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "engine/ThreadReserve.h"
#include "model/Model.h"

#include <random>

namespace flow::test {
namespace {

using Unsigned = std::uint64_t;

// Integer functions of one or two inputs, and how they compute.
struct Operation {
    const char* Function;
    int Inputs;
    Int (*Compute)(Int x, Int y);
};

const Operation kOperations[] = {
    {"Plus", 2, [](Int x, Int y) { return Int(Unsigned(x) + Unsigned(y)); }},
    {"Subtract", 2, [](Int x, Int y) { return Int(Unsigned(x) - Unsigned(y)); }},
    {"Times", 2, [](Int x, Int y) { return Int(Unsigned(x) * Unsigned(y)); }},
    {"And", 2, [](Int x, Int y) { return x & y; }},
    {"Or", 2, [](Int x, Int y) { return x | y; }},
    {"Not", 1, [](Int x, Int) { return ~x; }},
};

class ExecutionPropertyTest : public EngineFixture {
  protected:
    // Nodes are made in data order, each fed only by nodes made before it.
    struct Computed {
        flow::Node* Node;
        const Operation* Op; // none for a constant
    };

    void Build(Circuit& circuit, int size) {
        for (int i = 0; i < size; ++i) {
            if (computed_.size() < 2 || random_() % 4 == 0) {
                computed_.push_back({Constant(circuit, Int(random_() % 1000) - 500), nullptr});
                continue;
            }
            const Operation& op = kOperations[random_() % std::size(kOperations)];
            Node* node = op.Inputs == 1 ? Apply(circuit, op.Function, {Earlier()})
                                        : Apply(circuit, op.Function, {Earlier(), Earlier()});
            computed_.push_back({node, &op});
            if (random_() % 3 == 0) prints_.push_back({PrintOf(circuit, node), node});
        }
    }

    Node* Earlier() { return computed_[random_() % computed_.size()].Node; }

    // The values computed one node after the other, as the printed lines should show them.
    QStringList Expected() const {
        std::unordered_map<const Node*, Int> values;
        for (const Computed& c : computed_) {
            auto input = [&](int i) {
                return values.at(c.Node->PortArray[std::size_t(i)]->Source->Node);
            };
            values[c.Node] = c.Op ? c.Op->Compute(input(1), c.Op->Inputs == 2 ? input(2) : 0)
                                  : c.Node->PortArray[1]->Value;
        }
        QStringList lines;
        for (const auto& [print, source] : prints_)
            lines.append(QString::number(values.at(source)));
        lines.sort();
        return lines;
    }

    // Feeds one input of a random computing node from another earlier node instead.
    void Rewire() {
        const std::size_t i = random_() % computed_.size();
        if (!computed_[i].Op) return;
        Node* node = computed_[i].Node;
        Port* input = node->PortArray[1 + random_() % std::size_t(computed_[i].Op->Inputs)];
        DeleteWire(input->Wires.front());
        ASSERT_NE(ConnectPorts(Output(computed_[random_() % i].Node), input), nullptr);
    }

    void ChangeConstants() {
        for (const Computed& c : computed_)
            if (!c.Op && random_() % 2) SetConstant(c.Node, Int(random_() % 1000) - 500);
    }

    // A thread replaced by a stop counts the starts since; the others count every start.
    void ExpectOneFiringPerStart(const Circuit& circuit, std::uint64_t starts) {
        for (const auto& node : circuit.MainFrame.Nodes) {
            ASSERT_NE(ThreadOf(node), nullptr);
            EXPECT_GE(ThreadOf(node)->Started, 1u);
            EXPECT_LE(ThreadOf(node)->Started, starts);
            EXPECT_EQ(ThreadOf(node)->Fired, ThreadOf(node)->Started);
        }
    }

    std::mt19937_64 random_{20261207};
    std::vector<Computed> computed_;
    std::vector<std::pair<Node*, Node*>> prints_; // a Print node and the node it shows
};

TEST_F(ExecutionPropertyTest, RandomCircuitsFireOncePerStartAndComputeInDataOrder) {
    for (int circuit = 0; circuit < 12; ++circuit) {
        computed_.clear();
        prints_.clear();
        Circuit& c = MakeCircuit();
        Build(c, 20 + int(random_() % 200));
        // Every other circuit takes its threads from the reserve, filled ahead of the run.
        const bool reserved = circuit % 2 == 0;
        if (reserved) {
            ReserveThreadsFor(Session(c));
            WaitForThreadReserve();
            EXPECT_GE(ParkedThreads(), c.MainFrame.Nodes.size());
        }
        std::uint64_t starts = 0;
        for (int run = 0; run < 6; ++run) {
            SCOPED_TRACE(testing::Message() << "circuit " << circuit << ", run " << run);
            QStringList lines = Run(c);
            lines.sort();
            ++starts;
            EXPECT_EQ(lines, Expected());
            ExpectOneFiringPerStart(c, starts);
            if (reserved && run == 0) {
                EXPECT_EQ(ParkedThreads(), 0u);
            }

            ChangeConstants();
            Rewire();
            if (run % 2 == 1) {
                // Started, then edited while the run is in flight: the next run stops what is
                // left of this one and computes from the new values only.
                ASSERT_TRUE(PrepareCircuit(Session(c))) << Session(c).Fault().Message.toStdString();
                ExecuteCircuit(Session(c));
                ++starts;
                ChangeConstants();
                Rewire();
            }
        }
        StopCircuitThreads(Session(c));
    }
}

} // namespace
} // namespace flow::test
