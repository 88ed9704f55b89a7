#pragma once
// Building a document tree from XML bytes with expat. The encoding comes from the byte-order
// mark or the declaration (UTF-8 when neither names one). A syntax error ends the parse and
// keeps the tree built before it: every element whose start tag was complete is there, with its
// attributes. Text made only of white space between elements is layout and is not kept.

#include "file/XmlTree.h"

#include <QString>

namespace flow {

// Nodes nested deeper than keepDepth (the top level is depth 0, the root element's children
// depth 1) are parsed, for well-formedness, but left out of the tree: a reader that looks no
// deeper then pays nothing for deep nesting.
constexpr std::size_t kEveryDepth = std::size_t(-1);

void ParseXml(std::string_view bytes, XmlDocument& document, std::size_t keepDepth = kEveryDepth);
// False when the file is not a regular file, cannot be opened or is empty; the document then
// stays empty. Syntax errors do not count as failure (see XmlDocument::SyntaxError).
bool ParseXmlFile(const QString& fileName, XmlDocument& document,
                  std::size_t keepDepth = kEveryDepth);

} // namespace flow
