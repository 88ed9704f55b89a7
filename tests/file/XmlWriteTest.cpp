// Trees written as circuit-file text: the layout of lines, and what XML cannot hold.

#include "file/XmlWrite.h"
#include "file/XmlParse.h"

#include <gtest/gtest.h>

namespace flow {
namespace {

TEST(XmlWriteTest, LaysOutLinesIndentationCommentsAndEscapes) {
    XmlDocument document;
    AppendXmlComment(&document.Top, " Banner   with    blanks        ");
    XmlNode* root = AppendElement(&document.Top, "R");
    XmlNode* child = AppendElement(root, "C");
    SetAttribute(child, "A", "&<>\"'\n\r\tx");
    SetAttribute(child, "B", "first");
    SetAttribute(child, "B", "second");
    AppendXmlNode(AppendElement(root, "T"), XmlKind::Text, {}, "a<b");
    AppendXmlComment(root, " inner ");
    EXPECT_EQ(WriteXml(document),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "\r\n"
              "<!-- Banner with blanks -->\r\n"
              "\r\n"
              "<R>\r\n"
              "  <C A=\"&amp;&lt;&gt;&quot;&apos;&#10;&#13;&#9;x\" B=\"second\"/>\r\n"
              "  <T>\r\n"
              "    a&lt;b\r\n"
              "  </T>\r\n"
              "  <!-- inner -->\r\n"
              "</R>\r\n");
}

TEST(XmlWriteTest, CharactersXmlCannotHoldAreReplacedSoTheFileStaysReadable) {
    XmlDocument document;
    XmlNode* root = AppendElement(&document.Top, "R");
    SetAttribute(root, "A",
                 std::string("a\x01"
                             "b\xEF\xBF\xBE"
                             "c\xEF\xBF\xBD"));
    AppendElement(root, "After");
    const std::string written = WriteXml(document);
    EXPECT_NE(written.find("A=\"a\xEF\xBF\xBD"
                           "b\xEF\xBF\xBD"
                           "c\xEF\xBF\xBD\""),
              std::string::npos);
    XmlDocument reread;
    ParseXml(written, reread);
    EXPECT_FALSE(reread.SyntaxError);
    EXPECT_NE(FirstChildElement(RootElement(reread), "After"), nullptr);
}

} // namespace
} // namespace flow
