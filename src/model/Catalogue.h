#pragma once
// The fixed catalogue of built-in functions that nodes are made from.

#include "model/Records.h"

#include <map>

namespace flow {

struct CatalogueState {
    std::map<QString, std::unique_ptr<FunctionDef>> ByName;
    std::vector<FunctionDef*> InOrder;  // registration order
    FunctionDef* Current = nullptr;     // the entry AddPortTemplate and AddImplementation extend
    FunctionDef* Constant = nullptr;
    Implementation* ConstantBoolean = nullptr;
    Implementation* ConstantInteger = nullptr;
    Implementation* ConstantReal = nullptr;
    Implementation* ConstantString = nullptr;
};

CatalogueState& Catalogue();

// Registers the 13 built-in functions; later calls do nothing.
void RegisterCatalogue();

FunctionDef* FindFunction(const QString& name);  // exact, case-sensitive; none if unknown

FunctionDef* AddFunctionDef(const QString& name, const QString& shape, const QString& symbol,
                            Int width, Int height);
// Types beyond the current entry's port count are ignored.
Implementation* AddImplementation(const Routine* routine, int type1 = 0, int type2 = 0,
                                  int type3 = 0);

} // namespace flow
