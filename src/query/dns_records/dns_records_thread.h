#pragma once

// query/dns_records/: the DNS Records worker, its replies, rows, texts and JSON; may include
// query/, thread/, platform/, settings/, report/'s JSON writer, whois/'s subject.

#include <memory>
#include <string>

#include "platform/dns_questions.h"
#include "platform/public_suffix_list.h"
#include "query/page_views.h"
#include "query/thread/tthread.h"
#include "settings/settings_store.h"

namespace hostlore {

// Fills DNS Records: every question about the host and its registrable
// domain asked at once, validated from the trust anchor the settings name,
// the page shown anew as the answers come.
class dns_records_thread : public TThread {
  public:
    dns_records_thread(std::shared_ptr<UiHandoff> handoff, std::string url, DnsRecordsView& page,
                       SettingsStore settings, std::shared_ptr<DnsService> dns,
                       std::shared_ptr<const PublicSuffixList> suffixes);

  protected:
    void Execute() override;

  private:
    void Show(const DnsRecordsTable& table);

    const std::string url_;
    DnsRecordsView& page_;
    const SettingsStore settings_;
    std::shared_ptr<DnsService> dns_;
    std::shared_ptr<const PublicSuffixList> suffixes_;
};

}  // namespace hostlore
