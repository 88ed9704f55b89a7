#include "engine/DetachedThreads.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace flow {

namespace {

// Entries whose detached thread has not ended yet, with their sessions: such an entry must
// outlive its thread, even after a new thread replaced it.
struct DetachedThreads {
    std::mutex Mutex;
    std::unordered_multimap<const NodeRun*, const RunSession*> Nodes;
};

// Never destroyed: the thread reserve ends its threads while the process's statics go.
DetachedThreads& Detached() {
    static auto* detached = new DetachedThreads;
    return *detached;
}

} // namespace

void NoteDetached(const NodeRun* run, const RunSession* session) {
    std::lock_guard lock(Detached().Mutex);
    Detached().Nodes.emplace(run, session);
}

void NoteDetachedEnded(const NodeRun* run) {
    std::lock_guard lock(Detached().Mutex);
    Detached().Nodes.erase(Detached().Nodes.find(run));
}

bool HasDetachedThread(const NodeRun* run) {
    std::lock_guard lock(Detached().Mutex);
    return Detached().Nodes.count(run) != 0;
}

bool DetachedThreadRunsIn(const RunSession& session) {
    std::lock_guard lock(Detached().Mutex);
    return std::any_of(Detached().Nodes.begin(), Detached().Nodes.end(),
                       [&](const auto& entry) { return entry.second == &session; });
}

} // namespace flow
