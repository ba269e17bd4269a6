#include "platform/unbound_context.h"

#include <poll.h>

#include <algorithm>
#include <stdexcept>

namespace hostlore {

namespace {

constexpr int kClassInternet = 1;

std::runtime_error UnboundError(const std::string& what, int status) {
    return std::runtime_error(what + ": " + ub_strerror(status) + ".");
}

std::string KeyOf(const DnsQuestionsSetup& setup) {
    std::string key = setup.trustAnchor;
    for (const std::string& server : setup.nameServers) {
        key.append("\n").append(server);
    }
    return key;
}

void Configure(ub_ctx* context, const DnsQuestionsSetup& setup) {
    // A thread, not the process the library would fork by default.
    if (const int status = ub_ctx_async(context, 1); status != 0) {
        throw UnboundError("The DNS library could not start", status);
    }
    bool forwarding = false;
    for (const std::string& server : setup.nameServers) {
        forwarding = ub_ctx_set_fwd(context, server.c_str()) == 0 || forwarding;
    }
    if (!forwarding) {
        throw std::runtime_error("No name server can be asked.");
    }
    if (const int status = ub_ctx_add_ta_file(context, setup.trustAnchor.c_str()); status != 0) {
        throw UnboundError("The trust anchor " + setup.trustAnchor + " cannot be used", status);
    }
}

ub_ctx* NewContext(const DnsQuestionsSetup& setup) {
    ub_ctx* const context = ub_ctx_create();
    if (context == nullptr) {
        throw std::runtime_error("The DNS library could not start.");
    }
    try {
        Configure(context, setup);
    } catch (...) {
        ub_ctx_delete(context);
        throw;
    }
    return context;
}

DnsReply ReplyOf(int status, const ub_result* result) {
    DnsReply reply;
    if (status != 0 || result == nullptr) {
        reply.failure = std::string(ub_strerror(status)) + ".";
        return reply;
    }
    reply.outcome = DnsReply::Outcome::Answered;
    reply.rcode = result->rcode;
    reply.packet.assign(static_cast<const char*>(result->answer_packet),
                        static_cast<std::size_t>(std::max(result->answer_len, 0)));
    if (result->secure != 0) {
        reply.dnssec = DnsReply::Dnssec::Secure;
    } else if (result->bogus != 0) {
        reply.dnssec = DnsReply::Dnssec::Bogus;
        reply.whyBogus = result->why_bogus != nullptr ? result->why_bogus : "";
    }
    return reply;
}

// The context shared now: held only by the batches using it.
struct Shared {
    std::mutex mutex;
    std::string key;
    std::weak_ptr<UnboundContext> context;
};

// Never destroyed: a worker may still end a batch while the program ends.
Shared& SharedNow() {
    static auto* const shared = new Shared;
    return *shared;
}

}  // namespace

std::shared_ptr<UnboundContext> UnboundContext::For(const DnsQuestionsSetup& setup) {
    Shared& shared = SharedNow();
    std::string key = KeyOf(setup);
    const std::lock_guard lock(shared.mutex);
    if (auto context = shared.context.lock(); context && shared.key == key) {
        return context;
    }
    auto context = std::make_shared<UnboundContext>(setup);
    shared.key = std::move(key);
    shared.context = context;
    return context;
}

UnboundContext::UnboundContext(const DnsQuestionsSetup& setup) : context_(NewContext(setup)) {}

// Ends the library's thread and closes its sockets, whatever is outstanding.
UnboundContext::~UnboundContext() {
    ub_ctx_delete(context_);
}

UnboundContext::Ticket UnboundContext::Ask(const std::string& name, std::uint16_t type) {
    const std::lock_guard lock(mutex_);
    const Ticket ticket = next_++;
    Slot& slot = slots_[ticket];
    slot.asked = {this, ticket};
    // The answer cannot be stored before the lock is let go.
    if (const int status = ub_resolve_async(context_, name.c_str(), type, kClassInternet,
                                            &slot.asked, Answered, &slot.libraryId);
        status != 0) {
        slot.reply = ReplyOf(status, nullptr);
    }
    return ticket;
}

void UnboundContext::WaitForReplies(int milliseconds) {
    std::unique_lock lock(mutex_);
    if (reading_) {
        arrived_.wait_for(lock, std::chrono::milliseconds(milliseconds));
        return;
    }
    reading_ = true;
    lock.unlock();
    pollfd answers{ub_fd(context_), POLLIN, 0};
    if (::poll(&answers, 1, milliseconds) > 0) {
        ub_process(context_);
    }
    lock.lock();
    reading_ = false;
    lock.unlock();
    arrived_.notify_all();
}

std::optional<DnsReply> UnboundContext::Take(Ticket ticket) {
    const std::lock_guard lock(mutex_);
    const auto slot = slots_.find(ticket);
    if (slot == slots_.end() || !slot->second.reply) {
        return std::nullopt;
    }
    std::optional<DnsReply> reply = std::move(slot->second.reply);
    slots_.erase(slot);
    return reply;
}

void UnboundContext::Forget(Ticket ticket) {
    const std::lock_guard lock(mutex_);
    const auto slot = slots_.find(ticket);
    if (slot == slots_.end()) {
        return;
    }
    if (slot->second.reply) {
        slots_.erase(slot);
        return;
    }
    Retire();
    // Once cancelled, the library never answers; too late, its answer is
    // being read and must find its slot.
    if (ub_cancel(context_, slot->second.libraryId) == 0) {
        slots_.erase(slot);
    } else {
        slot->second.forgotten = true;
    }
}

// Runs inside ub_process, on whichever thread reads the answers.
void UnboundContext::Answered(void* data, int status, ub_result* result) {
    const auto& asked = *static_cast<const Asked*>(data);
    DnsReply reply = ReplyOf(status, result);
    if (result != nullptr) {
        ub_resolve_free(result);
    }
    UnboundContext& owner = *asked.owner;
    const std::lock_guard lock(owner.mutex_);
    const auto slot = owner.slots_.find(asked.ticket);
    if (slot == owner.slots_.end()) {
        return;
    }
    if (slot->second.forgotten) {
        owner.slots_.erase(slot);
    } else {
        slot->second.reply = std::move(reply);
    }
}

void UnboundContext::Retire() {
    Shared& shared = SharedNow();
    const std::lock_guard lock(shared.mutex);
    if (shared.context.lock().get() == this) {
        shared.context.reset();
    }
}

}  // namespace hostlore
