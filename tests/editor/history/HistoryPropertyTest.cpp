// Whatever a user does, undoing it step by step walks back through exactly the circuits the
// steps made, down to one that saves byte for byte as the file that was opened; redoing walks
// forward again to the very last one.

#include "EditorFixture.h"
#include "editor/actions/ContextMenu.h"
#include "editor/actions/PlacePopup.h"
#include "support/Files.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QUndoStack>

#include <bit>
#include <map>
#include <random>

namespace flow::test {
namespace {

QString PortName(const Port* port) {
    if (!port || !port->Node) return QStringLiteral("-");
    return QStringLiteral("%1/%2").arg(port->Node->Id).arg(PortIndex(port));
}

// What the file does not show: implementations, port types, which feeder an input reads, the
// order of every port's lists, and exact constant values.
QString Structure(const Circuit& circuit) {
    QString text;
    for (const auto& node : circuit.MainFrame.Nodes) {
        int chosen = -1;
        const auto& implementations = node->Function->Implementations;
        for (std::size_t i = 0; i < implementations.size(); ++i)
            if (implementations[i].get() == node->Implementation) chosen = int(i);
        text += QStringLiteral("node %1 impl %2\n").arg(node->Id).arg(chosen);
        for (const auto& port : node->Ports) {
            text += QStringLiteral(" port %1 type %2 source %3 value %4 text %5 |")
                        .arg(PortName(port.get()))
                        .arg(port->Type)
                        .arg(PortName(port->Source))
                        .arg(IsConstant(*node) ? port->Value : 0)
                        .arg(IsConstant(*node) ? port->Text : QString());
            for (const Port* target : port->Targets)
                text += QStringLiteral(" >") + PortName(target);
            for (const Port* feeder : port->Feeders)
                text += QStringLiteral(" <") + PortName(feeder);
            for (const Wire* wire : port->Wires)
                text += QStringLiteral(" ") + PortName(wire->Source) + "-" +
                        PortName(wire->Destination);
            text += QLatin1Char('\n');
        }
    }
    return text;
}

class HistoryPropertyTest : public EditorFixture {
  protected:
    std::mt19937 random{std::uint32_t(qEnvironmentVariableIntValue("FLOW_RANDOM_SEED")) ^
                        20261207u};
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    double Within(int half) { return Below(2 * half + 1) - half; }

    std::string SavedBytes(const Circuit& circuit) {
        const QString file = dir.filePath("state.xml");
        EXPECT_TRUE(SaveCircuit(circuit, file));
        const std::string bytes = ReadBytes(file);
        EXPECT_FALSE(bytes.empty());
        return bytes;
    }
    // Text, so that a failure shows the lines that differ.
    std::string State(const Circuit& circuit) {
        return SavedBytes(circuit) + Structure(circuit).toStdString();
    }

    // The middle of a random node, comment or port, or a random point.
    QPointF SomePoint(const Circuit& circuit) {
        const Frame& frame = circuit.MainFrame;
        const int pick = Below(4);
        if (pick == 0 && !frame.Comments.empty())
            return Middle(*frame.Comments[Below(int(frame.Comments.size()))]);
        if (pick <= 2 && !frame.Nodes.empty()) {
            const Node& node = *frame.Nodes[Below(int(frame.Nodes.size()))];
            if (pick == 2 || node.Ports.empty()) return Middle(node);
            return PortPoint(node, 1 + Below(int(node.Ports.size())));
        }
        return {Within(kRoom), Within(kRoom * 3 / 4)};
    }
    QPointF SomePort(const Circuit& circuit) {
        const Frame& frame = circuit.MainFrame;
        if (frame.Nodes.empty()) return SomePoint(circuit);
        const Node& node = *frame.Nodes[Below(int(frame.Nodes.size()))];
        return PortPoint(node, 1 + Below(int(node.Ports.size())));
    }
    const Node* SomeConstant(const Circuit& circuit) {
        std::vector<const Node*> constants;
        for (const auto& node : circuit.MainFrame.Nodes)
            if (IsConstant(*node)) constants.push_back(node.get());
        return constants.empty() ? nullptr : constants[Below(int(constants.size()))];
    }
    // A click where nothing selected lies ends an edit.
    void ClickAway(Circuit& circuit) { Click(circuit, -390, -290); }
    void TypeSomething(Circuit& circuit) {
        static const QString pieces[] = {"7", "x", "$1f", "2.5e1", "-", "\u00E9", " "};
        for (int i = Below(4); i >= 0; --i) {
            if (Below(4) == 0)
                Key(circuit, Below(2) ? Qt::Key_Backspace : Qt::Key_Left);
            else
                Type(circuit, pieces[Below(7)]);
        }
    }

    void RandomAction(Circuit& circuit) {
        const QPointF at = SomePoint(circuit);
        switch (Below(13)) {
        case 0:
        case 1:
            Place(circuit, kFirstAddNodeCommand + Below(AddNodeCommandCount()), Within(kRoom),
                  Within(kRoom * 3 / 4));
            break;
        case 2:
        case 3: {
            // Two clicks on ports connect them.
            const QPointF from = SomePort(circuit);
            Click(circuit, from.x(), from.y());
            const QPointF to = SomePort(circuit);
            Click(circuit, to.x(), to.y());
            break;
        }
        case 4:
            Click(circuit, at.x(), at.y(), Below(3) == 0 ? Qt::ControlModifier : Qt::NoModifier);
            break;
        case 5:
            Key(circuit, Qt::Key_Delete);
            break;
        case 6:
            Drag(circuit, at.x(), at.y(), Within(kRoom), Within(kRoom * 3 / 4));
            break;
        case 7:
            if (const Node* constant = SomeConstant(circuit)) {
                DoubleClick(circuit, Middle(*constant).x(), Middle(*constant).y());
                if (ViewOf(circuit)->Has(InteractionFlag::Editing)) TypeSomething(circuit);
            }
            break;
        case 8:
            // A comment, new or edited.
            DoubleClick(circuit, at.x(), at.y());
            if (ViewOf(circuit)->Has(InteractionFlag::Editing)) TypeSomething(circuit);
            break;
        case 9:
            ClickAway(circuit);
            break;
        case 10:
            Key(circuit, Qt::Key_Z, Qt::ControlModifier);
            break;
        case 11:
            if (Below(2))
                Key(circuit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            else
                Key(circuit, Qt::Key_Y, Qt::ControlModifier);
            break;
        case 12:
            // A run now and then: undo and redo while it is in flight must be as safe as any
            // edit. A defect moves the camera, which is not a step; it is put back.
            if (Below(4) == 0) {
                Key(circuit, Qt::Key_F5);
                ViewOf(circuit)->CameraX = ViewOf(circuit)->CameraY = 0;
                ViewOf(circuit)->ZoomLevel = 0.0f;
                ViewOf(circuit)->Magnification = 1.0f;
            }
            break;
        }
    }

    static constexpr int kRoom = 260;
    QTemporaryDir dir;
};

TEST_F(HistoryPropertyTest, UndoingEverythingSavesTheOpenedFileAndRedoingTheLastCircuit) {
    Circuit* opened = OpenExampleWindow(QStringLiteral("logic.xml"), {800, 640});
    ASSERT_NE(opened, nullptr);
    Circuit& circuit = *opened;
    QUndoStack& history = *HistoryOf(circuit);

    const std::string read = SavedBytes(circuit);
    // The circuit after each sequence of steps the history has held. Steps are named by their
    // addresses: an undone step that a new one replaced never matches again.
    using Path = std::vector<const QUndoCommand*>;
    const auto steps = [&] {
        Path steps;
        for (int i = 0; i < history.index(); ++i)
            steps.push_back(history.command(i));
        return steps;
    };
    std::map<Path, std::string> states{{steps(), State(circuit)}};
    int checked = 0;
    const auto expectKnownState = [&](const char* when) {
        const auto known = states.find(steps());
        if (known == states.end()) return;
        ++checked;
        ASSERT_EQ(State(circuit), known->second) << when << " at step " << history.index();
    };

    const int actions = std::max(300, qEnvironmentVariableIntValue("FLOW_HISTORY_ACTIONS"));
    for (int action = 0; action < actions; ++action) {
        const Path before = steps();
        RandomAction(circuit);
        // Bring an edit in progress to its end, so that most actions end in a known circuit.
        if (ViewOf(circuit)->Has(InteractionFlag::Editing) && Below(3) != 0) ClickAway(circuit);
        if (ViewOf(circuit)->Has(InteractionFlag::Editing)) continue;
        const Path after = steps();
        // An action that made one step shows the circuit of that step; any other action must
        // leave a circuit that was seen with the same steps before (or it made several steps).
        if (after.size() == before.size() + 1 &&
            std::equal(before.begin(), before.end(), after.begin()))
            states[after] = State(circuit);
        else
            expectKnownState("after an action that made no step, or an undo or redo");
    }
    ClickAway(circuit);
    AddNodeMenu()->hide();
    // A wire let go on empty canvas may have left its offer of new nodes open, with the keys.
    if (PlacePopup* offer = OpenedPlacePopup()) offer->close();
    if (QMenu* menu = OpenedContextMenu()) menu->close();
    EXPECT_GT(history.count(), 60) << "the actions hardly made any steps";
    EXPECT_GT(checked, 20) << "hardly any step was undone or redone on the way";

    const std::string last = SavedBytes(circuit);
    const int top = history.index();
    states[steps()] = State(circuit);
    while (history.canUndo()) {
        Key(circuit, Qt::Key_Z, Qt::ControlModifier);
        expectKnownState("undoing all");
    }
    EXPECT_EQ(history.index(), 0);
    EXPECT_EQ(SavedBytes(circuit), read);
    EXPECT_FALSE(WindowOf(circuit)->isWindowModified()) << "back at the state that was read";
    while (history.index() < top) {
        Key(circuit, Qt::Key_Y, Qt::ControlModifier);
        expectKnownState("redoing all");
    }
    EXPECT_EQ(SavedBytes(circuit), last);
    // Steps undone before the actions ended are still there to redo.
    while (history.canRedo()) {
        Key(circuit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        expectKnownState("redoing what was undone before");
    }
    std::printf("%d steps, %d states compared; %zu nodes, %zu wires, %zu comments at the end\n",
                history.count(), checked, circuit.MainFrame.Nodes.size(),
                circuit.MainFrame.Wires.size(), circuit.MainFrame.Comments.size());
}

} // namespace
} // namespace flow::test
