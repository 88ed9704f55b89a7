#pragma once
// Commands read from standard input, for tests that drive a whole editor process: with
// FLOWLATTICE_STDIN_COMMANDS set, each line is one command, carried out in the newest window:
//   menu <id>         the menu command of that id (actions/MenuCommands.h)
//   write-recovery    writes every recovery copy due now, then prints "recovery written"
// Other lines are ignored. Nothing is read without the variable.

class QObject;

namespace flow {

void ListenToStdinCommands(QObject* parent);

} // namespace flow
