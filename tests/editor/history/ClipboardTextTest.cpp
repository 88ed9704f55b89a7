// A selection through the clipboard's text: a copy takes the wires between selected nodes only,
// and the bodies of exactly the sub-circuits its instances need; the paste brings it all back
// into another circuit as one step, selected alone, moved or centred.

#include "editor/history/ClipboardText.h"
#include "EditorFixture.h"
#include "editor/history/History.h"
#include "editor/history/ObjectCopy.h"
#include "editor/history/PastedDefinitions.h"
#include "support/SubCircuitBuilding.h"

#include <QMimeData>
#include <QUndoStack>

#include <memory>

namespace flow::test {
namespace {

using ClipboardTextTest = EditorFixture;

QPoint At(const ObjectHeader& object) {
    return {int(object.X), int(object.Y)};
}

TEST_F(ClipboardTextTest, ASelectionGoesThroughTextWithItsInnerWiresAndTheBodiesItNeeds) {
    Circuit& from = OpenWindow();
    FunctionDef* twice = MakeDouble(from);
    MakeDouble(from, false, AddSubCircuit(from, "Unused"));
    Node* constant = AddNode(&from.MainFrame, Catalogue().Constant, Catalogue().ConstantInteger);
    SetConstantValue(*constant, 21, QStringLiteral("21"));
    constant->PortArray[1]->Type = PortType::Integer;
    MoveObject(*constant, -100, 0);
    Node* instance = test::Place(from.MainFrame, "Double", 0, 0);
    Node* print = test::Place(from.MainFrame, "Print", 100, 0);
    Comment* note = AddComment(&from.MainFrame, "note", 0, -60);
    Wire* in = Link(constant, 1, instance, 1);
    Wire* out = Link(instance, 2, print, 1);
    constant->Flags |= ObjectFlag::Selected;
    instance->Flags |= ObjectFlag::Selected;
    note->Flags |= ObjectFlag::Selected;
    out->Flags |= ObjectFlag::Selected;

    const FrameObjects copied = SelectedObjectsWithInnerWires(from.MainFrame);
    EXPECT_EQ(copied.Comments, std::vector<Comment*>({note}));
    EXPECT_EQ(copied.Nodes, std::vector<Node*>({constant, instance}));
    EXPECT_EQ(copied.Wires, std::vector<Wire*>({in})) << "not the wire out to the Print";
    const FrameObjects deleted = SelectedObjectsWithSelectedWires(from.MainFrame);
    EXPECT_EQ(deleted.Nodes, copied.Nodes);
    EXPECT_EQ(deleted.Wires, std::vector<Wire*>({out})) << "a deletion takes selected wires";

    const std::string text = CopiedCircuitText(from, copied);
    Circuit& to = OpenWindow();
    Node* own = test::Place(to.MainFrame, "Print", 300, 300);
    own->Flags |= ObjectFlag::Selected;
    const FrameObjects pasted = PasteCircuitText(to, text, std::nullopt, kPasteOffset);
    ASSERT_EQ(pasted.Nodes.size(), 2u);
    ASSERT_EQ(pasted.Comments.size(), 1u);
    ASSERT_EQ(pasted.Wires.size(), 1u);
    ASSERT_EQ(to.SubCircuits.size(), 1u) << "the unused sub-circuit stays behind";
    EXPECT_EQ(to.SubCircuits[0]->Name, "Double");
    EXPECT_EQ(ComparableBody(*to.SubCircuits[0]), ComparableBody(*twice));
    Node* pastedConstant = pasted.Nodes[0];
    Node* pastedInstance = pasted.Nodes[1];
    EXPECT_EQ(pastedInstance->Function, to.SubCircuits[0].get());
    EXPECT_EQ(pastedConstant->PortArray[1]->Value, 21);
    EXPECT_EQ(pastedInstance->PortArray[1]->Source, pastedConstant->PortArray[1]);
    EXPECT_EQ(pastedInstance->PortArray[2]->Type, PortType::Integer) << "its instance resolved";
    EXPECT_EQ(At(*pastedConstant), At(*constant) + QPoint(kPasteOffset, kPasteOffset));
    EXPECT_EQ(pasted.Comments[0]->Text, "note");
    EXPECT_EQ(At(*pasted.Comments[0]), At(*note) + QPoint(kPasteOffset, kPasteOffset));
    const FrameObjects selected = SelectedObjectsWithInnerWires(to.MainFrame);
    EXPECT_EQ(selected.Nodes, pasted.Nodes) << "the paste alone is selected";

    QUndoStack& history = *HistoryOf(to);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), "Paste");
    history.undo();
    EXPECT_EQ(to.MainFrame.Nodes.size(), 1u);
    EXPECT_TRUE(to.SubCircuits.empty()) << "the sub-circuit went with the paste";
    history.redo();
    EXPECT_EQ(to.MainFrame.Nodes.size(), 3u);
    ASSERT_EQ(to.SubCircuits.size(), 1u);

    // Again, centred on a point and under another name: the sub-circuit there is reused.
    const QPointF centre(500, -400);
    PasteStep duplicate;
    duplicate.Name = QStringLiteral("Duplicate");
    const FrameObjects again = PasteCircuitText(to, text, centre, 0, nullptr, duplicate);
    EXPECT_EQ(to.SubCircuits.size(), 1u);
    EXPECT_EQ(InstanceCount(to, to.SubCircuits[0].get()), 2u);
    EXPECT_LE((ObjectsBox(again).center() - centre).manhattanLength(), 1.0);
    EXPECT_EQ(history.undoText(), "Duplicate");

    // Text that holds no circuit pastes nothing and records nothing.
    EXPECT_TRUE(PasteCircuitText(to, "no circuit", std::nullopt, kPasteOffset).Empty());
    EXPECT_EQ(history.count(), 2);
}

TEST_F(ClipboardTextTest, TheClipboardCarriesCircuitTextByItsTypeOrAsPlainTextUpToALimit) {
    const std::string text = "<Flowlattice><MainFrame/></Flowlattice>";
    const auto size = qsizetype(text.size());
    const std::unique_ptr<QMimeData> data(CircuitMimeData(text));
    EXPECT_EQ(data->text().toStdString(), text);
    bool tooLarge = true;
    EXPECT_EQ(CircuitTextOf(data.get(), size, &tooLarge).toStdString(), text);
    EXPECT_FALSE(tooLarge);
    EXPECT_TRUE(CircuitTextOf(data.get(), size - 1, &tooLarge).isEmpty());
    EXPECT_TRUE(tooLarge);

    // Its own type wins over plain text; plain text alone is taken too, by its characters.
    QMimeData both;
    both.setData(QString::fromLatin1(kCircuitMimeType), QByteArray("typed"));
    both.setText(QStringLiteral("plain"));
    EXPECT_EQ(CircuitTextOf(&both), "typed");
    QMimeData plain;
    plain.setText(QStringLiteral("\u00e9\u00e9"));
    EXPECT_EQ(CircuitTextOf(&plain, 2, &tooLarge), QByteArray("\xc3\xa9\xc3\xa9"));
    EXPECT_FALSE(tooLarge);
    EXPECT_TRUE(CircuitTextOf(&plain, 1, &tooLarge).isEmpty());
    EXPECT_TRUE(tooLarge);
    QMimeData image;
    image.setData(QStringLiteral("image/png"), QByteArray("png"));
    EXPECT_TRUE(CircuitTextOf(&image).isEmpty());
    EXPECT_TRUE(CircuitTextOf(nullptr).isEmpty());
}

} // namespace
} // namespace flow::test
