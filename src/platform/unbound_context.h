#pragma once

#include <unbound.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/dns_module.h"

namespace hostlore {

// One libunbound context shared by the batches of questions asked at the same
// time with the same name servers and trust anchor. A context of its own
// would cost each batch a thread, empty caches and the trust anchor's keys
// fetched and checked afresh: milliseconds of work, many times over when many
// sites are asked at once. The context ends with the last batch using it; a
// batch that gives up on a question retires it, so that no batch after it
// shares the library's sockets still waiting for that answer.
class UnboundContext {
  public:
    // The context batches of `setup` share now, or a new one. Raises
    // std::runtime_error, in words for the user, when none can start.
    static std::shared_ptr<UnboundContext> For(const DnsQuestionsSetup& setup);

    explicit UnboundContext(const DnsQuestionsSetup& setup);
    ~UnboundContext();
    UnboundContext(const UnboundContext&) = delete;
    UnboundContext& operator=(const UnboundContext&) = delete;

    using Ticket = std::uint64_t;

    // Asks; the reply is collected under `ticket` until taken or forgotten.
    // A question that cannot be asked has its failure collected at once.
    Ticket Ask(const std::string& name, std::uint16_t type);
    // Waits at most `milliseconds` for any reply to arrive, reading the
    // library's answers or letting another waiting thread read them.
    void WaitForReplies(int milliseconds);
    // The reply under `ticket`, once it has arrived.
    std::optional<DnsReply> Take(Ticket ticket);
    // Cancels the question under `ticket` if still outstanding, and drops
    // whatever arrives for it. Retires the context when it was outstanding.
    void Forget(Ticket ticket);

  private:
    // What the library hands back with an answer: stable while the slot is.
    struct Asked {
        UnboundContext* owner = nullptr;
        Ticket ticket = 0;
    };
    struct Slot {
        Asked asked;
        int libraryId = 0;
        std::optional<DnsReply> reply;
        bool forgotten = false;  // cancelled too late: its answer is on the way
    };

    static void Answered(void* data, int status, ub_result* result);
    void Retire();

    ub_ctx* const context_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    bool reading_ = false;  // a thread is reading the library's answers
    Ticket next_ = 0;
    std::unordered_map<Ticket, Slot> slots_;
};

}  // namespace hostlore
