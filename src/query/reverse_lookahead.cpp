#include "query/reverse_lookahead.h"

#include <chrono>
#include <thread>

#include "query/neighbour_scan.h"

namespace hostlore {

struct ReverseLookahead::Shared {
    std::shared_ptr<Resolver> resolver;
    std::uint32_t first = 0;
    std::uint64_t count = 0;

    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t next = 0;   // the next index a look-up thread takes
    std::uint64_t shown = 0;  // the index the reader waits for
    bool abandoned = false;
    std::map<std::uint64_t, std::optional<std::string>> answers;

    // One look-up thread: takes indices in order while they are inside the
    // window, until the run is done or abandoned.
    static void Work(const std::shared_ptr<Shared>& self) {
        std::unique_lock lock(self->mutex);
        for (;;) {
            self->changed.wait(lock, [&] {
                return self->abandoned || self->next >= self->count ||
                       self->next < self->shown + kWindow;
            });
            if (self->abandoned || self->next >= self->count) {
                return;
            }
            const std::uint64_t index = self->next++;
            lock.unlock();
            std::optional<std::string> name;
            try {
                const HostLookup found = self->resolver->LookupAddress(
                    AddressOfValue(static_cast<std::uint32_t>(self->first + index)));
                if (found.entry) {
                    name = found.entry->officialName;
                }
            } catch (...) {
                // A failed look-up counts as no name.
            }
            lock.lock();
            self->answers.emplace(index, std::move(name));
            self->changed.notify_all();
        }
    }
};

ReverseLookahead::ReverseLookahead(std::shared_ptr<Resolver> resolver, std::uint32_t first,
                                   std::uint64_t count)
    : shared_(std::make_shared<Shared>()) {
    shared_->resolver = std::move(resolver);
    shared_->first = first;
    shared_->count = count;
    const std::uint64_t threads = std::min<std::uint64_t>(kInFlight, count);
    for (std::uint64_t i = 0; i < threads; ++i) {
        std::thread([shared = shared_] { Shared::Work(shared); }).detach();
    }
}

ReverseLookahead::~ReverseLookahead() {
    std::lock_guard lock(shared_->mutex);
    shared_->abandoned = true;
    shared_->answers.clear();
    shared_->changed.notify_all();
}

std::optional<ReverseLookahead::Name> ReverseLookahead::Ready(std::uint64_t index) {
    return TryTake(index, 0);
}

std::optional<ReverseLookahead::Name> ReverseLookahead::TryTake(std::uint64_t index,
                                                                int milliseconds) {
    std::unique_lock lock(shared_->mutex);
    if (shared_->shown != index) {
        shared_->shown = index;
        shared_->changed.notify_all();
    }
    const auto there = [&] { return shared_->answers.count(index) > 0; };
    if (!there() &&
        (milliseconds == 0 ||
         !shared_->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), there))) {
        return std::nullopt;
    }
    auto answer = shared_->answers.extract(index);
    return std::move(answer.mapped());
}

}  // namespace hostlore
