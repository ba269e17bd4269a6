// HEAD over TLS on the loopback address, a new connection each time: the
// HTTP client against curl -sI --cacert to the same server, in one run, as
// medians. Before that, the client's peak memory (VmHWM) after one request
// and after a hundred: it must not grow per request. The server runs in a
// child process, so that only the client is measured.
//
// usage: https_head_bench [RUNS]   (needs curl)

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "support/loopback_server.h"
#include "support/test_certificates.h"

namespace {

using namespace hostlore;
using Clock = std::chrono::steady_clock;

long StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

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

// Serves HEAD requests over TLS in a child process; returns its port.
int StartServer(const test::TestCertificates& authority, pid_t& child) {
    int ports[2];
    if (::pipe(ports) != 0 || (child = ::fork()) < 0) {
        std::exit(1);
    }
    if (child == 0) {
        test::LoopbackServer server(
            [](test::ServerConnection& peer) {
                peer.ReadUntil("\r\n\r\n");
                peer.Send("HTTP/1.1 200 OK\r\nServer: bench\r\nContent-Length: 0\r\n\r\n");
            },
            {"127.0.0.1", 0, authority.Server("valid"), 0});
        const int port = server.Port();
        (void)!::write(ports[1], &port, sizeof(port));
        for (;;) {
            ::pause();
        }
    }
    int port = 0;
    if (::read(ports[0], &port, sizeof(port)) != sizeof(port)) {
        std::exit(1);
    }
    return port;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 101;
    const auto& authority = test::TestCertificates::Get();
    ::setenv("SSL_CERT_FILE", authority.RootFile().c_str(), 1);
    pid_t serverProcess = 0;
    const int port = StartServer(authority, serverProcess);
    const std::string url = "https://127.0.0.1:" + std::to_string(port) + "/";

    Head(url);
    const long afterOne = StatusKilobytes("VmHWM");
    for (int i = 1; i < 100; ++i) {
        Head(url);
    }
    const long afterHundred = StatusKilobytes("VmHWM");
    std::printf("peak memory: %ld kB after 1 request, %ld kB after 100 (%+ld kB)\n", afterOne,
                afterHundred, afterHundred - afterOne);

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
    ::kill(serverProcess, SIGKILL);
    ::waitpid(serverProcess, nullptr, 0);
    return 0;
}
