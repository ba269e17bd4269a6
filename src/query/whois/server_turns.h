#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "query/connection_settings.h"

namespace hostlore {

// Shares out the turns to ask each server among every query of the
// program's run, so that many sites at once never flood one registry.
// Safe on any thread.
class ServerTurns {
  public:
    class Turn {
      public:
        Turn(ServerTurns& turns, std::string server) : turns_(&turns), server_(std::move(server)) {}
        ~Turn();
        Turn(Turn&& other) noexcept
            : turns_(std::exchange(other.turns_, nullptr)), server_(std::move(other.server_)) {}
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        Turn& operator=(Turn&&) = delete;

      private:
        ServerTurns* turns_;
        std::string server_;
    };

    // Waits until `server` may be asked and holds the turn until the result
    // goes; none when `stopped` turns true first (it is looked at every
    // tenth of a second).
    std::optional<Turn> Await(const std::string& server, const ServerManners& manners,
                              const std::function<bool()>& stopped);

  private:
    using Moment = std::chrono::steady_clock::time_point;
    struct State {
        int inFlight = 0;
        std::optional<Moment> lastStart;
    };

    void Release(const std::string& server);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, State> servers_;
};

}  // namespace hostlore
