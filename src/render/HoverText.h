#pragma once
// The status bar's name for the object under the mouse.

#include "model/Records.h"

namespace flow {

QString HoverText(const Comment& comment);
QString HoverText(const Node& node);
QString HoverText(const Port& port);
QString HoverText(const Wire& wire);

// " (Integer)" and the like; nothing for a type not fixed yet.
QString PortTypeSuffix(int type);

} // namespace flow
