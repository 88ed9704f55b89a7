// Thousands of random canvas events must leave the circuit consistent, whatever their order.

#include "EditorFixture.h"
#include "editor/actions/ContextMenu.h"
#include "editor/actions/PlacePopup.h"

#include "editor/actions/AddNodeMenu.h"

#include <QApplication>
#include <QMenu>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <random>

namespace flow::test {
namespace {

template <typename T, typename P> bool Holds(const std::vector<T>& list, const P* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Every cross-reference of wires, ports, nodes and comments, and the editor's references into
// the circuit.
void ExpectConsistent(const Circuit& circuit) {
    const Frame& frame = circuit.MainFrame;
    const auto liveNode = [&](const Node* node) {
        return std::any_of(frame.Nodes.begin(), frame.Nodes.end(),
                           [&](const auto& n) { return n.get() == node; });
    };
    const auto liveWire = [&](const Wire* wire) {
        return std::any_of(frame.Wires.begin(), frame.Wires.end(),
                           [&](const auto& w) { return w.get() == wire; });
    };
    for (const auto& wire : frame.Wires) {
        ASSERT_EQ(wire->Frame, &frame);
        ASSERT_TRUE(wire->Source && wire->Destination);
        ASSERT_TRUE(liveNode(wire->Source->Node) && liveNode(wire->Destination->Node));
        EXPECT_TRUE(Holds(wire->Source->Wires, wire.get()));
        EXPECT_TRUE(Holds(wire->Destination->Wires, wire.get()));
        EXPECT_TRUE(Holds(wire->Source->Targets, wire->Destination));
        EXPECT_TRUE(Holds(wire->Destination->Feeders, wire->Source));
    }
    for (const auto& node : frame.Nodes) {
        EXPECT_EQ(node->Frame, &frame);
        EXPECT_GT(node->Id, 0);
        EXPECT_LE(node->Id, circuit.NextId);
        ASSERT_EQ(node->PortArray.size(), node->Ports.size() + 1);
        for (std::size_t i = 0; i < node->Ports.size(); ++i) {
            const Port* port = node->Ports[i].get();
            EXPECT_EQ(node->PortArray[i + 1], port);
            EXPECT_EQ(port->Node, node.get());
            for (const Wire* wire : port->Wires)
                EXPECT_TRUE(liveWire(wire));
            EXPECT_TRUE(!port->Source || Holds(port->Feeders, port->Source));
            for (const Port* target : port->Targets)
                EXPECT_TRUE(Holds(target->Feeders, port));
        }
    }
    for (const auto& comment : frame.Comments) {
        EXPECT_EQ(comment->Frame, &frame);
        EXPECT_GT(comment->Id, 0);
        EXPECT_LE(comment->Id, circuit.NextId);
    }
    const EditorState& editor = *ViewOf(circuit);
    EXPECT_TRUE(!editor.WireSource || !editor.WireSource->Node || !editor.WireSource->Node->Frame ||
                liveNode(editor.WireSource->Node) || editor.WireSource->Node->Frame != &frame);
    if (editor.EditNode && editor.EditNode->Frame == &frame) {
        EXPECT_TRUE(liveNode(editor.EditNode));
    }
    if (editor.EditComment && editor.EditComment->Frame == &frame) {
        EXPECT_TRUE(std::any_of(frame.Comments.begin(), frame.Comments.end(),
                                [&](const auto& c) { return c.get() == editor.EditComment; }));
    }
}

class CanvasInteractionRandomInputTest : public EditorFixture {
  protected:
    // FLOW_RANDOM_SEED and FLOW_RANDOM_ROUNDS allow longer local runs with other sequences.
    std::mt19937 random{std::uint32_t(qEnvironmentVariableIntValue("FLOW_RANDOM_SEED")) ^
                        20240607u};
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    // Mostly points on or near objects, where the interesting things happen.
    QPoint SomePixel(const Circuit& circuit) {
        const Frame& frame = circuit.MainFrame;
        if (Below(3) == 0 || frame.Nodes.empty())
            return {Below(ViewOf(circuit)->CanvasWidth + 40) - 20,
                    Below(ViewOf(circuit)->CanvasHeight + 40) - 20};
        const Node& node = *frame.Nodes[Below(int(frame.Nodes.size()))];
        QPointF at = Middle(node);
        if (!node.Ports.empty() && Below(3) != 0)
            at = PortPoint(node, 1 + Below(int(node.Ports.size())));
        return PixelOf(circuit, at.x() + Below(9) - 4, at.y() + Below(9) - 4);
    }

    void SendMouse(Circuit& circuit, QEvent::Type type, QPoint pixel, Qt::MouseButton button,
                   Qt::MouseButtons held, Qt::KeyboardModifiers modifiers) {
        QWidget& canvas = CanvasOf(circuit);
        QMouseEvent event(type, pixel, canvas.mapToGlobal(pixel), button, held, modifiers);
        QApplication::sendEvent(&canvas, &event);
    }

    void RandomEvent(Circuit& circuit, Qt::MouseButtons& held) {
        static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::MiddleButton,
                                                  Qt::RightButton};
        static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete,
                                       Qt::Key_Left,   Qt::Key_Right,     Qt::Key_Escape,
                                       Qt::Key_Tab,    Qt::Key_A,         Qt::Key_Shift};
        static const QString characters[] = {"a", "1", "$", "\t", " ", "e", "-", ".", "\u00E9"};
        const Qt::KeyboardModifiers modifiers =
            (Below(6) == 0 ? Qt::ControlModifier : Qt::NoModifier) |
            (Below(6) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
        const QPoint pixel = SomePixel(circuit);
        const Qt::MouseButton button = buttons[Below(4)];
        const int kind = Below(12);
        // Presses and releases happen where the pointer has moved to.
        if (kind >= 3 && kind <= 5)
            SendMouse(circuit, QEvent::MouseMove, pixel, Qt::NoButton, held, modifiers);
        switch (kind) {
        case 0:
        case 1:
        case 2:
            SendMouse(circuit, QEvent::MouseMove, pixel, Qt::NoButton, held, modifiers);
            break;
        case 3: {
            // A click, sometimes dragged somewhere on the way.
            const Qt::MouseButton clicked = Below(4) == 0 ? button : Qt::LeftButton;
            SendMouse(circuit, QEvent::MouseButtonPress, pixel, clicked, held | clicked, modifiers);
            QPoint at = pixel;
            if (Below(3) == 0) {
                at = SomePixel(circuit);
                SendMouse(circuit, QEvent::MouseMove, at, Qt::NoButton, held | clicked, modifiers);
            }
            SendMouse(circuit, QEvent::MouseButtonRelease, at, clicked, held, modifiers);
            break;
        }
        case 4:
            // A button pressed or released on its own.
            if (Below(2) == 0) {
                held |= button;
                SendMouse(circuit, QEvent::MouseButtonPress, pixel, button, held, modifiers);
            } else {
                held &= ~button;
                SendMouse(circuit, QEvent::MouseButtonRelease, pixel, button, held, modifiers);
            }
            break;
        case 5:
            if (Below(3) == 0)
                SendMouse(circuit, QEvent::MouseButtonDblClick, pixel, Qt::LeftButton,
                          held | Qt::LeftButton, modifiers);
            else
                QTest::keyClick(&CanvasOf(circuit), Qt::Key_Delete);
            break;
        case 6: {
            QWidget& canvas = CanvasOf(circuit);
            QWheelEvent wheel(pixel, canvas.mapToGlobal(pixel), QPoint(),
                              QPoint(0, (Below(9) - 4) * 60), held, modifiers, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(&canvas, &wheel);
            break;
        }
        case 7:
            QTest::keyClick(&CanvasOf(circuit), keys[Below(9)], modifiers);
            break;
        case 8:
        case 9: {
            QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                            characters[Below(9)]);
            QApplication::sendEvent(&CanvasOf(circuit), &typed);
            break;
        }
        case 10:
            OnMenu(circuit, kFirstAddNodeCommand + Below(AddNodeCommandCount()));
            break;
        case 11:
            // A menu chosen from the popup the right button opened.
            if (AddNodeMenu()->isVisible()) {
                AddNodeMenu()->hide();
                OnMenu(circuit, kFirstAddNodeCommand + Below(AddNodeCommandCount()));
            } else if (Below(40) == 0) {
                OnMenu(circuit, Command::Start);
            }
            break;
        }
    }
};

TEST_F(CanvasInteractionRandomInputTest, ThousandsOfRandomEventsKeepTheCircuitConsistent) {
    Circuit* opened = OpenExampleWindow(QStringLiteral("sum.xml"), {480, 360});
    ASSERT_NE(opened, nullptr);
    Circuit& circuit = *opened;

    Qt::MouseButtons held;
    int wiresMade = 0;
    const int rounds = std::max(10, qEnvironmentVariableIntValue("FLOW_RANDOM_ROUNDS"));
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < 400; ++i) {
            const std::size_t before = circuit.MainFrame.Wires.size();
            RandomEvent(circuit, held);
            if (circuit.MainFrame.Wires.size() > before) ++wiresMade;
        }
        ExpectConsistent(circuit);
        if (HasFailure()) FAIL() << "after round " << round;
    }
    AddNodeMenu()->hide();
    if (PlacePopup* offer = OpenedPlacePopup()) offer->close();
    if (QMenu* menu = OpenedContextMenu()) menu->close();
    EXPECT_FALSE(circuit.MainFrame.Nodes.empty() && circuit.MainFrame.Comments.empty() &&
                 circuit.MainFrame.Wires.empty())
        << "the events built nothing at all";
    EXPECT_GT(wiresMade, 10) << "the events hardly ever wired ports";
    std::printf("%d wires made; ", wiresMade);
    std::printf("random events left %zu nodes, %zu wires, %zu comments, zoom %g\n",
                circuit.MainFrame.Nodes.size(), circuit.MainFrame.Wires.size(),
                circuit.MainFrame.Comments.size(), double(ViewOf(circuit)->ZoomLevel));
    QCoreApplication::sendPostedEvents();
}

} // namespace
} // namespace flow::test
