// Groups of objects through the system clipboard: between windows, back into the same window,
// from a text editor, and text that is no circuit.

#include "EditorFixture.h"

#include "editor/Clipboard.h"
#include "editor/ClipboardCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <set>

namespace flow::test {
namespace {

class ClipboardTest : public EditorFixture {
  protected:
    // Two Integer constants into a Plus that feeds a Print: four nodes, three wires.
    struct Sum {
        Node *A, *B, *Plus, *Print;
    };
    Sum BuildSum(Circuit& circuit) {
        const CatalogueState& catalogue = Catalogue();
        Frame* frame = &circuit.MainFrame;
        Sum sum{AddNode(frame, catalogue.Constant, catalogue.ConstantInteger),
                AddNode(frame, catalogue.Constant, catalogue.ConstantInteger),
                AddNode(frame, FindFunction("Plus"), nullptr),
                AddNode(frame, FindFunction("Print"), nullptr)};
        sum.A->PortArray[1]->Value = 2;
        sum.B->PortArray[1]->Value = 3;
        sum.A->X = sum.B->X = -100;
        sum.B->Y = 50;
        sum.Plus->Y = 20;
        sum.Print->X = 100;
        ConnectPorts(sum.A->PortArray[1], sum.Plus->PortArray[1]);
        ConnectPorts(sum.B->PortArray[1], sum.Plus->PortArray[2]);
        ConnectPorts(sum.Plus->PortArray[3], sum.Print->PortArray[1]);
        return sum;
    }
    static void Select(std::initializer_list<Node*> nodes) {
        for (Node* node : nodes)
            node->Flags |= ObjectFlag::Selected;
    }
    static int SelectedCount(const Circuit& circuit) {
        const FrameObjects selected = SelectedObjects(circuit.MainFrame);
        return int(selected.Nodes.size() + selected.Comments.size());
    }
    static QClipboard& Clipboard() { return *QGuiApplication::clipboard(); }
};

TEST_F(ClipboardTest, CopiedNodesPasteIntoAnotherWindowWithTheWiresBetweenThem) {
    Circuit& from = OpenWindow();
    const Sum sum = BuildSum(from);
    Select({sum.A, sum.B, sum.Plus});
    CopySelection(from);
    const QMimeData* data = Clipboard().mimeData();
    ASSERT_TRUE(data->hasFormat(kCircuitMimeType));
    EXPECT_EQ(data->data(kCircuitMimeType), data->text().toUtf8()) << "one text, two types";
    EXPECT_TRUE(data->text().startsWith("<?xml")) << "no byte order mark in text for others";
    EXPECT_TRUE(data->text().contains("<Flowlattice>"));

    Circuit& to = OpenWindow();
    AddComment(&to.MainFrame, "already here", 0, 0)->Flags |= ObjectFlag::Selected;
    MoveTo(to, 300, 200);
    PasteFromClipboard(to);
    ASSERT_EQ(to.MainFrame.Nodes.size(), 3u);
    EXPECT_EQ(to.MainFrame.Wires.size(), 2u) << "the wire to the Print stays behind";
    std::set<Int> ids;
    for (const auto& comment : to.MainFrame.Comments)
        ids.insert(comment->Id);
    for (const auto& node : to.MainFrame.Nodes)
        ids.insert(node->Id);
    EXPECT_EQ(ids.size(), 4u) << "every object has an ID of its own";
    const Node& plus = *to.MainFrame.Nodes[2];
    EXPECT_EQ(plus.Function->Name, "Plus");
    EXPECT_EQ(plus.Implementation, from.MainFrame.Nodes[2]->Implementation)
        << "Integer inputs resolve the Plus as in the original";
    EXPECT_EQ(to.MainFrame.Nodes[1]->PortArray[1]->Value, 3);
    // The pasted group is the selection, centred on the pointer.
    EXPECT_EQ(SelectedCount(to), 3);
    EXPECT_FALSE(to.MainFrame.Comments.front()->Flags & ObjectFlag::Selected);
    QRectF box;
    for (const auto& node : to.MainFrame.Nodes)
        box |= QRectF(node->X, node->Y, node->Width, node->Height).normalized();
    EXPECT_LE(std::abs(box.center().x() - 300), 1.0);
    EXPECT_LE(std::abs(box.center().y() - 200), 1.0);

    // Pasted back into its own window, every copy gets new IDs.
    MoveTo(from, 0, 300);
    PasteFromClipboard(from);
    ASSERT_EQ(from.MainFrame.Nodes.size(), 7u);
    EXPECT_EQ(from.MainFrame.Wires.size(), 5u);
    std::set<Int> fromIds;
    for (const auto& node : from.MainFrame.Nodes)
        fromIds.insert(node->Id);
    EXPECT_EQ(fromIds.size(), 7u);
}

TEST_F(ClipboardTest, TextThatIsNoCircuitPastesNothingAndSaysSo) {
    Circuit& circuit = OpenWindow();
    const Sum sum = BuildSum(circuit);
    Select({sum.Print});
    for (const QString& text : {QStringLiteral("hello"), QStringLiteral("<html><body/></html>"),
                                QStringLiteral("<Flowlattice><MainFrame><Node Function=\"Nope\"/>"
                                               "</MainFrame></Flowlattice>"),
                                QString()}) {
        Clipboard().setText(text);
        PasteFromClipboard(circuit);
        EXPECT_EQ(circuit.MainFrame.Nodes.size(), 4u) << text.toStdString();
        EXPECT_EQ(circuit.MainFrame.Wires.size(), 3u);
        EXPECT_TRUE(sum.Print->Flags & ObjectFlag::Selected) << "the selection stays";
        EXPECT_EQ(StatusNotice(circuit), "Nothing to paste: the clipboard holds no circuit");
    }

    // A circuit file's text from a text editor pastes, byte order mark and CR LF included.
    Clipboard().setText(QStringLiteral("\uFEFF<?xml version=\"1.0\"?>\r\n<Flowlattice>\r\n"
                                       "<MainFrame><Comment X=\"5\" Y=\"6\" Text=\"a\\nb\"/>"
                                       "</MainFrame></Flowlattice>\r\n"));
    // The pointer has left the canvas: the group goes beside the place it was copied from.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&CanvasOf(circuit), &leave);
    PasteFromClipboard(circuit);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    const Comment& comment = *circuit.MainFrame.Comments.front();
    EXPECT_EQ(comment.Text, "a\nb");
    EXPECT_EQ(comment.X, 5 + kPasteOffset);
    EXPECT_EQ(comment.Y, 6 + kPasteOffset);
    EXPECT_EQ(SelectedCount(circuit), 1);
}

TEST_F(ClipboardTest, DuplicateCopiesBesideAndLeavesTheClipboardAlone) {
    Circuit& circuit = OpenWindow();
    const Sum sum = BuildSum(circuit);
    Clipboard().setText("kept");
    Select({sum.Plus, sum.Print});
    DuplicateSelection(circuit);
    EXPECT_EQ(Clipboard().text(), "kept");
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 6u);
    EXPECT_EQ(circuit.MainFrame.Wires.size(), 4u);
    const Node& copy = *circuit.MainFrame.Nodes[4];
    EXPECT_EQ(copy.Function->Name, "Plus");
    EXPECT_EQ(copy.X, sum.Plus->X + kPasteOffset);
    EXPECT_EQ(copy.Y, sum.Plus->Y + kPasteOffset);
    EXPECT_EQ(SelectedCount(circuit), 2);
    EXPECT_FALSE(sum.Plus->Flags & ObjectFlag::Selected);

    SelectAllObjects(circuit);
    EXPECT_EQ(SelectedCount(circuit), 6);
}

} // namespace
} // namespace flow::test
