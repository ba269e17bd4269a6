// HEAD over TLS, a new connection each time: the HTTP client against
// curl -sI --cacert to the same server, in one run, as medians. Without URLs
// against a server of its own on the loopback address; with them against
// real servers, trusted through SSL_CERT_FILE, and a redirect chain against
// curl -sIL too. Run that form inside the test namespace, as one command line:
//   tests/dns/with_test_dns.sh tests/web_servers/with_web_servers.sh
//       env SSL_CERT_FILE=... https_head_bench 101 https://nginx.example.test/
//       http://nginx.example.test/hop1
//
// usage: https_head_bench [RUNS [HEAD_URL CHAIN_URL]]   (needs curl)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_measures.h"
#include "net/http_client.h"
#include "platform/resolver.h"
#include "support/test_certificates.h"
#include "tls_server_process.h"

namespace {

using namespace hostlore;
using bench::Clock;
using bench::Median;
using bench::Milliseconds;

void Head(const std::string& url, std::shared_ptr<Resolver> resolver) {
    TNetHTTP client(std::move(resolver));
    client.SendHead(url);
    const bool secure = url.starts_with("https:");
    if (client.ReplyCode != 200 ||
        (secure && (!client.PeerCertificate ||
                    client.PeerCertificate->Status != TNetCertificateStatus::Valid))) {
        std::fprintf(stderr, "https_head_bench: the request did not succeed\n");
        std::exit(1);
    }
}

bool Curl(const std::string& caFile, const std::string& url, const char* options = "-sI") {
    return bench::RunQuietly({"curl", options, "--cacert", caFile, "-o", "/dev/null", url});
}

// Medians of the client and of curl, taken in turns.
void Compare(const char* title, int runs, const std::string& url, const std::string& caFile,
             const char* curlOptions, const std::shared_ptr<Resolver>& resolver) {
    std::vector<double> client;
    std::vector<double> curl;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        Head(url, resolver);
        client.push_back(Milliseconds(Clock::now() - start));
        start = Clock::now();
        if (!Curl(caFile, url, curlOptions)) {
            std::fprintf(stderr, "https_head_bench: curl failed\n");
            std::exit(1);
        }
        curl.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("%s, new connection each time, median of %d:\n", title, runs);
    std::printf("  HTTP client            %8.2f ms\n", Median(client));
    std::printf("  curl %-8s --cacert %8.2f ms (%.2fx)\n", curlOptions, Median(curl),
                Median(client) / Median(curl));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 101;
    if (argc > 3) {
        const char* caFile = std::getenv("SSL_CERT_FILE");
        const auto resolver = std::make_shared<SystemResolver>();
        Compare("HEAD over TLS", runs, argv[2], caFile != nullptr ? caFile : "", "-sI", resolver);
        Compare("A redirect chain", runs, argv[3], caFile != nullptr ? caFile : "", "-sIL",
                resolver);
        return 0;
    }
    const auto& authority = test::TestCertificates::Get();
    ::setenv("SSL_CERT_FILE", authority.RootFile().c_str(), 1);
    const bench::TlsServerProcess server(authority.Server("valid"), "127.0.0.1", 0);
    Compare("HEAD over TLS", runs, "https://127.0.0.1:" + std::to_string(server.Port()) + "/",
            authority.RootFile(), "-sI", nullptr);
    return 0;
}
