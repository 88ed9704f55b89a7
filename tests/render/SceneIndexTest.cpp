// The scene index against the full computation: over random circuits, random mouse points and
// random edits (made straight on the model, and through the history with its undo and redo),
// the hit test that asks the index finds what the pass over every object finds, the redraw that
// draws only what the index shows paints the same pixels, and a mouse move is spared its redraw
// only when the redraw would have found the same object.

#include "support/SceneFixture.h"

#include "editor/canvas/HitTestPass.h"
#include "editor/history/History.h"
#include "render/SceneVisibility.h"

#include <QUndoStack>

#include <random>

namespace flow {
namespace {

using namespace flow::test;

using namespace InteractionFlag;

class SceneIndexTest : public SceneFixture {
  protected:
    SceneIndexTest() {
        HoverField();
        view.History = new QUndoStack(&historyOwner);
    }
    ~SceneIndexTest() override { SkipHiddenObjects() = true; }

    Int Coordinate(int spread) {
        return std::uniform_int_distribution<Int>(-spread, spread)(random);
    }
    int Below(std::size_t count) {
        return std::uniform_int_distribution<int>(0, int(count) - 1)(random);
    }

    void AddRandomNode() {
        const auto& functions = Catalogue().InOrder;
        FunctionDef* function = functions[std::size_t(Below(functions.size()))];
        Implementation* implementation = nullptr;
        if (function == Catalogue().Constant)
            implementation = Below(2) ? Catalogue().ConstantString : Catalogue().ConstantInteger;
        Node* node = Add(function->Name, Coordinate(400), Coordinate(300), implementation);
        if (implementation == Catalogue().ConstantString)
            node->PortArray[1]->Text = QString(Below(12), QChar('w'));
    }
    void AddRandomWire() {
        const auto& nodes = circuit.MainFrame.Nodes;
        Node* a = nodes[std::size_t(Below(nodes.size()))].get();
        Node* b = nodes[std::size_t(Below(nodes.size()))].get();
        if (a->Ports.empty() || b->Ports.empty()) return;
        ConnectPorts(a->Ports[std::size_t(Below(a->Ports.size()))].get(),
                     b->Ports[std::size_t(Below(b->Ports.size()))].get());
    }
    void Build() {
        for (int i = 0; i < 60; ++i)
            AddRandomNode();
        for (int i = 0; i < 60; ++i)
            AddRandomWire();
        for (int i = 0; i < 12; ++i)
            AddComment(&circuit.MainFrame, QString("note %1\nsecond line").arg(i), Coordinate(400),
                       Coordinate(300));
    }

    // Edits of every kind the editor and its history make, straight on the model.
    void Edit() {
        Frame& frame = circuit.MainFrame;
        QUndoStack& history = *HistoryOf(circuit);
        switch (Below(12)) {
        case 0: { // a move, as a drag's release or an undone move sets it
            Node& node = *frame.Nodes[std::size_t(Below(frame.Nodes.size()))];
            node.X += Coordinate(80);
            node.Y += Coordinate(80);
            break;
        }
        case 1:
            if (!frame.Comments.empty()) {
                Comment& comment = *frame.Comments[std::size_t(Below(frame.Comments.size()))];
                comment.X = Coordinate(400);
                comment.Text += "\nmore text";
                comment.Flags |= ObjectFlag::NeedsLayout;
            }
            break;
        case 2:
            if (!frame.Wires.empty())
                DeleteWire(frame.Wires[std::size_t(Below(frame.Wires.size()))].get());
            break;
        case 3:
            if (frame.Nodes.size() > 10) {
                Node* node = frame.Nodes[std::size_t(Below(frame.Nodes.size()))].get();
                if (view.HoveredNode == node) view.HoveredNode = nullptr;
                if (view.HoveredPort && view.HoveredPort->Node == node) view.HoveredPort = nullptr;
                DeleteNode(node);
            }
            break;
        case 4:
            AddRandomNode();
            AddRandomWire();
            break;
        case 5: // a constant's new value, as an edit or its undo leaves it
            for (const auto& node : frame.Nodes) {
                if (node->Implementation == Catalogue().ConstantString) {
                    node->PortArray[1]->Text = QString(Below(30), QChar('m'));
                    node->Flags |= ObjectFlag::NeedsLayout;
                    break;
                }
            }
            break;
        case 6: // objects put back at other list positions
            if (frame.Nodes.size() > 2)
                std::swap(frame.Nodes[0], frame.Nodes[std::size_t(Below(frame.Nodes.size()))]);
            if (frame.Wires.size() > 2)
                std::swap(frame.Wires[0], frame.Wires[std::size_t(Below(frame.Wires.size()))]);
            break;
        case 7:
            for (const auto& node : frame.Nodes)
                if (Below(4) == 0) node->Flags ^= ObjectFlag::Selected;
            break;
        case 8: { // through the history, as the editor moves and deletes
            FrameObjects moved;
            for (int i = 0; i < 3; ++i)
                moved.Nodes.push_back(frame.Nodes[std::size_t(Below(frame.Nodes.size()))].get());
            if (!frame.Comments.empty()) moved.Comments.push_back(frame.Comments.back().get());
            MoveObjects(circuit, moved, Coordinate(100), Coordinate(100));
            break;
        }
        case 9:
            if (frame.Nodes.size() > 10) {
                FrameObjects deleted;
                deleted.Nodes.push_back(frame.Nodes[std::size_t(Below(frame.Nodes.size()))].get());
                DeleteObjects(circuit, QStringLiteral("Delete"), deleted);
            }
            break;
        case 10: // undo puts objects back, made anew
            if (history.canUndo()) history.undo();
            break;
        default:
            if (history.canRedo()) history.redo();
            break;
        }
    }

    // A point on or near some object, or anywhere.
    void PlaceMouse() {
        EditorState& editor = view;
        const Frame& frame = circuit.MainFrame;
        const int where = Below(4);
        if (where == 0 || frame.Nodes.empty()) {
            editor.MouseX = Coordinate(450);
            editor.MouseY = Coordinate(350);
        } else if (where == 1 && !frame.Comments.empty()) {
            const Comment& comment = *frame.Comments[std::size_t(Below(frame.Comments.size()))];
            editor.MouseX = comment.X + Coordinate(30) + 20;
            editor.MouseY = comment.Y + Coordinate(20) + 10;
        } else {
            const Node& node = *frame.Nodes[std::size_t(Below(frame.Nodes.size()))];
            const Port& port = *node.Ports[std::size_t(Below(node.Ports.size()))];
            editor.MouseX = node.X + port.X + Coordinate(where == 2 ? 8 : 40);
            editor.MouseY = node.Y + port.Y + Coordinate(where == 2 ? 8 : 20);
        }
    }

    struct Outcome {
        const void* Object = nullptr;
        QString Text;
        bool Found = false, Selected = false;
        bool operator==(const Outcome&) const = default;
    };

    Outcome Pass(bool indexed) {
        EditorState& editor = view;
        SkipHiddenObjects() = indexed;
        editor.Set(HoverFound | HoverSelected, false);
        editor.HoveredComment = nullptr;
        editor.HoveredNode = nullptr;
        editor.HoveredPort = nullptr;
        HoverField().clear();
        HitTestPass(view);
        Outcome outcome;
        outcome.Object = editor.LastHit.value_or(nullptr);
        outcome.Text = HoverField().text();
        outcome.Found = editor.Has(HoverFound);
        outcome.Selected = editor.Has(HoverSelected);
        SkipHiddenObjects() = true;
        return outcome;
    }

    QObject historyOwner;
    std::mt19937 random{20261207};
};

TEST_F(SceneIndexTest, IndexedHitTestFindsWhatTheFullPassFinds) {
    for (int circuitNumber = 0; circuitNumber < 4; ++circuitNumber) {
        circuit.MainFrame.Wires.clear();
        for (const auto& node : circuit.MainFrame.Nodes)
            for (const auto& port : node->Ports)
                port->Wires.clear(), port->Targets.clear(), port->Source = nullptr;
        circuit.MainFrame.Nodes.clear();
        circuit.MainFrame.Comments.clear();
        HistoryOf(circuit)->clear();
        Build();
        Render(400, 300); // first layout
        int found = 0;
        for (int round = 0; round < 300; ++round) {
            if (round % 5 == 0) Edit();
            PlaceMouse();
            const Outcome before = Pass(true);
            PlaceMouse();
            // What a mouse move would be spared: only a redraw that finds the same object.
            const bool stays = HoverWouldStay(view);
            const Outcome full = Pass(false);
            const Outcome indexed = Pass(true);
            ASSERT_EQ(indexed, full)
                << "round " << round << " at " << view.MouseX << ", " << view.MouseY;
            ASSERT_EQ(stays, full.Object == before.Object) << "round " << round;
            found += full.Found;
        }
        EXPECT_GT(found, 100);                     // most points lie on something
        EXPECT_GT(HistoryOf(circuit)->count(), 0); // some edits went through the history
    }
}

// Drawing only what the index shows paints exactly what drawing everything paints, also after
// edits, at several zoom levels, and with a selection dragged across the canvas.
TEST_F(SceneIndexTest, IndexedDrawingPaintsWhatFullDrawingPaints) {
    Build();
    for (const auto& node : circuit.MainFrame.Nodes)
        if (Below(3) == 0) node->Flags |= ObjectFlag::Selected;
    for (int round = 0; round < 12; ++round) {
        Edit();
        Zoom(std::array{0.0f, 0.75f, -1.25f, 1.5f}[std::size_t(round % 4)]);
        view.CameraX = Coordinate(300);
        view.CameraY = Coordinate(200);
        EditorState& editor = view;
        const Int dx = Coordinate(150), dy = Coordinate(150);
        if (round % 3 == 0)
            editor.Press = press::Dragging{0, 0, dx, dy};
        else
            editor.Press = press::None{};
        SkipHiddenObjects() = false;
        const QImage everything = Render(400, 300);
        SkipHiddenObjects() = true;
        const QImage indexed = Render(400, 300);
        ASSERT_EQ(indexed, everything) << "round " << round;
    }
}

} // namespace
} // namespace flow
