#pragma once
// How sub-circuits run: each instance gets a copy of its sub-circuit's body made for it alone,
// its expansion, whose nodes are nodes like any other: they resolve their types from what feeds
// this instance and run on threads of their own. The pins stay in the copy as nodes without a
// thread; values cross them through Port::Relay, so the firing protocol and the routines never
// learn that a boundary was there.

#include "model/Records.h"
#include "model/SubCircuits.h"

#include <vector>

namespace flow {

// Makes the instance's expansion from the current body unless it has one already; a stale one
// (the body changed since) is replaced, stopping its threads. Only instances that can run get
// one: those of the main frame and, inside their expansions, the copies of the instances a body
// holds; an instance in a body stays without. An expansion that would take the circuit's
// expansions past ExpansionLimit is not made: the instance stays without one, and a run refuses
// it.
void ExpandInstance(Node& instance);
// The most nodes the expansions of one circuit may hold together. Each instance holds a copy of
// its insides, nested ones included, so a few kilobytes of sub-circuits that each use the one
// before twice would otherwise fill the memory while the file is read; no machine gives a
// million nodes a thread each to run on anyway. Tests lower it.
std::size_t& ExpansionLimit();
// Takes the expansion apart, stopping its threads. Returns false when a thread did not stop in
// time; the expansion's frame is then kept by the circuit for as long as it lives.
bool CollapseInstance(Node& instance);

// Gives every sub-circuit the ports of its pins and every instance those ports, deleting wires
// to ports whose pin went; the first half of FollowDefinitions.
void FollowPins(Circuit& circuit);
// Brings every instance in step with its sub-circuit after bodies changed: port lists (a wire to
// a port whose pin went is deleted), sizes, expansions and the types that follow from them.
// Does nothing while no body changed since the last call.
void FollowDefinitions(Circuit& circuit);

// The frames that run: the main frame, then the expansions of its instances, each after the
// frame that holds its instance, at every depth.
std::vector<Frame*> RunFrames(const Circuit& circuit);
// The nodes that run on threads of their own: those of the run frames but pins and instances.
std::vector<Node*> RunNodes(const Circuit& circuit);
// Whether the node runs on a thread: it is no pin and no instance but a loop's.
bool RunsOnThread(const Node& node);

// Whether a value that reaches the port stops there instead of crossing on through its relay:
// at a loop's instance, which hands its inputs to the body once per iteration, and at the
// output pins of a loop's body, whose values leave only after the last iteration. Type
// resolution still crosses, as the types are the same in every iteration.
inline bool StopsAtLoop(const Port& port) {
    const Node& node = *port.Node;
    if (IsLoopInstance(node)) return true;
    return IsOutputPin(node) && node.Frame && node.Frame->Instance &&
           IsLoopInstance(*node.Frame->Instance);
}

// The ports that receive what `port` sends: its targets and, where a target hands on across a
// sub-circuit's boundary, what that port sends on to, at every depth but into or out of a
// loop. Follows the hand-ons with
// a list of its own, not the call stack: a value may cross thousands of boundaries in a row.
template <typename Visit> void ForEachReceiver(Port* port, Visit&& visit) {
    struct Resume {
        Port* From;
        std::size_t Next;
    };
    std::vector<Resume> resume; // stays empty, and allocates nothing, without boundaries
    Port* from = port;
    std::size_t next = 0;
    while (true) {
        if (next < from->Targets.size()) {
            Port* target = from->Targets[next++];
            visit(target);
            if (Port* relay = target->Relay; relay && !StopsAtLoop(*target)) {
                visit(relay);
                if (next < from->Targets.size()) resume.push_back({from, next});
                from = relay;
                next = 0;
            }
        } else if (!resume.empty()) {
            from = resume.back().From;
            next = resume.back().Next;
            resume.pop_back();
        } else {
            return;
        }
    }
}

// The main-frame node a node of the run stands in: itself in the main frame, else the instance
// in the main frame whose expansion holds it, at whatever depth.
Node* OutermostNode(Node* node);

} // namespace flow
