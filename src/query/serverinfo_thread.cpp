#include "query/serverinfo_thread.h"

#include "platform/user_time_format.h"

namespace hostlore {

serverinfo_thread::serverinfo_thread(std::shared_ptr<UiHandoff> handoff, std::string url,
                                     GeneralInfoView& page, const TNetHTTP& settings,
                                     std::shared_ptr<Clock> clock)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      client_(std::make_unique<TNetHTTP>(nullptr)),
      clock_(std::move(clock)) {
    client_->CopySettingsFrom(settings);
}

void serverinfo_thread::Execute() {
    try {
        client_->SendHead(url_);
        const std::string server = client_->ReplyHeaders.Server;
        Synchronize([&] { page_.SetServerType(server); });

        // A missing date formats as the zero date, in whatever short format the
        // user has; then the page shows the day before yesterday instead.
        std::string lastModified = ShortDateText(client_->ReplyHeaders.LastModified);
        if (lastModified == ShortDateText(0)) {
            lastModified = ShortDateText(LocalToday(*clock_) - 2);
        }
        Synchronize([&] { page_.SetLastModified(lastModified); });
        const std::string serverDate = ShortDateText(client_->ReplyHeaders.Date);
        Synchronize([&] { page_.SetServerDate(serverDate); });
    } catch (const ThreadCancelled&) {
        throw;
    } catch (...) {
        const std::string failed = "X";
        Synchronize([&] { page_.SetServerType(failed); });
        Synchronize([&] { page_.SetLastModified(failed); });
        Synchronize([&] { page_.SetServerDate(failed); });
    }
}

}  // namespace hostlore
