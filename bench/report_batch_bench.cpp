// Many sites in one run of `hostlore --report --json --input -` against the
// look-up, header request and whois query that `getent hosts`, `curl -sI` and
// `whois` make for each site under `xargs -P 32`, in the test namespace: its
// name server answers every name under .batch with the web server's address,
// IANA's whois server names the registry, and the registry keeps a log of its
// connections. Figures: the wall times, the program's peak memory after 100
// and after all sites, its descriptors once every report is out, the
// registry's log with the default politeness, and a soak in which one site in
// twenty has a web and whois server that never answer.
// Run as root through tests/dns/with_test_dns.sh:
//   report_batch_bench PROGRAM [SITES [SOAK_SITES [ROUNDS]]]
// The wall times are the medians of ROUNDS (3) runs of each, taken in turn.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "batch_world.h"
#include "exec_command.h"

namespace {

using Clock = std::chrono::steady_clock;

// Sites named NAME0.batch, NAME1.batch...; every `silentEvery`th is silent.
std::vector<std::string> Sites(int count, int silentEvery, const std::string& name = "site") {
    std::vector<std::string> sites;
    for (int i = 0; i < count; ++i) {
        const bool silent = silentEvery > 0 && i % silentEvery == silentEvery - 1;
        sites.push_back((silent ? "silent" : name) + std::to_string(i) + ".batch");
    }
    return sites;
}

struct Run {
    double milliseconds = 0;
    std::vector<std::string> lines;
    long peakKilobytes = 0;
    int status = -1;
    int descriptors = -1;  // once every report was out, input still open
    int sockets = -1;
};

void Descriptors(pid_t child, Run& run) {
    run.descriptors = run.sockets = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(child) + "/fd")) {
        ++run.descriptors;
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error).string();
        run.sockets += target.starts_with("socket:") ? 1 : 0;
    }
}

// Runs `command` with the sites on standard input, one a line; reads its
// output lines until there is one per site, looks at its descriptors, then
// ends its input.
Run Start(const std::vector<std::string>& command, const std::vector<std::string>& sites,
          bool countDescriptors) {
    int input[2];
    int output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(input[0], 0);
        ::dup2(output[1], 1);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 2);
        bench::ExecCommand(command);
    }
    ::close(input[0]);
    ::close(output[1]);
    std::thread writer([&] {
        std::string text;
        for (const std::string& site : sites) {
            text += site + "\n";
        }
        for (std::size_t sent = 0; sent < text.size();) {
            const ssize_t n = ::write(input[1], text.data() + sent, text.size() - sent);
            if (n <= 0) {
                break;
            }
            sent += static_cast<std::size_t>(n);
        }
    });
    Run run;
    std::string pending;
    char buffer[65536];
    while (run.lines.size() < sites.size()) {
        const ssize_t n = ::read(output[0], buffer, sizeof(buffer));
        if (n <= 0) {
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            run.lines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
    run.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    writer.join();
    if (countDescriptors) {
        // The workers of the last sites wind down after their report is out.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        Descriptors(child, run);
    }
    ::close(input[1]);
    while (::read(output[0], buffer, sizeof(buffer)) > 0) {
    }
    ::close(output[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

// A copy of the program with settings of its own.
std::string ProgramIn(const std::filesystem::path& program, const std::filesystem::path& folder,
                      const std::string& settings) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(program, folder / "hostlore",
                               std::filesystem::copy_options::overwrite_existing);
    // The program looks for its modules (TLS, DNS) in the lib folder beside
    // its own; without them every site's DNS records would fail at once.
    const auto modules = program.parent_path().parent_path() / "lib";
    if (std::filesystem::is_directory(modules)) {
        std::filesystem::copy(modules, folder.parent_path() / "lib",
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::skip_existing);
    }
    std::ofstream(folder / "settings.ini") << settings;
    return (folder / "hostlore").string();
}

std::vector<std::string> Report(const std::string& hostlore, int jobs, int seconds = 2) {
    return {hostlore,
            "--report",
            "--json",
            "--input",
            "-",
            "--jobs",
            std::to_string(jobs),
            "--timeout",
            std::to_string(seconds)};
}

// Every output line is the report of the site on the same input line.
bool InOrder(const Run& run, const std::vector<std::string>& sites) {
    if (run.lines.size() != sites.size()) {
        return false;
    }
    for (std::size_t i = 0; i < sites.size(); ++i) {
        if (run.lines[i].find("\"url\":\"http://" + sites[i] + "\"") == std::string::npos) {
            return false;
        }
    }
    return true;
}

// The most connections the log shows at once, and the shortest time between
// two that came one after the other.
std::pair<int, double> Manners(std::vector<bench::ThreadedServer::Visit> visits) {
    std::vector<std::pair<Clock::time_point, int>> events;
    for (const auto& visit : visits) {
        events.emplace_back(visit.came, 1);
        events.emplace_back(visit.went, -1);
    }
    std::sort(events.begin(), events.end(), [](const auto& a, const auto& b) {
        return a.first < b.first || (a.first == b.first && a.second < b.second);
    });
    int open = 0;
    int most = 0;
    for (const auto& [when, change] : events) {
        most = std::max(most, open += change);
    }
    std::sort(visits.begin(), visits.end(),
              [](const auto& a, const auto& b) { return a.came < b.came; });
    double shortest = 1e9;
    for (std::size_t i = 1; i < visits.size(); ++i) {
        shortest = std::min(
            shortest,
            std::chrono::duration<double, std::milli>(visits[i].came - visits[i - 1].came).count());
    }
    return {most, shortest};
}

std::optional<std::string> Silent(const std::string& request, const std::string& answer) {
    if (request.find("silent") != std::string::npos) {
        return std::nullopt;
    }
    return answer;
}

// A registry that takes its time with the slow sites, so that their queries
// would overlap if nothing held them back.
constexpr auto kSlowAnswer = std::chrono::milliseconds(2500);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [SITES [SOAK_SITES [ROUNDS]]]\n", argv[0]);
        return 2;
    }
    ::signal(SIGPIPE, SIG_IGN);
    const std::filesystem::path program = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int soakCount = argc > 3 ? std::atoi(argv[3]) : 10000;
    const int rounds = std::max(argc > 4 ? std::atoi(argv[4]) : 3, 1);
    bench::ThreadedServer web("192.0.2.10", 80, "\r\n\r\n", [](const std::string& request) {
        return Silent(request, "HTTP/1.1 200 OK\r\nServer: Bench/1.0\r\nConnection: close\r\n\r\n");
    });
    bench::ThreadedServer iana("192.0.2.60", 43, "\r\n", [](const std::string&) {
        return std::optional<std::string>(
            "% IANA WHOIS server\r\n\r\nrefer:  whois.nic.test\r\n\r\ndomain:  BATCH\r\n\r\n"
            "whois:  whois.nic.test\r\n\r\nsource:  IANA\r\n");
    });
    bench::ThreadedServer registry("192.0.2.61", 43, "\r\n", [](const std::string& request) {
        if (request.starts_with("slow")) {
            std::this_thread::sleep_for(kSlowAnswer);
        }
        return Silent(request, "Domain Name: " + request.substr(0, request.find('\r')) +
                                   "\r\nRegistrar: Bench Registrar\r\n"
                                   "Registry Expiry Date: 2031-02-03T00:00:00Z\r\n");
    });

    const auto folder =
        std::filesystem::temp_directory_path() / ("batch-bench-" + std::to_string(::getpid()));
    const std::string fast =
        ProgramIn(program, folder / "fast", "[whois]\r\nms_between_queries=0\r\n");
    const std::string polite = ProgramIn(program, folder / "polite", "");
    // Silent servers hold their turns until the time limit: many turns, so
    // that the soak is about every line coming, not about the wait.
    const std::string soaked = ProgramIn(
        program, folder / "soak", "[whois]\r\nms_between_queries=0\r\nqueries_per_server=64\r\n");

    const auto sites = Sites(count, 0);
    const auto hundred = Sites(100, 0);
    const Run few = Start(Report(fast, 32), hundred, true);
    const Run many = Start(Report(fast, 32), sites, true);
    const std::vector<std::string> tools = {
        "xargs",
        "-P",
        "32",
        "-n",
        "1",
        "sh",
        "-c",
        "getent hosts \"$0\" >/dev/null; curl -sI \"http://$0/\" >/dev/null; "
        "whois -h whois.nic.test \"$0\" >/dev/null; echo \"$0\""};
    std::vector<double> ours = {many.milliseconds};
    std::vector<double> theirs;
    bool allInOrder = InOrder(many, sites);
    for (int round = 0; round < rounds; ++round) {
        if (round > 0) {
            const Run again = Start(Report(fast, 32), sites, false);
            ours.push_back(again.milliseconds);
            allInOrder = allInOrder && InOrder(again, sites);
        }
        theirs.push_back(Start(tools, sites, false).milliseconds);
    }
    const auto median = [](std::vector<double> times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    const auto range = [](const std::vector<double>& times) {
        return std::to_string(static_cast<int>(*std::min_element(times.begin(), times.end()))) +
               " to " +
               std::to_string(static_cast<int>(*std::max_element(times.begin(), times.end())));
    };
    std::printf("%d sites, --jobs 32, no gap between whois queries, median of %d runs:\n", count,
                rounds);
    std::printf("  hostlore --report --json: %.0f ms (%s), all in order: %s, status %d\n",
                median(ours), range(ours).c_str(), allInOrder ? "yes" : "NO", many.status);
    std::printf("  xargs -P 32 getent hosts + curl -sI + whois: %.0f ms (%s)\n", median(theirs),
                range(theirs).c_str());
    std::printf("  ratio %.2f (goal at most 0.50)\n", median(ours) / median(theirs));
    std::printf(
        "  peak memory %ld kB after 100 sites, %ld kB after %d (%+ld kB, goal within 10240)\n",
        few.peakKilobytes, many.peakKilobytes, count, many.peakKilobytes - few.peakKilobytes);
    std::printf(
        "  descriptors once the reports were out: %d after 100 (%d sockets), "
        "%d after %d (%d sockets)\n",
        few.descriptors, few.sockets, many.descriptors, count, many.sockets);

    for (const std::string name : {"site", "slow"}) {
        registry.Forget();
        const auto eight = Sites(8, 0, name);
        const Run manners = Start(Report(polite, 8, 10), eight, false);
        const auto [most, shortest] = Manners(registry.Visits());
        std::printf(
            "default politeness, 8 sites at once, the registry answering %s: it saw %zu "
            "connections, at most %d at once, starts at least %.1f ms apart (%s in order)\n",
            name == std::string("slow") ? "after 2.5 s" : "at once", registry.Visits().size(), most,
            shortest, InOrder(manners, eight) ? "all" : "NOT");
    }

    const auto soakSites = Sites(soakCount, 20);
    const Run soak = Start(Report(soaked, 64), soakSites, false);
    std::printf(
        "soak: %d sites, one in twenty silent, --jobs 64: %zu output lines in %.0f s, "
        "every input line has its line in order: %s, status %d\n",
        soakCount, soak.lines.size(), soak.milliseconds / 1000,
        InOrder(soak, soakSites) ? "yes" : "NO", soak.status);
    std::filesystem::remove_all(folder);
    return 0;
}
