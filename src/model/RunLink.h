#pragma once
// What the model's operations must tell the runs of a circuit. A run (engine/RunSession) keeps
// threads, semaphores and value slots beside the circuit's records; the records know nothing of
// them. But an edit can pull a record from under a running thread, or change what a slot means,
// so every operation that does tells the runs attached to the circuit (Circuit::Runs) through
// this interface, which the engine implements. With no run attached there is nothing to tell.

#include <memory>
#include <mutex>
#include <variant>
#include <vector>

namespace flow {

struct Circuit;
struct Frame;
struct Node;
struct Port;
struct Wire;

// An object of a circuit a run can point at: the port, wire or node at fault in a defect.
using ObjectRef = std::variant<std::monostate, const Node*, const Port*, const Wire*>;

class RunLink {
  public:
    virtual ~RunLink() = default;
    // Worker threads deliver values under this lock; the model takes it while it rewires or
    // changes a constant, so a firing in flight never sees a half-changed circuit.
    virtual std::mutex& FiringLock() = 0;
    // The nodes are about to go (deleted, or an expansion taken apart): their threads end
    // (all asked first, then waited for) and the run forgets them. False when a thread did not
    // end in time: it may still touch its node, which must then stay alive.
    virtual bool NodesLeaving(const std::vector<Node*>& nodes) = 0;
    // An expansion whose threads did not all end in time: the run keeps it while it lives.
    virtual void Retire(std::unique_ptr<Frame> expansion) = 0;
    // The port's value slot no longer says what the port carries. Called with FiringLock held.
    virtual void ForgetValue(const Port& port) = 0;
    // The object goes, or every object of the expansion: a defect naming it names nothing.
    virtual void ObjectGone(ObjectRef object) = 0;
    virtual void ExpansionGone(const Frame& expansion) = 0;
    // The circuit closes: its threads have nothing left to do. When it is freed the run lets go
    // of it as well.
    virtual void CircuitClosing() = 0;
    virtual void CircuitFreed() = 0;
};

// Holds the FiringLock of every run of the circuit, in the order they were attached.
class RunsHeld {
  public:
    explicit RunsHeld(const Circuit* circuit);

  private:
    std::vector<std::unique_lock<std::mutex>> locks_;
};

} // namespace flow
