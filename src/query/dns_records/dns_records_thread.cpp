#include "query/dns_records/dns_records_thread.h"

#include "platform/ascii_text.h"
#include "platform/file_text.h"
#include "query/dns_records/dns_record_rows.h"
#include "query/host_names.h"
#include "query/url_parts.h"
#include "query/whois/whois_subject.h"
#include "settings/setting_names.h"
#include "settings/setting_rules.h"

namespace hostlore {

namespace {

// How long a wait for answers lasts before the worker looks whether it was
// stopped.
constexpr int kPollMilliseconds = 10;

}  // namespace

dns_records_thread::dns_records_thread(std::shared_ptr<UiHandoff> handoff, std::string url,
                                       DnsRecordsView& page, SettingsStore settings,
                                       std::shared_ptr<DnsService> dns,
                                       std::shared_ptr<const PublicSuffixList> suffixes)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      settings_(std::move(settings)),
      dns_(std::move(dns)),
      suffixes_(std::move(suffixes)) {}

void dns_records_thread::Show(const DnsRecordsTable& table) {
    Synchronize([&] { page_.ShowTable(table); });
}

void dns_records_thread::Execute() {
    std::string host = AsciiLowerCase(NetworkHostName(HostPart(url_)).value_or(""));
    if (!host.empty() && host.back() == '.') {
        host.pop_back();
    }
    const WhoisSubject subject = AutomaticSubject(host, *suffixes_);
    if (host.empty() || subject.isAddress) {
        DnsRecordsTable table{host, {}, {}, {}};
        table.records.push_back(
            {host,
             {},
             {},
             {},
             host.empty() ? "Not a valid host name." : "An address, not a name."});
        Show(table);
        return;
    }
    const std::string anchor = ReadWithFallback(settings_, setting::kDns, setting::kTrustAnchor,
                                                setting::kDefaultTrustAnchor);
    const DnsRecordsPlan plan = PlanDnsRecords(
        host, subject.query,
        TrustAnchorZone(ReadWholeFile(anchor), subject.query).value_or(std::string()));
    std::vector<std::optional<DnsAnswer>> answers(plan.questions.size());
    std::unique_ptr<DnsQuestions> questions;
    try {
        questions = dns_->NewQuestions(anchor);
    } catch (const std::exception& error) {
        for (auto& answer : answers) {
            answer = AnswerOf(DnsReply{DnsReply::Outcome::Failed, 0, {}, {}, {}, error.what()});
        }
        Show(DnsRecordsTableOf(plan, answers));
        return;
    }
    std::size_t outstanding = answers.size();
    bool changed = false;
    for (std::size_t i = 0; i < plan.questions.size(); ++i) {
        questions->Ask(plan.questions[i].name, plan.questions[i].type,
                       [&, i](const DnsReply& reply) {
                           answers[i] = AnswerOf(reply);
                           --outstanding;
                           changed = true;
                       });
    }
    Show(DnsRecordsTableOf(plan, answers));
    while (outstanding > 0 && !Terminated()) {
        questions->Wait(kPollMilliseconds);
        if (changed && !Terminated()) {
            changed = false;
            Show(DnsRecordsTableOf(plan, answers));
        }
    }
}

}  // namespace hostlore
