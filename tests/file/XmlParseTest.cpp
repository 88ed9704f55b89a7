// Circuit-file text read into a tree of elements, texts, comments and instructions.

#include "support/Growth.h"

#include "file/XmlParse.h"
#include "file/XmlWrite.h"

#include <gtest/gtest.h>

namespace flow {
namespace {

std::vector<const XmlNode*> Children(const XmlNode* parent) {
    std::vector<const XmlNode*> children;
    for (const XmlNode* node = parent->FirstChild; node; node = node->NextSibling)
        children.push_back(node);
    return children;
}

TEST(XmlParseTest, KeepsElementsAttributesCommentsTextAndInstructionsInOrder) {
    XmlDocument document;
    ParseXml("<?xml version=\"1.0\"?>\n<!--top--><?app go?>\n<R b=\"2\" a=\"&lt;1&gt;\">\n"
             "  <A/>\n  <!-- c -->\n  text &amp; more<B x='&#10;'/><![CDATA[<raw>]]></R>",
             document);
    EXPECT_FALSE(document.SyntaxError);
    const auto top = Children(&document.Top);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0]->Kind, XmlKind::Comment);
    EXPECT_EQ(top[0]->Value, "top");
    EXPECT_EQ(top[1]->Kind, XmlKind::ProcessingInstruction);
    EXPECT_EQ(top[1]->Name, "app");
    EXPECT_EQ(top[1]->Value, "go");
    const XmlNode* root = RootElement(document);
    ASSERT_EQ(root, top[2]);
    ASSERT_EQ(root->Attributes.size(), 2u);
    EXPECT_EQ(root->Attributes[0].Name, "b");
    EXPECT_EQ(root->Attributes[1].Name, "a");
    EXPECT_EQ(AttributeValue(root, "a"), "<1>");
    EXPECT_EQ(AttributeValue(root, "missing"), "");

    // White space between elements is layout, not text; other text is kept whole.
    const auto inner = Children(root);
    ASSERT_EQ(inner.size(), 5u);
    EXPECT_EQ(inner[0]->Name, "A");
    EXPECT_EQ(inner[1]->Kind, XmlKind::Comment);
    EXPECT_EQ(inner[2]->Kind, XmlKind::Text);
    EXPECT_EQ(inner[2]->Value, "\n  text & more");
    EXPECT_EQ(AttributeValue(inner[3], "x"), "\n");
    EXPECT_EQ(inner[4]->Value, "<raw>");
    EXPECT_EQ(FirstChildElement(root, "B"), inner[3]);
    EXPECT_EQ(FirstChildElement(root, "b"), nullptr);
}

TEST(XmlParseTest, DetectsEncodingFromByteOrderMarkAndDeclaration) {
    // UTF-16 little endian with its byte-order mark: <a v="é"/>
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string(u"<a v=\"\u00E9\"/>")) {
        utf16 += char(c & 0xFF);
        utf16 += char(c >> 8);
    }
    XmlDocument wide;
    ParseXml(utf16, wide);
    ASSERT_NE(RootElement(wide), nullptr);
    EXPECT_EQ(AttributeValue(RootElement(wide), "v"), "\xC3\xA9");

    XmlDocument latin;
    ParseXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\xE9\"/>", latin);
    ASSERT_NE(RootElement(latin), nullptr);
    EXPECT_EQ(AttributeValue(RootElement(latin), "v"), "\xC3\xA9");

    // Without a declaration the bytes are UTF-8, so a lone Latin-1 byte is an error.
    XmlDocument plain;
    ParseXml("<a v=\"\xE9\"/>", plain);
    EXPECT_TRUE(plain.SyntaxError);
}

TEST(XmlParseTest, SyntaxErrorKeepsWhatCameBefore) {
    XmlDocument document;
    ParseXml("<R><A n=\"1\"/><B n=\"2\"><C n=\"3\"/><D n=\"4", document);
    EXPECT_TRUE(document.SyntaxError);
    const XmlNode* root = RootElement(document);
    ASSERT_NE(root, nullptr);
    const XmlNode* b = FirstChildElement(root, "B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(AttributeValue(FirstChildElement(b, "C"), "n"), "3");
    EXPECT_EQ(FirstChildElement(b, "D"), nullptr);

    XmlDocument garbage;
    const char junk[] = "\x00\x01\x02\xFF garbage";
    ParseXml(std::string_view(junk, sizeof junk - 1), garbage);
    EXPECT_TRUE(garbage.SyntaxError);
    EXPECT_EQ(RootElement(garbage), nullptr);
}

// Built, walked and freed in one pass each: sixteen times the depth takes about sixteen times
// as long, and no depth exhausts the stack.
TEST(XmlParseTest, DeepNestingIsBuiltWrittenAndFreedWithoutRecursion) {
    constexpr int depth = 100000;
    const test::Growth growth = test::MeasureGrowth(
        [](int size) {
            std::string bytes;
            for (int i = 0; i < size; ++i)
                bytes += "<e>";
            for (int i = 0; i < size; ++i)
                bytes += "</e>";
            return test::CpuSecondsOf([&] {
                XmlDocument document;
                ParseXml(bytes, document);
                EXPECT_FALSE(document.SyntaxError);
                int levels = 0;
                for (const XmlNode* node = RootElement(document); node; node = node->FirstChild)
                    ++levels;
                EXPECT_EQ(levels, size);
            });
        },
        depth / test::kSizeRatio, depth);
    EXPECT_LT(growth.Ratio(), test::kLinearGrowthLimit) << growth;

    // Writing walks the tree the same way; a few thousand levels keep the output small.
    XmlDocument nested;
    XmlNode* node = &nested.Top;
    for (int i = 0; i < 3000; ++i)
        node = AppendElement(node, "e");
    const std::string written = WriteXml(nested);
    EXPECT_NE(written.find(std::string(2 * 2999, ' ') + "<e/>\r\n"), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 6), "</e>\r\n");
}

} // namespace
} // namespace flow
