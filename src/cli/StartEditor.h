#pragma once
// flowlattice [FILE]: the editor, with a window on FILE or on a new circuit. Returns the process's
// exit status once the last window has closed.

namespace flow {

int StartEditor(int argc, char** argv);

} // namespace flow
