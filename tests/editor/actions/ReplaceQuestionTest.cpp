// The question before a save or an export writes over a file that is not the circuit's own:
// asked once, in the user's words, with No as what Enter gives.

#include "EditorFixture.h"
#include "support/Examples.h"
#include "support/Files.h"

#include "editor/actions/ExportImage.h"

#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>

namespace flow::test {
namespace {

class ReplaceQuestionTest : public EditorFixture {
  protected:
    void SaveAsTo(Circuit& circuit, const QString& name) {
        ChooseFileName() = [name](QWidget*, FileDialogKind) { return name; };
        OnMenu(circuit, Command::SaveAs);
    }
    QTemporaryDir dir;
};

TEST_F(ReplaceQuestionTest, SaveAsAsksBeforeReplacingAnotherFileAndNoOrEnterLeaveIt) {
    const QString other = dir.filePath("damaged.xml");
    ASSERT_TRUE(QFile::copy(Example("logic.xml"), other));
    const std::string otherBytes = ReadBytes(other);
    Circuit& circuit = OpenWindow();
    Place(circuit, "Plus (+)", 0, 0);

    ClickInMessageBoxes(QStringList{"No", ""});
    SaveAsTo(circuit, other);
    SaveAsTo(circuit, other);
    ASSERT_EQ(shownBoxes.size(), 2);
    EXPECT_EQ(shownBoxes[0], "\u201Cdamaged.xml\u201D already exists. Replace it?\n");
    EXPECT_EQ(ReadBytes(other), otherBytes) << "No, and Enter, leave it byte for byte";
    EXPECT_TRUE(circuit.FileName.isEmpty());
    EXPECT_TRUE(WindowOf(circuit)->isWindowModified());

    ClickInMessageBoxes(QStringList{"Yes"});
    SaveAsTo(circuit, other);
    EXPECT_EQ(shownBoxes.size(), 3);
    EXPECT_NE(ReadBytes(other), otherBytes);
    EXPECT_EQ(circuit.FileName, other);

    // Its own file now: Save and Save As write it without a question, as does a new name.
    Place(circuit, "Times (*)", 100, 0);
    OnMenu(circuit, Command::Save);
    SaveAsTo(circuit, other);
    SaveAsTo(circuit, dir.filePath("new.xml"));
    EXPECT_EQ(shownBoxes.size(), 3);
    EXPECT_NE(ReadBytes(dir.filePath("new.xml")), "");
}

// A damaged file opens recovered; its Save offers the damaged file, and replacing it is asked.
TEST_F(ReplaceQuestionTest, SaveOfARecoveredCircuitAsksBeforeReplacingTheDamagedFile) {
    const QString damaged = dir.filePath("damaged.xml");
    std::string bytes = ReadBytes(Example("sum.xml"));
    bytes.resize(bytes.size() * 2 / 3);
    ASSERT_TRUE(WriteBytes(damaged, bytes));
    Circuit& first = OpenWindow();
    AnswerMessageBoxes({QMessageBox::Ok});
    Circuit* recovered = OpenCircuitFile(first, damaged);
    ASSERT_NE(recovered, nullptr);
    ASSERT_EQ(recovered->RecoveredFrom, damaged);

    QString offered;
    ChooseFileName() = [&](QWidget* parent, FileDialogKind) {
        offered = qobject_cast<CircuitWindow*>(parent)->OwnCircuit().RecoveredFrom;
        return offered;
    };
    ClickInMessageBoxes(QStringList{""});
    OnMenu(*recovered, Command::Save);
    EXPECT_EQ(offered, damaged);
    ASSERT_EQ(shownBoxes.size(), 2);
    EXPECT_EQ(shownBoxes[1], "\u201Cdamaged.xml\u201D already exists. Replace it?\n");
    EXPECT_EQ(ReadBytes(damaged), bytes);
    EXPECT_EQ(recovered->RecoveredFrom, damaged) << "still recovered";

    ClickInMessageBoxes(QStringList{"Yes"});
    OnMenu(*recovered, Command::Save);
    EXPECT_NE(ReadBytes(damaged), bytes);
    EXPECT_EQ(recovered->FileName, damaged);
}

TEST_F(ReplaceQuestionTest, ExportImageAsksBeforeReplacingAFile) {
    Circuit& circuit = OpenWindow({400, 300});
    const QString picture = dir.filePath("picture.png");
    ASSERT_TRUE(WriteBytes(picture, "not a picture"));
    ChooseExport() = [&](QWidget*) { return ExportChoice{picture, false}; };
    ClickInMessageBoxes(QStringList{""});
    OnMenu(circuit, Command::ExportImage);
    ASSERT_EQ(shownBoxes.size(), 1);
    EXPECT_EQ(shownBoxes[0], "\u201Cpicture.png\u201D already exists. Replace it?\n");
    EXPECT_EQ(ReadBytes(picture), "not a picture");
    ClickInMessageBoxes(QStringList{"Yes"});
    OnMenu(circuit, Command::ExportImage);
    EXPECT_FALSE(QImage(picture).isNull());
    ChooseExport() = ExportChooser();
}

} // namespace
} // namespace flow::test
