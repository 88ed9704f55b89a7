#pragma once
// A circuit's runs: everything they keep beside the circuit's records, which describe only the
// circuit. One session per circuit being run, owned by whoever runs it (a window, the command
// line, a test). It holds each node's thread, semaphores and doorbell, each port's value slot,
// the run number, the firings counted for settling, the defect the last preparation found and
// the run state. It attaches itself to the circuit (Circuit::Runs) to hear of the edits that
// concern a run: a node that goes, a wire that changes a slot's meaning, a circuit that closes.

#include "engine/CountingSemaphore.h"
#include "engine/LoopRun.h"
#include "engine/RunWatch.h"
#include "model/Records.h"
#include "model/RunLink.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace flow {

class NodeThread;
class RunObserver;

// Stopped: Run → Stop ended the run before it was over; nothing of it is settled.
enum class RunState { None, Ready, Initializing, Defect, Executing, Stopped };

enum class ErrorKind { None, MissingInput, InvalidWire, NoImplementation, NoThread, CarriedType };

// What the last preparation found wrong, and where.
struct Defect {
    struct Point {
        Int X = 0;
        Int Y = 0;
    };
    ErrorKind Kind = ErrorKind::None;
    QString Message;
    ObjectRef Object; // the port, wire or node at fault; none for a defect of the whole circuit
    // The point to look at, in the coordinates of the object's frame; none without an object.
    std::optional<Point> Centre;
};

class RunSession;
struct NodeRun;

// The frame that holds the object at fault: an expansion for a defect inside an instance.
const Frame* DefectFrame(const Defect& defect);

// One port's value slot: what the port carried in a run, written by the feeding node's thread
// before it releases the semaphore. ValueRun is the Start whose value it holds, 0 when it holds
// none worth showing; ValueType the type of that value. All change under the FiringLock.
struct PortRun {
    PortRun(NodeRun& owner, bool waited) : Owner(owner), Waited(waited) {}
    CountingSemaphore Semaphore; // a value arrived
    NodeRun& Owner;              // the entry of the port's node
    // Whether a thread waits on the semaphore: not on the ports of pins and instances, which
    // only pass values on.
    const bool Waited;
    Int Value = 0;
    QString Text;
    std::uint64_t ValueRun = 0;
    int ValueType = PortType::Generic;
    // What arrived was nothing: the sender was skipped, or a Switch sent its value the other
    // way. A node with such an input fires without computing and sends nothing on.
    bool Empty = false;
    // When the value arrived, in the recording's time; written only while a run is recorded.
    std::int64_t Arrived = -1;
};

// What a run keeps for one node: its thread and the routine it was started on, its semaphores
// and the slots of its ports, by the port's place in Node::PortArray.
struct NodeRun {
    NodeThread* Thread = nullptr;
    const flow::Routine* Routine = nullptr;
    // Rings the node's thread when a release leaves it ready to fire (engine/InlineFirings.h).
    Doorbell Bell;
    CountingSemaphore Start;
    // Set while the thread is being stopped.
    std::atomic<int> StopRequest{0};
    // Whether another thread fires the node in its own thread's place right now (1), and goes
    // on doing so past a stop that gave up waiting for it (2): engine/NodeThread.h, Lend.
    std::atomic<int> Lent{0};
    std::vector<std::unique_ptr<PortRun>> Ports; // entry 0 unused
    // The Start in which the node last fired without computing, as an input carried nothing.
    std::atomic<std::uint64_t> SkippedRun{0};
    // The loop whose iterations start this node, for a node inside a loop's body (at any depth
    // of plain sub-circuits); none for a node that each Start starts.
    LoopRun* Driver = nullptr;
    // What a loop's instance keeps to run its iterations (engine/LoopRun.h).
    std::unique_ptr<LoopRun> Loop;
    // For each output (by index), the slots of its receivers in delivery order, as last found:
    // trusted while the session's table has not changed since and the receivers are the same,
    // so that a warm run delivers without looking anything up. Used only by whoever fires the
    // node, under the FiringLock.
    struct Receivers {
        std::uint64_t Generation = 0;
        std::vector<std::pair<const Port*, PortRun*>> Slots;
    };
    std::vector<Receivers> Sent;

    PortRun* Slot(std::size_t index) const {
        return index < Ports.size() ? Ports[index].get() : nullptr;
    }
};

class RunSession final : public RunLink {
  public:
    explicit RunSession(Circuit& circuit, RunObserver* observer = nullptr);
    ~RunSession() override;
    RunSession(const RunSession&) = delete;
    RunSession& operator=(const RunSession&) = delete;

    // The circuit the session runs; none once it was freed.
    flow::Circuit* Target() const { return circuit_; }
    RunObserver* Observer() const { return observer_; }
    void SetObserver(RunObserver* observer) { observer_ = observer; }

    RunState State() const { return state_; }
    void SetState(RunState state) { state_ = state; }
    const flow::Defect& Fault() const { return defect_; }
    flow::Defect& Fault() { return defect_; }

    // Counts Starts; printed lines carry it so that lines of an earlier run are dropped.
    std::atomic<std::uint64_t> RunNumber{0};
    // Set while someone waits for the current run to settle: the firings after which it may
    // have, and the firings so far (engine/Settling.h).
    std::atomic<std::size_t> FiringsToSettle{0};
    std::atomic<std::size_t> FiringsInRun{0};
    // The latest Start in which some node was skipped: before it, no node's mark is looked up.
    std::atomic<std::uint64_t> SkipsIn{0};
    // What Random nodes draw from (engine/RandomDraws.h): set before a Start, read by its
    // firings; the same seed gives the same numbers.
    std::uint64_t Seed = 0;
    // The recording of firings and the pause gate (engine/RunWatch.h).
    RunWatch Watch;

    std::mutex& FiringLock() override { return firingLock_; }

    // What the run keeps for the node or port; none for one it has not prepared. The table
    // changes only on the user-interface thread and under the FiringLock: others read it
    // holding the lock.
    NodeRun* RunOf(const Node& node) const;
    PortRun* SlotOf(const Port& port) const;
    // The node's entry, made with a slot for every port it has, under the FiringLock.
    NodeRun& Prepare(const Node& node);
    // The nodes that run on threads and have an entry, in the order of RunNodes; kept between
    // Starts while the table does not change, so that a warm Start looks nothing up.
    const std::vector<std::pair<Node*, NodeRun*>>& Entries() const;
    // Every node with a thread.
    std::vector<std::pair<Node*, NodeRun*>> Threaded() const;
    // Counts the changes of the table of entries (under the FiringLock), never 0.
    std::uint64_t Generation() const { return generation_; }

    // RunLink: what the model's edits tell a run.
    bool NodesLeaving(const std::vector<Node*>& nodes) override;
    void Retire(std::unique_ptr<Frame> expansion) override;
    void ForgetValue(const Port& port) override;
    void ObjectGone(ObjectRef object) override;
    void ExpansionGone(const Frame& expansion) override;
    void CircuitClosing() override;
    void CircuitFreed() override;

  private:
    void Detach();

    flow::Circuit* circuit_;
    RunObserver* observer_;
    std::mutex firingLock_;
    RunState state_ = RunState::None;
    flow::Defect defect_;
    std::unordered_map<const Node*, std::unique_ptr<NodeRun>> nodes_;
    std::uint64_t generation_ = 1;
    mutable std::vector<std::pair<Node*, NodeRun*>> entries_;
    mutable std::uint64_t entriesGeneration_ = 0;
    // Entries and expansions that a thread which did not stop in time may still touch.
    std::vector<std::unique_ptr<NodeRun>> retiredRuns_;
    std::vector<std::unique_ptr<Frame>> retiredFrames_;
};

// Visits the nodes in RunNodes order with their entries (none for a node without one), walking
// Entries alongside instead of looking each node up.
template <typename Visit>
void ForEachWithEntry(const RunSession& session, const std::vector<Node*>& nodes, Visit&& visit) {
    const auto& entries = session.Entries();
    std::size_t next = 0;
    for (Node* node : nodes) {
        NodeRun* run = nullptr;
        if (next < entries.size() && entries[next].first == node)
            run = entries[next++].second;
        else
            run = session.RunOf(*node); // order changed since: looked up
        visit(node, run);
    }
}

} // namespace flow
