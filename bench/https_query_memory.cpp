// The program's peak memory (VmHWM) after 1 query of an https address and
// after 100, in the real window (offscreen) with the real resolver: it must
// not grow per query. The TLS server on www.example.test's address runs in a
// child process, so that only the program is measured.
// Run as root through tests/dns/with_test_dns.sh: https_query_memory [QUERIES]
#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <fstream>

#include "app/main_window.h"
#include "fixed_reply_server.h"
#include "query/query_run.h"
#include "support/test_certificates.h"
#include "tls_server_process.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto& authority = hostlore::test::TestCertificates::Get();
    ::setenv("SSL_CERT_FILE", authority.RootFile().c_str(), 1);
    const bench::TlsServerProcess web(authority.Server("valid"), "192.0.2.10", 443);
    QApplication application(argc, argv);
    const int queries = argc > 1 ? std::atoi(argv[1]) : 100;
    bench::Server whois("192.0.2.43", 43, "\r\n", "Domain Name: example.test\r\n");

    QTemporaryDir folder;
    std::ofstream(folder.filePath("settings.ini").toStdString())
        << "[general]\r\nexecute=false\r\nget_ie=false\r\nip_nei=4\r\n"
           "[whois]\r\nserver=192.0.2.43\r\n";
    auto services = hostlore::MainServices::ForThisProgram();
    services.settingsFolder = folder.path().toStdString();
    services.executable = folder.filePath("hostlore").toStdString();
    services.webPanes = [] { return new hostlore::BlankWebPane; };
    hostlore::Tmain window(services);
    window.Timer1->stop();
    auto* box = window.findChild<QComboBox*>("url_edit");
    auto* go = window.findChild<QToolButton*>("go");
    long afterOne = 0;
    for (int query = 1; query <= queries; ++query) {
        box->setEditText(QStringLiteral("https://www.example.test/"));
        window.goClick(go);
        while (!window.CurrentRun()->Finished()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        if (query == 1) {
            afterOne = bench::StatusKilobytes("VmHWM");
        }
    }
    const long afterAll = bench::StatusKilobytes("VmHWM");
    std::printf(
        "peak memory of the program: %ld kB after 1 https query, %ld kB after %d (%+ld kB)\n",
        afterOne, afterAll, queries, afterAll - afterOne);
    return 0;
}
