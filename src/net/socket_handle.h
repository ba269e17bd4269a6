#pragma once

#include <mutex>
#include <optional>
#include <string>

namespace hostlore {

// A socket that one thread uses while another may close it. Closing wakes any
// call in progress at once (shutdown) and releases the descriptor only when no
// call is using it, so a descriptor number is never reused under a caller.
class TNetSocketHandle {
  public:
    TNetSocketHandle() = default;
    ~TNetSocketHandle();
    TNetSocketHandle(const TNetSocketHandle&) = delete;
    TNetSocketHandle& operator=(const TNetSocketHandle&) = delete;

    // Takes ownership of a new socket; the handle must be free.
    void Allocate(int descriptor);
    bool Allocated() const;
    // Puts `descriptor` in place of the socket, which no call may be using:
    // false, leaving `descriptor` to the caller, when the socket was dropped.
    bool Replace(int descriptor);

    // Closes the socket: returns true when this call closed it.
    bool Drop();

    // A descriptor held for one call; the socket stays open until it is gone.
    class Use {
      public:
        Use(Use&& other) noexcept;
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;
        Use& operator=(Use&&) = delete;
        int Descriptor() const { return descriptor_; }

      private:
        friend class TNetSocketHandle;
        Use(TNetSocketHandle* handle, int descriptor) : handle_(handle), descriptor_(descriptor) {}
        TNetSocketHandle* handle_;
        int descriptor_;
    };
    // The socket for one call, or nothing when it is not allocated.
    std::optional<Use> Acquire();

    void SetAddresses(std::string localIp, int localPort, std::string peerIp, int peerPort);
    std::string PeerIp() const;
    int PeerPort() const;
    std::string LocalIp() const;
    int LocalPort() const;

  private:
    void Release();

    mutable std::mutex mutex_;
    int descriptor_ = -1;  // open until the last user lets go after a drop
    bool allocated_ = false;
    int users_ = 0;
    std::string localIp_;
    int localPort_ = 0;
    std::string peerIp_;
    int peerPort_ = 0;
};

}  // namespace hostlore
