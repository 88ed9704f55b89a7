#pragma once
// A value as a slot holds it, taken out to be sent on later: what a loop carries from one
// iteration to the next, what Switch, Merge and Select pass on untouched, and what the
// recording of a run keeps of each firing's inputs and outputs.

#include "model/Records.h"

#include <QString>

namespace flow {

struct Token {
    Int Value = 0;
    QString Text;
    int Type = PortType::Generic;
    bool Empty = true; // nothing
};

// The token as a printed line would show it: "True", "42", "2.5", the text itself, or
// "nothing".
QString TokenText(const Token& token);

} // namespace flow
