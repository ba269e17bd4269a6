// HEAD over TLS on the loopback address, a new connection each time: the
// HTTP client against curl -sI --cacert to the same server, in one run, as
// medians.
//
// usage: https_head_bench [RUNS]   (needs curl)

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "support/test_certificates.h"
#include "tls_server_process.h"

namespace {

using namespace hostlore;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Head(const std::string& url) {
    TNetHTTP client(nullptr);
    client.SendHead(url);
    if (client.ReplyCode != 200 || !client.PeerCertificate ||
        client.PeerCertificate->Status != TNetCertificateStatus::Valid) {
        std::fprintf(stderr, "https_head_bench: the request did not succeed\n");
        std::exit(1);
    }
}

bool Curl(const std::string& caFile, const std::string& url) {
    std::vector<std::string> words = {"curl", "-sI", "--cacert", caFile, "-o", "/dev/null", url};
    std::vector<char*> arguments;
    for (auto& word : words) {
        arguments.push_back(word.data());
    }
    arguments.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    return ::posix_spawnp(&child, "curl", nullptr, nullptr, arguments.data(), environ) == 0 &&
           ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 101;
    const auto& authority = test::TestCertificates::Get();
    ::setenv("SSL_CERT_FILE", authority.RootFile().c_str(), 1);
    const bench::TlsServerProcess server(authority.Server("valid"), "127.0.0.1", 0);
    const std::string url = "https://127.0.0.1:" + std::to_string(server.Port()) + "/";

    std::vector<double> client;
    std::vector<double> curl;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        Head(url);
        client.push_back(Milliseconds(Clock::now() - start));
        start = Clock::now();
        if (!Curl(authority.RootFile(), url)) {
            std::fprintf(stderr, "https_head_bench: curl failed\n");
            return 1;
        }
        curl.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("HEAD over TLS, new connection each time, median of %d:\n", runs);
    std::printf("  HTTP client       %8.2f ms\n", Median(client));
    std::printf("  curl -sI --cacert %8.2f ms\n", Median(curl));
    return 0;
}
