// Takes the manual's pictures of the real main window and about box. Run by
// take_help_pictures.sh inside a private network and home where
// www.hostlore.example is 12.1.1.1 and whois.hostlore.example is 127.0.0.1;
// this program answers there as the web server, over HTTP and HTTPS with the
// certificate it is given, and as the whois server.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string_view>

#include "app/main_window.h"
#include "app/page_control.h"
#include "app/pages/web_pane.h"
#include "help_pictures/demo_server.h"
#include "platform/program_files.h"

namespace {

using hostlore::pictures::DemoServer;

const char* const kSettings =
    "[general]\r\n"
    "default_url=http://www.hostlore.example/\r\n"
    "get_ie=false\r\n"
    "[whois]\r\n"
    "server=whois.hostlore.example\r\n"
    "[last_url]\r\n"
    "http://www.hostlore.example/=\r\n"
    "http://mail.hostlore.example/=\r\n"
    "http://www.example.org/=\r\n";

// The site has moved to HTTPS, as most have.
std::string PlainWebReply(const std::string& /*request*/) {
    return "HTTP/1.1 301 Moved Permanently\r\n"
           "Location: https://www.hostlore.example/\r\n"
           "Content-Length: 0\r\n"
           "\r\n";
}

std::string SecureWebReply(const std::string& /*request*/) {
    return "HTTP/1.1 200 OK\r\n"
           "Date: Tue, 08 Dec 2026 19:30:00 GMT\r\n"
           "Server: Apache/2.4.57 (Debian)\r\n"
           "Last-Modified: Tue, 03 Nov 2026 09:12:44 GMT\r\n"
           "Content-Type: text/html; charset=UTF-8\r\n"
           "Content-Length: 0\r\n"
           "\r\n";
}

std::string WhoisReply(const std::string& request) {
    const std::string domain = request.substr(0, request.find('\r'));
    return "   Domain Name: " + domain +
           "\r\n"
           "   Registry Domain ID: 2336799_DOMAIN_EXAMPLE\r\n"
           "   Registrar WHOIS Server: whois.hostlore.example\r\n"
           "   Registrar URL: http://www.hostlore.example\r\n"
           "   Updated Date: 2026-08-14T07:01:44Z\r\n"
           "   Creation Date: 2004-06-21T14:03:11Z\r\n"
           "   Registry Expiry Date: 2028-06-21T14:03:11Z\r\n"
           "   Registrar: Example Names, Inc.\r\n"
           "   Domain Status: clientTransferProhibited\r\n"
           "   Name Server: NS1.HOSTLORE.EXAMPLE\r\n"
           "   Name Server: NS2.HOSTLORE.EXAMPLE\r\n"
           "   DNSSEC: unsigned\r\n"
           ">>> Last update of whois database: 2026-12-08T19:30:00Z <<<\r\n";
}

// Runs the event loop until `ready` holds or `milliseconds` have passed;
// returns `ready()`.
bool Settle(
    int milliseconds, const std::function<bool()>& ready = [] { return false; }) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (ready()) {
            loop.quit();
        }
    });
    deadline.start(milliseconds);
    poll.start(50);
    loop.exec();
    return ready();
}

// The query has filled every field the pictures show.
bool QueryShown(const QWidget& window) {
    const auto text = [&window](const char* name) {
        if (const auto* area = window.findChild<QPlainTextEdit*>(QString::fromLatin1(name))) {
            return area->toPlainText();
        }
        const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
        return label != nullptr ? label->text() : QString();
    };
    return !text("FinalAddress").isEmpty() && !text("Certificate").isEmpty() &&
           !text("Memo2").isEmpty() && text("Label5") == "Done!" && text("Label11") == "Done!";
}

// "General Info   " becomes "general-info".
QString FileName(const QString& caption) {
    return caption.trimmed().toLower().replace(' ', '-') + QStringLiteral(".png");
}

bool Save(QWidget& widget, const QString& file) {
    std::cout << file.toStdString() << std::endl;
    return widget.grab().save(file);
}

// The about box is modal: it is taken from inside its own event loop.
bool SaveAboutBox(QWidget& window, const QString& file) {
    bool saved = false;
    QTimer::singleShot(300, &window, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            saved = Save(*box, file);
            box->close();
        }
    });
    window.findChild<QAction*>(QStringLiteral("About1"))->trigger();
    return saved;
}

// A dark theme as a desktop would set it, to see the window in one.
void UseDarkPalette() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2b, 0x2b, 0x2b));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    }
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    QApplication::setPalette(dark);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const bool dark = argc == 5 && std::string_view(argv[4]) == "--dark";
    if (argc != 4 && !dark) {
        std::cerr << "usage: help_pictures OUTPUT-FOLDER CERTIFICATE-CHAIN KEY [--dark]\n";
        return 2;
    }
    if (dark) {
        UseDarkPalette();
    }
    // A client that leaves before the TLS server's answer must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const DemoServer web("12.1.1.1", 80, "\r\n\r\n", PlainWebReply);
    const DemoServer secureWeb("12.1.1.1", 443, "\r\n\r\n", SecureWebReply,
                               hostlore::pictures::DemoTls{argv[2], argv[3]});
    const DemoServer whois("127.0.0.1", 43, "\r\n", WhoisReply);

    // Settings of an installed copy, in the private home the script made.
    auto services = hostlore::MainServices::ForThisProgram();
    services.settingsFolder = hostlore::UserFolders::FromEnvironment().ConfigFolder();
    std::filesystem::create_directories(services.settingsFolder);
    std::ofstream(services.settingsFolder / "settings.ini", std::ios::binary) << kSettings;
    // The service pages' panes stay blank: no outside service is reachable here.
    services.webPanes = [] { return new hostlore::BlankWebPane; };

    hostlore::Tmain window(services);
    QApplication::setApplicationName(window.ApplicationTitle());
    window.show();
    // The start-up timer's query, answered by the servers above.
    if (!Settle(20000, [&window] { return QueryShown(window); })) {
        std::cerr << "help_pictures: the query did not fill every page in time\n";
        return 1;
    }

    bool saved = true;
    auto* pages = window.findChild<hostlore::PageControl*>();
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        Settle(300);
        saved = Save(window, output.filePath(FileName(pages->tab(page)->text()))) && saved;
    }
    pages->setCurrentIndex(0);
    Settle(300);
    return SaveAboutBox(window, output.filePath(QStringLiteral("about.png"))) && saved ? 0 : 1;
}
