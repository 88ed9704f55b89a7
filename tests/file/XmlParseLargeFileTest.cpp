// Files far larger than any drawn circuit: one enormous token, a sea of blanks.

#include "SampleFiles.h"
#include "support/Files.h"
#include "support/Growth.h"

#include "file/CircuitReader.h"
#include "file/XmlParse.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace flow {
namespace {

using namespace flow::test;

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class XmlParseLargeFileTest : public testing::Test {
  protected:
    void TearDown() override { ForgetCircuits(); }
    QTemporaryDir folder;
};

TEST_F(XmlParseLargeFileTest, LongAttributeAndLongCommentLoadInLinearTime) {
    constexpr std::size_t size = 20u << 20;
    const auto fileOf = [](std::size_t length) {
        const std::string text(length, 'a');
        return FileWithFrame("<Comment X=\"1\" Y=\"2\" Text=\"" + text + "\"/>\n<!--" + text +
                             "-->\n<Node ID=\"1\" Function=\"Print\"/>\n");
    };
    // Fed in fixed pieces, each token took time growing with the square of its length (about
    // ten seconds for the large one here); parsed whole, the time grows with the length.
    Circuit* circuit = nullptr;
    const Growth growth = MeasureGrowth(
        [&](int length) {
            ForgetCircuits();
            const QString name = folder.filePath(QStringLiteral("long.xml"));
            EXPECT_TRUE(WriteBytes(name, fileOf(std::size_t(length))));
            return CpuSecondsOf([&] { circuit = LoadCircuit(name); });
        },
        int(size / kSizeRatio), int(size));
    ASSERT_NE(circuit, nullptr);
    ASSERT_EQ(circuit->MainFrame.Comments.size(), 1u);
    EXPECT_EQ(circuit->MainFrame.Comments[0]->Text.size(), qsizetype(size));
    EXPECT_EQ(circuit->MainFrame.Nodes.size(), 1u);
    EXPECT_LT(growth.Ratio(), kLinearGrowthLimit) << growth;

    // Cut inside the long comment: what came before is still read, and the stop is reported.
    const QString cut = folder.filePath(QStringLiteral("cut.xml"));
    const std::string file = fileOf(size);
    ASSERT_TRUE(WriteBytes(cut, file.substr(0, file.find("<!--") + size / 2)));
    QString stoppedAt;
    Circuit* partial = LoadCircuit(cut, &stoppedAt);
    ASSERT_NE(partial, nullptr);
    EXPECT_EQ(partial->MainFrame.Comments.size(), 1u);
    EXPECT_TRUE(partial->MainFrame.Nodes.empty());
    EXPECT_FALSE(stoppedAt.isEmpty());
}

TEST_F(XmlParseLargeFileTest, BlanksBetweenElementsCostNoMemory) {
    // Written in pieces, so that the test itself holds little.
    const QString name = folder.filePath(QStringLiteral("blank.xml"));
    ASSERT_TRUE(WriteBytes(name, "<Flowlattice><MainFrame><Node ID=\"1\" Function=\"Print\"/>"));
    const std::string blanks = std::string(1 << 20, ' ') + "\r\n\t";
    for (int i = 0; i < 128; ++i)
        ASSERT_TRUE(AppendBytes(name, blanks));
    ASSERT_TRUE(AppendBytes(name, "<Node ID=\"2\" Function=\"Print\"/>"));
    ASSERT_TRUE(AppendBytes(name, blanks));
    ASSERT_TRUE(AppendBytes(name, "x</MainFrame></Flowlattice>"));

    const long before = PeakKilobytes();
    XmlDocument document;
    ASSERT_TRUE(ParseXmlFile(name, document));
    const long grown = PeakKilobytes() - before;
    EXPECT_LT(grown, 32 * 1024) << "kilobytes";
    const XmlNode* frame = FirstChildElement(RootElement(document), "MainFrame");
    ASSERT_NE(frame, nullptr);
    // The blanks between the nodes are gone; the text that ends in "x" stays a text node, with
    // the start of its blanks.
    ASSERT_EQ(frame->FirstChild->NextSibling->Name, "Node");
    const XmlNode* text = frame->LastChild;
    ASSERT_EQ(text->Kind, XmlKind::Text);
    EXPECT_EQ(text->Value.back(), 'x');
    EXPECT_EQ(text->Value.substr(0, 3), "   ");
    EXPECT_LT(text->Value.size(), blanks.size());
}

} // namespace
} // namespace flow
