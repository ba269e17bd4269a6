#include "thread_per_lookup_scan.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "query/neighbourhood/neighbour_items.h"

namespace hostlore {

namespace {

using Name = std::optional<std::string>;

constexpr int kInFlight = 16;
constexpr std::uint64_t kWindow = 64;

struct Shared {
    std::shared_ptr<Resolver> resolver;
    std::uint32_t first = 0;
    std::uint64_t count = 0;

    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t next = 0;
    std::uint64_t shown = 0;
    bool abandoned = false;
    std::map<std::uint64_t, Name> answers;

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
            Name name;
            try {
                const HostLookup found = self->resolver->LookupAddress(
                    AddressOfValue(static_cast<std::uint32_t>(self->first + index)));
                if (found.entry) {
                    name = found.entry->officialName;
                }
            } catch (...) {
            }
            lock.lock();
            self->answers.emplace(index, std::move(name));
            self->changed.notify_all();
        }
    }
};

class Lookahead {
  public:
    Lookahead(std::shared_ptr<Resolver> resolver, std::uint32_t first, std::uint64_t count)
        : shared_(std::make_shared<Shared>()) {
        shared_->resolver = std::move(resolver);
        shared_->first = first;
        shared_->count = count;
        for (std::uint64_t i = 0; i < std::min<std::uint64_t>(kInFlight, count); ++i) {
            std::thread([shared = shared_] { Shared::Work(shared); }).detach();
        }
    }
    ~Lookahead() {
        std::lock_guard lock(shared_->mutex);
        shared_->abandoned = true;
        shared_->answers.clear();
        shared_->changed.notify_all();
    }
    Lookahead(const Lookahead&) = delete;
    Lookahead& operator=(const Lookahead&) = delete;

    // The answer, waiting up to `milliseconds` for it.
    std::optional<Name> TryTake(std::uint64_t index, int milliseconds) {
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

  private:
    std::shared_ptr<Shared> shared_;
};

std::string ItemOf(const std::string& address, const Name& name) {
    return NamedNeighbourItem(address, name ? *name : kNoNeighbourName);
}

}  // namespace

thread_per_lookup_scan::thread_per_lookup_scan(std::shared_ptr<UiHandoff> handoff,
                                               NeighbourhoodView& page, NeighbourScanPlan plan,
                                               std::shared_ptr<Resolver> resolver)
    : TThread(std::move(handoff)), page_(page), plan_(plan), resolver_(std::move(resolver)) {}

void thread_per_lookup_scan::Execute() {
    Synchronize([&] { page_.ClearList(); });
    Lookahead lookahead(resolver_, plan_.first, plan_.count);
    for (std::uint64_t index = 0; index < plan_.count; ++index) {
        const std::string address =
            DottedAddress(AddressOfValue(static_cast<std::uint32_t>(plan_.first + index)));
        if (const auto name = lookahead.TryTake(index, 0)) {
            Synchronize([&] { page_.AppendItem(ItemOf(address, *name)); });
            continue;
        }
        Synchronize([&] { page_.AppendItem(address); });
        std::optional<Name> name;
        while (!(name = lookahead.TryTake(index, 10))) {
            if (Terminated()) {
                return;
            }
        }
        Synchronize([&] { page_.ReplaceLastItem(ItemOf(address, *name)); });
    }
}

}  // namespace hostlore
