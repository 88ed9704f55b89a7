#include "engine/DetachedThreads.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

namespace flow {

namespace {

// Nodes whose detached thread has not ended yet: such a node must outlive its thread, even
// after a new thread replaced it.
struct DetachedThreads {
    std::mutex Mutex;
    std::unordered_multiset<const Node*> Nodes;
};

// Never destroyed: the thread reserve ends its threads while the process's statics go.
DetachedThreads& Detached() {
    static auto* detached = new DetachedThreads;
    return *detached;
}

} // namespace

void NoteDetached(const Node* node) {
    std::lock_guard lock(Detached().Mutex);
    Detached().Nodes.insert(node);
}

void NoteDetachedEnded(const Node* node) {
    std::lock_guard lock(Detached().Mutex);
    Detached().Nodes.erase(Detached().Nodes.find(node));
}

bool HasDetachedThread(const Node* node) {
    std::lock_guard lock(Detached().Mutex);
    return Detached().Nodes.count(node) != 0;
}

bool DetachedThreadRunsIn(const Circuit& circuit) {
    std::lock_guard lock(Detached().Mutex);
    // Every node in the registry is alive: its owner keeps it until its thread has ended.
    return std::any_of(Detached().Nodes.begin(), Detached().Nodes.end(), [&](const Node* node) {
        return node->Frame && node->Frame->Owner == &circuit;
    });
}

} // namespace flow
