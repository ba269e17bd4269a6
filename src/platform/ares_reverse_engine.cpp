#include "platform/ares_reverse_engine.h"

#include <ares.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/resolver_timeouts.h"

namespace hostlore {

namespace {

void InitialiseAres() {
    static const int status = ares_library_init(ARES_LIB_INIT_ALL);
    if (status != ARES_SUCCESS) {
        throw std::runtime_error(std::string("c-ares: ") + ares_strerror(status));
    }
}

// The program starts no other programs that should inherit a name server socket.
int CloseOnExec(ares_socket_t socket, int /*type*/, void* /*data*/) {
    return ::fcntl(socket, F_SETFD, FD_CLOEXEC) == 0 ? ARES_SUCCESS : -1;
}

// Hands a batch's answers to their callbacks until the batch is dropped; the
// drop waits for an answer being handed over.
class Delivery {
  public:
    void Deliver(const ReverseAnswer& answer, std::optional<std::string> name) {
        std::lock_guard lock(mutex_);
        if (open_) {
            answer(std::move(name));
        }
    }
    void Close() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }

  private:
    std::mutex mutex_;
    bool open_ = true;
};

struct Request {
    std::uint64_t batch = 0;
    Ipv4Address address{};
    ReverseAnswer answer;
};

}  // namespace

// What the batches hand to the engine's thread.
struct AresReverseEngine::Shared {
    Shared() : wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        if (wake < 0) {
            throw std::system_error(errno, std::generic_category(), "eventfd");
        }
    }
    ~Shared() { ::close(wake); }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    // Takes over the channel; raises an exception once the engine has ended.
    std::uint64_t Open(ares_channel channel) {
        std::unique_lock lock(mutex);
        if (ended) {
            lock.unlock();
            ares_destroy(channel);
            throw std::runtime_error("the reverse look-up engine has ended");
        }
        const std::uint64_t batch = nextBatch++;
        opened.emplace_back(batch, channel);
        return batch;
    }
    void Start(Request request) {
        Post([&] { started.push_back(std::move(request)); });
    }
    void Close(std::uint64_t batch) {
        Post([&] { closed.push_back(batch); });
    }
    void Stop() {
        Post([&] { stopping = true; });
    }

    const int wake;
    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, ares_channel>> opened;
    std::vector<Request> started;
    std::vector<std::uint64_t> closed;
    bool stopping = false;
    bool ended = false;
    std::uint64_t nextBatch = 1;
    std::atomic<std::size_t> peak{0};

  private:
    template <class Change>
    void Post(Change change) {
        {
            std::lock_guard lock(mutex);
            if (ended) {
                return;
            }
            change();
        }
        ::eventfd_write(wake, 1);
    }
};

// The engine's thread: everything c-ares does happens here.
struct AresReverseEngine::Loop {
    struct Query {
        Loop* loop;
        ReverseAnswer answer;
    };

    std::shared_ptr<Shared> shared;
    std::map<std::uint64_t, ares_channel> channels;
    std::deque<Request> waiting;
    std::size_t inFlight = 0;

    void Run() {
        std::vector<pollfd> watched;
        std::vector<ares_channel> owners;
        while (TakeCommands()) {
            SendWaiting();
            const int timeout = Watch(watched, owners);
            if (::poll(watched.data(), watched.size(), timeout) < 0) {
                continue;  // interrupted: look again
            }
            if (watched.front().revents != 0) {
                eventfd_t ignored = 0;
                ::eventfd_read(shared->wake, &ignored);
            }
            for (std::size_t i = 1; i < watched.size(); ++i) {
                const short events = watched[i].revents;
                if (events != 0) {
                    const bool readable = (events & (POLLIN | POLLERR | POLLHUP)) != 0;
                    ares_process_fd(owners[i], readable ? watched[i].fd : ARES_SOCKET_BAD,
                                    (events & POLLOUT) != 0 ? watched[i].fd : ARES_SOCKET_BAD);
                }
            }
            for (const auto& [batch, channel] : channels) {
                ares_process_fd(channel, ARES_SOCKET_BAD, ARES_SOCKET_BAD);  // time-outs
            }
        }
        for (const auto& [batch, channel] : channels) {
            ares_destroy(channel);
        }
    }

    // Applies what the batches asked for; false once the engine is to stop.
    bool TakeCommands() {
        std::vector<std::pair<std::uint64_t, ares_channel>> opened;
        std::vector<Request> started;
        std::vector<std::uint64_t> closed;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->stopping) {
                shared->ended = true;
                for (const auto& [batch, channel] : shared->opened) {
                    channels.emplace(batch, channel);
                }
                return false;
            }
            opened.swap(shared->opened);
            started.swap(shared->started);
            closed.swap(shared->closed);
        }
        channels.insert(opened.begin(), opened.end());
        std::move(started.begin(), started.end(), std::back_inserter(waiting));
        for (const std::uint64_t batch : closed) {
            std::erase_if(waiting,
                          [batch](const Request& request) { return request.batch == batch; });
            if (const auto found = channels.find(batch); found != channels.end()) {
                ares_destroy(found->second);  // answers its queries with ARES_EDESTRUCTION
                channels.erase(found);
            }
        }
        return true;
    }

    void SendWaiting() {
        while (inFlight < kMaxInFlight && !waiting.empty()) {
            Request request = std::move(waiting.front());
            waiting.pop_front();
            const auto channel = channels.find(request.batch);
            if (channel == channels.end()) {
                continue;
            }
            ++inFlight;
            std::size_t peak = shared->peak.load();
            while (peak < inFlight && !shared->peak.compare_exchange_weak(peak, inFlight)) {
            }
            // May answer at once, from the hosts file.
            ares_gethostbyaddr(channel->second, request.address.data(),
                               static_cast<int>(request.address.size()), AF_INET, Answered,
                               new Query{this, std::move(request.answer)});
        }
    }

    static void Answered(void* argument, int status, int /*timeouts*/, hostent* host) {
        const std::unique_ptr<Query> query(static_cast<Query*>(argument));
        --query->loop->inFlight;
        if (status == ARES_EDESTRUCTION) {
            return;  // its batch was dropped
        }
        std::optional<std::string> name;
        if (status == ARES_SUCCESS && host != nullptr && host->h_name != nullptr) {
            name = host->h_name;
        }
        query->answer(std::move(name));
    }

    // The descriptors to wait on, the wake-up first, and how long until the
    // next time-out of a query (-1: none).
    int Watch(std::vector<pollfd>& watched, std::vector<ares_channel>& owners) const {
        watched.assign(1, pollfd{shared->wake, POLLIN, 0});
        owners.assign(1, nullptr);
        int timeout = -1;
        for (const auto& [batch, channel] : channels) {
            ares_socket_t sockets[ARES_GETSOCK_MAXNUM];
            const int bits = ares_getsock(channel, sockets, ARES_GETSOCK_MAXNUM);
            for (int i = 0; i < ARES_GETSOCK_MAXNUM; ++i) {
                short events = 0;
                if (ARES_GETSOCK_READABLE(bits, i)) {
                    events |= POLLIN;
                }
                if (ARES_GETSOCK_WRITABLE(bits, i)) {
                    events |= POLLOUT;
                }
                if (events != 0) {
                    watched.push_back(pollfd{sockets[i], events, 0});
                    owners.push_back(channel);
                }
            }
            timeval left{};
            if (const timeval* next = ares_timeout(channel, nullptr, &left); next != nullptr) {
                const auto milliseconds =
                    static_cast<int>(next->tv_sec * 1000 + (next->tv_usec + 999) / 1000);
                timeout = timeout < 0 ? milliseconds : std::min(timeout, milliseconds);
            }
        }
        return timeout;
    }
};

class AresReverseEngine::Batch : public ReverseLookups {
  public:
    Batch(std::shared_ptr<Shared> shared, ares_channel channel)
        : shared_(std::move(shared)), batch_(shared_->Open(channel)) {}
    ~Batch() override {
        delivery_->Close();
        shared_->Close(batch_);
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void Start(const Ipv4Address& address, ReverseAnswer answer) override {
        shared_->Start(Request{
            batch_, address,
            [delivery = delivery_, answer = std::move(answer)](std::optional<std::string> name) {
                delivery->Deliver(answer, std::move(name));
            }});
    }

  private:
    std::shared_ptr<Shared> shared_;
    const std::uint64_t batch_;
    const std::shared_ptr<Delivery> delivery_ = std::make_shared<Delivery>();
};

AresReverseEngine::AresReverseEngine() : shared_(std::make_shared<Shared>()) {
    InitialiseAres();
    thread_ = std::thread([loop = Loop{shared_, {}, {}, 0}]() mutable { loop.Run(); });
}

AresReverseEngine::~AresReverseEngine() {
    shared_->Stop();
    thread_.join();
}

std::unique_ptr<ReverseLookups> AresReverseEngine::NewBatch() {
    // The library reads resolv.conf itself but knows only its own names for
    // the time-outs, not those the C library's resolver reads.
    const ResolverTimeouts timeouts = SystemResolverTimeouts();
    ares_options options{};
    options.timeout = timeouts.timeoutSeconds * 1000;
    options.tries = timeouts.attempts;
    ares_channel channel = nullptr;
    if (const int status =
            ares_init_options(&channel, &options, ARES_OPT_TIMEOUTMS | ARES_OPT_TRIES);
        status != ARES_SUCCESS) {
        throw std::runtime_error(std::string("c-ares: ") + ares_strerror(status));
    }
    ares_set_socket_configure_callback(channel, CloseOnExec, nullptr);
    return std::make_unique<Batch>(shared_, channel);
}

std::size_t AresReverseEngine::PeakInFlight() const {
    return shared_->peak.load();
}

}  // namespace hostlore
