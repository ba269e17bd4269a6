#pragma once

#include <stdexcept>
#include <string>

namespace hostlore {

// Root of every failure of the network layer.
class ENetException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ENetSilentException : public ENetException {
  public:
    using ENetException::ENetException;
};

// The peer has closed the connection, or it was closed here.
class ENetConnClosedGracefully : public ENetSilentException {
  public:
    ENetConnClosedGracefully() : ENetSilentException("Connection Closed Gracefully.") {}
};

class ENetAlreadyConnected : public ENetException {
  public:
    ENetAlreadyConnected() : ENetException("Already connected.") {}
};

// A failed socket or resolver call: "Socket Error # CODE", CR LF, description.
class ENetSocketError : public ENetException {
  public:
    explicit ENetSocketError(int code);
    int Code() const { return code_; }

  private:
    int code_;
};

class ENetInvalidSocket : public ENetException {
  public:
    ENetInvalidSocket() : ENetException("Cannot allocate socket.") {}
};

class ENetSocketHandleError : public ENetException {
  public:
    using ENetException::ENetException;
};

class ENetCouldNotBindSocket : public ENetSocketHandleError {
  public:
    ENetCouldNotBindSocket()
        : ENetSocketHandleError("Could not bind socket. Address and port are already in use.") {}
};

// A line longer than the reader allows: an endless line must not grow without end.
class ENetLineTooLong : public ENetException {
  public:
    ENetLineTooLong() : ENetException("Line too long.") {}
};

class ENetReplyHeaderTooLarge : public ENetException {
  public:
    ENetReplyHeaderTooLarge() : ENetException("Reply header too large.") {}
};

class ENetReplyTooLarge : public ENetException {
  public:
    ENetReplyTooLarge() : ENetException("Reply too large.") {}
};

// The peer closed the connection before it sent a single byte.
class ENetNoReply : public ENetException {
  public:
    ENetNoReply() : ENetException("Connection closed without a reply.") {}
};

// Every address the connection could go to is one it must not; says why of
// the first.
class ENetAddressRefused : public ENetException {
  public:
    using ENetException::ENetException;
};

class ENetReadTimedOut : public ENetException {
  public:
    ENetReadTimedOut() : ENetException("Read timed out.") {}
};

}  // namespace hostlore
