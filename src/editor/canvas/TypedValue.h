#pragma once
// The value typed into a constant, read strictly: the file format's lenient number reading
// (text that is no number reads as 0, digits beyond the range wrap) is for files, not for what
// a person typed.

#include "model/Records.h"

namespace flow {

// What the constant's first port holds once the typed text is stored, or why it is not stored.
struct TypedValue {
    Int Number = 0;
    QString Text;
    // Not empty when the text is no value of the constant's type: the port keeps its value,
    // and this says so in the status bar.
    QString Refusal;
};

// The text an edit of the constant's value starts from.
QString EditTextOf(const Node& node);
// The whole text, blanks around it aside, must be one number of an Integer or Real constant's
// type: within the 64-bit range for Integer, finite for Real. The text the edit started from
// is always taken back unchanged.
TypedValue ValueTypedInto(const Node& node, const QString& typed);

} // namespace flow
