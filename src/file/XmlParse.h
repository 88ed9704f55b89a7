#pragma once
// Building a document tree from XML bytes with expat. The encoding comes from the byte-order
// mark or the declaration (UTF-8 when neither names one). A syntax error ends the parse and
// keeps the tree built before it: every element whose start tag was complete is there, with its
// attributes. Text made only of white space between elements is layout and is not kept.

#include "file/XmlTree.h"

#include <QString>

namespace flow {

void ParseXml(std::string_view bytes, XmlDocument& document);
// False when the file is not a regular file, cannot be opened or is empty; the document then
// stays empty. Syntax errors do not count as failure (see XmlDocument::SyntaxError).
bool ParseXmlFile(const QString& fileName, XmlDocument& document);

} // namespace flow
