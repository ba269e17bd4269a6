#include "query/whois/whois_chain.h"

#include <algorithm>

#include "net/net_errors.h"
#include "platform/ascii_text.h"
#include "query/failure_reason.h"
#include "query/url_parts.h"
#include "query/whois/rdap_domain.h"
#include "query/whois/referral_rules.h"
#include "query/whois/whois_reply.h"

namespace hostlore {

namespace {

constexpr std::string_view kRdapType = "application/rdap+json";
constexpr std::string_view kJsonType = "application/json";

bool SameServer(const WhoisServerAddress& a, const WhoisServerAddress& b) {
    return a.port == b.port && EqualsIgnoringCase(a.host, b.host);
}

}  // namespace

namespace {

// The refusal's own words, cut short enough for a status line.
std::string FirstTextLine(std::string_view reply) {
    constexpr std::size_t kMost = 200;
    for (const std::string& line : WhoisReplyLines(reply)) {
        std::string_view text = TrimBlanks(line);
        while (!text.empty() && text.back() == '\r') {
            text = TrimBlanks(text.substr(0, text.size() - 1));
        }
        if (!text.empty() && !text.starts_with('%') && !text.starts_with('#')) {
            return std::string(text.substr(0, kMost));
        }
    }
    return {};
}

}  // namespace

std::string WhoisSeparator(const std::string& server) {
    return "--- " + server + " ---";
}

WhoisChain::WhoisChain(WhoisChainSettings settings, WhoisAsker& whois, RdapFetcher& web,
                       WhoisSession& session, const PublicSuffixList& suffixes, const Clock& clock,
                       Stopped stopped)
    : settings_(std::move(settings)),
      whois_(whois),
      web_(web),
      session_(session),
      suffixes_(suffixes),
      clock_(clock),
      stopped_(std::move(stopped)) {}

void WhoisChain::Run(std::string_view host, const Listener& listener) {
    listener_ = &listener;
    if (!IsAutomaticWhoisServer(settings_.server)) {
        RunNamedServer(NamedServerSubject(host));
    } else if (const WhoisSubject subject = AutomaticSubject(host, suffixes_);
               subject.query.empty()) {
        return;
    } else if (subject.isAddress) {
        RunAddress(subject);
    } else {
        RunDomain(subject);
    }
    // A signpost that nothing followed is all there is to show.
    if (pendingSignpost_) {
        Show(answers_[*pendingSignpost_]);
    }
}

template <class Call>
auto WhoisChain::Attempt(const Call& call) -> decltype(call()) {
    decltype(call()) result;
    try {
        result = call();
    } catch (const std::exception& error) {
        failure_ = FailureReason(error);
    }
    if (stopped_()) {
        throw WhoisChainStopped();
    }
    return result;
}

std::optional<std::string> WhoisChain::Ask(const WhoisServerAddress& server,
                                           const std::string& query) {
    if (static_cast<int>(asked_.size()) >= kMaxServers || AlreadyTried(server)) {
        return std::nullopt;
    }
    const bool first = asked_.empty();
    const bool named =
        !IsAutomaticWhoisServer(settings_.server) && SameServer(server, settings_.server);
    AddressCheck check;
    if (!first) {
        if (const auto refusal = ReferralRefusal(start_, server, "", named)) {
            Refuse(server, *refusal);
            return std::nullopt;
        }
        check = [this, &server, named](const std::string& address) {
            return ReferralRefusal(start_, server, address, named);
        };
    }
    asked_.push_back(server);
    std::optional<std::string> refusal;
    const auto answer = Attempt([&]() -> std::optional<ReplyFrom> {
        try {
            return whois_.AskWhois(server, query, check);
        } catch (const ENetAddressRefused& refused) {
            refusal = refused.what();
            throw;
        }
    });
    if (refusal) {
        asked_.pop_back();
        Refuse(server, *refusal);
        return std::nullopt;
    }
    if (!answer) {
        return std::nullopt;
    }
    if (first) {
        start_ = answer->address;
    }
    return answer->reply;
}

void WhoisChain::Refuse(const WhoisServerAddress& server, const std::string& reason) {
    refused_.push_back(server);
    failure_ = reason + ".";
    ChainAnswer notice;
    notice.server = WhoisServerName(server);
    notice.lines = {"--- referral to " + notice.server + " not followed: " + reason + " ---"};
    notice.shown = true;
    shownAny_ = true;
    listener_->shown(notice);
}

bool WhoisChain::AlreadyTried(const WhoisServerAddress& server) const {
    const auto same = [&](const WhoisServerAddress& tried) { return SameServer(tried, server); };
    return std::any_of(asked_.begin(), asked_.end(), same) ||
           std::any_of(refused_.begin(), refused_.end(), same);
}

void WhoisChain::RunDomain(const WhoisSubject& subject) {
    const WhoisServerAddress iana{std::string(kIanaWhoisServer)};
    // Sites of one top-level domain asked at once ask IANA once.
    std::optional<WhoisSession::Claim> question;
    std::optional<std::optional<WhoisServerAddress>> registry =
        session_.AwaitRegistry(subject.topLevel, question, stopped_);
    if (stopped_()) {
        throw WhoisChainStopped();
    }
    if (registry) {
        // IANA's answer from earlier counts as its hop, so the chain is the
        // same whether it was asked now or before.
        asked_.push_back(iana);
    } else if (const auto answer = Ask(iana, subject.topLevel)) {
        KeepWhois(iana, *answer, Kind::Signpost);
        registry = IanaRegistryServer(*answer);
        // An error text or an answer cut short says nothing worth keeping.
        if (IsWholeIanaAnswer(*answer, subject.topLevel)) {
            session_.RememberRegistry(subject.topLevel, *registry);
        }
    }
    // The others wait for IANA's answer only: a registry that hangs must not
    // hold every other site of its top-level domain.
    question.reset();
    if (registry && *registry) {
        const WhoisServerAddress& server = **registry;
        if (const auto answer = Ask(server, subject.query); answer && !answer->empty()) {
            if (!IsRdapNotice(*answer)) {
                KeepWhois(server, *answer, Kind::Record);
                FollowReferrals(*answer, subject.query);
                return;
            }
            KeepWhois(server, *answer, Kind::Signpost);
        }
    }
    LookUpRdap(subject.query);
}

void WhoisChain::RunAddress(const WhoisSubject& subject) {
    const WhoisServerAddress iana{std::string(kIanaWhoisServer)};
    const auto answer = Ask(iana, subject.query);
    if (!answer) {
        return;
    }
    KeepWhois(iana, *answer, Kind::Signpost);
    if (const auto registry = IanaAddressRegistry(*answer)) {
        if (const auto record = Ask(*registry, subject.query); record && !record->empty()) {
            KeepWhois(*registry, *record, Kind::Record);
            FollowReferrals(*record, subject.query);
        }
    }
}

void WhoisChain::RunNamedServer(const WhoisSubject& subject) {
    if (subject.query.empty()) {
        return;
    }
    const WhoisServerAddress& named = settings_.server;
    if (const auto answer = Ask(named, subject.query)) {
        KeepWhois(named, *answer, Kind::Record);
        FollowReferrals(*answer, subject.query);
    }
}

void WhoisChain::FollowReferrals(std::string reply, const std::string& query) {
    while (static_cast<int>(asked_.size()) < kMaxServers) {
        const std::vector<WhoisServerAddress> referrals = ReferralsIn(reply);
        const auto next =
            std::find_if(referrals.begin(), referrals.end(),
                         [&](const WhoisServerAddress& s) { return !AlreadyTried(s); });
        if (next == referrals.end()) {
            return;
        }
        const std::size_t refused = refused_.size();
        auto answer = Ask(*next, query);
        if (refused_.size() > refused) {
            continue;  // on to the reply's next referral
        }
        if (!answer || answer->empty()) {
            return;
        }
        reply = std::move(*answer);
        KeepWhois(*next, reply, Kind::Record);
    }
}

void WhoisChain::LookUpRdap(const std::string& domain) {
    const auto bootstrap = Attempt([&]() -> std::optional<std::string> {
        const auto file = session_.Bootstrap(
            settings_.bootstrapUrl, clock_.Now(),
            [&](const std::string& url) { return web_.Get(url, kJsonType); }, stopped_);
        if (!file) {
            throw std::runtime_error("The RDAP bootstrap file could not be read.");
        }
        const auto base = file->BaseUrlFor(domain);
        if (!base) {
            throw std::runtime_error("No RDAP server is known for " + domain + ".");
        }
        return *base;
    });
    if (!bootstrap) {
        return;
    }
    std::string url = *bootstrap + "domain/" + domain;
    for (int record = 0; record < 2; ++record) {
        const auto json =
            Attempt([&]() -> std::optional<std::string> { return web_.Get(url, kRdapType); });
        std::vector<std::string> lines;
        if (json) {
            lines = RdapDomainLines(*json);
        }
        if (lines.empty()) {
            if (json) {
                failure_ = "The RDAP server's answer is no RDAP object.";
            }
            return;
        }
        Keep({HostPart(url), url, *json, true, RdapDomainFields(*json), std::move(lines)},
             Kind::Record);
        const auto related = RdapRelatedLink(*json);
        if (!related || *related == url) {
            return;
        }
        url = *related;
    }
}

void WhoisChain::KeepWhois(const WhoisServerAddress& server, const std::string& reply, Kind kind) {
    const std::string name = WhoisServerName(server);
    // A refusal for being asked too often is no record, though it came instead of one.
    if (kind == Kind::Record && IsRateRefusal(reply)) {
        failure_ = name + " refused the query, asked too often: " + FirstTextLine(reply);
        kind = Kind::Signpost;
    }
    WhoisFields fields = kind == Kind::Record ? WhoisTextFields(reply) : WhoisFields{};
    Keep({name, name, reply, false, std::move(fields), WhoisReplyLines(reply)}, kind);
}

void WhoisChain::Keep(ChainAnswer answer, Kind kind) {
    answers_.push_back(std::move(answer));
    listener_->received(answers_.back());
    if (kind == Kind::Signpost) {
        pendingSignpost_ = answers_.size() - 1;
        return;
    }
    foundRecord_ = true;
    pendingSignpost_.reset();
    Show(answers_.back());
}

void WhoisChain::Show(ChainAnswer& answer) {
    if (shownAny_) {
        answer.lines.insert(answer.lines.begin(), WhoisSeparator(answer.server));
    }
    answer.shown = true;
    shownAny_ = true;
    listener_->shown(answer);
}

}  // namespace hostlore
