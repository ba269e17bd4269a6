#include "support/test_certificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
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

void CertificateFree::operator()(X509* certificate) const {
    X509_free(certificate);
}

std::vector<Certificate> CertificatesIn(const std::string& file) {
    std::vector<Certificate> certificates;
    FILE* in = std::fopen(file.c_str(), "r");
    while (in != nullptr) {
        X509* read = PEM_read_X509(in, nullptr, nullptr, nullptr);
        if (read == nullptr) {
            break;
        }
        certificates.emplace_back(read);
    }
    if (in != nullptr) {
        std::fclose(in);
    }
    return certificates;
}

std::string Fingerprint(X509* certificate) {
    unsigned char* der = nullptr;
    const int length = i2d_X509(certificate, &der);
    unsigned char digest[32];
    EVP_Digest(der, static_cast<std::size_t>(length), digest, nullptr, EVP_sha256(), nullptr);
    OPENSSL_free(der);
    char text[3 * 32] = {};
    for (std::size_t i = 0; i < 32; ++i) {
        std::snprintf(text + 3 * i, 4, i < 31 ? "%02X:" : "%02X", digest[i]);
    }
    return text;
}

const TestCertificates& TestCertificates::Get() {
    static const TestCertificates certificates(MadeOnce());
    return certificates;
}

}  // namespace hostlore::test
