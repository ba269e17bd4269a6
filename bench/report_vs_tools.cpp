// Wall time of `hostlore --report` against the look-up, header request and
// whois query that `getent hosts`, `curl -I` and `whois` make one after
// another, for the same host against the same servers.
// Run as root through tests/dns/with_test_dns.sh:
//   report_vs_tools PROGRAM RUNS
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "exec_command.h"
#include "fixed_reply_server.h"

namespace {

// Runs the command with its output thrown away; the wall time in milliseconds.
double Milliseconds(const std::vector<std::string>& command) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr ||
            std::freopen("/dev/null", "w", stderr) == nullptr) {
            std::_Exit(127);
        }
        bench::ExecCommand(command);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", command.front().c_str());
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(const std::vector<std::string>& command, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        times.push_back(Milliseconds(command));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [RUNS]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path program = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    bench::Server web("192.0.2.10", 80, "\r\n\r\n",
                      "HTTP/1.1 200 OK\r\nServer: Bench/1.0\r\nConnection: close\r\n\r\n");
    bench::Server whois("192.0.2.43", 43, "\r\n", "Domain Name: example.test\r\n");

    // A copy of the program of its own, so that its settings are the bench's.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("report-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* file : {"hostlore", "libhostlore_window.so"}) {
        std::filesystem::copy_file(program.parent_path() / file, folder / file,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::ofstream(folder / "settings.ini") << "[whois]\r\nserver=192.0.2.43\r\n";
    const std::string hostlore = (folder / "hostlore").string();
    const std::string url = "http://www.example.test/";

    const double report = Median({hostlore, "--report", url}, runs);
    const double withoutScan = Median({hostlore, "--report", url, "--neighbours", "0"}, runs);
    const double tools = Median({"sh", "-c",
                                 "getent hosts www.example.test && curl -sI " + url +
                                     " && whois -h 192.0.2.43 example.test"},
                                runs);
    std::printf(
        "median of %d runs: hostlore --report %.1f ms (without the scan %.1f ms); "
        "getent hosts + curl -I + whois %.1f ms\n",
        runs, report, withoutScan, tools);
    std::filesystem::remove_all(folder);
    return 0;
}
