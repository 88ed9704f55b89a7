// Groups of objects through the system clipboard: between windows, back into the same window,
// from a text editor, and text that is no circuit.

#include "EditorFixture.h"
#include "file/CircuitWriter.h"
#include "support/Growth.h"

#include "editor/actions/ClipboardCommands.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUndoStack>

#include <bit>
#include <map>
#include <set>

namespace flow::test {
namespace {

class ClipboardCommandsTest : public EditorFixture {
  protected:
    // Two Integer constants into a Plus that feeds a Print: four nodes, three wires.
    struct Sum {
        Node *A, *B, *Plus, *Print;
    };
    Sum BuildSum(Circuit& circuit, bool real = false) {
        const CatalogueState& catalogue = Catalogue();
        Frame* frame = &circuit.MainFrame;
        Implementation* constant = real ? catalogue.ConstantReal : catalogue.ConstantInteger;
        Sum sum{AddNode(frame, catalogue.Constant, constant),
                AddNode(frame, catalogue.Constant, constant),
                AddNode(frame, FindFunction("Plus"), nullptr),
                AddNode(frame, FindFunction("Print"), nullptr)};
        for (Node* node : {sum.A, sum.B})
            node->PortArray[1]->Type = real ? PortType::Real : PortType::Integer;
        sum.A->PortArray[1]->Value = real ? std::bit_cast<Int>(2.5) : 2;
        sum.B->PortArray[1]->Value = real ? std::bit_cast<Int>(-0.25) : 3;
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
        const FrameObjects selected = SelectedObjectsWithInnerWires(circuit.MainFrame);
        return int(selected.Nodes.size() + selected.Comments.size());
    }
    static QClipboard& Clipboard() { return *QGuiApplication::clipboard(); }
};

TEST_F(ClipboardCommandsTest, CopiedNodesPasteIntoAnotherWindowWithTheWiresBetweenThem) {
    Circuit& from = OpenWindow();
    const Sum sum = BuildSum(from);
    Select({sum.A, sum.B, sum.Plus});
    Key(from, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = Clipboard().mimeData();
    ASSERT_TRUE(data->hasFormat(kCircuitMimeType));
    EXPECT_EQ(data->data(kCircuitMimeType), data->text().toUtf8()) << "one text, two types";
    EXPECT_TRUE(data->text().startsWith("<?xml")) << "no byte order mark in text for others";
    EXPECT_TRUE(data->text().contains("<Flowlattice>"));

    Circuit& to = OpenWindow();
    AddComment(&to.MainFrame, "already here", 0, 0)->Flags |= ObjectFlag::Selected;
    MoveTo(to, 300, 200);
    Key(to, Qt::Key_V, Qt::ControlModifier);
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

    // One step takes the whole group out again, and brings it back.
    EXPECT_EQ(HistoryOf(to)->count(), 1);
    Key(to, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(to.MainFrame.Nodes.empty());
    EXPECT_TRUE(to.MainFrame.Wires.empty());
    EXPECT_EQ(to.MainFrame.Comments.size(), 1u);
    Key(to, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(to.MainFrame.Nodes.size(), 3u);
    EXPECT_EQ(to.MainFrame.Wires.size(), 2u);

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

TEST_F(ClipboardCommandsTest, CutAndPasteBringBackTheSameCircuitWithItsTypes) {
    Circuit& circuit = OpenWindow();
    const CatalogueState& catalogue = Catalogue();
    BuildSum(circuit, true);
    AddComment(&circuit.MainFrame, "sum", -100, -60);
    std::vector<const Implementation*> types;
    for (const auto& node : circuit.MainFrame.Nodes)
        types.push_back(node->Implementation);
    ASSERT_EQ(types[0], catalogue.ConstantReal);
    ASSERT_NE(types[2], nullptr);

    MoveTo(circuit, 500, 500);
    Key(circuit, Qt::Key_A, Qt::ControlModifier);
    Key(circuit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(circuit.MainFrame.Nodes.empty());
    EXPECT_TRUE(circuit.MainFrame.Comments.empty());
    EXPECT_EQ(HistoryOf(circuit)->count(), 1);
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 4u);
    EXPECT_EQ(circuit.MainFrame.Wires.size(), 3u);
    EXPECT_EQ(circuit.MainFrame.Comments.size(), 1u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(circuit.MainFrame.Nodes[i]->Implementation, types[i]) << "node " << i;
    EXPECT_EQ(circuit.MainFrame.Nodes[0]->PortArray[1]->Value, std::bit_cast<Int>(2.5));
    EXPECT_EQ(HistoryOf(circuit)->count(), 2);
    Key(circuit, Qt::Key_Z, Qt::ControlModifier);
    Key(circuit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 4u) << "the cut is undone too";
    EXPECT_EQ(circuit.MainFrame.Wires.size(), 3u);
}

TEST_F(ClipboardCommandsTest, TextThatIsNoCircuitPastesNothingAndSaysSo) {
    Circuit& circuit = OpenWindow();
    const Sum sum = BuildSum(circuit);
    Select({sum.Print});
    for (const QString& text : {QStringLiteral("hello"), QStringLiteral("<html><body/></html>"),
                                QStringLiteral("<Flowlattice><MainFrame><Node Function=\"Nope\"/>"
                                               "</MainFrame></Flowlattice>"),
                                QString()}) {
        Clipboard().setText(text);
        Key(circuit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(circuit.MainFrame.Nodes.size(), 4u) << text.toStdString();
        EXPECT_EQ(circuit.MainFrame.Wires.size(), 3u);
        EXPECT_TRUE(sum.Print->Flags & ObjectFlag::Selected) << "the selection stays";
        EXPECT_EQ(StatusNotice(circuit), "Nothing to paste: the clipboard holds no circuit");
    }
    EXPECT_EQ(HistoryOf(circuit)->count(), 0);

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

    // Text that stops being well-formed pastes the part before and says where it stopped; a
    // text beyond the bound pastes nothing.
    Clipboard().setText(QStringLiteral("<Flowlattice><MainFrame>\n<Comment Text=\"c\"/>\n"
                                       "<Comment \u0000/></MainFrame></Flowlattice>"));
    PasteFromClipboard(circuit);
    EXPECT_EQ(circuit.MainFrame.Comments.size(), 2u);
    EXPECT_EQ(StatusNotice(circuit), "Only the part before line 3 was pasted");
    Clipboard().setText(QString(kLargestPaste + 1, QLatin1Char(' ')));
    PasteFromClipboard(circuit);
    EXPECT_EQ(circuit.MainFrame.Comments.size(), 2u);
    EXPECT_EQ(StatusNotice(circuit), "Nothing pasted: the clipboard text is larger than 64 MB");
}

TEST_F(ClipboardCommandsTest, DuplicateCopiesBesideAndLeavesTheClipboardAlone) {
    Circuit& circuit = OpenWindow();
    const Sum sum = BuildSum(circuit);
    Clipboard().setText("kept");
    Select({sum.Plus, sum.Print});
    Key(circuit, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Clipboard().text(), "kept");
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 6u);
    EXPECT_EQ(circuit.MainFrame.Wires.size(), 4u);
    const Node& copy = *circuit.MainFrame.Nodes[4];
    EXPECT_EQ(copy.Function->Name, "Plus");
    EXPECT_EQ(copy.X, sum.Plus->X + kPasteOffset);
    EXPECT_EQ(copy.Y, sum.Plus->Y + kPasteOffset);
    EXPECT_EQ(SelectedCount(circuit), 2);
    EXPECT_FALSE(sum.Plus->Flags & ObjectFlag::Selected);

    EXPECT_EQ(HistoryOf(circuit)->count(), 1);
    Key(circuit, Qt::Key_Delete);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 4u);
    EXPECT_EQ(HistoryOf(circuit)->count(), 2);

    // While a comment is edited, the same keys act on its text.
    DoubleClick(circuit, 300, 300);
    Type(circuit, "note");
    Key(circuit, Qt::Key_A, Qt::ControlModifier);
    Key(circuit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard().text(), "note");
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ViewOf(circuit)->EditBuffer, "notenote");
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 4u);
    Click(circuit, -300, -300);
    SelectAllObjects(circuit);
    EXPECT_EQ(SelectedCount(circuit), 5);
}

// Ten thousand nodes come in, are drawn and can be taken out again: a paste that grew with the
// square of the group would take minutes here. Sixteen times the group takes about sixteen times
// as long to paste, drawing included. How long the undo takes is stated by the benchmark
// BM_UndoPasteStep (bench/paste_bench.cpp): it takes the nodes out one at a time from the
// frame's list and grows faster than the group.
TEST_F(ClipboardCommandsTest, TenThousandNodesPasteInLinearTimeAndUndo) {
    constexpr int kNodes = 10000;
    Circuit& circuit = OpenWindow();
    std::map<int, double> undoSeconds; // the fastest try of each size
    const Growth paste = MeasureGrowth(
        [&](int size) {
            // Constants each wired into a Not, all selected and copied.
            Circuit source;
            source.MainFrame.Owner = &source;
            const CatalogueState& catalogue = Catalogue();
            Node* previous = nullptr;
            for (int i = 0; i < size; ++i) {
                Node* node =
                    AddNode(&source.MainFrame, i % 2 ? FindFunction("Not") : catalogue.Constant,
                            i % 2 ? nullptr : catalogue.ConstantBoolean);
                node->X = (i % 100) * 60;
                node->Y = (i / 100) * 40;
                node->Flags |= ObjectFlag::Selected;
                if (previous && i % 2) ConnectPorts(previous->PortArray[1], node->PortArray[1]);
                previous = node;
            }
            Clipboard().setMimeData(CircuitMimeData(
                CircuitFragmentText(SelectedObjectsWithInnerWires(source.MainFrame))));

            const double seconds =
                CpuSecondsOf([&] { Key(circuit, Qt::Key_V, Qt::ControlModifier); });
            EXPECT_EQ(circuit.MainFrame.Nodes.size(), std::size_t(size));
            EXPECT_EQ(circuit.MainFrame.Wires.size(), std::size_t(size / 2));
            const double undo = CpuSecondsOf([&] { Key(circuit, Qt::Key_Z, Qt::ControlModifier); });
            const auto kept = undoSeconds.try_emplace(size, undo).first;
            kept->second = std::min(kept->second, undo);
            EXPECT_TRUE(circuit.MainFrame.Nodes.empty());
            return seconds;
        },
        kNodes / kSizeRatio, kNodes);
    EXPECT_LT(paste.Ratio(), kLinearGrowthLimit) << paste;
    // The undo takes the group out from the end of the lists: no search or shift per object.
    const double small = undoSeconds[kNodes / kSizeRatio], large = undoSeconds[kNodes];
    EXPECT_LT(large / std::max(small, 1e-6), kLinearGrowthLimit)
        << small << " s against " << large << " s";
}

} // namespace
} // namespace flow::test
