#pragma once
// What a session does beside running: recording the firings and holding them at the pause
// gate. Both are off unless asked for, and the firing path then pays one relaxed load.

#include "engine/FiringRecord.h"
#include "engine/RunGate.h"

#include <atomic>

namespace flow {

class RunWatch {
  public:
    static constexpr int kRecording = 1;

    // Whether the firing path must look at the watch at all.
    bool On() const { return flags_.load(std::memory_order_relaxed) != 0; }
    bool Recording() const { return (flags_.load(std::memory_order_relaxed) & kRecording) != 0; }
    bool Gated() const { return (flags_.load(std::memory_order_relaxed) & RunGate::kEngaged) != 0; }
    // From the next Start on; a run under way records from its next firing.
    void SetRecording(bool on) {
        if (on)
            flags_.fetch_or(kRecording, std::memory_order_relaxed);
        else
            flags_.fetch_and(~kRecording, std::memory_order_relaxed);
    }
    FiringRecorder& Recorder() { return recorder_; }
    const FiringRecorder& Recorder() const { return recorder_; }
    RunGate& Gate() { return gate_; }
    const RunGate& Gate() const { return gate_; }

  private:
    std::atomic<int> flags_{0};
    FiringRecorder recorder_;
    RunGate gate_{flags_};
};

} // namespace flow
