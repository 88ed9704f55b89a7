#pragma once
// What Edit → Find looks for in an object: a piece of a text drawn for it, whatever its case. A
// node offers its function's name (an instance its sub-circuit's), a constant also its value as
// shown, a pin also its name; a comment its text. The marks a shown number carries (a true minus,
// hair spaces between digit groups, a script e) count as what a user types for them.

#include "model/Records.h"

#include <QString>

namespace flow {

class FindText {
  public:
    explicit FindText(const QString& typed);
    bool Empty() const { return folded_.isEmpty(); }
    // Whether the text is part of `shown`.
    bool In(const QString& shown) const;

  private:
    QString folded_;
};

bool Matches(const Node& node, const FindText& text);
bool Matches(const Comment& comment, const FindText& text);

} // namespace flow
