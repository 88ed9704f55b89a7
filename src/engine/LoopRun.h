#pragma once
// What a loop's instance keeps to run its body once per iteration. The instance runs on a
// thread of its own (its routine is LoopRoutine); the nodes of its body's copy keep their
// threads from Start to Start like any node, but only the loop releases their starts: once per
// iteration, after handing the iteration's values to the pins. Each of them counts its firing
// here, and the last one of an iteration wakes the loop. While the run is not watched, a body
// of nodes that compute under the lock fires on the loop's own thread (engine/InlineFirings.h)
// and the loop finds the iteration done without waiting. Nothing of an iteration is kept past
// the next one, so memory stays the same however many iterations run.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace flow {

struct Node;
struct NodeRun;
struct PortRun;
struct Routine;

struct LoopRun {
    // A pin that hands values into the body: the pin node and its run entry.
    struct Source {
        Node* Pin = nullptr;
        NodeRun* Run = nullptr;
    };
    // An input pin, fed by the instance's input at this place in its port list in the first
    // iteration, and afterwards by the output pin at Carrier in Outputs, if one has its name.
    struct Input {
        std::size_t InstancePort = 0;
        Source From;
        std::ptrdiff_t Carrier = -1;
    };
    // An output pin's slot, and the instance's output it leaves through after the last
    // iteration; Carried is the input it feeds (its place in Inputs), if any.
    struct Output {
        std::size_t InstancePort = 0;
        PortRun* PinSlot = nullptr;
        std::ptrdiff_t Carried = -1;
    };

    bool Conditional = false;
    std::size_t TimesPort = 0; // a counted loop's "times" input; 0 for a conditional one
    std::vector<Input> Inputs;
    std::vector<Output> Outputs;
    std::vector<Source> Iterations;  // Iteration Pins
    std::vector<PortRun*> Continues; // the slots of the Continue Pins' inputs
    // The body's nodes that fire in every iteration: those that can, given the pins.
    std::vector<std::pair<Node*, NodeRun*>> Started;
    // The loop whose iterations start this loop's instance, if it stands in another's body.
    LoopRun* Around = nullptr;
    // The iteration under way, counting from 0; what Random draws with inside the body.
    std::atomic<std::uint64_t> Iteration{0};

    // Set under the FiringLock while the instance runs its iterations; with no body firing
    // owed (BodyDone), the loop itself has work under way: a step waits for it.
    std::atomic<bool> Iterating{false};
    bool BodyDone() const { return remaining_.load() <= 0; }

    // Iterations the loop ran in the Start numbered RanIn; read by the hover text.
    std::atomic<std::uint64_t> Ran{0};
    std::atomic<std::uint64_t> RanIn{0};

    // Called by a node of the body after each firing.
    void NoteFiring() {
        if (remaining_.fetch_sub(1) == 1) remaining_.notify_all();
    }
    // Before the starts of an iteration are released.
    void Expect(std::size_t firings) { remaining_.store(std::int64_t(firings)); }
    // Sleeps until every node of the iteration has fired; false when the loop was stopped.
    bool WaitForIteration() {
        for (std::int64_t left = remaining_.load(); left > 0 && !aborted_; left = remaining_.load())
            remaining_.wait(left);
        return !aborted_;
    }
    // Stops the loop at once: a wait ends, and no further iteration begins.
    void Abort() {
        aborted_ = true;
        remaining_.store(0);
        remaining_.notify_all();
    }
    bool Aborted() const { return aborted_; }

  private:
    std::atomic<std::int64_t> remaining_{0};
    std::atomic<bool> aborted_{false};
};

// The routine every loop instance runs on.
const Routine& LoopRoutine();

} // namespace flow
