#pragma once
// Circuits in real editor windows on the offscreen platform, shown and ready for input.

#include "model/Records.h"

#include <QSize>
#include <QString>

namespace flow::test {

// Opens the circuit's window and waits until it shows. With a size, the window gets that inner
// size at (100, 80) and the camera looks at the origin; without one, the window and camera are
// those the circuit holds, as read from its file.
Circuit& OpenInWindow(Circuit& circuit, QSize size = {});
// Loads one of the example circuits and opens it so; none when the example does not load.
Circuit* OpenExampleWindow(const QString& name, QSize size = {});

} // namespace flow::test
