#include "query/dns_records/dns_record_rows.h"

#include <algorithm>
#include <sstream>

#include "platform/ascii_text.h"

namespace hostlore {

namespace {

using Answers = std::vector<std::optional<DnsAnswer>>;

constexpr const char* kNoDnssecRecords = "the name servers asked do not pass on DNSSEC records";

std::string TypeName(std::uint16_t type) {
    switch (type) {
        case dns_type::kA:
            return "A";
        case dns_type::kAaaa:
            return "AAAA";
        case dns_type::kNs:
            return "NS";
        case dns_type::kCname:
            return "CNAME";
        case dns_type::kSoa:
            return "SOA";
        case dns_type::kMx:
            return "MX";
        case dns_type::kTxt:
            return "TXT";
        case dns_type::kCaa:
            return "CAA";
        default:
            return "TYPE" + std::to_string(type);
    }
}

// Why an answer has no records to show, or nothing when it may have some.
std::optional<std::string> FailureOf(const DnsAnswer& answer) {
    switch (answer.outcome) {
        case DnsReply::Outcome::TimedOut:
            return "Time-out.";
        case DnsReply::Outcome::Failed:
            return answer.failure;
        case DnsReply::Outcome::Answered:
            break;
    }
    switch (answer.rcode) {
        case 0:
        case 3:  // no such name: as empty as no records
            return std::nullopt;
        case 1:
            return "Format error.";
        case 2:
            return "Server failure.";
        case 4:
            return "Not implemented.";
        case 5:
            return "Refused.";
        default:
            return "Response code " + std::to_string(answer.rcode) + ".";
    }
}

// Where a record goes among those of its set: servers may give a set in any
// order, and the page keeps one; mail servers go by preference.
struct SortKey {
    std::string operator()(const AddressData& value) const { return value.address; }
    std::string operator()(const NameData& value) const { return value.name; }
    std::string operator()(const SoaData& /*value*/) const { return {}; }
    std::string operator()(const MxData& value) const {
        const std::string preference = std::to_string(value.preference);
        return std::string(5 - preference.size(), '0') + preference + " " + value.exchange;
    }
    std::string operator()(const TxtData& value) const {
        std::string joined;
        for (const std::string& part : value.strings) {
            joined += part + '\0';
        }
        return joined;
    }
    std::string operator()(const CaaData& value) const { return value.tag + '\0' + value.value; }
};

// The name the answer's aliases lead to from `name`, with the aliases on the way.
std::string FollowAliases(const DnsAnswer& answer, std::string name,
                          std::vector<const DnsRecord*>* chain = nullptr) {
    for (std::size_t steps = 0; steps < answer.records.size(); ++steps) {
        const auto alias = std::find_if(
            answer.records.begin(), answer.records.end(), [&](const DnsRecord& record) {
                return record.type == dns_type::kCname && EqualsIgnoringCase(record.name, name);
            });
        if (alias == answer.records.end()) {
            break;
        }
        if (chain != nullptr) {
            chain->push_back(&*alias);
        }
        name = std::get<NameData>(alias->value).name;
    }
    return name;
}

class TableBuilder {
  public:
    TableBuilder(const DnsRecordsPlan& plan, const Answers& answers)
        : plan_(plan), answers_(answers) {}

    const DnsQuestion* Question(DnsSlot slot) const {
        const auto found = std::find_if(plan_.questions.begin(), plan_.questions.end(),
                                        [slot](const DnsQuestion& q) { return q.slot == slot; });
        return found == plan_.questions.end() ? nullptr : &*found;
    }
    const std::optional<DnsAnswer>* Answer(DnsSlot slot) const {
        const DnsQuestion* question = Question(slot);
        if (question == nullptr) {
            return nullptr;
        }
        return &answers_.at(static_cast<std::size_t>(question - plan_.questions.data()));
    }

    // The records of the slot's type where its aliases lead.
    std::vector<DnsRecord> Records(DnsSlot slot) const {
        std::vector<DnsRecord> found;
        const auto* answer = Answer(slot);
        if (answer == nullptr || !*answer) {
            return found;
        }
        const DnsQuestion& question = *Question(slot);
        const std::string owner = FollowAliases(**answer, question.name);
        for (const DnsRecord& record : (*answer)->records) {
            if (record.type == question.type && EqualsIgnoringCase(record.name, owner)) {
                found.push_back(record);
            }
        }
        return found;
    }

    void AddAliases(DnsSlot slot) {
        const auto* answer = Answer(slot);
        if (answer == nullptr || !*answer) {
            return;
        }
        std::vector<const DnsRecord*> chain;
        FollowAliases(**answer, Question(slot)->name, &chain);
        for (const DnsRecord* alias : chain) {
            Add(*alias);
        }
    }

    // The slot's records, or one row that says why there are none.
    void AddRows(DnsSlot slot) {
        const auto* answer = Answer(slot);
        if (answer == nullptr) {
            return;
        }
        const DnsQuestion& question = *Question(slot);
        DnsRecordRow missing{question.name, TypeName(question.type), {}, {}, kNoRecords};
        if (!*answer) {
            missing.reason = "waiting for the answer";
            table_.records.push_back(missing);
            return;
        }
        missing.name = FollowAliases(**answer, question.name);
        if (const auto failure = FailureOf(**answer)) {
            missing.reason = *failure;
            table_.records.push_back(missing);
            return;
        }
        std::vector<DnsRecord> records = Records(slot);
        std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
            return std::visit(SortKey{}, a.value) < std::visit(SortKey{}, b.value);
        });
        if (records.empty()) {
            table_.records.push_back(missing);
        }
        for (const DnsRecord& record : records) {
            Add(record);
        }
    }

    // The host's own CAA records, where they are not the domain's; a look-up
    // that failed says so.
    void AddHostCaa() {
        const auto* answer = Answer(DnsSlot::HostCaa);
        if (answer == nullptr || !*answer) {
            return;
        }
        if (!FailureOf(**answer)) {
            const auto values = [this](DnsSlot slot) {
                std::vector<DnsValue> found;
                for (const DnsRecord& record : Records(slot)) {
                    found.push_back(record.value);
                }
                return found;
            };
            const auto own = values(DnsSlot::HostCaa);
            const auto domain = values(DnsSlot::Caa);
            if (own.empty() ||
                std::is_permutation(own.begin(), own.end(), domain.begin(), domain.end())) {
                return;
            }
        }
        AddRows(DnsSlot::HostCaa);
    }

    void AddDnssecLine(const std::string& name, const std::vector<DnsSlot>& slots) {
        DnssecLine line{name, DnssecState::Pending, {}};
        std::vector<const DnsAnswer*> given;
        for (const DnsSlot slot : slots) {
            const auto* answer = Answer(slot);
            if (answer == nullptr) {
                continue;
            }
            if (!*answer) {
                table_.dnssec.push_back(line);  // pending
                return;
            }
            given.push_back(&**answer);
        }
        const auto with = [&](DnsReply::Dnssec state) {
            return std::find_if(given.begin(), given.end(), [state](const DnsAnswer* answer) {
                return answer->outcome == DnsReply::Outcome::Answered && answer->dnssec == state &&
                       (state == DnsReply::Dnssec::Bogus || !FailureOf(*answer));
            });
        };
        if (const auto bogus = with(DnsReply::Dnssec::Bogus); bogus != given.end()) {
            const auto keys = Answer(DnsSlot::AnchorKeys);
            if (keys != nullptr && !*keys) {
                table_.dnssec.push_back(line);  // pending
                return;
            }
            if (keys == nullptr || (*keys)->dnssec == DnsReply::Dnssec::Secure) {
                line.state = DnssecState::Bogus;
                line.reason = ShortReason((*bogus)->whyBogus);
            } else {
                line.state = DnssecState::NotChecked;
                line.reason = FailureOf(**keys).value_or(kNoDnssecRecords);
            }
        } else if (with(DnsReply::Dnssec::Secure) != given.end()) {
            line.state = DnssecState::Valid;
        } else if (with(DnsReply::Dnssec::Insecure) != given.end()) {
            line.state = DnssecState::NotSigned;
        } else {
            line.state = DnssecState::NotChecked;
            line.reason = given.empty() ? std::string() : FailureOf(*given.front()).value_or("");
        }
        table_.dnssec.push_back(line);
    }

    DnsRecordsTable Take() { return std::move(table_); }
    DnsRecordsTable& Table() { return table_; }

  private:
    // The validator's reason less the questions that led to it.
    static std::string ShortReason(const std::string& why) {
        const auto cause = why.rfind(">: ");
        return cause == std::string::npos ? why : why.substr(cause + 3);
    }

    void Add(const DnsRecord& record) {
        table_.records.push_back(
            {record.name, TypeName(record.type), record.ttl, record.value, {}});
    }

    const DnsRecordsPlan& plan_;
    const Answers& answers_;
    DnsRecordsTable table_;
};

}  // namespace

DnsRecordsPlan PlanDnsRecords(const std::string& host, const std::string& domain,
                              const std::string& anchorZone) {
    DnsRecordsPlan plan{host, domain, {}};
    auto& questions = plan.questions;
    questions.push_back({DnsSlot::HostA, host, dns_type::kA});
    questions.push_back({DnsSlot::HostAaaa, host, dns_type::kAaaa});
    questions.push_back({DnsSlot::Soa, domain, dns_type::kSoa});
    questions.push_back({DnsSlot::Ns, domain, dns_type::kNs});
    questions.push_back({DnsSlot::Mx, domain, dns_type::kMx});
    questions.push_back({DnsSlot::Txt, domain, dns_type::kTxt});
    questions.push_back({DnsSlot::Dmarc, "_dmarc." + domain, dns_type::kTxt});
    questions.push_back({DnsSlot::Caa, domain, dns_type::kCaa});
    if (!EqualsIgnoringCase(host, domain)) {
        questions.push_back({DnsSlot::HostCaa, host, dns_type::kCaa});
    }
    if (!anchorZone.empty()) {
        questions.push_back({DnsSlot::AnchorKeys, anchorZone, dns_type::kDnskey});
    }
    return plan;
}

DnsAnswer AnswerOf(const DnsReply& reply) {
    DnsAnswer answer{reply.outcome, reply.rcode, {}, reply.dnssec, reply.whyBogus, reply.failure};
    if (reply.outcome == DnsReply::Outcome::Answered) {
        if (auto message = ParseDnsMessage(reply.packet)) {
            answer.records = std::move(message->answers);
        } else if (!FailureOf(answer)) {
            answer.outcome = DnsReply::Outcome::Failed;
            answer.failure = "The answer could not be read.";
        }
    }
    return answer;
}

DnsRecordsTable DnsRecordsTableOf(const DnsRecordsPlan& plan, const Answers& answers) {
    TableBuilder table(plan, answers);
    table.Table().host = plan.host;
    table.Table().domain = plan.domain;
    table.AddAliases(DnsSlot::HostA);
    table.AddRows(DnsSlot::HostA);
    table.AddRows(DnsSlot::HostAaaa);
    table.AddRows(DnsSlot::Soa);
    table.AddRows(DnsSlot::Ns);
    table.AddRows(DnsSlot::Mx);
    table.AddRows(DnsSlot::Txt);
    table.AddRows(DnsSlot::Dmarc);
    table.AddRows(DnsSlot::Caa);
    table.AddHostCaa();
    const bool oneName = EqualsIgnoringCase(plan.host, plan.domain);
    std::vector<DnsSlot> host = {DnsSlot::HostA, DnsSlot::HostAaaa, DnsSlot::HostCaa};
    const std::vector<DnsSlot> domain = {DnsSlot::Soa, DnsSlot::Ns, DnsSlot::Mx, DnsSlot::Txt,
                                         DnsSlot::Caa};
    if (oneName) {
        host.insert(host.end(), domain.begin(), domain.end());
    }
    table.AddDnssecLine(plan.host, host);
    if (!oneName) {
        table.AddDnssecLine(plan.domain, domain);
    }
    table.AddDnssecLine("_dmarc." + plan.domain, {DnsSlot::Dmarc});
    return table.Take();
}

std::optional<std::string> TrustAnchorZone(std::string_view anchorFile, std::string_view domain) {
    const std::string under = AsciiLowerCase(domain);
    const auto depth = [](const std::string& zone) {
        return zone == "." ? 0 : std::count(zone.begin(), zone.end(), '.') + 1;
    };
    std::optional<std::string> closest;
    std::istringstream lines{std::string(anchorFile)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line.substr(0, line.find(';')));
        std::string owner;
        words >> owner;
        bool anchor = false;
        for (std::string word; words >> word;) {
            anchor = anchor || word == "DS" || word == "DNSKEY";
        }
        if (owner.size() > 1 && owner.back() == '.') {
            owner.pop_back();
        }
        const std::string zone = AsciiLowerCase(owner);
        const bool above = zone == "." || under == zone || under.ends_with("." + zone);
        if (anchor && above && (!closest || depth(zone) > depth(*closest))) {
            closest = zone;
        }
    }
    return closest;
}

}  // namespace hostlore
