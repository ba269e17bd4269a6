#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace hostlore {

// How one validated question ended.
struct DnsReply {
    enum class Outcome {
        Answered,  // the name servers answered, with any response code
        TimedOut,  // no answer within the resolver time-outs
        Failed,    // the question could not be asked or answered: `failure` says why
    };
    // What validation made of an answer.
    enum class Dnssec {
        Insecure,  // proven unsigned, or outside every trust anchor
        Secure,
        Bogus,  // `whyBogus` says why
    };

    Outcome outcome = Outcome::Failed;
    int rcode = 0;
    std::string packet;  // the answer in wire format, as validated
    Dnssec dnssec = Dnssec::Insecure;
    std::string whyBogus;
    std::string failure;
};

// Questions asked together and ended together. Dropping them cancels those
// still outstanding: no thread or socket of theirs remains once the drop has
// returned.
class DnsQuestions {
  public:
    using Answer = std::function<void(DnsReply reply)>;

    virtual ~DnsQuestions() = default;
    // Asks at once. `answer` runs once, inside a later Wait.
    virtual void Ask(const std::string& name, std::uint16_t type, Answer answer) = 0;
    // Runs the answers that have come, after waiting at most `milliseconds`
    // for the first; a question outstanding past the time-outs is answered
    // as timed out.
    virtual void Wait(int milliseconds) = 0;
};

// Validating look-ups from a trust anchor, asked of the system's name servers.
class DnsService {
  public:
    virtual ~DnsService() = default;
    // Raises an exception, in words for the user, when no question can be
    // asked at all: the trust anchor cannot be read, say.
    virtual std::unique_ptr<DnsQuestions> NewQuestions(
        const std::filesystem::path& trustAnchor) = 0;
};

}  // namespace hostlore
