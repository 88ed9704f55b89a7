#pragma once
// The Help menu: the keys of the window (editor/actions/KeyReference), the functions of the
// catalogue (editor/actions/FunctionReference), and the About box.

#include "model/Records.h"

class QDialog;

namespace flow {

// Each dialog closes itself and is gone once closed; each returns the dialog it shows.
QDialog* ShowKeyboardShortcuts(Circuit& circuit);
QDialog* ShowFunctionReference(Circuit& circuit);
QDialog* ShowAbout(Circuit& circuit);

} // namespace flow
