#pragma once
// An observer that collects what a run reports, as a window would show it.

#include "engine/RunObserver.h"
#include "engine/RunSession.h"

#include <QStringList>

#include <condition_variable>
#include <mutex>

namespace flow::test {

// Keeps the lines of the current run only, like the output panel: ClearOutput empties it and a
// line printed by an earlier run is dropped.
class CollectingObserver : public RunObserver {
  public:
    // Lines count for the runs of this session.
    void Attach(const RunSession& session) { session_ = &session; }
    void ClearOutput() override;
    void SetRunStatus(const QString& text) override;
    void Redraw() override;
    void PrintLine(const QString& line, std::uint64_t runNumber) override;

    QStringList Lines() const;
    QStringList Statuses() const;
    int Clears() const;
    int Redraws() const;
    // Waits until at least count lines of the current run arrived; false after the timeout.
    bool WaitForLines(int count, int timeoutMs = 5000) const;

  private:
    const RunSession* session_ = nullptr;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    QStringList lines_;
    QStringList statuses_;
    int clears_ = 0;
    int redraws_ = 0;
};

} // namespace flow::test
