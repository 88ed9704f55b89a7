#pragma once
// The editor as a process: the resources every window shares, the hooks that let the model and
// the file writer reach the windows, and the way the program ends.

#include <functional>

namespace flow {

// Sets up the colours, fonts, add-node menu and editor state, and lets closing a circuit close
// its window. Needs the catalogue and a QApplication.
void SetupResources();

// Stops every circuit's node threads, closes every window and ends the program.
void QuitEditor();

// Ends the event loop once no window is left; tests replace it to watch the program end.
std::function<void()>& EndProgram();

} // namespace flow
