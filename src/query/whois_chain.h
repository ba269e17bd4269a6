#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/public_suffix_list.h"
#include "query/whois_session.h"
#include "query/whois_subject.h"

namespace hostlore {

// The conversations a whois chain holds. Each raises when it fails.
class WhoisAsker {
  public:
    virtual ~WhoisAsker() = default;
    // One whois question; the server's whole reply.
    virtual std::string AskWhois(const WhoisServer& server, const std::string& query) = 0;
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
struct WhoisAnswer {
    std::string server;  // the server's name, as the separator line shows it
    std::string reply;   // as received: whois text or RDAP JSON
    bool rdap = false;
    std::vector<std::string> lines;  // what the page shows of it
    bool shown = false;
};

// The line that stands before each answer the page shows after the first.
std::string WhoisSeparator(const std::string& server);

// What a chain needs to know of the settings.
struct WhoisChainSettings {
    std::string server;        // the whois server the user named, or the default
    std::string bootstrapUrl;  // where the RDAP bootstrap file for domains lives
};

// Finds a host's whois record: with IANA's server it finds the registry by
// itself (or RDAP where the registry has no whois), with any other server it
// asks that one; it then follows referrals, at most 3 servers in all (IANA's
// counts, also when its answer was remembered), never one twice. IANA's own
// answer and a registry's "use RDAP" notice are shown only when nothing
// follows them.
class WhoisChain {
  public:
    using Stopped = std::function<bool()>;
    using Show = std::function<void(const WhoisAnswer&)>;

    WhoisChain(WhoisChainSettings settings, WhoisAsker& whois, RdapFetcher& web,
               WhoisSession& session, const PublicSuffixList& suffixes, const Clock& clock,
               Stopped stopped);

    // Runs the chain for a URL's host. `show` gets each answer the page shows
    // as soon as that is certain, in order. A stop raises WhoisChainStopped
    // as soon as the conversation under way returns.
    void Run(std::string_view host, const Show& show);

    // Every answer of the run, shown or not, in order.
    const std::vector<WhoisAnswer>& Answers() const { return answers_; }
    // Why the last step that failed failed; empty when none did.
    const std::string& Failure() const { return failure_; }

  private:
    static constexpr int kMaxServers = 3;
    enum class Kind { Record, Signpost };

    void RunDomain(const WhoisSubject& subject);
    void RunAddress(const WhoisSubject& subject);
    void RunNamedServer(const WhoisSubject& subject);
    // Asks a server not asked before while the limit allows; none otherwise.
    std::optional<std::string> Ask(const WhoisServer& server, const std::string& query);
    void FollowReferrals(std::string reply, const std::string& query);
    void LookUpRdap(const std::string& domain);
    void Keep(std::string server, std::string reply, bool rdap, std::vector<std::string> lines,
              Kind kind);
    // The call's result; none when it failed, whose reason is noted. After a
    // stop, WhoisChainStopped ends the run whatever the call gave.
    template <class Call>
    std::optional<std::string> Attempt(const Call& call);
    bool AlreadyAsked(const WhoisServer& server) const;

    const WhoisChainSettings settings_;
    WhoisAsker& whois_;
    RdapFetcher& web_;
    WhoisSession& session_;
    const PublicSuffixList& suffixes_;
    const Clock& clock_;
    const Stopped stopped_;
    const Show* show_ = nullptr;
    std::vector<WhoisServer> asked_;
    std::vector<WhoisAnswer> answers_;
    std::optional<std::size_t> pendingSignpost_;
    std::string failure_;
};

}  // namespace hostlore
