#pragma once
// Writing a document tree as the bytes of a circuit file: the UTF-8 byte-order mark and
// declaration, CR LF line ends, every node on a line of its own indented by two blanks per level
// below the root, empty elements self-closing, an empty line after the declaration and before
// the root element, and every run of blanks inside a comment reduced to one blank.

#include "file/XmlTree.h"

namespace flow {

std::string WriteXml(const XmlDocument& document);

// Attribute escaping: & < > " ', the line ends LF and CR, and tab, each of which a reader's
// attribute normalisation would otherwise turn into a blank.
void AppendEscapedAttribute(std::string& out, std::string_view value);

} // namespace flow
