#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/intercept.h"
#include "net/socket_handle.h"

namespace hostlore {

// One blocking TCP connection: sending, waiting in slices, and reading chunks,
// lines, exact counts or everything up to the peer's close. One worker thread
// uses it; another thread may only ask IsConnected and CloseConnection. While
// an exchange deadline is set, every wait ends by it (ExchangeDeadline).
class TNetTCPConnection : public TNetRawTransport {
  public:
    std::int32_t RecvBufferSize = 32768;  // most bytes one receive asks for
    std::int32_t SendBufferSize = 32768;
    // Set by a line read that returned without a whole line: its wait ran
    // out, or the peer closed after part of one.
    bool LineIncomplete = false;
    bool ASCIIFilter = false;
    std::function<void()> OnDisconnected;

    bool IsConnected();
    void CloseConnection() { DropSocket(); }
    void DropSocket();
    bool PeerClosed() const { return peerClosed_; }
    // The peer closed without announcing the end of its data, where the
    // layer in between can tell (TLS without its closing alert).
    bool InputCutOff() const { return intercept_ && intercept_->CutOff(); }

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

    // Puts a layer such as TLS between the reads and writes and the socket,
    // until the next connection is opened.
    void AttachIntercept(std::unique_ptr<TNetIntercept> intercept);

    // The socket's own bytes, below any intercept.
    std::ptrdiff_t ReceiveRaw(char* buffer, std::size_t size, int waitMs) override;
    void SendRaw(const char* bytes, std::size_t size) override;

    // `waitMs` (-2: no limit) cut to what is left of the exchange's time;
    // raises ENetReadTimedOut once none is left.
    int TimeLeftMs(int waitMs) const;

  protected:
    void ResetConnectionState();

  private:
    friend class ExchangeDeadline;
    bool WaitSlice(int waitMs);
    bool WaitInSlices(int waitMs);

    TNetSocketHandle handle_;
    std::string pending_;
    std::atomic<bool> peerClosed_{false};
    std::unique_ptr<TNetIntercept> intercept_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
};

// One time limit for a whole exchange on `connection` (connecting, a proxy's
// negotiation, a handshake, the request and its reply) rather than one per
// read, so that a peer trickling bytes cannot stretch it. Every wait fails
// with ENetReadTimedOut once `timeoutMs` (-2: no limit) have passed; a
// deadline already set stays in force.
class ExchangeDeadline {
  public:
    ExchangeDeadline(TNetTCPConnection& connection, int timeoutMs);
    ~ExchangeDeadline();
    ExchangeDeadline(const ExchangeDeadline&) = delete;
    ExchangeDeadline& operator=(const ExchangeDeadline&) = delete;

  private:
    TNetTCPConnection& connection_;
    bool set_ = false;
};

}  // namespace hostlore
