// The account of what a read left out, beside the circuit the format's rules still build.

#include "SampleFiles.h"
#include "file/CircuitReader.h"
#include "file/StartTagScan.h"

#include <gtest/gtest.h>

namespace flow {
namespace {

using namespace flow::test;

class ReadLossesTest : public testing::Test {
  protected:
    void TearDown() override { ForgetCircuits(); }
    Circuit* Load(std::string_view bytes, ReadLosses& losses) {
        return LoadBytes(folder, bytes, losses);
    }
    QTemporaryDir folder;
};

TEST_F(ReadLossesTest, EveryLossIsAccountedWhileTheReadingRulesStay) {
    ReadLosses intact;
    ASSERT_NE(Load(kSumFile, intact), nullptr);
    EXPECT_FALSE(intact.Any());

    // A stray "&" in the Plus node's line: what came before is read, the rest is counted.
    std::string cut = kSumFile;
    cut.insert(cut.find("<Node ID=\"4\"") + 5, " &");
    ReadLosses stopped;
    Circuit* partial = Load(cut, stopped);
    ASSERT_NE(partial, nullptr);
    EXPECT_EQ(partial->MainFrame.Nodes.size(), 2u);
    EXPECT_EQ(DescribeLosses(QStringLiteral("sum.xml"), stopped),
              QStringLiteral("“sum.xml” is not well-formed XML from line 19: only the part before "
                             "it was read. 2 nodes and 3 wires after that line were not read."));
    EXPECT_EQ(stopped.StoppedAt(), QStringLiteral("line 19: not well-formed (invalid token)"));

    ReadLosses foreign;
    ASSERT_NE(Load("<html><body>hi</body></html>", foreign), nullptr);
    EXPECT_TRUE(foreign.NoMainFrame);
    EXPECT_EQ(DescribeLosses(QStringLiteral("other.xml"), foreign),
              QStringLiteral("“other.xml” is not a Flowlattice circuit: its root element is "
                             "<html>."));

    // An unknown function, a wire to it, a repeated wire, unknown elements in three places.
    ReadLosses dropped;
    Circuit* read = Load(FileWithFrame("<Node ID=\"1\" Function=\"Frob\"/>"
                                       "<Node ID=\"2\" Function=\"Print\"><Gadget/></Node>"
                                       "<Node ID=\"3\" Function=\"Constant\"><Integer Value=\"1\"/>"
                                       "</Node><Wire Source=\"1/1\" Destination=\"2/1\"/>"
                                       "<Wire Source=\"3/1\" Destination=\"2/1\"/>"
                                       "<Wire Source=\"3/1\" Destination=\"2/1\"/><Frame/>"),
                         dropped);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->MainFrame.Nodes.size(), 2u);
    EXPECT_EQ(read->MainFrame.Wires.size(), 1u);
    EXPECT_EQ(dropped.NodesLeftOut, 1u);
    EXPECT_EQ(dropped.UnknownFunctions, QStringList({"Frob"}));
    EXPECT_EQ(dropped.WiresLeftOut, 2u);
    EXPECT_EQ(dropped.SkippedElements, QStringList({"Gadget", "Frame"}));
    EXPECT_EQ(dropped.StopLine, 0);

    // Tags cut between the pieces a file is scanned in are counted once, whole.
    StartTagScan scan;
    for (std::string_view piece : {"<No", "de/><", "Wire/><Wi", "re", " x/><!-- -->"})
        scan.Feed(piece);
    EXPECT_EQ(scan.Counts(), (std::map<std::string, std::size_t>{{"Node", 1}, {"Wire", 2}}));
}

} // namespace
} // namespace flow
