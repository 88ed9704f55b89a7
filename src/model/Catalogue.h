#pragma once
// The catalogue of functions that nodes are made from: the registry every function goes into,
// and the description of a function that registers it. The built-in functions' table is the
// engine's (engine/BuiltInFunctions.h), since it names their routines.

#include "model/Records.h"

#include <map>

namespace flow {

struct CatalogueState {
    std::map<QString, std::unique_ptr<FunctionDef>> ByName;
    std::vector<FunctionDef*> InOrder; // registration order
    FunctionDef* Constant = nullptr;
    Implementation* ConstantBoolean = nullptr;
    Implementation* ConstantInteger = nullptr;
    Implementation* ConstantReal = nullptr;
    Implementation* ConstantString = nullptr;
    FunctionDef* Input = nullptr;
};

CatalogueState& Catalogue();

FunctionDef* FindFunction(const QString& name); // exact, case-sensitive; none if unknown

// Everything a function is, as one entry of a table.
struct FunctionEntry {
    struct PortEntry {
        int Direction = flow::Direction::In;
        QString Label;
        Int X = 0, Y = 0; // in node units from the node's origin
    };
    struct ImplementationEntry {
        const flow::Routine* Routine = nullptr;
        std::vector<int> Types; // one per port, in port order
    };
    QString Name;
    // Paths in node units from the node's origin (render/ShapeNotation.h); the symbol may
    // instead be "$text,size,x,y", bold text centred at x, y.
    QString Shape, Symbol;
    Int Width = 0, Height = 0;
    std::vector<PortEntry> Ports; // in port order
    // Type resolution picks among them; none: a node of it can be drawn and saved, never run.
    std::vector<ImplementationEntry> Implementations;
    std::vector<AddNodeItem> MenuItems; // none: the function is not in the add-node menu
    QString Description;                // one line
};

// Adds the function at the end of the catalogue; none if its name is taken.
FunctionDef* RegisterFunction(const FunctionEntry& entry);

} // namespace flow
