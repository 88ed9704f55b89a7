#include "file/XmlTree.h"

namespace flow {

XmlNode* AppendXmlNode(XmlNode* parent, XmlKind kind, std::string_view name,
                       std::string_view value) {
    XmlDocument* document = parent->Owner;
    XmlNode& node = document->Store.emplace_back();
    node.Kind = kind;
    node.Name = name;
    node.Value = value;
    node.Owner = document;
    node.Parent = parent;
    if (parent->LastChild)
        parent->LastChild->NextSibling = &node;
    else
        parent->FirstChild = &node;
    parent->LastChild = &node;
    return &node;
}

XmlNode* AppendElement(XmlNode* parent, std::string_view name) {
    return AppendXmlNode(parent, XmlKind::Element, name);
}

XmlNode* AppendXmlComment(XmlNode* parent, std::string_view text) {
    return AppendXmlNode(parent, XmlKind::Comment, {}, text);
}

void SetAttribute(XmlNode* element, std::string_view name, std::string_view value) {
    for (XmlAttribute& attribute : element->Attributes) {
        if (attribute.Name == name) {
            attribute.Value = value;
            return;
        }
    }
    element->Attributes.push_back({std::string(name), std::string(value)});
}

const XmlNode* RootElement(const XmlDocument& document) {
    for (const XmlNode* node = document.Top.FirstChild; node; node = node->NextSibling)
        if (node->Kind == XmlKind::Element) return node;
    return nullptr;
}

const XmlNode* FirstChildElement(const XmlNode* parent, std::string_view name) {
    for (const XmlNode* node = parent->FirstChild; node; node = node->NextSibling)
        if (node->Kind == XmlKind::Element && node->Name == name) return node;
    return nullptr;
}

std::string_view AttributeValue(const XmlNode* element, std::string_view name) {
    for (const XmlAttribute& attribute : element->Attributes)
        if (attribute.Name == name) return attribute.Value;
    return {};
}

} // namespace flow
