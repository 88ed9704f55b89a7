#pragma once
// File work done away from the user-interface thread, one piece at a time and in the order it
// was asked for, on one thread of its own: recovery copies are written and removed there.

#include <QString>

#include <functional>

namespace flow {

// Queues the work. Work given under a key replaces work of the same key that has not started:
// only the newest copy of a file is worth writing. Work under an empty key is never replaced.
void QueueFileWork(std::function<void()> work, const QString& key = {});
// Drops the queued work of the key that has not started; work under way goes on.
void DropQueuedFileWork(const QString& key);
// Blocks until all the queued work is done.
void WaitForQueuedFileWork();

} // namespace flow
