// Typing at the canvas, or letting a wire go over empty canvas, offers the catalogue's functions
// by name; the choice is placed at the pointer, and a wire is connected to it in the same step.

#include "editor/actions/PlacePopup.h"
#include "EditorFixture.h"
#include "editor/actions/PlaceChoiceDelegate.h"
#include "editor/history/History.h"
#include "model/TypeResolution.h"
#include "support/SubCircuitBuilding.h"

#include <QLineEdit>
#include <QListWidget>
#include <QUndoStack>

namespace flow::test {
namespace {

class PlacePopupTest : public EditorFixture {
  protected:
    static QStringList Shown(const PlacePopup& popup) {
        QStringList labels;
        for (int i = 0; i < popup.List()->count(); ++i)
            labels << popup.List()->item(i)->text();
        return labels;
    }
    static void TypeInto(PlacePopup& popup, const QString& text, Qt::Key key = Qt::Key_Return) {
        QTest::keyClicks(popup.SearchField(), text);
        QTest::keyClick(popup.SearchField(), key);
    }
};

TEST_F(PlacePopupTest, ALetterOpensTheSearchAndEnterPlacesTheChoiceAtThePointer) {
    Circuit& circuit = OpenWindow();
    MoveTo(circuit, 40, -60);
    Type(circuit, "t");
    PlacePopup* popup = OpenedPlacePopup();
    ASSERT_NE(popup, nullptr);
    // Names beginning with the text come first, then those holding it.
    const QStringList labels = Shown(*popup);
    ASSERT_GE(labels.size(), 5);
    EXPECT_EQ(labels.mid(0, 4), QStringList({"Times", "ToString", "ToInteger", "ToReal"}));
    for (const QString& label : labels.mid(4)) {
        EXPECT_FALSE(label.startsWith("t", Qt::CaseInsensitive)) << label.toStdString();
        EXPECT_TRUE(label.contains("t", Qt::CaseInsensitive)) << label.toStdString();
    }
    // Down moves to the second match.
    TypeInto(*popup, "o", Qt::Key_Down);
    QTest::keyClick(popup->SearchField(), Qt::Key_Return);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 1u);
    const Node& placed = *circuit.MainFrame.Nodes.front();
    EXPECT_EQ(placed.Function->Name, "ToInteger");
    EXPECT_EQ(placed.X, 40 - placed.Width / 2);
    EXPECT_EQ(placed.Y, -60 - placed.Height / 2);
    EXPECT_EQ(HistoryOf(circuit)->undoText(), "Add Node");

    // Tab opens it empty, with every function; Escape places nothing.
    Key(circuit, Qt::Key_Tab);
    ASSERT_NE(OpenedPlacePopup(), nullptr);
    EXPECT_EQ(OpenedPlacePopup()->SearchField()->text(), "");
    EXPECT_EQ(Shown(*OpenedPlacePopup()).size(), 31)
        << "21 functions, the constant and the input of each of 4 types and Random of 2";
    QTest::keyClick(OpenedPlacePopup()->SearchField(), Qt::Key_Escape);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 1u);
}

TEST_F(PlacePopupTest, AWireLetGoOnEmptyCanvasIsConnectedToTheNewNodeInOneStep) {
    Circuit& circuit = OpenWindow();
    Node& number = Place(circuit, "Constant (Integer)", -150, 0);
    const Port* out = number.PortArray[1];
    Click(circuit, double(number.X + out->X), double(number.Y + out->Y));
    ASSERT_EQ(ViewOf(circuit)->WireSource, out);
    const int steps = HistoryOf(circuit)->count();
    MoveTo(circuit, 60, 40);
    Click(circuit, 60, 40);
    PlacePopup* popup = OpenedPlacePopup();
    ASSERT_NE(popup, nullptr);
    const QStringList labels = Shown(*popup);
    EXPECT_TRUE(labels.contains("Plus"));
    EXPECT_TRUE(labels.contains("Print"));
    EXPECT_FALSE(labels.contains("ToInteger")) << "it takes a Real";
    EXPECT_FALSE(labels.contains("Constant (Integer)")) << "it has no input";

    TypeInto(*popup, "sub");
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 2u);
    const Node& subtract = *circuit.MainFrame.Nodes.back();
    EXPECT_EQ(subtract.Function->Name, "Subtract");
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 1u);
    EXPECT_EQ(circuit.MainFrame.Wires[0]->Source, out);
    EXPECT_EQ(circuit.MainFrame.Wires[0]->Destination, subtract.PortArray[1]);
    EXPECT_TRUE(CanConnect(out, subtract.PortArray[1]));
    EXPECT_EQ(ViewOf(circuit)->WireSource, nullptr);
    EXPECT_EQ(HistoryOf(circuit)->count(), steps + 1);

    Key(circuit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 1u);
    EXPECT_TRUE(circuit.MainFrame.Wires.empty());

    // Dragged out of the port and let go: the same popup; Escape there drops the wire.
    const Int x = number.X;
    Drag(circuit, double(number.X + out->X), double(number.Y + out->Y), 60, -60);
    ASSERT_NE(OpenedPlacePopup(), nullptr);
    EXPECT_EQ(number.X, x) << "the node stays put";
    QTest::keyClick(OpenedPlacePopup()->SearchField(), Qt::Key_Escape);
    EXPECT_EQ(ViewOf(circuit)->WireSource, nullptr);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 1u);
}

TEST_F(PlacePopupTest, EachChoiceSaysWhatItsFunctionDoes) {
    Circuit& circuit = OpenWindow();
    FunctionDef* twice = MakeDouble(circuit);
    Key(circuit, Qt::Key_Tab);
    ASSERT_NE(OpenedPlacePopup(), nullptr);
    const QListWidget& list = *OpenedPlacePopup()->List();
    ASSERT_GT(list.count(), 0);
    for (int i = 0; i < list.count(); ++i) {
        // "Constant (Integer)" is a Constant.
        const QString name = list.item(i)->text().section(QStringLiteral(" ("), 0, 0);
        const FunctionDef* function = FunctionNamed(circuit.MainFrame, name);
        ASSERT_NE(function, nullptr) << name.toStdString();
        const QString description = list.item(i)->data(kDescriptionRole).toString();
        EXPECT_EQ(description, function == twice ? QStringLiteral("A sub-circuit of this "
                                                                  "circuit: runs its body in its "
                                                                  "place")
                                                 : function->Description)
            << name.toStdString();
        EXPECT_FALSE(description.isEmpty()) << name.toStdString();
    }
    QTest::keyClick(OpenedPlacePopup()->SearchField(), Qt::Key_Escape);

    // Inside a body the pins are offered too, with what they stand for.
    for (const PlaceChoice& choice : PlaceChoices(nullptr, &BodyOf(*twice)))
        EXPECT_FALSE(choice.Description.isEmpty()) << choice.Label.toStdString();
}

} // namespace
} // namespace flow::test
