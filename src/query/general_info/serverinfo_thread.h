#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "net/http_client.h"
#include "query/connection_settings.h"
#include "query/page_views.h"
#include "query/thread/tthread.h"
#include "query/web_server/web_server_feed.h"

namespace hostlore {

// Fills the lower half of General Info from one HEAD request, with its
// redirects: the final server's software, the last modification and its
// date, the address that answered and its certificate; and, given the page,
// Web Server from the same request and the checks beside it. Each run asks
// through a client of its own, so that overlapping queries never share a
// connection.
class serverinfo_thread : public TThread {
  public:
    serverinfo_thread(std::shared_ptr<UiHandoff> handoff, std::string url, GeneralInfoView& page,
                      const ConnectionSettings& connection, std::shared_ptr<Resolver> resolver,
                      WebServerView* webServer = nullptr);

    // Closes every connection of the run, from any thread; the run then ends
    // as it fails.
    void StopConnections();

  protected:
    void Execute() override;

  private:
    // The certificate of the server that answered, or empty.
    std::string CertificateText() const;
    void RecordChain(bool certificateShown);
    void ShowHopsSoFar();
    void ShowWebServer(bool replyRead, const std::string& failure);
    // Hands the report and its text to the page without waiting for it.
    void PostWebServer(WebServerReport report);

    const std::string url_;
    GeneralInfoView& page_;
    std::unique_ptr<TNetHTTP> client_;
    WebServerView* const webServer_;
    std::unique_ptr<WebServerFeed> feed_;  // null without the page
    bool webServerShown_ = false;          // its last report
    std::atomic<bool> stopped_{false};
};

}  // namespace hostlore
