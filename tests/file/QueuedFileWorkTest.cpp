// File work off the user-interface thread: one piece at a time, in order, only the newest of a
// key, and none of a dropped key.

#include "file/QueuedFileWork.h"

#include <QString>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <semaphore>
#include <vector>

namespace flow {
namespace {

TEST(QueuedFileWorkTest, PiecesRunOneAtATimeInOrderAndOnlyTheNewestOfAKey) {
    std::binary_semaphore started{0}, release{0};
    std::mutex mutex;
    std::vector<QString> done;
    std::atomic<int> running{0}, mostAtOnce{0};
    const auto piece = [&](QString name) {
        return [&, name] {
            mostAtOnce = std::max(mostAtOnce.load(), ++running);
            const std::lock_guard lock(mutex);
            done.push_back(name);
            --running;
        };
    };
    // The first piece holds the worker while the rest are queued behind it.
    QueueFileWork([&] {
        started.release();
        release.acquire();
    });
    started.acquire();
    QueueFileWork(piece("a1"), "a");
    QueueFileWork(piece("plain"));
    QueueFileWork(piece("a2"), "a");
    QueueFileWork(piece("b1"), "b");
    QueueFileWork(piece("c1"), "c");
    DropQueuedFileWork("c");
    QueueFileWork(piece("a3"), "a");
    release.release();
    WaitForQueuedFileWork();
    // a3 took a1's place in the queue: a write is replaced where it waits.
    EXPECT_EQ(done, (std::vector<QString>{"a3", "plain", "b1"}));
    EXPECT_EQ(mostAtOnce.load(), 1);

    // Work queued after the worker went idle runs as well.
    QueueFileWork(piece("later"), "a");
    WaitForQueuedFileWork();
    EXPECT_EQ(done.back(), "later");
}

} // namespace
} // namespace flow
