// Parts of a circuit as circuit-file text and back: what the clipboard carries.

#include "SampleFiles.h"
#include "support/ModelFault.h"

#include "engine/BuiltInFunctions.h"
#include "file/CircuitFragment.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <set>

namespace flow::test {
namespace {

class CircuitFragmentTest : public ::testing::Test {
  protected:
    void TearDown() override { ForgetCircuits(); }
};

// A random circuit, a random part of it written and read into a second circuit that already
// holds something: the part arrives whole, with fresh IDs, the wires between its nodes and no
// other, and each object as it was.
TEST_F(CircuitFragmentTest, AnyPartReadsBackAsItWasWithFreshIds) {
    RegisterCatalogue();
    QRandomGenerator random(7);
    const auto& functions = Catalogue().InOrder;
    for (int round = 0; round < 60; ++round) {
        Circuit& source = NewCircuit();
        const int count = random.bounded(1, 30);
        std::vector<Node*> nodes;
        for (int i = 0; i < count; ++i) {
            FunctionDef* function = functions[random.bounded(int(functions.size()))];
            const bool constant = function == Catalogue().Constant;
            Node* node = AddNode(&source.MainFrame, function,
                                 constant ? Catalogue().ConstantString : nullptr);
            if (constant) node->PortArray[1]->Text = QStringLiteral("t\"%1\n\\").arg(i);
            node->X = random.bounded(-1000, 1000);
            node->Y = random.bounded(-1000, 1000);
            nodes.push_back(node);
        }
        // Outputs into inputs, never into a constant: its value is what the text must carry.
        const auto port = [&](Node* node, int direction) -> Port* {
            std::vector<Port*> ports;
            for (const auto& p : node->Ports)
                if (p->Direction & direction) ports.push_back(p.get());
            return ports.empty() ? nullptr : ports[random.bounded(int(ports.size()))];
        };
        for (int i = 0; i < 2 * count; ++i) {
            Node* a = nodes[random.bounded(count)];
            Node* b = nodes[random.bounded(count)];
            if (a == b || b->Function == Catalogue().Constant) continue;
            Port* out = port(a, Direction::Out);
            Port* in = port(b, Direction::In);
            if (out && in) ConnectPorts(out, in);
        }
        AddComment(&source.MainFrame, "note", 3, 4);

        FrameObjects part;
        std::set<const Node*> chosen;
        for (Node* node : nodes)
            if (random.bounded(2)) {
                part.Nodes.push_back(node);
                chosen.insert(node);
            }
        for (const auto& wire : source.MainFrame.Wires)
            if (chosen.count(wire->Source->Node) && chosen.count(wire->Destination->Node))
                part.Wires.push_back(wire.get());
        if (random.bounded(2)) part.Comments.push_back(source.MainFrame.Comments.front().get());

        Circuit& target = NewCircuit();
        AddNode(&target.MainFrame, Catalogue().Constant, Catalogue().ConstantInteger);
        target.FileIdTable.insert(1, target.MainFrame.Nodes.front().get());
        const FrameObjects read = ReadCircuitFragment(target, CircuitFragmentText(part));
        ASSERT_EQ(read.Nodes.size(), part.Nodes.size()) << "round " << round;
        ASSERT_EQ(read.Wires.size(), part.Wires.size()) << "round " << round;
        ASSERT_EQ(read.Comments.size(), part.Comments.size());
        EXPECT_EQ(target.MainFrame.Nodes.size(), part.Nodes.size() + 1);
        EXPECT_EQ(target.FileIdTable.size(), 1) << "the circuit's own table is left alone";
        std::set<Int> ids{target.MainFrame.Nodes.front()->Id};
        for (std::size_t i = 0; i < part.Nodes.size(); ++i) {
            const Node& was = *part.Nodes[i];
            const Node& is = *read.Nodes[i];
            EXPECT_EQ(is.Function, was.Function);
            EXPECT_EQ(is.X, was.X);
            EXPECT_EQ(is.Y, was.Y);
            if (was.Function == Catalogue().Constant) {
                // Wiring may have re-chosen the constant's type; the value goes with it.
                EXPECT_EQ(is.Implementation, was.Implementation);
                if (was.Implementation == Catalogue().ConstantString)
                    EXPECT_EQ(is.PortArray[1]->Text, was.PortArray[1]->Text);
                else
                    EXPECT_EQ(is.PortArray[1]->Value, was.PortArray[1]->Value);
            }
            ids.insert(is.Id);
        }
        EXPECT_EQ(ids.size(), part.Nodes.size() + 1);
        const auto position = [](const std::vector<Node*>& list, const Node* node) {
            return std::find(list.begin(), list.end(), node) - list.begin();
        };
        for (std::size_t i = 0; i < part.Wires.size(); ++i) {
            const Wire& was = *part.Wires[i];
            const Wire& is = *read.Wires[i];
            EXPECT_EQ(position(read.Nodes, is.Source->Node),
                      position(part.Nodes, was.Source->Node));
            EXPECT_EQ(PortIndex(is.Destination), PortIndex(was.Destination));
        }
        EXPECT_EQ(ModelFault(target), "");
    }
}

TEST_F(CircuitFragmentTest, TextWithoutACircuitReadsNothing) {
    Circuit& target = NewCircuit();
    for (const char* text : {"", "plain words", "<a><b/></a>", "<Flowlattice><MainFrame>",
                             "<Flowlattice><MainFrame><Wire Source=\"1/1\" Destination=\"2/1\"/>"})
        EXPECT_TRUE(ReadCircuitFragment(target, text).Empty()) << text;
    EXPECT_TRUE(target.MainFrame.Nodes.empty());
}

} // namespace
} // namespace flow::test
