#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/public_suffix_list.h"
#include "query/whois/whois_fields.h"
#include "query/whois/whois_session.h"
#include "query/whois/whois_subject.h"

namespace hostlore {

// A whois server's whole reply, and the address it came from (empty when
// unknown, as through a proxy).
struct ReplyFrom {
    std::string reply;
    std::string address;
};

// Why a connection must not go to an address; none when it may.
using AddressCheck = std::function<std::optional<std::string>(const std::string& address)>;

// The conversations a whois chain holds. Each raises when it fails.
class WhoisAsker {
  public:
    virtual ~WhoisAsker() = default;
    // One whois question, to an address `check` allows (null: to any);
    // raises ENetAddressRefused when it allows none.
    virtual ReplyFrom AskWhois(const WhoisServerAddress& server, const std::string& query,
                               const AddressCheck& check) = 0;
};

class RdapFetcher {
  public:
    virtual ~RdapFetcher() = default;
    // The body of an HTTP GET that asks for `accept`.
    virtual std::string Get(const std::string& url, std::string_view accept) = 0;
};

// Ends a chain that was stopped: nothing more is asked or shown.
class WhoisChainStopped : public std::exception {
  public:
    const char* what() const noexcept override { return "Whois chain stopped"; }
};

// One server's answer in a chain.
struct ChainAnswer {
    std::string server;  // the server's name, as the separator line shows it
    std::string source;  // the whois server's name, or the RDAP URL asked
    std::string reply;   // as received: whois text or RDAP JSON
    bool rdap = false;
    // What a record says as values; nothing for IANA's answers, notices and
    // refusals, which say nothing about the host.
    WhoisFields fields;
    // What the page shows of it, after a separator line unless it is the
    // first answer shown.
    std::vector<std::string> lines;
    bool shown = false;
};

// The line that stands before each answer the page shows after the first.
std::string WhoisSeparator(const std::string& server);

// What a chain needs to know of the settings.
struct WhoisChainSettings {
    WhoisServerAddress server;  // the whois server the user named, or the default
    std::string bootstrapUrl;   // where the RDAP bootstrap file for domains lives
};

// Finds a host's whois record: with IANA's server it finds the registry by
// itself (or RDAP where the registry has no whois), with any other server it
// asks that one; it then follows referrals, at most 3 servers in all (IANA's
// counts, also when its answer was remembered), never one twice, and only
// where ReferralRefusal lets it: a refused one is shown as a line of its own.
// IANA's own answer and a registry's "use RDAP" notice are shown only when
// nothing follows them.
class WhoisChain {
  public:
    using Stopped = std::function<bool()>;
    // `received` gets every answer as it comes, `shown` each answer the page
    // shows as soon as that is certain; both in order.
    struct Listener {
        std::function<void(const ChainAnswer&)> received;
        std::function<void(const ChainAnswer&)> shown;
    };

    WhoisChain(WhoisChainSettings settings, WhoisAsker& whois, RdapFetcher& web,
               WhoisSession& session, const PublicSuffixList& suffixes, const Clock& clock,
               Stopped stopped);

    // Runs the chain for a URL's host. A stop raises WhoisChainStopped as
    // soon as the conversation under way returns.
    void Run(std::string_view host, const Listener& listener);

    // Every answer of the run, shown or not, in order.
    const std::vector<ChainAnswer>& Answers() const { return answers_; }
    // Why the last step that failed failed; empty when none did.
    const std::string& Failure() const { return failure_; }
    // An answer about the host itself came, not only IANA's or a notice.
    bool FoundRecord() const { return foundRecord_; }

  private:
    static constexpr int kMaxServers = 3;
    enum class Kind { Record, Signpost };

    void RunDomain(const WhoisSubject& subject);
    void RunAddress(const WhoisSubject& subject);
    void RunNamedServer(const WhoisSubject& subject);
    // Asks a server not tried before while the limit allows and the referral
    // rules let it (the first server is the user's choice); none otherwise.
    std::optional<std::string> Ask(const WhoisServerAddress& server, const std::string& query);
    void Refuse(const WhoisServerAddress& server, const std::string& reason);
    void FollowReferrals(std::string reply, const std::string& query);
    void LookUpRdap(const std::string& domain);
    void Keep(ChainAnswer answer, Kind kind);
    void Show(ChainAnswer& answer);
    void KeepWhois(const WhoisServerAddress& server, const std::string& reply, Kind kind);
    // What the call gives, an optional: none when it failed, whose reason is
    // noted. After a stop, WhoisChainStopped ends the run whatever it gave.
    template <class Call>
    auto Attempt(const Call& call) -> decltype(call());
    // Asked, or refused.
    bool AlreadyTried(const WhoisServerAddress& server) const;

    const WhoisChainSettings settings_;
    WhoisAsker& whois_;
    RdapFetcher& web_;
    WhoisSession& session_;
    const PublicSuffixList& suffixes_;
    const Clock& clock_;
    const Stopped stopped_;
    const Listener* listener_ = nullptr;
    std::vector<WhoisServerAddress> asked_;
    std::vector<WhoisServerAddress> refused_;
    std::string start_;  // where the first server answered from
    bool shownAny_ = false;
    std::vector<ChainAnswer> answers_;
    std::optional<std::size_t> pendingSignpost_;
    bool foundRecord_ = false;
    std::string failure_;
};

}  // namespace hostlore
