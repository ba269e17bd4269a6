#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QJsonArray>
#include <QProcess>

#include "app/report_program.h"
#include "query/query_rules.h"
#include "support/whois_test_world.h"

namespace hostlore {
namespace {

using test::JsonLines;
using test::LinesOf;
using test::Outcome;

// Many sites in one run, against the test namespace's whois world: every
// name under .batch is a registered domain of whois.nic.test, whose web
// server is the fixture's; the registrar of example.silent never answers.
class ReportBatchTest : public test::ReportProgramTest {
  protected:
    void SetUp() override {
        ReportProgramTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        world = std::make_unique<test::WhoisTestWorld>();
        program.WriteSettings(
            "[general]\r\nget_ie=false\r\nexecute=false\r\n[whois]\r\nms_between_queries=0\r\n"
            "rdap_bootstrap=" +
            std::string(test::WhoisTestWorld::kRdapBootstrap) + "\r\n");
    }

    // 50 sites: every tenth from the fourth on does not exist, two have the
    // silent registrar.
    static std::vector<std::string> Sites() {
        std::vector<std::string> sites;
        for (int i = 0; i < 50; ++i) {
            if (i % 10 == 3) {
                sites.push_back("nowhere" + std::to_string(i) + ".example.test");
            } else if (i == 20 || i == 41) {
                sites.push_back(i == 20 ? "www.example.silent" : "http://mail.example.silent/");
            } else {
                sites.push_back("site" + std::to_string(i) + ".batch");
            }
        }
        return sites;
    }

    static bool Exists(const std::string& site) {
        return site.find("nowhere") == std::string::npos;
    }

    const QStringList batch = {"--report", "--json", "--jobs", "16", "--timeout", "2"};
    std::unique_ptr<test::WhoisTestWorld> world;
};

TEST_F(ReportBatchTest, FiftySitesAreReportedInInputOrderFromAFileAndFromStandardInput) {
    std::string input = "# sites to check\n\n";
    for (const std::string& site : Sites()) {
        input += "  " + site + "\r\n";
    }
    program.folder.Write("sites.txt", input);
    const Outcome fromFile = Run(
        QStringList(batch) << "--input"
                           << QString::fromStdString(program.folder.File("sites.txt").string()));
    const Outcome fromStandardInput = Run(QStringList(batch) << "--input"
                                                             << "-",
                                          Given{{}, input});

    for (const Outcome& run : {fromFile, fromStandardInput}) {
        EXPECT_EQ(run.status, 1) << run.errors;
        EXPECT_EQ(run.errors, "hostlore: 5 of 50 sites do not exist\n") << "no progress line";
        const auto reports = JsonLines(run.output);
        ASSERT_EQ(reports.size(), 50U);
        for (std::size_t i = 0; i < reports.size(); ++i) {
            const std::string site = Sites()[i];
            const QJsonObject& report = reports[i];
            EXPECT_EQ(report["url"].toString().toStdString(), NormalizedQueryUrl(site));
            EXPECT_EQ(report["general_info"]["addresses"]["value"].isArray(), Exists(site)) << site;
            if (!Exists(site)) {
                continue;
            }
            // The registry's record stands when the registrar it names never answers.
            const QJsonObject whois = report["whois"].toObject();
            const bool silent = site.find("silent") != std::string::npos;
            EXPECT_EQ(whois["state"].toString(), "done") << site;
            EXPECT_EQ(whois["answers"].toArray().last()["server"].toString(),
                      silent ? "whois.thin.test" : "whois.nic.test")
                << site;
            const QJsonObject record = whois["record"].toObject();
            if (silent) {
                EXPECT_EQ(record["registrar"]["reason"].toString(), "not given") << site;
                EXPECT_EQ(record["updated"]["value"].toString(), "2024-01-01T00:00:00Z") << site;
            } else {
                EXPECT_EQ(record["registrar"]["value"].toString(), "Test Registry Registrar");
                EXPECT_EQ(record["created"]["value"].toString(), "2001-02-03T04:05:06Z") << site;
            }
        }
        ExpectReportsFollowTheSchema(run.output);
    }
    // batch, silent and test, each once a run.
    EXPECT_EQ(world->IanaConnections(), 6) << "IANA asked once per top-level domain and run";
    EXPECT_EQ(world->Connections("whois.silent.test"), 4);
}

TEST_F(ReportBatchTest, TextReportsComeOneAfterAnotherEachAfterASeparator) {
    const Outcome run = Run({"--report", "site1.batch", "nowhere.example.test", "site2.batch",
                             "--no-whois", "--jobs", "3"});
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> separators;
    for (const std::string& line : LinesOf(run.output)) {
        if (line.starts_with("=== ")) {
            separators.push_back(line);
        }
    }
    EXPECT_EQ(separators, (std::vector<std::string>{
                              "=== http://site1.batch ===", "=== http://nowhere.example.test ===",
                              "=== http://site2.batch ==="}));
    EXPECT_TRUE(run.output.starts_with("=== http://site1.batch ===\nHostlore report\n"));
}

TEST_F(ReportBatchTest, OutputThatCannotBeWrittenIsStatusThree) {
    const Outcome full = Run({"--report", "site1.batch", "--no-whois"}, Given{{}, {}, "/dev/full"});
    EXPECT_EQ(full.status, 3);
    EXPECT_EQ(full.errors, "hostlore: cannot write the report: No space left on device\n");
}

// The program with its standard error on a terminal of its own and its
// output thrown away: what the terminal was sent, and the exit status.
std::pair<std::string, int> OnATerminal(const std::string& program,
                                        std::vector<std::string> arguments) {
    termios raw{};
    ::cfmakeraw(&raw);
    int terminal = -1;
    int side = -1;
    if (::openpty(&terminal, &side, nullptr, &raw, nullptr) != 0) {
        return {"openpty failed", -1};
    }
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(side, STDERR_FILENO);
        ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
        ::close(terminal);
        ::close(side);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(side);
    std::string shown;
    char buffer[4096];
    // Once the program has ended, reading the terminal fails.
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) {
        shown.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {shown, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST_F(ReportBatchTest, OnATerminalOneProgressLineIsRewrittenInPlace) {
    const auto [shown, status] =
        OnATerminal(program.folder.File("hostlore").string(),
                    {"--report", "--json", "site1.batch", "nowhere.example.test", "site2.batch",
                     "--no-whois", "--jobs", "3"});
    EXPECT_EQ(status, 1);
    const std::string summary = "hostlore: 1 of 3 sites do not exist\n";
    ASSERT_TRUE(shown.ends_with("\r\x1b[K" + summary)) << shown;
    const std::string progress = shown.substr(0, shown.size() - summary.size());
    EXPECT_EQ(progress.find('\n'), std::string::npos) << shown;
    EXPECT_TRUE(progress.starts_with("\r\x1b[K")) << shown;
    EXPECT_NE(progress.find("\r\x1b[K3/3 done, 1 not found, "), std::string::npos) << shown;
}

// Ctrl+C while a site waits for its whois server: the lines written so far
// stay whole and nothing follows them.
TEST_F(ReportBatchTest, AnInterruptEndsTheRunWithTheLinesWrittenSoFar) {
    QProcess process;
    process.start(QString::fromStdString(program.folder.File("hostlore").string()),
                  {"--report", "--json", "site1.batch", "www.example.silent", "site2.batch",
                   "--timeout", "30"});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray output;
    while (!output.contains('\n') && process.waitForReadyRead(20'000)) {
        output += process.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains('\n'));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10'000));
    output += process.readAllStandardOutput();
    EXPECT_EQ(process.exitCode(), 130);
    const auto reports = JsonLines(output.toStdString());
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0]["url"].toString(), "http://site1.batch");
    EXPECT_TRUE(output.endsWith('\n'));
}

}  // namespace
}  // namespace hostlore
