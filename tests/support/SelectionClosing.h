#pragma once
// Random selections that can become a sub-circuit, and files read back, for the randomised
// sub-circuit and loop tests.

#include "model/Records.h"

#include <QString>

#include <string>

namespace flow::test {

// Selects, besides the selected nodes of the main frame, every node on a path from one of them
// to another: an instance made of them then never feeds itself through the nodes around it,
// which types cannot be resolved across.
void CloseSelection(Circuit& circuit);

// The bytes a circuit file saves as once read: written to a file in the folder, loaded and
// saved again. Empty when it does not load.
std::string ResavedBytes(const std::string& bytes, const QString& folder);

} // namespace flow::test
