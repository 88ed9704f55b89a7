#include "engine/FiringRecord.h"

#include <utility>

namespace flow {

void FiringRecorder::BeginRun(std::uint64_t runNumber) {
    std::lock_guard lock(mutex_);
    origin_.store(std::chrono::steady_clock::now().time_since_epoch().count(),
                  std::memory_order_relaxed);
    runNumber_ = runNumber;
    count_ = 0;
    next_ = 0;
    dropped_ = 0;
}

void FiringRecorder::Add(FiringRecord& record) {
    std::lock_guard lock(mutex_);
    if (record.RunNumber != runNumber_) return;
    if (count_ < kLimit) {
        if (count_ == ring_.size()) ring_.emplace_back();
        std::swap(ring_[count_++], record);
        return;
    }
    std::swap(ring_[next_], record);
    next_ = (next_ + 1) % kLimit;
    ++dropped_;
}

std::vector<FiringRecord> FiringRecorder::Firings() const {
    std::lock_guard lock(mutex_);
    std::vector<FiringRecord> firings;
    firings.reserve(count_);
    for (std::size_t i = 0; i < count_; ++i)
        firings.push_back(ring_[(next_ + i) % count_]);
    return firings;
}

std::size_t FiringRecorder::Dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

std::uint64_t FiringRecorder::RunNumber() const {
    std::lock_guard lock(mutex_);
    return runNumber_;
}

void FiringRecorder::Clear() {
    std::lock_guard lock(mutex_);
    ring_.clear();
    count_ = 0;
    next_ = 0;
    dropped_ = 0;
}

} // namespace flow
