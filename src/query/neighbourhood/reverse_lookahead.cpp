#include "query/neighbourhood/reverse_lookahead.h"

#include <algorithm>
#include <chrono>

#include "query/neighbourhood/neighbour_scan.h"

namespace hostlore {

void ReverseLookahead::Answers::Put(std::uint64_t index, Name name) {
    std::lock_guard lock(mutex);
    names.emplace(index, std::move(name));
    arrived.notify_all();
}

ReverseLookahead::ReverseLookahead(Resolver& resolver, std::uint32_t first, std::uint64_t count)
    : first_(first), count_(count) {
    try {
        batch_ = resolver.NewReverseLookups();
    } catch (...) {
        // Without look-ups every address counts as having no name.
    }
}

std::optional<ReverseLookahead::Name> ReverseLookahead::Ready(std::uint64_t index) {
    return TryTake(index, 0);
}

void ReverseLookahead::StartUpTo(std::uint64_t end) {
    for (; started_ < std::min(end, count_); ++started_) {
        const std::uint64_t index = started_;
        if (!batch_) {
            answers_->Put(index, std::nullopt);
            continue;
        }
        try {
            batch_->Start(
                AddressOfValue(static_cast<std::uint32_t>(first_ + index)),
                [answers = answers_, index](Name name) { answers->Put(index, std::move(name)); });
        } catch (...) {
            answers_->Put(index, std::nullopt);  // a look-up that cannot start gives no name
        }
    }
}

std::optional<ReverseLookahead::Name> ReverseLookahead::TryTake(std::uint64_t index,
                                                                int milliseconds) {
    StartUpTo(index + kWindow);
    std::unique_lock lock(answers_->mutex);
    const auto there = [&] { return answers_->names.count(index) > 0; };
    if (!there() &&
        (milliseconds == 0 ||
         !answers_->arrived.wait_for(lock, std::chrono::milliseconds(milliseconds), there))) {
        return std::nullopt;
    }
    auto answer = answers_->names.extract(index);
    return std::move(answer.mapped());
}

}  // namespace hostlore
