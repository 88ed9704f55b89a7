#include "SampleFiles.h"
#include "support/Files.h"
#include "support/Growth.h"
#include "support/ModelFault.h"

#include "engine/Routines.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "file/XmlParse.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "model/ZoomRange.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <unistd.h>

namespace flow {
namespace {

using namespace flow::test;

class CircuitReaderTest : public testing::Test {
  protected:
    void TearDown() override { ForgetCircuits(); }
    // Loads the bytes and checks the model is sound; none when the load failed.
    Circuit* Load(std::string_view bytes) {
        Circuit* circuit = LoadBytes(folder, bytes);
        if (circuit) {
            EXPECT_EQ(ModelFault(*circuit), "");
        }
        return circuit;
    }
    Circuit* LoadFrame(std::string_view frameContent) { return Load(FileWithFrame(frameContent)); }
    // Seconds the load of the frame content takes, the circuit read in `loaded`; the circuits of
    // earlier loads are forgotten first.
    double TimedLoadFrame(std::string_view frameContent, Circuit*& loaded) {
        ForgetCircuits();
        const QString name = folder.filePath(QStringLiteral("timed.xml"));
        EXPECT_TRUE(WriteBytes(name, FileWithFrame(frameContent)));
        const double seconds = CpuSecondsOf([&] { loaded = LoadCircuit(name); });
        if (loaded) {
            EXPECT_EQ(ModelFault(*loaded), "");
        }
        return seconds;
    }
    QTemporaryDir folder;
};

// A Constant with a value element, as a line of a frame.
std::string Constant(int id, const char* element, const char* value) {
    return "<Node ID=\"" + std::to_string(id) + "\" Function=\"Constant\"><" + element +
           " Value=\"" + value + "\"/></Node>\n";
}

std::string Plain(const char* id, const char* function) {
    return std::string("<Node ID=\"") + id + "\" Function=\"" + function + "\"/>\n";
}

std::string WireLine(const char* source, const char* destination) {
    return std::string("<Wire Source=\"") + source + "\" Destination=\"" + destination + "\"/>\n";
}

TEST_F(CircuitReaderTest, SampleFileBuildsTheSumCircuitWithItsWindowAndCamera) {
    Circuit* circuit = Load(kSumFile);
    ASSERT_NE(circuit, nullptr);
    EXPECT_EQ(circuit->Saved.WindowX, 312);
    EXPECT_EQ(circuit->Saved.WindowY, 140);
    EXPECT_EQ(circuit->Saved.WindowWidth, 800);
    EXPECT_EQ(circuit->Saved.WindowHeight, 600);
    EXPECT_EQ(circuit->Saved.Magnification, 1.0f);
    ASSERT_EQ(circuit->MainFrame.Comments.size(), 1u);
    EXPECT_EQ(circuit->MainFrame.Comments[0]->Text, QStringLiteral("Sum\nof two"));
    EXPECT_EQ(circuit->MainFrame.Comments[0]->X, -120);
    ASSERT_EQ(circuit->MainFrame.Nodes.size(), 4u);
    EXPECT_EQ(NodeAt(*circuit, 0)->Implementation, Catalogue().ConstantInteger);
    EXPECT_EQ(PortOf(*circuit, 1, 1)->Value, 3);
    EXPECT_EQ(NodeAt(*circuit, 1)->Y, 20);
    EXPECT_EQ(NodeAt(*circuit, 3)->Function->Name, QStringLiteral("Print"));
    EXPECT_EQ(circuit->MainFrame.Wires.size(), 3u);
    EXPECT_EQ(PortOf(*circuit, 3, 1)->Source, PortOf(*circuit, 2, 3));
    EXPECT_EQ(PortOf(*circuit, 2, 3)->Type, PortType::Integer);
}

TEST_F(CircuitReaderTest, TextsValuesAndBooleanSpellings) {
    Circuit* circuit = LoadFrame(
        "<Comment X=\"5\" Y=\"-6\" Text=\"say \\&quot;hi\\&quot; C:\\\\dir \\q\\nline 2\\\"/>\n" +
        Constant(1, "Boolean", "True") + Constant(2, "Boolean", "1") +
        Constant(3, "Boolean", "true") + Constant(4, "Boolean", " True") +
        "<Node ID=\"5\" Function=\"Constant\"><Boolean/></Node>\n" +
        Constant(6, "Real", "3.14159265358979") + Constant(7, "Integer", "  -42abc") +
        Constant(8, "String", "tab\\tquote\\&quot;back\\\\slash") + Constant(9, "Real", "NaN"));
    ASSERT_NE(circuit, nullptr);
    EXPECT_EQ(circuit->MainFrame.Comments[0]->Text,
              QStringLiteral("say \"hi\" C:\\dir \\q\nline 2\\"));
    EXPECT_EQ(circuit->MainFrame.Comments[0]->Y, -6);
    std::vector<Int> booleans;
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(PortOf(*circuit, i, 1)->Type, PortType::Boolean);
        booleans.push_back(PortOf(*circuit, i, 1)->Value);
    }
    EXPECT_EQ(booleans, (std::vector<Int>{1, 1, 0, 0, 0}));
    EXPECT_EQ(std::bit_cast<double>(PortOf(*circuit, 5, 1)->Value), 3.14159265358979);
    EXPECT_EQ(PortOf(*circuit, 6, 1)->Value, -42);
    EXPECT_EQ(PortOf(*circuit, 7, 1)->Text, QStringLiteral("tab\tquote\"back\\slash"));
    EXPECT_TRUE(std::isnan(std::bit_cast<double>(PortOf(*circuit, 8, 1)->Value)));

    // Saved and read again, the Real keeps 6 significant digits and the texts come back whole.
    const QString again = folder.filePath(QStringLiteral("again.xml"));
    ASSERT_TRUE(SaveCircuit(*circuit, again));
    Circuit* reread = LoadCircuit(again);
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(std::bit_cast<double>(PortOf(*reread, 5, 1)->Value), 3.14159);
    EXPECT_EQ(reread->MainFrame.Comments[0]->Text, circuit->MainFrame.Comments[0]->Text);
    EXPECT_EQ(PortOf(*reread, 7, 1)->Text, PortOf(*circuit, 7, 1)->Text);
    EXPECT_EQ(PortOf(*reread, 1, 1)->Value, 1);
}

TEST_F(CircuitReaderTest, ConstantValueMustBeTheFirstChild) {
    Circuit* circuit = LoadFrame(
        "<Node ID=\"1\" Function=\"Constant\"><!-- note --><Integer Value=\"7\"/></Node>\n"
        "<Node ID=\"2\" Function=\"Constant\"><Other/><Integer Value=\"7\"/></Node>\n"
        "<Node ID=\"3\" Function=\"Constant\"/>\n"
        "<Node ID=\"4\" Function=\"Plus\"><Integer Value=\"7\"/></Node>\n" +
        Constant(5, "Integer", "7"));
    ASSERT_NE(circuit, nullptr);
    ASSERT_EQ(circuit->MainFrame.Nodes.size(), 5u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(NodeAt(*circuit, i)->Implementation, nullptr);
        EXPECT_EQ(PortOf(*circuit, i, 1)->Type, PortType::Generic);
        EXPECT_EQ(PortOf(*circuit, i, 1)->Value, 0);
    }
    EXPECT_EQ(PortOf(*circuit, 4, 1)->Value, 7);

    // A constant without a value is written back without one.
    const QString again = folder.filePath(QStringLiteral("again.xml"));
    ASSERT_TRUE(SaveCircuit(*circuit, again));
    const std::string bytes = ReadBytes(again);
    EXPECT_NE(bytes.find("<Node ID=\"1\" Function=\"Constant\" X=\"0\" Y=\"0\"/>"),
              std::string::npos);
    EXPECT_NE(bytes.find("<Node ID=\"4\" Function=\"Plus\" X=\"0\" Y=\"0\"/>"), std::string::npos);
}

TEST_F(CircuitReaderTest, WireEndsResolveOnlyToNodesReadBefore) {
    Circuit* circuit =
        LoadFrame(WireLine("10/1", "30/1") + // before its nodes: dropped
                  Constant(10, "Integer", "1") + Constant(10, "Integer", "2") + // duplicate ID
                  Plain("30", "Print") + Plain("0", "Print") + "<Node Function=\"Print\"/>\n" +
                  Plain("-4", "Print") + Plain("31", "Nonsense") + Plain("32", "Random") +
                  WireLine("10/1", "30/1") +                          // the later node with ID 10
                  WireLine("10/1/99", "0/1") +                        // ID 0: no wire
                  WireLine("10", "30/1") + WireLine("10/1", "31/1") + // no index; unknown function
                  WireLine("10/2", "30/1") + WireLine("10/0", "30/1") + // index out of range
                  WireLine("30/1", "10/1/77")); // reversed and three fields: already connected
    ASSERT_NE(circuit, nullptr);
    // Unknown function left out; Random is loaded as a node.
    ASSERT_EQ(circuit->MainFrame.Nodes.size(), 7u);
    EXPECT_EQ(NodeAt(*circuit, 6)->Function->Name, QStringLiteral("Random"));
    ASSERT_EQ(circuit->MainFrame.Wires.size(), 1u);
    const Wire& wire = *circuit->MainFrame.Wires[0];
    EXPECT_EQ(wire.Source, PortOf(*circuit, 1, 1));
    EXPECT_EQ(wire.Destination, PortOf(*circuit, 2, 1));
    // IDs 0 and missing both sit under 0; the negative ID stored nothing.
    EXPECT_EQ(circuit->FileIdTable.value(0), NodeAt(*circuit, 4));
    EXPECT_FALSE(circuit->FileIdTable.contains(-4));
    EXPECT_EQ(NodeByFileId(*circuit, 0), nullptr);
    // Fresh IDs in document order.
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_EQ(NodeAt(*circuit, i)->Id, Int(i) + 1);
}

TEST_F(CircuitReaderTest, ReversedWireGivesTheSameWireAndThreeFieldsUseTheFirstTwo) {
    Circuit* circuit =
        LoadFrame(Constant(1, "Integer", "4") + Plain("2", "Print") + WireLine("2/1/5", "1/1/9"));
    ASSERT_NE(circuit, nullptr);
    ASSERT_EQ(circuit->MainFrame.Wires.size(), 1u);
    EXPECT_EQ(circuit->MainFrame.Wires[0]->Source, PortOf(*circuit, 0, 1));
    EXPECT_EQ(circuit->MainFrame.Wires[0]->Destination, PortOf(*circuit, 1, 1));
}

TEST_F(CircuitReaderTest, EnormousIdsCostOneTableEntryEach) {
    Circuit* circuit =
        LoadFrame(Constant(1, "Integer", "1") +
                  "<Node ID=\"9223372036854775807\" Function=\"Print\"/>\n"
                  "<Node ID=\"1000000000000000\" Function=\"Print\"/>\n" +
                  WireLine("1/1", "9223372036854775807/1") + WireLine("1/1", "1000000000000000/1"));
    ASSERT_NE(circuit, nullptr);
    EXPECT_EQ(circuit->FileIdTable.size(), 3);
    EXPECT_EQ(circuit->MainFrame.Wires.size(), 2u);
    EXPECT_EQ(NodeAt(*circuit, 1)->Id, 2);
}

TEST_F(CircuitReaderTest, RenumbersIdsAndRewritesWireEnds) {
    Circuit* circuit = LoadFrame("<Comment Text=\"c\"/>\n" + Constant(40, "Integer", "8") +
                                 Plain("17", "Print") + WireLine("40/1", "17/1"));
    ASSERT_NE(circuit, nullptr);
    const QString again = folder.filePath(QStringLiteral("again.xml"));
    ASSERT_TRUE(SaveCircuit(*circuit, again));
    const std::string bytes = ReadBytes(again);
    EXPECT_NE(bytes.find("<Node ID=\"2\" Function=\"Constant\""), std::string::npos);
    EXPECT_NE(bytes.find("<Node ID=\"3\" Function=\"Print\""), std::string::npos);
    EXPECT_NE(bytes.find("<Wire Source=\"2/1\" Destination=\"3/1\"/>"), std::string::npos);
}

TEST_F(CircuitReaderTest, MagnificationThatIsNotAPositiveNumberKeepsOne) {
    for (const char* text : {"", "0", "-2", "NaN", "+Infinity", "1e300", "1e-300", "abc"}) {
        const std::string camera = std::string("<Camera X=\"3\" Y=\"4\"") +
                                   (*text ? std::string(" Magnification=\"") + text + "\"" : "") +
                                   "/>";
        Circuit* circuit = Load("<Flowlattice>" + camera + "</Flowlattice>");
        ASSERT_NE(circuit, nullptr) << text;
        EXPECT_EQ(circuit->Saved.Magnification, 1.0f) << text;
        EXPECT_EQ(circuit->Saved.ZoomLevel, 0.0f) << text;
        EXPECT_EQ(circuit->Saved.CameraX, 3) << text;
    }
    Circuit* quarter = Load("<Flowlattice><Camera Magnification=\"0.25\"/></Flowlattice>");
    ASSERT_NE(quarter, nullptr);
    EXPECT_EQ(quarter->Saved.Magnification, 0.25f);
    EXPECT_FLOAT_EQ(quarter->Saved.ZoomLevel, -2.0f);

    // Beyond the wheel's range the nearest end is taken, for the level and the magnification.
    const std::pair<const char*, float> beyond[] = {{"100000", kMaxZoomLevel},
                                                    {"3e38", kMaxZoomLevel},
                                                    {"1e-7", kMinZoomLevel},
                                                    {"1e-38", kMinZoomLevel}};
    for (const auto& [text, end] : beyond) {
        Circuit* far = Load(std::string("<Flowlattice><Camera Magnification=\"") + text +
                            "\"/></Flowlattice>");
        ASSERT_NE(far, nullptr);
        EXPECT_EQ(far->Saved.ZoomLevel, end) << text;
        EXPECT_EQ(far->Saved.Magnification, std::exp2(end)) << text;
    }
}

TEST_F(CircuitReaderTest, RootOfAnyNameMissingPartsAndWindowBeyondRange) {
    Circuit* circuit = Load("<Other><MainFrame/><Window X=\"99999999999\" Y=\"-99999999999\" "
                            "Width=\"640\"/><Window X=\"1\"/></Other>");
    ASSERT_NE(circuit, nullptr);
    EXPECT_EQ(circuit->Saved.WindowX, 2147483647);
    EXPECT_EQ(circuit->Saved.WindowY, -2147483647 - 1);
    EXPECT_EQ(circuit->Saved.WindowWidth, 640);
    EXPECT_EQ(circuit->Saved.WindowHeight, 0);
    EXPECT_EQ(circuit->Saved.Magnification, 1.0f);

    // Element names are matched exactly; a nested Frame is not read.
    Circuit* nested = Load("<Flowlattice><mainframe><Node Function=\"Print\"/></mainframe>"
                           "<MainFrame><Frame><Node Function=\"Print\"/></Frame>"
                           "<node Function=\"Print\"/></MainFrame></Flowlattice>");
    ASSERT_NE(nested, nullptr);
    EXPECT_TRUE(nested->MainFrame.Nodes.empty());
}

TEST_F(CircuitReaderTest, TruncatedFileKeepsWhatCameBefore) {
    const std::size_t cut = kSumFile.find("<Wire Source=\"3/1\"") + 10;
    Circuit* circuit = Load(kSumFile.substr(0, cut));
    ASSERT_NE(circuit, nullptr);
    EXPECT_EQ(circuit->MainFrame.Nodes.size(), 4u);
    EXPECT_EQ(circuit->MainFrame.Wires.size(), 1u);
    EXPECT_EQ(circuit->Saved.WindowWidth, 800);
}

// Skipped in one pass: sixteen times the depth takes about sixteen times as long.
TEST_F(CircuitReaderTest, DeepNestingInsideTheFrameIsSkippedQuickly) {
    Circuit* circuit = nullptr;
    const Growth growth = MeasureGrowth(
        [&](int depth) {
            std::string deep;
            for (int i = 0; i < depth; ++i)
                deep += "<Node>";
            for (int i = 0; i < depth; ++i)
                deep += "</Node>";
            return TimedLoadFrame(Plain("1", "Print") + deep + Plain("2", "Print"), circuit);
        },
        100000 / kSizeRatio, 100000);
    ASSERT_NE(circuit, nullptr);
    EXPECT_EQ(circuit->MainFrame.Nodes.size(), 2u); // the outer Node has no Function
    EXPECT_LT(growth.Ratio(), kLinearGrowthLimit) << growth;
}

TEST_F(CircuitReaderTest, NothingBelowTheValueElementsIsKeptAndAStopIsReported) {
    // A deep pile under a constant's value costs the tree nothing, and the value still counts.
    XmlDocument document;
    std::string pile = "<R><F><N><V>";
    for (int i = 0; i < 50000; ++i)
        pile += "<x><!-- c -->t";
    for (int i = 0; i < 50000; ++i)
        pile += "</x>";
    ParseXml(pile + "</V><W/></N></F></R>", document, 3);
    EXPECT_FALSE(document.SyntaxError);
    EXPECT_EQ(document.Store.size(), 5u); // R, F, N, V and W
    const XmlNode* n = FirstChildElement(FirstChildElement(RootElement(document), "F"), "N");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->FirstChild->Name, "V");
    EXPECT_EQ(n->FirstChild->FirstChild, nullptr);
    EXPECT_EQ(n->LastChild->Name, "W");

    QString stoppedAt = QStringLiteral("unchanged");
    const QString whole = folder.filePath(QStringLiteral("whole.xml"));
    ASSERT_TRUE(WriteBytes(whole, kSumFile));
    ASSERT_NE(LoadCircuit(whole, &stoppedAt), nullptr);
    EXPECT_EQ(stoppedAt, QStringLiteral("unchanged"));
    const QString cut = folder.filePath(QStringLiteral("cut.xml"));
    ASSERT_TRUE(WriteBytes(cut, kSumFile.substr(0, kSumFile.find("<Wire Source=\"3/1\"") + 10)));
    ASSERT_NE(LoadCircuit(cut, &stoppedAt), nullptr);
    EXPECT_TRUE(stoppedAt.startsWith(QStringLiteral("line 23: "))) << qPrintable(stoppedAt);
}

TEST_F(CircuitReaderTest, ChainWiredFromItsEndLoadsInLinearTime) {
    // Wired from the end, every Plus is first fed an Integer and a Real, which no implementation
    // takes, until the head wire makes the whole chain Real. Walked once per wire, the types
    // took time growing with the square of the length.
    constexpr int length = 20000;
    Circuit* circuit = nullptr;
    const Growth growth = MeasureGrowth(
        [&](int size) {
            std::string frame = Constant(1, "Real", "0.5");
            for (int i = 0; i < size; ++i)
                frame += Plain(std::to_string(i + 2).c_str(), "Plus");
            for (int i = size - 1; i >= 0; --i) {
                const std::string source = i == 0 ? "1/1" : std::to_string(i + 1) + "/3";
                const std::string destination = std::to_string(i + 2);
                frame += WireLine(source.c_str(), (destination + "/1").c_str());
                frame += WireLine("1/1", (destination + "/2").c_str());
            }
            return TimedLoadFrame(frame, circuit);
        },
        length / kSizeRatio, length);
    ASSERT_NE(circuit, nullptr);
    ASSERT_EQ(circuit->MainFrame.Nodes.size(), std::size_t(length) + 1);
    for (const auto& node : circuit->MainFrame.Nodes)
        ASSERT_EQ(node->PortArray[1]->Type, PortType::Real);
    EXPECT_EQ(circuit->MainFrame.Nodes.back()->Implementation->Routine->Name,
              QStringLiteral("Thread_Plus_RRR()"));
    EXPECT_LT(growth.Ratio(), kLinearGrowthLimit) << growth;
}

TEST_F(CircuitReaderTest, UnreadableInputGivesNoneAndLeavesNoCircuit) {
    const char binary[] = "\x7F"
                          "ELF\x02\x01\x01\x00\x00\x00\xFF\xFE\x00<\x00";
    EXPECT_EQ(Load(std::string_view(binary, sizeof binary - 1)), nullptr);
    EXPECT_EQ(Load(""), nullptr);
    EXPECT_EQ(Load("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- only a comment -->"), nullptr);
    EXPECT_EQ(LoadCircuit(folder.path()), nullptr);
    EXPECT_EQ(LoadCircuit(folder.filePath(QStringLiteral("missing.xml"))), nullptr);
    EXPECT_EQ(LoadCircuit(QStringLiteral("/dev/zero")), nullptr);
    EXPECT_TRUE(Circuits().empty());

    if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
    const QString locked = folder.filePath(QStringLiteral("locked.xml"));
    ASSERT_TRUE(WriteBytes(locked, kSumFile));
    QFile::setPermissions(locked, {});
    EXPECT_EQ(LoadCircuit(locked), nullptr);
}

} // namespace
} // namespace flow
