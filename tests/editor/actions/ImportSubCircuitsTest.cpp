// File → Import Sub-circuits…: the ticked sub-circuits of another file and those they use come in
// as one step, matched to the circuit's as a paste matches them; undo gives back the circuit's
// file byte for byte.

#include "EditorFixture.h"

#include "editor/actions/SubCircuitPicker.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"
#include "support/Examples.h"
#include "support/Files.h"
#include "support/SubCircuitBuilding.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QUndoStack>

namespace flow::test {
namespace {

class ImportSubCircuitsTest : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        realPick = PickSubCircuits();
        PickSubCircuits() = [this](Circuit&, const QString& title, const QStringList& names) {
            offered << title + QStringLiteral(": ") + names.join(QLatin1Char(','));
            return ticked;
        };
    }
    void TearDown() override {
        PickSubCircuits() = realPick;
        EditorFixture::TearDown();
    }
    // "Adder": a + b.
    static FunctionDef* MakeAdder(Circuit& circuit) {
        FunctionDef* adder = AddSubCircuit(circuit, QStringLiteral("Adder"));
        Node* a = AddPin(*adder, PinFunctions().Input, QStringLiteral("a"), -100, 0);
        Node* b = AddPin(*adder, PinFunctions().Input, QStringLiteral("b"), -100, 40);
        Node* plus = flow::test::Place(BodyOf(*adder), QStringLiteral("Plus"));
        Link(a, 1, plus, 1);
        Link(b, 1, plus, 2);
        Link(plus, 3, AddPin(*adder, PinFunctions().Output, QStringLiteral("sum"), 100, 0), 1);
        FollowDefinitions(circuit);
        return adder;
    }
    // A file with Adder, Double and Quad, whose body holds two Doubles.
    QString LibraryFile() {
        Circuit library;
        library.MainFrame.Owner = &library;
        MakeAdder(library);
        MakeDouble(library);
        FunctionDef* quad = AddSubCircuit(library, QStringLiteral("Quad"));
        Node* in = AddPin(*quad, PinFunctions().Input, QStringLiteral("x"), -200, 0);
        Node* first = flow::test::Place(BodyOf(*quad), QStringLiteral("Double"), -60, 0);
        Node* second = flow::test::Place(BodyOf(*quad), QStringLiteral("Double"), 60, 0);
        Link(in, 1, first, 1);
        Link(first, 2, second, 1);
        Link(second, 2, AddPin(*quad, PinFunctions().Output, QStringLiteral("4x"), 200, 0), 1);
        FollowDefinitions(library);
        const QString name = folder.filePath(QStringLiteral("library.xml"));
        EXPECT_TRUE(SaveCircuit(library, name));
        return name;
    }
    void ChooseFile(const QString& name) {
        ChooseFileName() = [name](QWidget*, FileDialogKind) { return name; };
    }

    QTemporaryDir folder;
    SubCircuitPick realPick;
    std::optional<QStringList> ticked;
    QStringList offered;
};

TEST_F(ImportSubCircuitsTest, TickedSubCircuitsComeInAsOneStepReusedOrRenamed) {
    Circuit& circuit = OpenWindow();
    MakeAdder(circuit);        // the same body: the circuit's own is used
    MakeDouble(circuit, true); // another body: the file's comes as "Double 2"
    flow::test::Place(circuit.MainFrame, QStringLiteral("Double"));
    FollowDefinitions(circuit);
    const std::string before = CircuitFileBytes(circuit);
    ChooseFile(LibraryFile());

    ticked = QStringList{QStringLiteral("Quad"), QStringLiteral("Adder")};
    OnMenu(circuit, Command::ImportSubCircuits);
    EXPECT_EQ(offered, QStringList{"library.xml: Adder,Double,Quad"});
    QStringList names;
    for (const auto& definition : circuit.SubCircuits)
        names << definition->Name;
    EXPECT_EQ(names, QStringList({"Adder", "Double", "Double 2", "Quad"}));
    const FunctionDef* quad = FindSubCircuit(circuit, QStringLiteral("Quad"));
    ASSERT_TRUE(quad);
    for (const Node* instance : InstancesIn(BodyOf(*quad)))
        EXPECT_EQ(instance->Function, FindSubCircuit(circuit, QStringLiteral("Double 2")));
    EXPECT_EQ(quad->Ports.size(), 2u);
    EXPECT_EQ(StatusNotice(circuit), "Imported Double 2, Quad");
    QUndoStack& history = *HistoryOf(circuit);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), "Import Sub-circuits");
    const std::string imported = CircuitFileBytes(circuit);

    OnMenu(circuit, Command::Undo);
    EXPECT_EQ(CircuitFileBytes(circuit), before);
    OnMenu(circuit, Command::Redo);
    EXPECT_EQ(CircuitFileBytes(circuit), imported);

    // Everything it brings is the circuit's already: nothing comes, no step.
    ticked = QStringList{QStringLiteral("Adder")};
    OnMenu(circuit, Command::ImportSubCircuits);
    EXPECT_EQ(StatusNotice(circuit),
              "Nothing imported: the circuit has these sub-circuits already");
    EXPECT_EQ(history.count(), 1);
    // Cancelled: nothing either.
    ticked.reset();
    OnMenu(circuit, Command::ImportSubCircuits);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(CircuitFileBytes(circuit), imported);
}

TEST_F(ImportSubCircuitsTest, AFileReadInPartBringsNothing) {
    Circuit& circuit = OpenWindow();
    const std::string before = CircuitFileBytes(circuit);
    ticked = QStringList{QStringLiteral("Adder")};

    const std::string library = ReadBytes(LibraryFile());
    const QString cut = folder.filePath(QStringLiteral("cut.xml"));
    ASSERT_TRUE(WriteBytes(cut, library.substr(0, library.size() - 40)));
    ChooseFile(cut);
    AnswerMessageBoxes({QMessageBox::Ok});
    OnMenu(circuit, Command::ImportSubCircuits);
    ASSERT_EQ(shownBoxes.size(), 1);
    EXPECT_TRUE(shownBoxes[0].contains("Nothing was imported.")) << shownBoxes[0].toStdString();
    EXPECT_TRUE(offered.isEmpty()) << "no list is offered from a file read in part";

    ChooseFile(Example(QStringLiteral("sum.xml")));
    AnswerMessageBoxes({QMessageBox::Ok}); // none is due
    OnMenu(circuit, Command::ImportSubCircuits);
    EXPECT_EQ(shownBoxes.size(), 1) << shownBoxes.join("|").toStdString();
    EXPECT_EQ(StatusNotice(circuit), "“sum.xml” holds no sub-circuits");

    EXPECT_EQ(HistoryOf(circuit)->count(), 0);
    EXPECT_EQ(CircuitFileBytes(circuit), before);
}

} // namespace
} // namespace flow::test
