#pragma once

#include <string>
#include <vector>

#include "platform/dns_questions.h"

// What the program and its DNS module share. The module holds libunbound and
// the libraries it needs, so that only the runs that look up DNS records pay
// for loading them.

namespace hostlore {

struct DnsQuestionsSetup {
    std::vector<std::string> nameServers;  // addresses, asked as forwarders
    std::string trustAnchor;               // a file the library can read
    int patienceMilliseconds = 0;          // until an outstanding question has timed out
};

// The module's one entry: a new batch of questions. Raises std::runtime_error,
// in words for the user, when it cannot be set up.
using DnsQuestionsOpen = DnsQuestions* (*)(const DnsQuestionsSetup& setup);
inline constexpr const char* kDnsOpenEntry = "hostlore_dns_open";
inline constexpr const char* kDnsModuleFile = "libhostlore_dns.so";

}  // namespace hostlore
