#pragma once

#include <cstddef>

namespace hostlore {

// A connection's socket as a layer reaches it: its own bytes, with the
// connection's deadline and closing from another thread.
class TNetRawTransport {
  public:
    TNetRawTransport() = default;
    virtual ~TNetRawTransport() = default;
    TNetRawTransport(const TNetRawTransport&) = delete;
    TNetRawTransport& operator=(const TNetRawTransport&) = delete;

    // The count, 0 once the peer has closed, or -1 when nothing came within
    // `waitMs` (-2: no limit).
    virtual std::ptrdiff_t ReceiveRaw(char* buffer, std::size_t size, int waitMs) = 0;
    virtual void SendRaw(const char* bytes, std::size_t size) = 0;
};

// A layer between a connection's reads and writes and its socket, such as
// TLS. It reaches the socket through the connection's raw calls, so the
// connection's deadline and closing from another thread hold for it too.
class TNetIntercept {
  public:
    TNetIntercept() = default;
    virtual ~TNetIntercept() = default;
    TNetIntercept(const TNetIntercept&) = delete;
    TNetIntercept& operator=(const TNetIntercept&) = delete;

    // Up to `size` decoded bytes: their count, 0 once the peer has closed, or
    // -1 when none came within `waitMs` (-2: no limit).
    virtual std::ptrdiff_t Receive(char* buffer, std::size_t size, int waitMs) = 0;
    // Every byte, or a failure.
    virtual void Send(const char* bytes, std::size_t size) = 0;
    // The peer closed without the layer's own announcement of the end, so
    // what came may have been cut off on the way.
    virtual bool CutOff() const { return false; }
};

}  // namespace hostlore
