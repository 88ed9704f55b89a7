#include "file/QueuedFileWork.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace flow {

namespace {

struct Piece {
    QString Key;
    std::function<void()> Work;
};

class FileWorker {
  public:
    ~FileWorker() {
        // Whatever was queued is still done before the program ends: a removal skipped here
        // would leave a copy to be offered at the next start.
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    void Queue(std::function<void()> work, const QString& key) {
        {
            const std::lock_guard lock(mutex_);
            if (!key.isEmpty())
                for (Piece& piece : queue_)
                    if (piece.Key == key) {
                        piece.Work = std::move(work);
                        return;
                    }
            queue_.push_back({key, std::move(work)});
            if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
        }
        changed_.notify_all();
    }

    void Drop(const QString& key) {
        {
            const std::lock_guard lock(mutex_);
            std::erase_if(queue_, [&](const Piece& piece) { return piece.Key == key; });
        }
        changed_.notify_all();
    }

    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
    }

  private:
    void Loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return ending_ || !queue_.empty(); });
            if (queue_.empty()) return;
            Piece piece = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
            lock.unlock();
            piece.Work();
            lock.lock();
            busy_ = false;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> queue_;
    std::thread thread_;
    bool busy_ = false;
    bool ending_ = false;
};

FileWorker& Worker() {
    static FileWorker worker;
    return worker;
}

} // namespace

void QueueFileWork(std::function<void()> work, const QString& key) {
    Worker().Queue(std::move(work), key);
}

void DropQueuedFileWork(const QString& key) {
    Worker().Drop(key);
}

void WaitForQueuedFileWork() {
    Worker().Wait();
}

} // namespace flow
