// Inputs in the editor: Start With Inputs… sets every changed value as one step and runs, new
// and pasted inputs take free names, and inputs stay out of sub-circuits' bodies.

#include "editor/actions/InputsDialog.h"
#include "EditorFixture.h"
#include "editor/actions/ClipboardCommands.h"
#include "editor/actions/SubCircuitView.h"
#include "file/CircuitReader.h"
#include "model/Inputs.h"
#include "model/SubCircuits.h"
#include "support/DoubleCircuit.h"
#include "support/Files.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <bit>

namespace flow::test {
namespace {

using InputsDialogTest = EditorFixture;

// Four inputs, one of each type; the Integer one is printed.
constexpr const char* kFourInputs = R"(<Flowlattice><MainFrame>
<Node ID="1" Function="Input" X="-100" Y="-60" Name="n"><Integer Value="2"/></Node>
<Node ID="2" Function="Input" X="-100" Y="-20" Name="x"><Real Value="1.5"/></Node>
<Node ID="3" Function="Input" X="-100" Y="20" Name="s"><String Value="a"/></Node>
<Node ID="4" Function="Input" X="-100" Y="60" Name="b"><Boolean Value="False"/></Node>
<Node ID="5" Function="Print" X="0" Y="-80"/>
<Wire Source="1/1" Destination="5/1"/>
</MainFrame></Flowlattice>)";

struct Held {
    Int N;
    double X;
    QString S;
    Int B;
    bool operator==(const Held&) const = default;
};

Held ValuesOf(const Circuit& circuit) {
    const std::vector<Node*> inputs = InputsOf(circuit);
    return {FirstPort(*inputs[0])->Value, std::bit_cast<double>(FirstPort(*inputs[1])->Value),
            FirstPort(*inputs[2])->Text, FirstPort(*inputs[3])->Value};
}

// Restores the real dialog when a test ends.
struct DialogAnswer {
    explicit DialogAnswer(InputsDialogRunner runner) : kept(std::move(RunInputsDialog())) {
        RunInputsDialog() = std::move(runner);
    }
    ~DialogAnswer() { RunInputsDialog() = std::move(kept); }
    InputsDialogRunner kept;
};

TEST_F(InputsDialogTest, OkSetsTheChangedValuesAsOneStepAndRunsCancelChangesNothing) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("inputs.xml"));
    ASSERT_TRUE(WriteBytes(file, kFourInputs));
    Circuit* loaded = LoadCircuit(file);
    ASSERT_NE(loaded, nullptr);
    Circuit& circuit = OpenInWindow(*loaded, {800, 600});
    const Held stored{2, 1.5, "a", 0};
    ASSERT_EQ(ValuesOf(circuit), stored);

    QStringList shown;
    bool okWhileWrong = true;
    QString reason;
    {
        DialogAnswer answer([&](InputsDialog& dialog) {
            for (QLineEdit* field : dialog.Fields())
                shown << field->text();
            QPushButton* ok = dialog.Buttons()->button(QDialogButtonBox::Ok);
            dialog.Fields()[0]->setText(QStringLiteral("seven"));
            okWhileWrong = ok->isEnabled();
            reason = dialog.Reason()->text();
            dialog.Fields()[0]->setText(QStringLiteral("7"));
            dialog.Fields()[1]->setText(QStringLiteral("2.25"));
            dialog.Fields()[3]->setText(QStringLiteral("true"));
            return ok->isEnabled();
        });
        OnMenu(circuit, Command::StartWithInputs);
    }
    EXPECT_EQ(shown, QStringList({"2", "1.5", "a", "False"}));
    EXPECT_FALSE(okWhileWrong);
    EXPECT_EQ(reason, QStringLiteral("n: “seven” is not an Integer"));
    EXPECT_EQ(ValuesOf(circuit), (Held{7, 2.25, "a", 1}));
    ASSERT_TRUE(WaitForLines(circuit, 1));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), QStringLiteral("7"));
    EXPECT_EQ(WindowOf(circuit)->UndoAction()->text(), "Undo Set Inputs");

    OnMenu(circuit, Command::Undo);
    EXPECT_EQ(ValuesOf(circuit), stored);
    EXPECT_FALSE(WindowOf(circuit)->UndoAction()->isEnabled());

    // Cancel keeps every value, records nothing and runs nothing.
    PanelOf(circuit).clear();
    {
        DialogAnswer answer([](InputsDialog& dialog) {
            dialog.Fields()[0]->setText(QStringLiteral("9"));
            return false;
        });
        OnMenu(circuit, Command::StartWithInputs);
    }
    EXPECT_EQ(ValuesOf(circuit), stored);
    EXPECT_FALSE(WindowOf(circuit)->UndoAction()->isEnabled());
    EXPECT_EQ(PanelOf(circuit).toPlainText(), QString());
}

TEST_F(InputsDialogTest, NewAndPastedInputsTakeFreeNamesAndRenamingKeepsThemUnique) {
    Circuit& circuit = OpenWindow();
    Node& first = Place(circuit, QStringLiteral("Input (Integer)"), -100, -60);
    Node& second = Place(circuit, QStringLiteral("Input (Integer)"), -100, 0);
    EXPECT_EQ(InputName(first), "input");
    EXPECT_EQ(InputName(second), "input 2");

    Click(circuit, double(first.X + first.Width / 2), double(first.Y + first.Height / 2));
    CopySelection(circuit);
    PasteFromClipboard(circuit);
    ASSERT_EQ(InputsOf(circuit).size(), 3u);
    EXPECT_EQ(InputName(*InputsOf(circuit)[2]), "input 3");

    // A double click on the name renames it; a name another input has is refused.
    const auto rename = [&](Node& input, const QString& name) {
        const double x = double(input.X + input.Width) + 8, y = double(input.Y) + 6;
        Click(circuit, x, y);
        DoubleClick(circuit, x, y);
        Type(circuit, name);
        Key(circuit, Qt::Key_Return);
    };
    rename(second, QStringLiteral("input"));
    EXPECT_EQ(InputName(second), "input 2");
    EXPECT_EQ(StatusNotice(circuit), QStringLiteral("Another input is named “input”"));
    rename(second, QStringLiteral("celsius"));
    EXPECT_EQ(InputName(second), "celsius");
    EXPECT_EQ(WindowOf(circuit)->UndoAction()->text(), "Undo Rename Input");
    OnMenu(circuit, Command::Undo);
    EXPECT_EQ(InputName(second), "input 2");

    // Windows redraw what they derived from the circuit only after an edit it counted, even
    // one that leaves every size as it was.
    const std::uint64_t editsBefore = circuit.Edits;
    SetInputName(second, QStringLiteral("input 9"));
    EXPECT_GT(circuit.Edits, editsBefore);
}

TEST_F(InputsDialogTest, InputsAreNeitherPlacedNorPastedInABody) {
    QTemporaryDir folder;
    Circuit* loaded = LoadDoubleCircuit(folder.path());
    ASSERT_NE(loaded, nullptr);
    Circuit& circuit = OpenInWindow(*loaded, {800, 600});
    Node& input = Place(circuit, QStringLiteral("Input (Real)"), -200, -100);
    Click(circuit, double(input.X + input.Width / 2), double(input.Y + input.Height / 2));
    CopySelection(circuit);

    OpenInstance(circuit, *circuit.MainFrame.Nodes[2]);
    const Frame& body = BodyOf(*circuit.SubCircuits.front());
    const std::size_t nodes = body.Nodes.size();
    OnMenu(circuit, AddNodeCommand(QStringLiteral("Input (Real)")));
    EXPECT_EQ(StatusNotice(circuit),
              QStringLiteral("An Input cannot go inside “Double”: a sub-circuit's body takes "
                             "its values through its input pins"));
    PasteFromClipboard(circuit);
    EXPECT_EQ(StatusNotice(circuit),
              QStringLiteral("Nothing pasted: inputs belong to the main frame; a sub-circuit's "
                             "body takes its values through its pins"));
    Click(circuit, 50, 50);
    EXPECT_EQ(body.Nodes.size(), nodes);
}

} // namespace
} // namespace flow::test
