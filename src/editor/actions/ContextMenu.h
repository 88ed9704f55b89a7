#pragma once
// The menu of the object under the pointer (node, port, comment or wire): the Edit menu's own
// actions for it, acting on the selection when the object is part of it, else on the object
// alone, which becomes the selection.

#include "model/Records.h"

#include <QPoint>

class QMenu;

namespace flow {

// Opens the menu at the screen position when the last hit test found an object under the
// pointer; returns whether it did.
bool PopUpContextMenu(Circuit& circuit, QPoint screenPosition);
// The menu while it is open; for tests.
QMenu* OpenedContextMenu();

} // namespace flow
