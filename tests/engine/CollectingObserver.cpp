#include "CollectingObserver.h"

#include <chrono>

namespace flow::test {

void CollectingObserver::ClearOutput() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    ++clears_;
}

void CollectingObserver::SetRunStatus(const QString& text) {
    std::lock_guard lock(mutex_);
    statuses_.append(text);
}

void CollectingObserver::Redraw() {
    std::lock_guard lock(mutex_);
    ++redraws_;
}

void CollectingObserver::PrintLine(const QString& line, std::uint64_t runNumber) {
    std::lock_guard lock(mutex_);
    if (!session_ || runNumber != session_->RunNumber) return;
    lines_.append(line);
    changed_.notify_all();
}

QStringList CollectingObserver::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

QStringList CollectingObserver::Statuses() const {
    std::lock_guard lock(mutex_);
    return statuses_;
}

int CollectingObserver::Clears() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

int CollectingObserver::Redraws() const {
    std::lock_guard lock(mutex_);
    return redraws_;
}

bool CollectingObserver::WaitForLines(int count, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return lines_.size() >= count; });
}

} // namespace flow::test
