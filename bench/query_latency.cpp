// The time from the go button to a filled General Info page and whois reply,
// in the real window (offscreen) with the real resolver, against a web server
// on www.example.test's address and a whois server on 192.0.2.43.
// Run as root through tests/dns/with_test_dns.sh: query_latency RUNS
// It uses only what every version of the window offers, so that the same file
// measures an earlier build of the program side by side.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/main_window.h"
#include "fixed_reply_server.h"

namespace {

bool Filled(const QObject& window) {
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"}) {
        if (window.findChild<QLineEdit*>(name)->text().isEmpty()) {
            return false;
        }
    }
    return window.findChild<QLabel*>("Label5")->text() == "Done!" &&
           !window.findChild<QPlainTextEdit*>("Memo3")->toPlainText().isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    bench::Server web("192.0.2.10", 80, "\r\n\r\n",
                      "HTTP/1.1 200 OK\r\nServer: Bench/1.0\r\nConnection: close\r\n"
                      "Last-Modified: Sat, 05 Nov 1994 10:00:00 GMT\r\n"
                      "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n");
    bench::Server whois("192.0.2.43", 43, "\r\n",
                        "Domain Name: example.test\r\n\r\nRegistrar: Bench Registrar\r\n");

    QTemporaryDir folder;
    std::ofstream(folder.filePath("settings.ini").toStdString())
        << "[general]\r\nexecute=false\r\nget_ie=false\r\n[whois]\r\nserver=192.0.2.43\r\n";
    auto services = hostlore::MainServices::ForThisProgram();
    services.settingsFolder = folder.path().toStdString();
    services.executable = folder.filePath("hostlore").toStdString();
    services.webPanes = [] { return new hostlore::BlankWebPane; };
    hostlore::Tmain window(services);
    window.Timer1->stop();
    auto* box = window.findChild<QComboBox*>("url_edit");
    auto* go = window.findChild<QToolButton*>("go");

    std::vector<double> milliseconds;
    for (int run = 0; run < runs; ++run) {
        box->setEditText(QStringLiteral("http://www.example.test/"));
        QElapsedTimer clock;
        clock.start();
        window.goClick(go);
        while (!Filled(window)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        milliseconds.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        // Let the scan of this query end before the next one starts.
        QElapsedTimer settle;
        settle.start();
        while (window.findChild<QLabel*>("Label11")->text() != "Done!" && settle.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("query latency over %d runs: median %.2f ms, fastest %.2f ms, slowest %.2f ms\n",
                runs, milliseconds[milliseconds.size() / 2], milliseconds.front(),
                milliseconds.back());
    return 0;
}
