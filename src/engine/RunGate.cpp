#include "engine/RunGate.h"

#include <algorithm>

namespace flow {

void RunGate::Engage() {
    const bool engaged = mode_ != Mode::Running || !breakpoints_.empty();
    if (engaged)
        flags_.fetch_or(kEngaged, std::memory_order_relaxed);
    else
        flags_.fetch_and(~kEngaged, std::memory_order_relaxed);
}

void RunGate::Reset(bool pausedAtStart) {
    std::lock_guard lock(mutex_);
    mode_ = pausedAtStart ? Mode::PauseWanted : Mode::Running;
    waiting_.clear();
    let_.clear();
    pausedBefore_ = nullptr;
    underWay_ = 0;
    Engage();
    changed_.notify_all();
}

void RunGate::SetBreakpoints(std::unordered_set<const Node*> nodes) {
    std::lock_guard lock(mutex_);
    breakpoints_ = std::move(nodes);
    Engage();
}

void RunGate::Pause() {
    std::lock_guard lock(mutex_);
    if (mode_ == Mode::Running) mode_ = Mode::PauseWanted;
    Engage();
}

void RunGate::Let(const Node* node) {
    std::lock_guard lock(mutex_);
    if (std::none_of(waiting_.begin(), waiting_.end(),
                     [node](const auto& held) { return held.first == node; }))
        return;
    let_.insert(node);
    if (pausedBefore_ == node) pausedBefore_ = nullptr;
    changed_.notify_all();
}

void RunGate::Continue() {
    std::lock_guard lock(mutex_);
    mode_ = Mode::Running;
    pausedBefore_ = nullptr;
    ++continues_;
    Engage();
    changed_.notify_all();
}

RunGate::Arrival RunGate::Arrive(const Node& node, bool counted) {
    std::lock_guard lock(mutex_);
    Arrival arrival = Arrival::Wait;
    if (mode_ == Mode::Running) {
        if (!breakpoints_.contains(&node)) {
            underWay_ += counted ? 1 : 0;
            return Arrival::Pass;
        }
        mode_ = Mode::Paused;
        arrival = Arrival::Paused;
    } else if (mode_ == Mode::PauseWanted) {
        mode_ = Mode::Paused;
        arrival = Arrival::Paused;
    }
    // Only a breakpoint names the node the run waits before; a pause waits before whichever
    // node a step would choose.
    if (arrival == Arrival::Paused && breakpoints_.contains(&node)) pausedBefore_ = &node;
    waiting_.emplace_back(&node, continues_);
    return arrival;
}

bool RunGate::Wait(const Node& node, bool counted, const std::atomic<bool>& stopping) {
    std::unique_lock lock(mutex_);
    const auto held = std::find_if(waiting_.begin(), waiting_.end(),
                                   [&](const auto& entry) { return entry.first == &node; });
    const std::uint64_t arrivedAt = held == waiting_.end() ? continues_ : held->second;
    changed_.wait(lock, [&] {
        return stopping || mode_ == Mode::Running || continues_ != arrivedAt ||
               let_.contains(&node);
    });
    std::erase_if(waiting_, [&](const auto& entry) { return entry.first == &node; });
    let_.erase(&node);
    if (pausedBefore_ == &node) pausedBefore_ = nullptr;
    if (stopping) return false;
    underWay_ += counted ? 1 : 0;
    return true;
}

void RunGate::Left() {
    std::lock_guard lock(mutex_);
    if (underWay_ > 0) --underWay_;
}

void RunGate::WakeAll() {
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

RunGate::State RunGate::Look() const {
    std::lock_guard lock(mutex_);
    State state{mode_ == Mode::Paused, pausedBefore_, {}, underWay_};
    for (const auto& [node, arrivedAt] : waiting_)
        if (let_.contains(node) || arrivedAt != continues_)
            ++state.UnderWay; // let through, not awake yet
        else
            state.Waiting.push_back(node);
    return state;
}

} // namespace flow
