#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/resolver.h"

namespace hostlore {

// Reverse look-ups of a run of consecutive addresses, started ahead of the
// one being shown but never more than a bounded window ahead of it. They run
// as one batch of the resolver: dropping the lookahead cancels what is still
// outstanding.
class ReverseLookahead {
  public:
    static constexpr std::uint64_t kWindow = 128;
    using Name = std::optional<std::string>;  // nothing: no name

    ReverseLookahead(Resolver& resolver, std::uint32_t first, std::uint64_t count);
    ReverseLookahead(const ReverseLookahead&) = delete;
    ReverseLookahead& operator=(const ReverseLookahead&) = delete;

    // The official name of the index-th address, or nothing when it has none
    // or its look-up failed. Nothing as well when `abandon` holds: it is asked
    // again every few milliseconds while the answer is outstanding.
    template <class Abandon>
    std::optional<Name> Take(std::uint64_t index, Abandon abandon) {
        std::optional<Name> answer;
        while (!(answer = TryTake(index, kPollMilliseconds))) {
            if (abandon()) {
                return std::nullopt;
            }
        }
        return answer;
    }

    // The answer when it is there already, without waiting.
    std::optional<Name> Ready(std::uint64_t index);

  private:
    static constexpr int kPollMilliseconds = 10;

    // Where the batch's answers land, on the resolver's thread.
    struct Answers {
        std::mutex mutex;
        std::condition_variable arrived;
        std::map<std::uint64_t, Name> names;
        void Put(std::uint64_t index, Name name);
    };

    std::optional<Name> TryTake(std::uint64_t index, int milliseconds);
    void StartUpTo(std::uint64_t end);

    const std::uint32_t first_;
    const std::uint64_t count_;
    std::uint64_t started_ = 0;
    const std::shared_ptr<Answers> answers_ = std::make_shared<Answers>();
    std::unique_ptr<ReverseLookups> batch_;  // none when it could not be started
};

}  // namespace hostlore
