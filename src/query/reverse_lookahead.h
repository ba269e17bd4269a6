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

// Reverse look-ups of a run of consecutive addresses, made ahead of the one
// being shown: a bounded number in flight at once, each on a thread of its
// own, none further ahead than a bounded window. Dropping the lookahead
// abandons what is in flight: those threads end after their current look-up,
// and nobody waits for them.
class ReverseLookahead {
  public:
    static constexpr int kInFlight = 16;
    static constexpr std::uint64_t kWindow = 64;
    using Name = std::optional<std::string>;  // nothing: no name

    ReverseLookahead(std::shared_ptr<Resolver> resolver, std::uint32_t first, std::uint64_t count);
    ~ReverseLookahead();
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
    struct Shared;

    std::optional<Name> TryTake(std::uint64_t index, int milliseconds);

    std::shared_ptr<Shared> shared_;
};

}  // namespace hostlore
