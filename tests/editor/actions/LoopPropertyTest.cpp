// Random circuits of Switch, Merge and sums, parts of them made into sub-circuits that become
// loops (an Iteration Pin, sometimes a Continue Pin), nested: every such file reads back as it
// was written, runs the same on every Start, and undoing everything gives back the file the
// circuit started as.

#include "EditorFixture.h"
#include "support/HeadlessRun.h"
#include "support/SelectionClosing.h"

#include "editor/actions/MakeSubCircuit.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"

#include <QTemporaryDir>
#include <QUndoStack>

#include <random>

namespace flow::test {
namespace {

class LoopPropertyTest : public EditorFixture {
  protected:
    std::mt19937 random{std::uint32_t(qEnvironmentVariableIntValue("FLOW_RANDOM_SEED")) ^ 3131u};
    QTemporaryDir dir;
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    template <typename T> T Pick(const std::vector<T>& from) {
        return from[std::size_t(Below(int(from.size())))];
    }
    void Spread(Node* node) { MoveObject(*node, Below(12) * 60 - 360, Below(12) * 60 - 360); }

    // Integer and Boolean constants, then sums, Switches and Merges of earlier Integers, and
    // Prints of some of them; every input fed.
    void BuildRandomCircuit(Circuit& circuit) {
        Frame* frame = &circuit.MainFrame;
        std::vector<Port*> integers, booleans;
        for (int i = 2 + Below(2); i > 0; --i) {
            Node* number = AddNode(frame, Catalogue().Constant, Catalogue().ConstantInteger);
            SetConstantValue(*number, Below(19) - 9, QString());
            Spread(number);
            integers.push_back(number->PortArray[1]);
            Node* truth = AddNode(frame, Catalogue().Constant, Catalogue().ConstantBoolean);
            SetConstantValue(*truth, Below(2), QString());
            Spread(truth);
            booleans.push_back(truth->PortArray[1]);
        }
        for (int i = 4 + Below(5); i > 0; --i) {
            const char* function = std::array{"Plus", "Switch", "Merge"}[std::size_t(Below(3))];
            Node* node = AddNode(frame, FindFunction(function), nullptr);
            Spread(node);
            const bool switching = node->Function == FindFunction("Switch");
            ConnectPorts(switching ? Pick(booleans) : Pick(integers), node->PortArray[1]);
            ConnectPorts(Pick(integers), node->PortArray[2]);
            for (std::size_t out = 3; out < node->PortArray.size(); ++out)
                integers.push_back(node->PortArray[out]);
        }
        for (int i = 2 + Below(3); i > 0; --i) {
            Node* print = AddNode(frame, FindFunction("Print"), nullptr);
            Spread(print);
            ConnectPorts(Pick(integers), print->PortArray[1]);
        }
    }

    // A random part of the main frame, closed so that it can become a sub-circuit.
    void SelectSome(Circuit& circuit) {
        for (const auto& comment : circuit.MainFrame.Comments)
            comment->Flags &= ~ObjectFlag::Selected;
        const auto& nodes = circuit.MainFrame.Nodes;
        const std::size_t first = std::size_t(Below(int(nodes.size())));
        for (std::size_t i = 0; i < nodes.size(); ++i)
            nodes[i]->Flags = i == first || Below(3) == 0 ? nodes[i]->Flags | ObjectFlag::Selected
                                                          : nodes[i]->Flags & ~ObjectFlag::Selected;
        CloseSelection(circuit);
    }

    // Opens the instance and makes its sub-circuit a loop, each part one step: an Iteration
    // Pin printed inside, and sometimes a Continue Pin fed False, so that it runs once; a
    // counted loop's new "times" is fed a small count outside.
    void MakeLoop(Circuit& circuit, Node& instance) {
        ViewOf(circuit)->OpenPath = {&instance};
        Frame& body = BodyOf(*instance.Function);
        const bool conditional = Below(3) == 0;
        RecordGroupEdit(circuit, QStringLiteral("Add Pin"), {}, [&] {
            Node* pin = AddNode(&body, PinFunctions().Iteration, nullptr);
            MoveObject(*pin, -500, Below(9) * 40 - 160);
            Node* print = AddNode(&body, FindFunction("Print"), nullptr);
            MoveObject(*print, -400, pin->Y);
            FrameObjects made{
                {}, {pin, print}, {ConnectPorts(pin->PortArray[1], print->PortArray[1])}};
            if (conditional) {
                Node* no = AddNode(&body, Catalogue().Constant, Catalogue().ConstantBoolean);
                SetConstantValue(*no, 0, QString());
                Node* stop = AddNode(&body, PinFunctions().Continue, nullptr);
                MoveObject(*no, 400, 300);
                MoveObject(*stop, 500, 300);
                made.Nodes.insert(made.Nodes.end(), {no, stop});
                made.Wires.push_back(ConnectPorts(no->PortArray[1], stop->PortArray[1]));
            }
            return made;
        });
        ViewOf(circuit)->OpenPath.clear();
        if (conditional) return;
        for (Node* holder : InstancesIn(circuit.MainFrame))
            if (holder->Function == instance.Function && !holder->PortArray[1]->Source)
                RecordGroupEdit(circuit, QStringLiteral("Times"), {}, [&] {
                    Node* count = AddNode(&circuit.MainFrame, Catalogue().Constant,
                                          Catalogue().ConstantInteger);
                    SetConstantValue(*count, Below(4), QString());
                    MoveObject(*count, holder->X - 100, holder->Y);
                    return FrameObjects{
                        {}, {count}, {ConnectPorts(count->PortArray[1], holder->PortArray[1])}};
                });
    }
};

TEST_F(LoopPropertyTest, LoopsOfSwitchesAndMergesReadBackRunAlikeAndUndoToTheStart) {
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        Circuit& circuit = OpenWindow();
        BuildRandomCircuit(circuit);
        const std::string start = CircuitFileBytes(circuit);

        for (int made = 0; made < 1 + Below(3); ++made) {
            SelectSome(circuit);
            QString refusal;
            ASSERT_TRUE(MakeSubCircuit(circuit, QStringLiteral("Loop %1").arg(made), &refusal))
                << refusal.toStdString();
            std::vector<Node*> plain = InstancesIn(circuit.MainFrame);
            std::erase_if(plain, [](const Node* node) { return IsLoopInstance(*node); });
            if (!plain.empty()) MakeLoop(circuit, *Pick(plain));
        }
        const std::string looped = CircuitFileBytes(circuit);
        // A read numbers the IDs afresh; from then on the bytes stay.
        const std::string resaved = ResavedBytes(looped, dir.path());
        EXPECT_EQ(ResavedBytes(resaved, dir.path()), resaved);

        const HeadlessResult first = RunHeadless(looped, dir.path());
        EXPECT_EQ(first.Defect, QString());
        EXPECT_EQ(RunHeadless(looped, dir.path()).Lines, first.Lines);

        QUndoStack& history = *HistoryOf(circuit);
        history.setIndex(0);
        EXPECT_EQ(CircuitFileBytes(circuit), start);
        history.setIndex(history.count());
        EXPECT_EQ(CircuitFileBytes(circuit), looped);
    }
}

} // namespace
} // namespace flow::test
