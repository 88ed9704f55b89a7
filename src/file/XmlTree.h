#pragma once
// A small XML document tree: elements with their attributes in order, comments, text and
// processing instructions. Names and texts are UTF-8, as the parser delivers them and as files
// are written.

#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace flow {

struct XmlDocument;

enum class XmlKind { Document, Element, Comment, Text, ProcessingInstruction };

struct XmlAttribute {
    std::string Name;
    std::string Value; // unescaped
};

struct XmlNode {
    XmlKind Kind = XmlKind::Element;
    std::string Name;                     // element name or processing-instruction target
    std::string Value;                    // comment or text content, processing-instruction data
    std::vector<XmlAttribute> Attributes; // in document order
    XmlDocument* Owner = nullptr;
    XmlNode* Parent = nullptr;
    XmlNode* FirstChild = nullptr;
    XmlNode* LastChild = nullptr;
    XmlNode* NextSibling = nullptr;
};

// Every node lives in one flat store owned by the document, so trees of any depth are built
// and freed without recursion.
struct XmlDocument {
    XmlDocument() {
        Top.Kind = XmlKind::Document;
        Top.Owner = this;
    }
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    XmlNode Top; // its children are the comments, instructions and root element at top level
    std::deque<XmlNode> Store;
    // Set by the parser when the bytes were not well-formed; the tree holds what came before.
    bool SyntaxError = false;
    std::string ErrorText;
    long ErrorLine = 0;
    // After a syntax error: how many start tags of each name the bytes after the last complete
    // tag hold, by a plain scan, so that a reader can say what it did not get to.
    std::map<std::string, std::size_t> UnreadStartTags;
};

XmlNode* AppendXmlNode(XmlNode* parent, XmlKind kind, std::string_view name,
                       std::string_view value = {});
XmlNode* AppendElement(XmlNode* parent, std::string_view name);
XmlNode* AppendXmlComment(XmlNode* parent, std::string_view text);
// Adds the attribute at the end, or replaces the value of one of the same name.
void SetAttribute(XmlNode* element, std::string_view name, std::string_view value);

// The first element at the document's top level, whatever its name; none in an empty document.
const XmlNode* RootElement(const XmlDocument& document);
// The first child element of that exact name, or none.
const XmlNode* FirstChildElement(const XmlNode* parent, std::string_view name);
// The attribute's value; empty when the element has no such attribute.
std::string_view AttributeValue(const XmlNode* element, std::string_view name);

} // namespace flow
