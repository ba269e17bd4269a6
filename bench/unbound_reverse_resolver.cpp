#include "unbound_reverse_resolver.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unbound.h>
#include <unistd.h>

#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/name_servers.h"
#include "platform/resolver_timeouts.h"

namespace hostlore {

namespace {

constexpr int kPointer = 12;

std::string ReverseName(const Ipv4Address& address) {
    return std::to_string(address[3]) + "." + std::to_string(address[2]) + "." +
           std::to_string(address[1]) + "." + std::to_string(address[0]) + ".in-addr.arpa";
}

// The name a PTR record's data holds, in wire format.
std::optional<std::string> NameOf(const char* data, int size) {
    std::string name;
    for (int at = 0; at < size;) {
        const int length = static_cast<unsigned char>(data[at]);
        if (length == 0) {
            return name.empty() ? std::nullopt : std::optional(name);
        }
        if (at + 1 + length > size) {
            return std::nullopt;
        }
        if (!name.empty()) {
            name += '.';
        }
        name.append(data + at + 1, static_cast<std::size_t>(length));
        at += 1 + length;
    }
    return std::nullopt;
}

}  // namespace

class UnboundReverseResolver::Batch : public ReverseLookups {
  public:
    explicit Batch(UnboundReverseResolver& owner)
        : owner_(owner), context_(ub_ctx_create()), stop_(::eventfd(0, EFD_CLOEXEC)) {
        ub_ctx_async(context_, 1);
        for (const auto& server :
             NameServers("/etc/resolv.conf", "/run/systemd/resolve/resolv.conf")) {
            ub_ctx_set_fwd(context_, server.c_str());
        }
        ub_ctx_hosts(context_, "/etc/hosts");
        ub_ctx_set_option(context_, "module-config:", "iterator");
        // The library answers the private blocks' reverse zones itself, with no name.
        ub_ctx_set_option(context_, "unblock-lan-zones:", "yes");
        ub_ctx_set_option(context_, "insecure-lan-zones:", "yes");
        if (owner_.tuned_) {
            // As many at once as the scan starts, and no answer given up
            // before the resolver's time-out: the library's first wait is
            // 376 ms, and it drops an answer that comes after it.
            ub_ctx_set_option(context_, "outgoing-range:", "512");
            ub_ctx_set_option(context_, "num-queries-per-thread:", "512");
            const ResolverTimeouts timeouts = SystemResolverTimeouts();
            ub_ctx_set_option(context_, "infra-cache-min-rtt:",
                              std::to_string(timeouts.timeoutSeconds * 1000).c_str());
        }
        delivery_ = std::thread([this] { Deliver(); });
    }
    ~Batch() override {
        ::eventfd_write(stop_, 1);
        delivery_.join();
        ub_ctx_delete(context_);
        ::close(stop_);
        owner_.inFlight_ -= pending_.size();
        for (Pending* pending : pending_) {
            delete pending;
        }
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void Start(const Ipv4Address& address, ReverseAnswer answer) override {
        auto* pending = new Pending{this, std::move(answer)};
        {
            std::lock_guard lock(mutex_);
            pending_.insert(pending);
        }
        const std::size_t now = ++owner_.inFlight_;
        std::size_t peak = owner_.peak_.load();
        while (peak < now && !owner_.peak_.compare_exchange_weak(peak, now)) {
        }
        if (ub_resolve_async(context_, ReverseName(address).c_str(), kPointer, 1, pending, Answered,
                             nullptr) != 0) {
            Answered(pending, 1, nullptr);
        }
    }

  private:
    struct Pending {
        Batch* batch;
        ReverseAnswer answer;
    };

    void Deliver() {
        pollfd watched[2] = {{ub_fd(context_), POLLIN, 0}, {stop_, POLLIN, 0}};
        while (::poll(watched, 2, -1) >= 0 && watched[1].revents == 0) {
            if (watched[0].revents != 0) {
                ub_process(context_);
            }
        }
    }

    static void Answered(void* data, int status, ub_result* result) {
        auto* pending = static_cast<Pending*>(data);
        std::optional<std::string> name;
        if (status == 0 && result != nullptr && result->havedata != 0) {
            name = NameOf(result->data[0], result->len[0]);
        }
        if (result != nullptr) {
            ub_resolve_free(result);
        }
        Batch& batch = *pending->batch;
        {
            std::lock_guard lock(batch.mutex_);
            batch.pending_.erase(pending);
        }
        --batch.owner_.inFlight_;
        pending->answer(std::move(name));
        delete pending;
    }

    UnboundReverseResolver& owner_;
    ub_ctx* const context_;
    const int stop_;
    std::mutex mutex_;
    std::set<Pending*> pending_;
    std::thread delivery_;
};

std::unique_ptr<ReverseLookups> UnboundReverseResolver::NewReverseLookups() {
    return std::make_unique<Batch>(*this);
}

}  // namespace hostlore
