#include "query/whois_thread.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QStringDecoder>

#include "app/main_window.h"
#include "platform/text_trim.h"
#include "query/url_parts.h"
#include "query/whois_reply.h"

namespace hostlore {

namespace {

// Whois servers send UTF-8 or one of the old 8-bit sets; Latin-1 shows any byte.
QString DecodeReply(const std::string& reply) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(reply.data(), static_cast<qsizetype>(reply.size())));
    if (utf8.hasError()) {
        text = QString::fromLatin1(reply.data(), static_cast<qsizetype>(reply.size()));
    }
    return text;
}

}  // namespace

whois_thread::whois_thread(Tmain& window, const TNetWhois& settings)
    : TThread(window.Handoff()), window_(window), client_(std::make_shared<TNetWhois>(nullptr)) {
    client_->CopySettingsFrom(settings);
}

void whois_thread::Execute() {
    Synchronize([&] { window_.Memo3->clear(); });
    std::string url;
    Synchronize([&] { url = window_.url_edit->currentText().toStdString(); });
    const std::string domain(TrimControls(DomainPart(HostPart(url))));
    if (domain.empty()) {
        return;
    }
    const std::string reply = client_->QueryDomain(domain);
    const QString text = DecodeReply(reply);
    for (const std::string& line : WhoisReplyLines(text.toStdString())) {
        Synchronize([&] {
            // The memo would turn a carriage return into a line break of its own.
            QString shown = QString::fromStdString(line);
            if (shown.endsWith('\r')) {
                shown.chop(1);
            }
            window_.Memo3->appendPlainText(shown);
        });
    }
}

}  // namespace hostlore
