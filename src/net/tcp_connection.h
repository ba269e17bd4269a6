#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "net/socket_handle.h"

namespace hostlore {

// One blocking TCP connection: sending, waiting in slices, and reading chunks,
// lines, exact counts or everything up to the peer's close. One worker thread
// uses it; another thread may only ask IsConnected and CloseConnection.
class TNetTCPConnection {
  public:
    TNetTCPConnection() = default;
    virtual ~TNetTCPConnection() = default;
    TNetTCPConnection(const TNetTCPConnection&) = delete;
    TNetTCPConnection& operator=(const TNetTCPConnection&) = delete;

    std::int32_t RecvBufferSize = 32768;  // most bytes one receive asks for
    std::int32_t SendBufferSize = 32768;
    bool LineTimedOut = false;
    bool ASCIIFilter = false;
    std::function<void()> OnDisconnected;

    bool IsConnected();
    void CloseConnection() { DropSocket(); }
    void DropSocket();
    bool PeerClosed() const { return peerClosed_; }

    void SendText(std::string_view text);
    void SendLine(std::string_view text);
    void SendBytes(const void* bytes, std::int32_t count);

    // -2 waits without limit.
    bool WaitReadable(int waitMs);
    std::int32_t ReceiveChunk(bool raiseIfClosed, int waitMs);
    std::string TakePending();
    // Until the peer closes; past `limit` bytes the connection is closed and
    // ENetReplyTooLarge raised, so no more than that is ever held.
    std::string ReceiveAll(std::size_t limit = std::string::npos);
    // Raises ENetLineTooLong when more than `maxLength` bytes come without a
    // terminator.
    std::string ReceiveLine(std::string_view terminator = {}, int waitMs = -2,
                            std::size_t maxLength = std::string::npos);
    // Raises ENetReadTimedOut when no byte comes within `waitMs` (-2: no limit).
    void ReceiveExact(void* buffer, std::int32_t count, int waitMs = -2);
    void CheckPeerClosed(bool raiseIfClosed, bool ignorePending);

    const std::string& PendingInput() const { return pending_; }
    TNetSocketHandle& Socket() { return handle_; }

  protected:
    void ResetConnectionState();

  private:
    bool WaitSlice(int waitMs);

    TNetSocketHandle handle_;
    std::string pending_;
    std::atomic<bool> peerClosed_{false};
};

}  // namespace hostlore
