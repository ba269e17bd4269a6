#pragma once

#include <string_view>

#include "net/tcp_connection.h"

namespace hostlore::fuzz {

// The far end of a connection that has said all it will say before the
// client starts: its bytes wait in a local socket pair, followed by the end of
// the stream. What the client sends is taken in and never read.
class ScriptedPeer {
  public:
    // Hands the near end of the pair to `connection`.
    ScriptedPeer(std::string_view script, TNetTCPConnection& connection);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  private:
    int descriptor_ = -1;
};

}  // namespace hostlore::fuzz
