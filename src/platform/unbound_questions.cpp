// The DNS module: questions validated by libunbound.
#include <algorithm>
#include <chrono>
#include <list>
#include <memory>
#include <optional>

#include "platform/dns_module.h"
#include "platform/unbound_context.h"

namespace hostlore {

namespace {

using Clock = std::chrono::steady_clock;

// One batch's questions on the context it shares with the batches asked
// beside it.
class UnboundQuestions : public DnsQuestions {
  public:
    explicit UnboundQuestions(const DnsQuestionsSetup& setup)
        : context_(UnboundContext::For(setup)),
          deadline_(Clock::now() + std::chrono::milliseconds(setup.patienceMilliseconds)) {}
    ~UnboundQuestions() override {
        for (const Question& question : questions_) {
            if (!question.reply) {
                context_->Forget(question.ticket);
            }
        }
    }
    UnboundQuestions(const UnboundQuestions&) = delete;
    UnboundQuestions& operator=(const UnboundQuestions&) = delete;

    void Ask(const std::string& name, std::uint16_t type, Answer answer) override {
        questions_.push_back({std::move(answer), context_->Ask(name, type), std::nullopt, false});
    }

    void Wait(int milliseconds) override {
        if (!Collect() && AnyOutstanding()) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
            context_->WaitForReplies(
                static_cast<int>(std::clamp<std::int64_t>(left, 0, milliseconds)));
            Collect();
        }
        if (Clock::now() >= deadline_) {
            for (Question& question : questions_) {
                if (!question.reply) {
                    context_->Forget(question.ticket);
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
        UnboundContext::Ticket ticket = 0;
        std::optional<DnsReply> reply;
        bool delivered = false;
    };

    // Whether any reply has arrived that is not delivered yet.
    bool Collect() {
        bool any = false;
        for (Question& question : questions_) {
            if (!question.reply) {
                question.reply = context_->Take(question.ticket);
            }
            any = any || (question.reply && !question.delivered);
        }
        return any;
    }
    bool AnyOutstanding() const {
        return std::any_of(questions_.begin(), questions_.end(),
                           [](const Question& q) { return !q.reply; });
    }

    const std::shared_ptr<UnboundContext> context_;
    const Clock::time_point deadline_;
    std::list<Question> questions_;
};

}  // namespace

}  // namespace hostlore

extern "C" __attribute__((visibility("default"))) hostlore::DnsQuestions* hostlore_dns_open(
    const hostlore::DnsQuestionsSetup& setup) {
    return new hostlore::UnboundQuestions(setup);
}
