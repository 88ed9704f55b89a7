#pragma once
// The value typed into a constant, read strictly: the file format's lenient number reading
// (text that is no number reads as 0, digits beyond the range wrap) is for files, not for what
// a person typed.

#include "model/Records.h"

namespace flow {

// What the first port of a constant or input holds once the typed text is stored, or why it is
// not stored.
struct TypedValue {
    Int Number = 0;
    QString Text;
    // Not empty when the text is no value of the constant's type: the port keeps its value,
    // and this says so in the status bar.
    QString Refusal;
};

// "a Boolean", "an Integer", "a Real", "a String".
QString TypeWithArticle(int type);
// The text read strictly as a value of the type: an Integer or a Real as below, a Boolean from
// "True" or "False" (in any letter case) or "1" or "0", a String as it is. The refusal reads
// "“text” is not an Integer".
TypedValue ReadTypedValue(int type, const QString& typed);
// The text an edit of the value starts from; Booleans read "True" or "False".
QString EditTextOf(const Node& node);
// The whole text, blanks around it aside, must be one number of an Integer or Real constant's
// type: within the 64-bit range for Integer, finite for Real. The text the edit started from
// is always taken back unchanged.
TypedValue ValueTypedInto(const Node& node, const QString& typed);

} // namespace flow
