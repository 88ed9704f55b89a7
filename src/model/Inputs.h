#pragma once
// A program's inputs: Input nodes of the main frame, each with a name and a typed value that a
// run can be given from outside (the command line's --set, the editor's Start With Inputs).
// An input holds its value as a constant does; its name is the label of its one port, as a
// pin's is.

#include "model/Records.h"

#include <vector>

namespace flow {

bool IsInput(const Node& node);
// A node whose value is typed into it and kept on its port: a constant or an input.
bool HoldsValue(const Node& node);
// The type of the value a constant or an input holds; Generic while none is chosen.
int HeldType(const Node& node);

QString InputName(const Node& input);
void SetInputName(Node& input, const QString& name);
// The main frame's inputs, in list order.
std::vector<Node*> InputsOf(const Circuit& circuit);

// What a new input is called: "input", then "input 2", "input 3", ...
inline const QString kInputBaseName = QStringLiteral("input");
// The name itself when no other input of the frame has it, else the first of "name 2",
// "name 3", ... that none has. `except` is left out of the comparison.
QString FreeInputName(const Frame& frame, const QString& name, const Node* except = nullptr);
// Why the input cannot take the name, or an empty text when it can: a name must be there, be
// its input's alone, fit a file, and be one that "--set NAME=VALUE" can give.
QString InputNameProblem(const Node& input, const QString& name);

} // namespace flow
