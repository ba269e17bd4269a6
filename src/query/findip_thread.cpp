#include "query/findip_thread.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/main_window.h"
#include "query/url_parts.h"
#include "region/whereis.h"

namespace hostlore {

findip_thread::findip_thread(Tmain& window, std::shared_ptr<Resolver> resolver)
    : TThread(window.Handoff()), window_(window), resolver_(std::move(resolver)) {}

void findip_thread::Execute() {
    std::optional<HostEntry> host;
    try {
        std::string url;
        Synchronize([&] { url = window_.url_edit->currentText().toStdString(); });
        host = resolver_->LookupName(HostPart(url)).entry;
    } catch (const ThreadCancelled&) {
        throw;
    } catch (...) {
        // Treated like a host that does not resolve.
    }
    if (!host) {
        Synchronize([&] {
            window_.Services().messageBoxes->ShowOk(&window_,
                                                    QStringLiteral("Website does not exist! "),
                                                    QStringLiteral("Error"), BoxIcon::Error);
        });
        return;
    }
    for (const Ipv4Address& address : host->addresses) {
        Synchronize([&] {
            window_.Memo1->appendPlainText(QString::fromStdString(DottedAddress(address)));
        });
    }
    std::string lines;
    Synchronize([&] {
        // The memo's lines, each ended by CR LF; only the first address decides.
        lines = window_.Memo1->toPlainText().replace('\n', QStringLiteral("\r\n")).toStdString();
    });
    if (!lines.empty()) {
        lines += "\r\n";
    }
    const std::string region = region_of_address(lines);
    Synchronize([&] { window_.Edit1->setText(QString::fromStdString(region)); });
    Synchronize([&] { window_.Edit4->setText(QString::fromStdString(host->officialName)); });
}

}  // namespace hostlore
