#include "support/test_certificates.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace hostlore::test {

namespace {

void RunScript(const std::string& folder) {
    std::string shell = "/bin/bash";
    std::string script = HOSTLORE_TEST_CA_SCRIPT;
    std::string target = folder;
    char* arguments[] = {shell.data(), script.data(), target.data(), nullptr};
    pid_t child = 0;
    int status = 0;
    if (::posix_spawn(&child, shell.c_str(), nullptr, nullptr, arguments, environ) != 0 ||
        ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("make_test_ca.sh failed");
    }
}

// Made in a folder of its own and renamed into place, so that test programs
// running side by side share one authority and never see half of one.
std::string MadeOnce() {
    namespace fs = std::filesystem;
    const fs::path folder = HOSTLORE_TEST_CA_FOLDER;
    if (fs::exists(folder / "untrusted.pem")) {
        return folder;
    }
    const fs::path making = folder.string() + ".making." + std::to_string(::getpid());
    fs::remove_all(making);
    RunScript(making);
    std::error_code failed;
    fs::rename(making, folder, failed);
    if (failed) {
        fs::remove_all(making);  // another program was first
    }
    return folder;
}

}  // namespace

const TestCertificates& TestCertificates::Get() {
    static const TestCertificates certificates(MadeOnce());
    return certificates;
}

}  // namespace hostlore::test
