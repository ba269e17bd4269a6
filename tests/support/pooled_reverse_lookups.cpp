#include "support/pooled_reverse_lookups.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace hostlore::test {

namespace {

// Threads started one per posted look-up up to a fixed number; they live as
// long as the program.
class LookupPool {
  public:
    static constexpr int kThreads = 8;

    // Queues `task` for `owner`. Raises an exception when no thread could be
    // started to run it.
    void Post(const void* owner, std::function<void()> task) {
        std::unique_lock lock(mutex_);
        queue_.emplace_back(owner, std::move(task));
        if (threads_ < kThreads) {
            try {
                std::thread([this] { Work(); }).detach();
                ++threads_;
            } catch (const std::system_error&) {
                // The threads that did start serve the queue; without any,
                // the task cannot run.
                if (threads_ == 0) {
                    queue_.pop_back();
                    throw;
                }
            }
        }
        changed_.notify_one();
    }

    // Drops the owner's queued tasks and waits until none of its tasks runs.
    void Forget(const void* owner) {
        std::unique_lock lock(mutex_);
        std::erase_if(queue_, [owner](const auto& queued) { return queued.first == owner; });
        changed_.wait(lock,
                      [&] { return std::count(running_.begin(), running_.end(), owner) == 0; });
    }

  private:
    void Work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return !queue_.empty(); });
            auto [owner, task] = std::move(queue_.front());
            queue_.pop_front();
            running_.push_back(owner);
            lock.unlock();
            task();
            lock.lock();
            running_.erase(std::find(running_.begin(), running_.end(), owner));
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<const void*, std::function<void()>>> queue_;
    std::deque<const void*> running_;
    int threads_ = 0;
};

LookupPool& SharedPool() {
    // Never destroyed: at the program's end its threads may still be inside a
    // resolver call.
    static auto* const pool = new LookupPool;
    return *pool;
}

class PooledBatch : public ReverseLookups {
  public:
    explicit PooledBatch(Resolver& resolver) : resolver_(resolver) {}
    ~PooledBatch() override { SharedPool().Forget(this); }
    PooledBatch(const PooledBatch&) = delete;
    PooledBatch& operator=(const PooledBatch&) = delete;

    void Start(const Ipv4Address& address, ReverseAnswer answer) override {
        SharedPool().Post(this, [this, address, answer = std::move(answer)] {
            std::optional<std::string> name;
            try {
                if (auto found = resolver_.LookupAddress(address); found.entry) {
                    name = std::move(found.entry->officialName);
                }
            } catch (...) {
                // A failed look-up counts as no name.
            }
            answer(std::move(name));
        });
    }

  private:
    Resolver& resolver_;
};

}  // namespace

std::unique_ptr<ReverseLookups> PooledReverseLookups(Resolver& resolver) {
    return std::make_unique<PooledBatch>(resolver);
}

}  // namespace hostlore::test
