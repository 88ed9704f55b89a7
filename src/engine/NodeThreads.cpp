#include "engine/NodeThreads.h"

#include "engine/DetachedThreads.h"
#include "engine/Expansion.h"
#include "engine/NodeThread.h"
#include "engine/Routines.h"
#include "engine/ThreadReserve.h"
#include "model/Model.h"

#include <algorithm>
#include <vector>

namespace flow {

namespace {

constexpr std::chrono::milliseconds kStopGrace{1000};

void ClearCount(CountingSemaphore* semaphore) {
    if (semaphore) semaphore->Clear();
}

void ClearCounts(Node& node) {
    ClearCount(node.StartSemaphore.get());
    ClearCount(node.DoneSemaphore.get());
    for (const auto& port : node.Ports)
        ClearCount(port->Semaphore.get());
}

// Asks every thread first and only then waits, so that they all wind down together.
bool StopThreads(const std::vector<Node*>& nodes) {
    for (Node* node : nodes) {
        node->StopRequest = 1;
        node->Thread->RequestStop();
    }
    bool allEnded = true;
    for (Node* node : nodes) {
        allEnded = node->Thread->FinishOrDetach(kStopGrace) && allEnded;
        node->Thread = nullptr;
        node->Routine = nullptr;
        node->Bell.Attach(nullptr);
        node->StopRequest = 0;
        // The releases that woke the thread must not wake the next one in its place.
        ClearCounts(*node);
    }
    return allEnded;
}

template <typename Wanted> std::vector<Node*> NodesWithThreads(Circuit& circuit, Wanted wanted) {
    std::vector<Node*> nodes;
    for (Node* node : RunNodes(circuit))
        if (node->Thread && wanted(*node->Thread)) nodes.push_back(node);
    return nodes;
}

} // namespace

bool StartNodeThread(Node* node) {
    const Routine* routine = node->Implementation ? node->Implementation->Routine : nullptr;
    if (!routine || !node->StartSemaphore || !node->DoneSemaphore) return false;
    NodeThread* thread = TakeParkedThread();
    if (!thread) thread = NodeThread::Create();
    if (!thread) return false;
    thread->Assign(*node, *routine);
    node->Thread = thread;
    node->Routine = routine;
    return true;
}

bool StopNodeThreads(const std::vector<Node*>& nodes) {
    if (nodes.empty()) return true;
    const bool ended = StopThreads(nodes);
    return ended && std::none_of(nodes.begin(), nodes.end(), HasDetachedThread);
}

bool StopNodeThread(Node* node) {
    if (!node) return true;
    const bool ended = !node->Thread || StopThreads({node});
    return ended && !HasDetachedThread(node);
}

void StopCircuitThreads(Circuit& circuit) {
    StopThreads(NodesWithThreads(circuit, [](const NodeThread&) { return true; }));
}

bool ThreadsStillRunIn(const Circuit& circuit) {
    return DetachedThreadRunsIn(circuit);
}

std::size_t ThreadsNeeded(const Circuit& circuit) {
    std::size_t needed = 0;
    for (const Node* node : RunNodes(circuit)) {
        const Routine* routine = node->Implementation ? node->Implementation->Routine : nullptr;
        if (routine && (!node->Thread || node->Routine != routine)) ++needed;
    }
    return needed;
}

void StopUnfinishedThreads(Circuit& circuit) {
    StopThreads(NodesWithThreads(
        circuit, [](const NodeThread& thread) { return thread.Fired != thread.Started; }));
}

void ClearSemaphoreCounts(Circuit& circuit) {
    for (Node* node : RunNodes(circuit))
        ClearCounts(*node);
}

} // namespace flow
