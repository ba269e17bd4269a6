#include "platform/unbound_dns.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "platform/dns_module.h"
#include "platform/file_text.h"
#include "platform/name_servers.h"
#include "platform/program_files.h"
#include "platform/resolver_timeouts.h"

namespace hostlore {

namespace {

// Loaded once and kept to the end of the program.
DnsQuestionsOpen OpenQuestions() {
    static std::string failure;
    static const auto open =
        reinterpret_cast<DnsQuestionsOpen>(ModuleEntry(kDnsModuleFile, kDnsOpenEntry, failure));
    if (open == nullptr) {
        throw std::runtime_error(failure);
    }
    return open;
}

}  // namespace

UnboundDnsService::UnboundDnsService(NameServerFiles files) : files_(std::move(files)) {}

std::unique_ptr<DnsQuestions> UnboundDnsService::NewQuestions(
    const std::filesystem::path& trustAnchor) {
    // The library reads the file only at the first question, and then says no
    // more than that it could not.
    if (!std::ifstream(trustAnchor)) {
        throw std::runtime_error("The trust anchor " + trustAnchor.string() + " cannot be read.");
    }
    DnsQuestionsSetup setup;
    setup.trustAnchor = trustAnchor.string();
    setup.nameServers = NameServers(files_.resolvConf, files_.resolvedResolvConf);
    if (setup.nameServers.empty()) {
        setup.nameServers.emplace_back("127.0.0.1");  // as the C library's resolver has it
    }
    const char* const environment = std::getenv("RES_OPTIONS");
    const ResolverTimeouts timeouts = ReadResolverTimeouts(
        ReadWholeFile(files_.resolvConf), environment != nullptr ? environment : "");
    setup.patienceMilliseconds = timeouts.timeoutSeconds * timeouts.attempts * 1000;
    return std::unique_ptr<DnsQuestions>(OpenQuestions()(setup));
}

}  // namespace hostlore
