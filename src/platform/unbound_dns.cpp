#include "platform/unbound_dns.h"

#include <dlfcn.h>

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

struct LoadedModule {
    DnsQuestionsOpen open = nullptr;
    std::string failure;
};

LoadedModule LoadModule() {
    const std::filesystem::path file =
        ProgramModule(ExecutablePath().parent_path(), kDnsModuleFile);
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return {nullptr, std::string("The DNS module cannot be loaded: ") + ::dlerror()};
    }
    auto* open = reinterpret_cast<DnsQuestionsOpen>(::dlsym(handle, kDnsOpenEntry));
    if (open == nullptr) {
        return {nullptr, "The DNS module " + file.string() + " has no entry."};
    }
    return {open, {}};
}

// Loaded once and kept to the end of the program.
DnsQuestionsOpen OpenQuestions() {
    static const LoadedModule loaded = LoadModule();
    if (loaded.open == nullptr) {
        throw std::runtime_error(loaded.failure);
    }
    return loaded.open;
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
