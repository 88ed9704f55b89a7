#pragma once
// The status bar's name for the object under the mouse.

#include "model/Records.h"

namespace flow {

QString HoverText(const Comment& comment);
QString HoverText(const Node& node, const std::vector<Node*>& openPath);
QString HoverText(const Port& port, const std::vector<Node*>& openPath);
QString HoverText(const Wire& wire, const std::vector<Node*>& openPath);

// " (Integer)" and the like; nothing for a type not fixed yet.
QString PortTypeSuffix(int type);

} // namespace flow
