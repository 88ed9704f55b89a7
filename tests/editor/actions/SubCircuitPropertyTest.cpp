// Random selections of random circuits made into sub-circuits, nested, placed again and their
// pins moved, added and removed, compute what the same circuit computes with every instance
// taken apart; undoing everything gives back the file the circuit started as, and a file with
// sub-circuits reads back as it was written.

#include "EditorFixture.h"
#include "support/HeadlessRun.h"
#include "support/SelectionClosing.h"

#include "editor/actions/ClipboardCommands.h"
#include "editor/actions/MakeSubCircuit.h"
#include "editor/actions/UngroupInstances.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"

#include <QTemporaryDir>
#include <QUndoStack>

#include <random>
#include <set>

namespace flow::test {
namespace {

class SubCircuitPropertyTest : public EditorFixture {
  protected:
    std::mt19937 random{std::uint32_t(qEnvironmentVariableIntValue("FLOW_RANDOM_SEED")) ^ 2323u};
    QTemporaryDir dir;
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    template <typename T> T Pick(const std::vector<T>& from) {
        return from[std::size_t(Below(int(from.size())))];
    }

    // Integer constants, sums and differences of earlier Integers, ToReal and sums of Reals, and
    // Print nodes on some of all that, spread at random, with two comments.
    void BuildRandomCircuit(Circuit& circuit) {
        Frame* frame = &circuit.MainFrame;
        std::vector<Port*> integers, reals;
        const auto place = [&](Node* node) {
            MoveObject(*node, Below(12) * 60 - 360, Below(12) * 60 - 360);
            return node;
        };
        for (int i = 3 + Below(3); i > 0; --i) {
            Node* constant =
                place(AddNode(frame, Catalogue().Constant, Catalogue().ConstantInteger));
            SetConstantValue(*constant, Below(19) - 9, QString());
            integers.push_back(constant->PortArray[1]);
        }
        for (int i = 4 + Below(6); i > 0; --i) {
            const bool real = !reals.empty() && Below(3) == 0;
            if (!real && Below(4) == 0) {
                Node* node = place(AddNode(frame, FindFunction("ToReal"), nullptr));
                ConnectPorts(Pick(integers), node->PortArray[1]);
                reals.push_back(node->PortArray[2]);
                continue;
            }
            auto& from = real ? reals : integers;
            Node* node =
                place(AddNode(frame, FindFunction(Below(2) ? "Plus" : "Subtract"), nullptr));
            ConnectPorts(Pick(from), node->PortArray[1]);
            ConnectPorts(Pick(from), node->PortArray[2]);
            from.push_back(node->PortArray[3]);
        }
        integers.insert(integers.end(), reals.begin(), reals.end());
        for (int i = 3 + Below(3); i > 0; --i)
            ConnectPorts(Pick(integers),
                         place(AddNode(frame, FindFunction("Print"), nullptr))->PortArray[1]);
        AddComment(frame, QStringLiteral("first"), -400, -400);
        AddComment(frame, QStringLiteral("second"), 300, 300);
    }

    static void SelectInMain(Circuit& circuit, const std::function<bool(int)>& chosen) {
        int i = 0;
        const auto mark = [&](int& flags) {
            flags = chosen(i++) ? flags | ObjectFlag::Selected : flags & ~ObjectFlag::Selected;
        };
        for (const auto& node : circuit.MainFrame.Nodes)
            mark(node->Flags);
        for (const auto& comment : circuit.MainFrame.Comments)
            mark(comment->Flags);
    }

    // Inside one instance's sub-circuit: a pin moved (its ports change order), and an output pin
    // added that a new Print outside reads; sometimes removed again, which takes the wires to it
    // along, and the Print that it fed with them.
    void ChangePins(Circuit& circuit, Node& instance) {
        ViewOf(circuit)->OpenPath = {&instance};
        Frame& body = BodyOf(*instance.Function);
        std::vector<Node*> pins, senders;
        for (const auto& node : body.Nodes)
            (IsPin(*node) ? pins : senders).push_back(node.get());
        if (!pins.empty()) MoveObjects(circuit, {{}, {Pick(pins)}, {}}, 0, (Below(5) - 2) * 40);
        std::erase_if(senders, [](Node* node) {
            return node->Ports.empty() || !(node->Ports.back()->Direction & Direction::Out);
        });
        if (senders.empty()) return ViewOf(circuit)->OpenPath.clear();
        Node* extra = nullptr;
        RecordGroupEdit(circuit, QStringLiteral("Add Pin"), {}, [&] {
            extra = AddNode(&body, PinFunctions().Output, nullptr);
            SetPinName(*extra, QStringLiteral("extra"));
            MoveObject(*extra, 500, Below(9) * 40 - 160);
            Node* sender = Pick(senders);
            return FrameObjects{
                {}, {extra}, {ConnectPorts(sender->Ports.back().get(), extra->PortArray[1])}};
        });
        ViewOf(circuit)->OpenPath.clear();
        for (Node* holder : InstancesIn(circuit.MainFrame))
            if (holder->Function == instance.Function)
                RecordGroupEdit(circuit, QStringLiteral("Print"), {}, [&] {
                    Node* print = AddNode(&circuit.MainFrame, FindFunction("Print"), nullptr);
                    const auto port = std::find_if(holder->Ports.begin(), holder->Ports.end(),
                                                   [&](auto& p) { return p->Id == extra->Id; });
                    return FrameObjects{
                        {}, {print}, {ConnectPorts(port->get(), print->PortArray[1])}};
                });
        if (Below(2) == 0) return;
        ViewOf(circuit)->OpenPath = {&instance};
        DeleteObjects(circuit, QStringLiteral("Delete"), {{}, {extra}, {}});
        ViewOf(circuit)->OpenPath.clear();
        FrameObjects unfed;
        for (const auto& node : circuit.MainFrame.Nodes)
            if (node->Function == FindFunction("Print") && node->PortArray[1]->Feeders.empty())
                unfed.Nodes.push_back(node.get());
        DeleteObjects(circuit, QStringLiteral("Delete"), unfed);
    }
};

TEST_F(SubCircuitPropertyTest, GroupedCircuitsComputeAsUngroupedOnesUndoToTheStartAndReadBack) {
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        Circuit& circuit = OpenWindow();
        BuildRandomCircuit(circuit);
        const std::string start = CircuitFileBytes(circuit);
        const HeadlessResult original = RunHeadless(start, dir.path());
        ASSERT_EQ(original.Defect, QString());

        for (int made = 0; made < 2 + Below(3); ++made) {
            const int count = int(circuit.MainFrame.Nodes.size());
            const int first = Below(count);
            SelectInMain(circuit, [&](int i) { return i == first || Below(3) == 0; });
            CloseSelection(circuit);
            QString refusal;
            ASSERT_TRUE(MakeSubCircuit(circuit, QStringLiteral("Part %1").arg(made), &refusal))
                << refusal.toStdString();
            if (Below(2) == 0) {
                SelectInMain(circuit, [](int) { return true; });
                DuplicateSelection(circuit);
            }
            const std::vector<Node*> instances = InstancesIn(circuit.MainFrame);
            ChangePins(circuit, *Pick(instances));
        }
        const std::string grouped = CircuitFileBytes(circuit);
        while (!InstancesIn(circuit.MainFrame).empty())
            UngroupInstances(circuit, InstancesIn(circuit.MainFrame));
        const std::string ungrouped = CircuitFileBytes(circuit);

        const HeadlessResult groupedRun = RunHeadless(grouped, dir.path());
        EXPECT_EQ(groupedRun.Defect, QString());
        EXPECT_EQ(groupedRun.Lines, RunHeadless(ungrouped, dir.path()).Lines);
        EXPECT_GE(groupedRun.Lines.size(), original.Lines.size());

        const std::string resaved = ResavedBytes(grouped, dir.path());
        EXPECT_EQ(ResavedBytes(resaved, dir.path()), resaved);

        QUndoStack& history = *HistoryOf(circuit);
        history.setIndex(0);
        EXPECT_EQ(CircuitFileBytes(circuit), start);
        history.setIndex(history.count());
        EXPECT_EQ(CircuitFileBytes(circuit), ungrouped);
    }
}

} // namespace
} // namespace flow::test
