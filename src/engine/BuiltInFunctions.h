#pragma once
// The built-in functions: one table entry each, naming its routines, which is why the table is
// the engine's and not the model's. A new function is one entry here and one routine in
// engine/Routines.cpp.

#include "model/Catalogue.h"

namespace flow {

// The built-in functions in catalogue order.
const std::vector<FunctionEntry>& BuiltInFunctions();

// Registers the built-in functions; later calls do nothing. Functions of one's own
// (RegisterFunction) go in after them.
void RegisterCatalogue();

} // namespace flow
