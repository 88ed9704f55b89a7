#pragma once
// Circuit files made to strain what reads, runs and writes sub-circuits: long chains of
// boundaries, deep nesting, many frames, instances with very many pins. Generated as text, so
// that the sizes are the test's to choose and nothing large is stored.

#include "model/Records.h"

#include <string>

namespace flow::test {

// A new circuit read from the text; a test fails where the read left anything out.
Circuit& ReadWhole(const std::string& text);

// "Pass 1" hands its input straight to its output; "Pass k" hands it through one instance of
// "Pass k-1". The main frame sends the Integer 7 through `inSeries` instances of "Pass
// `levels`", one after the other, into a Print: the value crosses 2 · levels · inSeries
// boundaries and the run prints 7.
std::string PassThroughChainText(int levels, int inSeries);

// `frames` sub-circuits, none of them used: each a pass-through with a Plus and a comment.
std::string ManyFramesText(int frames);

// One sub-circuit with `pins` input pins, each handed straight to an output pin of its own, and
// one instance of it in the main frame, every input fed by one constant 7 and the first output
// printed: a wire into each of its ports, and a run that prints 7.
std::string ManyPinsText(int pins);

} // namespace flow::test
