#pragma once
// The status bar's name for the object under the mouse.

#include "model/Records.h"

namespace flow {

class RunSession;

QString HoverText(const Comment& comment);
// Inside a body, what ran in its stead is the copy reached through the window's open path.
QString HoverText(const Node& node, const std::vector<Node*>& openPath,
                  const RunSession* run = nullptr);
// A port or wire shows the value it carried in the latest run of `run`, when given.
QString HoverText(const Port& port, const std::vector<Node*>& openPath,
                  const RunSession* run = nullptr);
QString HoverText(const Wire& wire, const std::vector<Node*>& openPath,
                  const RunSession* run = nullptr);

// " (Integer)" and the like; nothing for a type not fixed yet.
QString PortTypeSuffix(int type);

} // namespace flow
