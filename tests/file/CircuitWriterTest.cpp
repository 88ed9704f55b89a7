#include "SampleFiles.h"
#include "support/Files.h"
#include "support/ModelFault.h"

#include "engine/BuiltInFunctions.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace flow {
namespace {

using namespace flow::test;

class CircuitWriterTest : public testing::Test {
  protected:
    void TearDown() override {
        LiveWindowGeometry() = nullptr;
        ForgetCircuits();
    }
    QString PathOf(const char* name) { return folder.filePath(QString::fromLatin1(name)); }
    QTemporaryDir folder;
};

TEST_F(CircuitWriterTest, SumCircuitGivesTheSampleFileByteForByteAndStaysStable) {
    Circuit& circuit = MakeSumCircuit();
    ASSERT_TRUE(SaveCircuit(circuit, PathOf("sum.xml")));
    EXPECT_EQ(ReadBytes(PathOf("sum.xml")), kSumFile);

    Circuit* loaded = LoadCircuit(PathOf("sum.xml"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(ModelFault(*loaded), "");
    ASSERT_TRUE(SaveCircuit(*loaded, PathOf("again.xml")));
    EXPECT_EQ(ReadBytes(PathOf("again.xml")), kSumFile);
}

TEST_F(CircuitWriterTest, EmptyCircuitStillWritesTheFrameWithItsSeparators) {
    Circuit& circuit = NewCircuit();
    ASSERT_TRUE(SaveCircuit(circuit, PathOf("empty.xml")));
    const std::string bytes = ReadBytes(PathOf("empty.xml"));
    EXPECT_NE(bytes.find("  <Window X=\"0\" Y=\"0\" Width=\"0\" Height=\"0\"/>\r\n"
                         "  <Camera X=\"0\" Y=\"0\" Magnification=\"1\"/>\r\n"
                         "  <MainFrame>\r\n"
                         "    <!-- Comments -->\r\n"
                         "    <!-- Nodes -->\r\n"
                         "    <!-- Wires -->\r\n"
                         "  </MainFrame>\r\n"
                         "</Flowlattice>\r\n"),
              std::string::npos);
}

TEST_F(CircuitWriterTest, ConstantValuesCameraAndTextsUseTheirFileForms) {
    RegisterCatalogue();
    const CatalogueState& catalogue = Catalogue();
    Circuit& circuit = NewCircuit();
    circuit.Saved.CameraX = -7;
    circuit.Saved.CameraY = 12;
    circuit.Saved.Magnification = 0.5f;
    Frame* frame = &circuit.MainFrame;
    AddComment(frame, QStringLiteral("tab\there \"quoted\" C:\\dir\r\n<&>'"), 3, 4);
    AddNode(frame, catalogue.Constant, catalogue.ConstantBoolean)->PortArray[1]->Value = 5;
    AddNode(frame, catalogue.Constant, catalogue.ConstantBoolean)->PortArray[1]->Value = 0;
    AddNode(frame, catalogue.Constant, catalogue.ConstantInteger)->PortArray[1]->Value =
        std::numeric_limits<Int>::min();
    AddNode(frame, catalogue.Constant, catalogue.ConstantReal)->PortArray[1]->Value =
        std::bit_cast<Int>(3.14159265358979);
    AddNode(frame, catalogue.Constant, catalogue.ConstantReal)->PortArray[1]->Value =
        std::bit_cast<Int>(-std::numeric_limits<double>::infinity());
    AddNode(frame, catalogue.Constant, catalogue.ConstantString)->PortArray[1]->Text =
        QStringLiteral("a\\b\n\u00E9\u2212");
    AddNode(frame, catalogue.Constant, nullptr);
    ASSERT_TRUE(SaveCircuit(circuit, PathOf("values.xml")));
    const std::string bytes = ReadBytes(PathOf("values.xml"));
    for (const char* line : {
             "<Camera X=\"-7\" Y=\"12\" Magnification=\"0.5\"/>",
             "<Comment X=\"3\" Y=\"4\" Text=\"tab\\there \\&quot;quoted\\&quot; "
             "C:\\\\dir\\r\\n&lt;&amp;&gt;&apos;\"/>",
             "<Boolean Value=\"True\"/>",
             "<Boolean Value=\"False\"/>",
             "<Integer Value=\"-9223372036854775808\"/>",
             "<Real Value=\"3.14159\"/>",
             "<Real Value=\"-Infinity\"/>",
             "<String Value=\"a\\\\b\\n\xC3\xA9\xE2\x88\x92\"/>",
             "<Node ID=\"8\" Function=\"Constant\" X=\"0\" Y=\"0\"/>",
         })
        EXPECT_NE(bytes.find(line), std::string::npos) << line;
}

TEST_F(CircuitWriterTest, RandomKeepsItsChosenTypeAndARealOneWritesNothingNew) {
    RegisterCatalogue();
    Circuit& circuit = NewCircuit();
    FunctionDef* random = FunctionNamed(circuit.MainFrame, QStringLiteral("Random"));
    ASSERT_NE(random, nullptr);
    ASSERT_EQ(random->Implementations.size(), 2u);
    AddNode(&circuit.MainFrame, random, random->Implementations[0].get());
    AddNode(&circuit.MainFrame, random, random->Implementations[1].get());
    ASSERT_TRUE(SaveCircuit(circuit, PathOf("random.xml")));
    const std::string bytes = ReadBytes(PathOf("random.xml"));
    EXPECT_NE(bytes.find("<Node ID=\"1\" Function=\"Random\" X=\"0\" Y=\"0\"/>"),
              std::string::npos);
    EXPECT_NE(bytes.find("<Node ID=\"2\" Function=\"Random\" X=\"0\" Y=\"0\">\r\n"
                         "      <Integer/>\r\n"),
              std::string::npos);

    Circuit* loaded = LoadCircuit(PathOf("random.xml"));
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->MainFrame.Nodes.size(), 2u);
    EXPECT_EQ(loaded->MainFrame.Nodes[0]->Implementation, random->Implementations[0].get());
    EXPECT_EQ(loaded->MainFrame.Nodes[1]->Implementation, random->Implementations[1].get());
    EXPECT_EQ(loaded->MainFrame.Nodes[1]->PortArray[1]->Type, PortType::Integer);
    ASSERT_TRUE(SaveCircuit(*loaded, PathOf("again.xml")));
    EXPECT_EQ(ReadBytes(PathOf("again.xml")), bytes);
}

TEST_F(CircuitWriterTest, WindowComesFromTheLiveWindowWhenThereIsOne) {
    Circuit& circuit = MakeSumCircuit();
    // The editor's reader answers for a circuit with a window only.
    bool windowOpen = false;
    LiveWindowGeometry() = [&](const Circuit&, int& x, int& y, int& width, int& height) {
        if (!windowOpen) return false;
        x = -5, y = 6, width = 640, height = 480;
        return true;
    };
    ASSERT_TRUE(SaveCircuit(circuit, PathOf("stored.xml")));
    EXPECT_NE(ReadBytes(PathOf("stored.xml")).find("X=\"312\" Y=\"140\" Width=\"800\""),
              std::string::npos);

    windowOpen = true;
    ASSERT_TRUE(SaveCircuit(circuit, PathOf("live.xml")));
    EXPECT_NE(ReadBytes(PathOf("live.xml"))
                  .find("<Window X=\"-5\" Y=\"6\" Width=\"640\" Height=\"480\"/>"),
              std::string::npos);
}

TEST_F(CircuitWriterTest, FailedSaveWritesNothingAndKeepsTheOldFile) {
    Circuit& circuit = MakeSumCircuit();
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken")));
    EXPECT_FALSE(SaveCircuit(circuit, PathOf("taken")));
    EXPECT_TRUE(QFileInfo(PathOf("taken")).isDir());
    EXPECT_FALSE(SaveCircuit(circuit, PathOf("no-such-folder/file.xml")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("taken")});

    if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
    // A folder that takes no new file, and a state folder where no copy of the old content can
    // be made either: the file is not written in place.
    ASSERT_TRUE(WriteBytes(PathOf("taken/old.xml"), "old bytes"));
    QFile::setPermissions(PathOf("taken"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(PathOf("taken")));
    EXPECT_FALSE(SaveCircuit(circuit, PathOf("taken/old.xml")));
    qputenv("XDG_STATE_HOME", stateHome);
    QFile::setPermissions(PathOf("taken"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadBytes(PathOf("taken/old.xml")), "old bytes");
}

TEST_F(CircuitWriterTest, PipeOfThatNameIsNeitherWrittenToNorReplaced) {
    // Even a pipe with a reader, which would take the bytes, is refused: a save makes files.
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const int reader = open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    QString failure;
    EXPECT_FALSE(SaveCircuit(MakeSumCircuit(), pipe, &failure));
    EXPECT_EQ(failure, QStringLiteral("“pipe” cannot be saved: it is a pipe, not a regular file"));
    // No writer ever opened it: the reader is at its end at once.
    char got[16];
    EXPECT_EQ(read(reader, got, sizeof got), 0);
    close(reader);
    EXPECT_TRUE(QFileInfo(pipe).isReadable() && !QFileInfo(pipe).isFile());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
              QStringList{QStringLiteral("pipe")});
}

} // namespace
} // namespace flow
