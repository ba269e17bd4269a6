// The DNS module: questions validated by libunbound.
#include <poll.h>
#include <unbound.h>

#include <algorithm>
#include <chrono>
#include <list>
#include <optional>
#include <stdexcept>

#include "platform/dns_module.h"

namespace hostlore {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClassInternet = 1;

std::runtime_error UnboundError(const std::string& what, int status) {
    return std::runtime_error(what + ": " + ub_strerror(status) + ".");
}

// One context per batch, so that dropping the batch ends its thread and
// closes its sockets, whatever is outstanding.
class UnboundQuestions : public DnsQuestions {
  public:
    explicit UnboundQuestions(const DnsQuestionsSetup& setup)
        : context_(ub_ctx_create()),
          deadline_(Clock::now() + std::chrono::milliseconds(setup.patienceMilliseconds)) {
        if (context_ == nullptr) {
            throw std::runtime_error("The DNS library could not start.");
        }
        try {
            Configure(setup);
        } catch (...) {
            ub_ctx_delete(context_);
            throw;
        }
    }
    ~UnboundQuestions() override { ub_ctx_delete(context_); }
    UnboundQuestions(const UnboundQuestions&) = delete;
    UnboundQuestions& operator=(const UnboundQuestions&) = delete;

    void Ask(const std::string& name, std::uint16_t type, Answer answer) override {
        Question& question =
            questions_.emplace_back(Question{std::move(answer), 0, std::nullopt, false});
        if (const int status = ub_resolve_async(context_, name.c_str(), type, kClassInternet,
                                                &question, Answered, &question.id);
            status != 0) {
            question.reply = DnsReply{};
            question.reply->failure = std::string(ub_strerror(status)) + ".";
        }
    }

    void Wait(int milliseconds) override {
        if (!AnyWaitingDelivery() && AnyOutstanding()) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
            pollfd answers{ub_fd(context_), POLLIN, 0};
            const auto wait = std::clamp<std::int64_t>(left, 0, milliseconds);
            if (::poll(&answers, 1, static_cast<int>(wait)) > 0) {
                ub_process(context_);
            }
        }
        if (Clock::now() >= deadline_) {
            for (Question& question : questions_) {
                if (!question.reply) {
                    ub_cancel(context_, question.id);
                    question.reply = DnsReply{};
                    question.reply->outcome = DnsReply::Outcome::TimedOut;
                }
            }
        }
        for (Question& question : questions_) {
            if (question.reply && !question.delivered) {
                question.delivered = true;
                question.answer(std::move(*question.reply));
            }
        }
    }

  private:
    struct Question {
        Answer answer;
        int id = 0;
        std::optional<DnsReply> reply;
        bool delivered = false;
    };

    void Configure(const DnsQuestionsSetup& setup) {
        // A thread, not the process the library would fork by default.
        if (const int status = ub_ctx_async(context_, 1); status != 0) {
            throw UnboundError("The DNS library could not start", status);
        }
        bool forwarding = false;
        for (const std::string& server : setup.nameServers) {
            forwarding = ub_ctx_set_fwd(context_, server.c_str()) == 0 || forwarding;
        }
        if (!forwarding) {
            throw std::runtime_error("No name server can be asked.");
        }
        if (const int status = ub_ctx_add_ta_file(context_, setup.trustAnchor.c_str());
            status != 0) {
            throw UnboundError("The trust anchor " + setup.trustAnchor + " cannot be used", status);
        }
    }

    // Runs inside ub_process, on the thread that waits.
    static void Answered(void* data, int status, ub_result* result) {
        auto& question = *static_cast<Question*>(data);
        DnsReply reply;
        if (status != 0 || result == nullptr) {
            reply.failure = std::string(ub_strerror(status)) + ".";
        } else {
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
        }
        if (result != nullptr) {
            ub_resolve_free(result);
        }
        question.reply = std::move(reply);
    }

    bool AnyWaitingDelivery() const {
        return std::any_of(questions_.begin(), questions_.end(),
                           [](const Question& q) { return q.reply && !q.delivered; });
    }
    bool AnyOutstanding() const {
        return std::any_of(questions_.begin(), questions_.end(),
                           [](const Question& q) { return !q.reply; });
    }

    ub_ctx* const context_;
    const Clock::time_point deadline_;
    std::list<Question> questions_;  // stable: the library holds their addresses
};

}  // namespace

}  // namespace hostlore

extern "C" __attribute__((visibility("default"))) hostlore::DnsQuestions* hostlore_dns_open(
    const hostlore::DnsQuestionsSetup& setup) {
    return new hostlore::UnboundQuestions(setup);
}
