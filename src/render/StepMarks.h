#pragma once
// What a window shows of a run it steers: breakpoints as red dots at a node's top left corner,
// the node a paused run waits before, the other nodes ready to fire, and the node a replay
// lights. Breakpoints belong to the window (its view), never to the circuit's file.

#include "engine/PortValues.h"
#include "model/Records.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>

#include <vector>

class QPainter;

namespace flow {

struct CircuitView;

// A node of the main frame ("", ID) or of a sub-circuit's body (its name, ID): a breakpoint on
// a body's node holds every copy of it that runs.
using NodeKey = QPair<QString, Int>;
NodeKey KeyOf(const Node& node);

struct StepMarks {
    QSet<NodeKey> Breakpoints;
    // Nodes that ran (main-frame nodes or expansions' copies), as a run marks them.
    const Node* PausedBefore = nullptr;
    std::vector<const Node*> Ready;
    const Node* Lit = nullptr; // firing in a replay
    // While a replay plays: the values delivered so far, by the input (of a node that ran) they
    // reached; the value labels show these instead of the run's last values.
    const QHash<const Port*, CarriedValue>* Replayed = nullptr;
    bool Any() const { return PausedBefore || !Ready.empty() || Lit; }
};

// Draws the node's marks, in circuit units through the painter's camera transform.
void DrawStepMarks(QPainter& painter, const Node& node, const CircuitView& view);

} // namespace flow
