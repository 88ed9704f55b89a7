#include "engine/NodeThreads.h"

#include "engine/NodeThread.h"
#include "engine/Routines.h"
#include "engine/WaiterRoom.h"
#include "model/Model.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace flow {

namespace {

// Circuits of thousands of nodes run one thread each; the routines need very little stack.
constexpr std::size_t kStackSize = 256 * 1024;
constexpr std::chrono::milliseconds kStopGrace{1000};

std::atomic<std::size_t> liveThreads{0};

// Nodes whose detached thread has not ended yet: such a node must outlive its thread, even
// after a new thread replaced it.
struct DetachedThreads {
    std::mutex Mutex;
    std::unordered_multiset<const Node*> Nodes;
};

DetachedThreads& Detached() {
    static DetachedThreads detached;
    return detached;
}

bool HasDetachedThread(const Node* node) {
    std::lock_guard lock(Detached().Mutex);
    return Detached().Nodes.count(node) != 0;
}

void ClearCount(QSemaphore* semaphore) {
    if (!semaphore) return;
    if (const int count = semaphore->available()) semaphore->tryAcquire(count);
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
        node->StopRequest = 0;
        // The releases that woke the thread must not wake the next one in its place.
        ClearCounts(*node);
    }
    return allEnded;
}

template <typename Wanted> std::vector<Node*> NodesWithThreads(Circuit& circuit, Wanted wanted) {
    std::vector<Node*> nodes;
    for (const auto& node : circuit.MainFrame.Nodes)
        if (node->Thread && wanted(*node->Thread)) nodes.push_back(node.get());
    return nodes;
}

} // namespace

NodeThread* NodeThread::Start(Node& node, const Routine& routine) {
    MakeRoomForWaiters(++liveThreads);
    auto* thread = new NodeThread(node, routine);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kStackSize);
    const int result = pthread_create(&thread->handle_, &attributes, &NodeThread::Main, thread);
    pthread_attr_destroy(&attributes);
    if (result != 0) {
        --liveThreads;
        delete thread;
        return nullptr;
    }
    return thread;
}

void* NodeThread::Main(void* self) {
    auto* thread = static_cast<NodeThread*>(self);
    thread->Loop();
    --liveThreads;
    thread->Ended();
    return nullptr;
}

// The firing protocol shared by every routine: wait for the start and for one value on each
// fed input, compute once under the circuit's lock, count the firing, and begin again.
// The stop flag is looked at after every wait and every lock: a thread that was held up past
// its grace period and detached leaves at its next chance, without waiting on semaphores whose
// counts have since been taken back.
void NodeThread::Loop() {
    Circuit& circuit = *OwnerCircuit(node_);
    while (!Stopping) {
        node_.StartSemaphore->acquire();
        if (Stopping) return;
        // Taken now: ExecuteCircuit releases the starts only after the new number is set.
        const std::uint64_t runNumber = circuit.RunNumber;
        if (!WaitForInputs()) return;
        {
            std::lock_guard lock(circuit.FiringLock);
            if (Stopping) return; // a stopped thread delivers nothing into a later run
            routine_.Compute(node_, runNumber);
        }
        node_.DoneSemaphore->release();
        Fired.fetch_add(1);
        Fired.notify_all();
    }
}

bool NodeThread::WaitForInputs() {
    for (std::size_t i = 1; i < node_.PortArray.size(); ++i) {
        Port* port = node_.PortArray[i];
        bool fed;
        {
            // The editor rewires under this lock; it is never held while waiting.
            std::lock_guard lock(OwnerCircuit(node_)->FiringLock);
            if (Stopping) return false;
            fed = port && port->Source && port->Semaphore;
        }
        if (fed) {
            port->Semaphore->acquire();
            if (Stopping) return false;
        }
    }
    return true;
}

void NodeThread::RequestStop() {
    Stopping = true;
    node_.StartSemaphore->release();
    for (const auto& port : node_.Ports)
        if (port->Semaphore) port->Semaphore->release();
}

bool NodeThread::FinishOrDetach(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!endedChanged_.wait_for(lock, timeout, [this] { return ended_; })) {
        // Never killed: a forced end could leave the circuit's lock held. The thread owns
        // itself from here on and deletes this object when it finally leaves.
        detached_ = true;
        {
            std::lock_guard registry(Detached().Mutex);
            Detached().Nodes.insert(&node_);
        }
        pthread_detach(handle_);
        return false;
    }
    lock.unlock();
    pthread_join(handle_, nullptr);
    delete this;
    return true;
}

void NodeThread::Ended() {
    std::unique_lock lock(mutex_);
    ended_ = true;
    const bool ownsItself = detached_;
    endedChanged_.notify_all();
    lock.unlock();
    if (!ownsItself) return;
    {
        std::lock_guard registry(Detached().Mutex);
        Detached().Nodes.erase(Detached().Nodes.find(&node_));
    }
    delete this;
}

bool StartNodeThread(Node* node) {
    const Routine* routine = node->Implementation ? node->Implementation->Routine : nullptr;
    if (!routine || !node->StartSemaphore || !node->DoneSemaphore) return false;
    node->Thread = NodeThread::Start(*node, *routine);
    node->Routine = node->Thread ? routine : nullptr;
    return node->Thread != nullptr;
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
    std::lock_guard lock(Detached().Mutex);
    // Every node in the registry is alive: its owner keeps it until its thread has ended.
    return std::any_of(Detached().Nodes.begin(), Detached().Nodes.end(), [&](const Node* node) {
        return node->Frame && node->Frame->Owner == &circuit;
    });
}

void StopUnfinishedThreads(Circuit& circuit) {
    StopThreads(NodesWithThreads(
        circuit, [](const NodeThread& thread) { return thread.Fired != thread.Started; }));
}

void ClearSemaphoreCounts(Circuit& circuit) {
    for (const auto& node : circuit.MainFrame.Nodes)
        ClearCounts(*node);
}

} // namespace flow
