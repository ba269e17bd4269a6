#include "query/whois/server_turns.h"

#include <algorithm>

namespace hostlore {

namespace {

constexpr std::chrono::milliseconds kStopCheck{100};

}  // namespace

ServerTurns::Turn::~Turn() {
    if (turns_ != nullptr) {
        turns_->Release(server_);
    }
}

std::optional<ServerTurns::Turn> ServerTurns::Await(const std::string& server,
                                                    const ServerManners& manners,
                                                    const std::function<bool()>& stopped) {
    const int limit = std::max(manners.inFlight, 1);
    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopped()) {
            return std::nullopt;
        }
        State& state = servers_[server];
        const Moment now = std::chrono::steady_clock::now();
        const Moment gapEnds = state.lastStart ? *state.lastStart + manners.gap : now;
        if (state.inFlight < limit && gapEnds <= now) {
            ++state.inFlight;
            state.lastStart = now;
            return Turn(*this, server);
        }
        const Moment wake =
            state.inFlight < limit ? std::min(gapEnds, now + kStopCheck) : now + kStopCheck;
        changed_.wait_until(lock, wake);
    }
}

void ServerTurns::Release(const std::string& server) {
    {
        std::lock_guard lock(mutex_);
        --servers_[server].inFlight;
    }
    changed_.notify_all();
}

}  // namespace hostlore
