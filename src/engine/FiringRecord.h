#pragma once
// The recording of a run's firings: who fired, when its last input came, when its computation
// began and ended, and the values in and out. One bounded record per session, read by the
// timeline, the replay and --trace. Times are nanoseconds since the run began.

#include "engine/Token.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace flow {

struct FiringRecord {
    struct Value {
        std::size_t Port = 0; // the port's place in Node::PortArray
        Token Carried;
    };
    const Node* Fired = nullptr;
    std::uint64_t RunNumber = 0;
    std::int64_t Arrived = 0; // the last input arrived (or the start, for a node fed by none)
    std::int64_t Began = 0;   // the computation began: past the lock and the pause gate
    std::int64_t Ended = 0;
    std::vector<Value> In;  // the fed inputs, in port order
    std::vector<Value> Out; // the outputs, in port order

    void Clear() {
        In.clear();
        Out.clear();
    }
};

// The last kLimit firings of the run being recorded, oldest first once read; older ones are
// dropped and counted. Filled by node threads, read by anyone.
class FiringRecorder {
  public:
    static constexpr std::size_t kLimit = 100000;

    // A new run begins: its times count from now, and the last run's firings go.
    void BeginRun(std::uint64_t runNumber);
    // Nanoseconds since the run began.
    std::int64_t Now() const {
        return std::chrono::steady_clock::now().time_since_epoch().count() -
               origin_.load(std::memory_order_relaxed);
    }
    // Takes the record over, handing back the storage of the one it replaces, so that a thread
    // that records again and again allocates nothing once the buffer has filled. A firing of
    // another run than the one recorded is left out.
    void Add(FiringRecord& record);
    // The firings kept, in the order they ended.
    std::vector<FiringRecord> Firings() const;
    std::size_t Dropped() const;
    std::uint64_t RunNumber() const;
    // Forgets every firing: the nodes they name are going.
    void Clear();

  private:
    mutable std::mutex mutex_;
    std::atomic<std::int64_t> origin_{0};
    std::uint64_t runNumber_ = 0;
    // Records stay in place from run to run, keeping their storage; the first count_ hold the
    // run's firings.
    std::vector<FiringRecord> ring_;
    std::size_t count_ = 0;
    std::size_t next_ = 0; // the oldest firing, where the next one goes once the ring is full
    std::size_t dropped_ = 0;
};

} // namespace flow
