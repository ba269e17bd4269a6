#include "query/serverinfo_thread.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/main_window.h"
#include "net/http_date.h"
#include "platform/network_text.h"

namespace hostlore {

serverinfo_thread::serverinfo_thread(Tmain& window, const TNetHTTP& settings,
                                     std::shared_ptr<Clock> clock)
    : TThread(window.Handoff()),
      window_(window),
      client_(std::make_unique<TNetHTTP>(nullptr)),
      clock_(std::move(clock)) {
    client_->CopySettingsFrom(settings);
}

void serverinfo_thread::Execute() {
    try {
        std::string url;
        Synchronize([&] { url = window_.url_edit->currentText().toStdString(); });
        client_->SendHead(url);
        const std::string server = client_->ReplyHeaders.Server;
        Synchronize([&] { window_.Edit2->setText(TextFromNetwork(server)); });

        // A missing date formats as the zero date, in whatever short format the
        // user has; then the page shows the day before yesterday instead.
        std::string lastModified = ShortDateText(client_->ReplyHeaders.LastModified);
        if (lastModified == ShortDateText(0)) {
            lastModified = ShortDateText(LocalToday(*clock_) - 2);
        }
        Synchronize([&] { window_.Edit3->setText(QString::fromStdString(lastModified)); });
        const std::string serverDate = ShortDateText(client_->ReplyHeaders.Date);
        Synchronize([&] { window_.Edit5->setText(QString::fromStdString(serverDate)); });
    } catch (const ThreadCancelled&) {
        throw;
    } catch (...) {
        const QString failed = QStringLiteral("X");
        Synchronize([&] { window_.Edit2->setText(failed); });
        Synchronize([&] { window_.Edit3->setText(failed); });
        Synchronize([&] { window_.Edit5->setText(failed); });
    }
}

}  // namespace hostlore
