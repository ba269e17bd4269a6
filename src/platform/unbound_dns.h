#pragma once

#include <filesystem>

#include "platform/dns_questions.h"

namespace hostlore {

// The files the name servers and their time-outs are read from.
struct NameServerFiles {
    std::filesystem::path resolvConf = "/etc/resolv.conf";
    std::filesystem::path resolvedResolvConf = "/run/systemd/resolve/resolv.conf";
};

// Validation by libunbound (in the DNS module, loaded at the first batch),
// which asks the system's name servers as forwarders instead of trusting
// their verdict. Every batch reads the files afresh; batches open at the same
// time with the same name servers and anchor share one library context.
class UnboundDnsService : public DnsService {
  public:
    explicit UnboundDnsService(NameServerFiles files = {});

    std::unique_ptr<DnsQuestions> NewQuestions(const std::filesystem::path& trustAnchor) override;

  private:
    const NameServerFiles files_;
};

}  // namespace hostlore
