#include "query/serverinfo_thread.h"

#include "net/http_date.h"
#include "platform/user_time_format.h"
#include "query/failure_reason.h"

namespace hostlore {

serverinfo_thread::serverinfo_thread(std::shared_ptr<UiHandoff> handoff, std::string url,
                                     GeneralInfoView& page, const ConnectionSettings& connection,
                                     std::shared_ptr<Resolver> resolver)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      client_(std::make_unique<TNetHTTP>(std::move(resolver))) {
    client_->SocksInfo = connection.socks;
    client_->ReadTimeoutMs = connection.httpDeadlineMs;
    client_->ConnectTimeoutMs = connection.httpDeadlineMs;
}

void serverinfo_thread::Execute() {
    try {
        client_->SendHead(url_);
    } catch (const std::exception& error) {
        const std::string reason = FailureReason(error);
        Synchronize([&] { page_.ShowServerFailed(reason); });
        return;
    }
    const TNetHeaderInfo& reply = client_->ReplyHeaders;
    Synchronize([&] { page_.SetServerType(reply.Server); });
    // A missing or unreadable header reads as the date of no text; no other
    // date may stand in for one the server never sent.
    const std::string lastModified = ShortDateText(reply.LastModified);
    if (lastModified == ShortDateText(InternetDateToLocal(""))) {
        Synchronize([&] { page_.ShowLastModifiedNotGiven(); });
    } else {
        Synchronize([&] { page_.SetLastModified(lastModified); });
    }
    const std::string serverDate = ShortDateText(reply.Date);
    Synchronize([&] { page_.SetServerDate(serverDate); });
}

}  // namespace hostlore
