#include "engine/NodeThreads.h"

#include "engine/DetachedThreads.h"
#include "engine/NodeThread.h"
#include "engine/Routines.h"
#include "engine/ThreadReserve.h"
#include "model/Expansion.h"
#include "model/Model.h"

#include <algorithm>
#include <vector>

namespace flow {

namespace {

constexpr std::chrono::milliseconds kStopGrace{1000};

void ClearCounts(NodeRun& run) {
    run.Start.Clear();
    for (const auto& port : run.Ports)
        if (port) port->Semaphore.Clear();
}

// Asks every thread first and only then waits, so that they all wind down together.
bool StopThreads(const std::vector<std::pair<Node*, NodeRun*>>& nodes) {
    for (const auto& [node, run] : nodes) {
        run->StopRequest = 1;
        run->Thread->RequestStop();
    }
    bool allEnded = true;
    for (const auto& [node, run] : nodes) {
        allEnded = run->Thread->FinishOrDetach(kStopGrace) && allEnded;
        run->Thread = nullptr;
        run->Routine = nullptr;
        run->Bell.Attach(nullptr);
        run->StopRequest = 0;
        // The releases that woke the thread must not wake the next one in its place.
        ClearCounts(*run);
    }
    return allEnded;
}

template <typename Wanted>
std::vector<std::pair<Node*, NodeRun*>> NodesWithThreads(const RunSession& session, Wanted wanted) {
    std::vector<std::pair<Node*, NodeRun*>> nodes = session.Threaded();
    std::erase_if(nodes, [&](const auto& entry) { return !wanted(*entry.second->Thread); });
    return nodes;
}

} // namespace

const Routine* RoutineOf(const Node& node) {
    if (IsLoopInstance(node)) return &LoopRoutine();
    return node.Implementation ? node.Implementation->Routine : nullptr;
}

bool StartNodeThread(RunSession& session, Node& node, NodeRun& run) {
    const Routine* routine = RoutineOf(node);
    if (!routine) return false;
    NodeThread* thread = TakeParkedThread();
    if (!thread) thread = NodeThread::Create();
    if (!thread) return false;
    thread->Assign(session, node, run, *routine);
    run.Thread = thread;
    run.Routine = routine;
    return true;
}

bool StopNodeThreads(RunSession&, const std::vector<std::pair<Node*, NodeRun*>>& nodes) {
    if (nodes.empty()) return true;
    const bool ended = StopThreads(nodes);
    return ended && std::none_of(nodes.begin(), nodes.end(),
                                 [](const auto& entry) { return HasDetachedThread(entry.second); });
}

bool StopNodeThread(RunSession& session, Node* node) {
    NodeRun* run = node ? session.RunOf(*node) : nullptr;
    if (!run) return true;
    const bool ended = !run->Thread || StopThreads({{node, run}});
    return ended && !HasDetachedThread(run);
}

void StopCircuitThreads(RunSession& session) {
    StopThreads(NodesWithThreads(session, [](const NodeThread&) { return true; }));
}

bool ThreadsStillRunIn(const RunSession& session) {
    return DetachedThreadRunsIn(session);
}

std::size_t ThreadsNeeded(const RunSession& session) {
    if (!session.Target()) return 0;
    std::size_t needed = 0;
    ForEachWithEntry(session, RunNodes(*session.Target()), [&](Node* node, const NodeRun* run) {
        const Routine* routine = RoutineOf(*node);
        if (routine && (!run || !run->Thread || run->Routine != routine)) ++needed;
    });
    return needed;
}

void StopUnfinishedThreads(RunSession& session) {
    StopThreads(NodesWithThreads(
        session, [](const NodeThread& thread) { return thread.Fired != thread.Started; }));
}

void ClearSemaphoreCounts(RunSession& session) {
    for (const auto& entry : session.Entries())
        ClearCounts(*entry.second);
}

} // namespace flow
