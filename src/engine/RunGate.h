#pragma once
// Where a run can be held: while the session's watch has the gate engaged, every node that has
// all its inputs and is about to fire passes here first. A breakpoint or a Pause holds the run
// before the next firing; Step lets one waiting node through, Continue all of them. A held
// thread sleeps on a condition variable, so a paused run takes no processor time.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_set>
#include <utility>
#include <vector>

namespace flow {

struct Node;

class RunGate {
  public:
    // The bit of the watch's flags that says the gate is engaged: set while anything can hold
    // a firing (a breakpoint, a pause wanted or under way).
    static constexpr int kEngaged = 2;
    explicit RunGate(std::atomic<int>& flags) : flags_(flags) {}

    // Before a Start: nothing waits, nothing is let through; the run pauses before its first
    // firing when asked to.
    void Reset(bool pausedAtStart);
    // The run nodes before which a run pauses. Kept from Start to Start.
    void SetBreakpoints(std::unordered_set<const Node*> nodes);
    // Pauses before the next firing.
    void Pause();
    // Lets the waiting node fire; the run stays paused for every other.
    void Let(const Node* node);
    // Lets every waiting node fire and holds nothing until the next breakpoint.
    void Continue();

    // What a node finds at the gate, with the circuit's lock held.
    enum class Arrival { Pass, Wait, Paused };
    // `counted`: the firing is counted among those under way until Left, for a step to know when
    // the run has come to rest. A loop's instance is not: it waits for its body meanwhile.
    Arrival Arrive(const Node& node, bool counted);
    // Without the circuit's lock: sleeps until the node is let through (true), or its thread is
    // asked to stop (false).
    bool Wait(const Node& node, bool counted, const std::atomic<bool>& stopping);
    // A counted firing is over: computed, delivered and counted.
    void Left();
    // A thread's stop flag was set: its wait ends.
    void WakeAll();

    struct State {
        bool Paused = false;
        const Node* PausedBefore = nullptr; // the breakpoint the run paused at, while it waits
        std::vector<const Node*> Waiting;   // in the order they arrived
        std::size_t UnderWay = 0;           // counted firings past the gate, not yet left
    };
    State Look() const;

  private:
    enum class Mode { Running, PauseWanted, Paused };
    void Engage(); // with mutex_ held

    std::atomic<int>& flags_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Mode mode_ = Mode::Running;
    std::unordered_set<const Node*> breakpoints_;
    // The nodes held, each with the count of Continues when it arrived: a Continue lets through
    // everything held before it, even if a Pause follows before the thread wakes.
    std::vector<std::pair<const Node*, std::uint64_t>> waiting_;
    std::uint64_t continues_ = 0;
    std::unordered_set<const Node*> let_;
    const Node* pausedBefore_ = nullptr;
    std::size_t underWay_ = 0;
};

} // namespace flow
