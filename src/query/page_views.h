#pragma once

#include <QString>
#include <span>
#include <string>
#include <vector>

#include "query/report/query_report.h"
#include "query/web_server/web_server_report.h"

namespace hostlore {

// What the workers may do to the pages they fill. Every call is made on the
// user interface thread, through the worker's hand-off; texts from the
// network arrive as the bytes the peer sent.

class GeneralInfoView {
  public:
    virtual ~GeneralInfoView() = default;
    // Empties the addresses, then each field in turn.
    virtual void Clear() = 0;
    virtual void AddAddressLine(const std::string& address) = 0;
    virtual void SetLocation(const std::string& region) = 0;
    virtual void SetHostName(const std::string& name) = 0;
    virtual void ShowWebsiteMissing() = 0;
    virtual void SetServerType(const std::string& server) = 0;
    virtual void SetLastModified(const std::string& date) = 0;
    // The reply carried no Last-Modified header.
    virtual void ShowLastModifiedNotGiven() = 0;
    virtual void SetServerDate(const std::string& date) = 0;
    // The header request failed: no server field has a value, and no final
    // address.
    virtual void ShowServerFailed(const std::string& reason) = 0;
    // The URL that answered after redirects; empty when there were none.
    virtual void SetFinalAddress(const std::string& url) = 0;
    // The answering server's certificate in one line; empty for an answer
    // over plain HTTP.
    virtual void SetCertificate(const std::string& summary) = 0;
    // No certificate to show: the request failed before its TLS handshake
    // was done, or on a redirect it must not follow.
    virtual void ShowCertificateFailed(const std::string& reason) = 0;
    // No secure connection can be made at all; the field says why.
    virtual void ShowCertificateUnavailable(const std::string& reason) = 0;
    // For the report alone: what the header request went through, and the
    // certificate shown, if any, as values.
    virtual void RecordServerChain(const ServerChainReport& chain) = 0;
};

class DnsRecordsView {
  public:
    virtual ~DnsRecordsView() = default;
    // The whole page anew, as far as the answers have come.
    virtual void ShowTable(const DnsRecordsTable& table) = 0;
};

class WebServerView {
  public:
    virtual ~WebServerView() = default;
    virtual void Clear() = 0;
    // What the header request and the checks beside it have found so far,
    // and the page's whole text for it, made on the worker's thread.
    virtual void Show(const WebServerReport& report, const QString& text) = 0;
};

class WhoisView {
  public:
    virtual ~WhoisView() = default;
    virtual void ClearReply() = 0;
    // A server's whole reply, as it came, and what it says as values, before
    // its lines are shown.
    virtual void RecordReply(const WhoisAnswer& answer) = 0;
    // The next lines of the reply, in order; a batch keeps the window busy
    // for a few milliseconds at most.
    virtual void AppendReplyLines(std::span<const std::string> lines) = 0;
};

class ServicePaneView {
  public:
    virtual ~ServicePaneView() = default;
    virtual void Navigate(const std::string& url) = 0;
};

class NeighbourhoodView {
  public:
    virtual ~NeighbourhoodView() = default;
    virtual void ClearList() = 0;
    virtual void AppendItem(const std::string& text) = 0;
    virtual void ReplaceLastItem(const std::string& text) = 0;
    // The scan has nothing to walk: an empty list, and why.
    virtual void ShowNothingToScan(const std::string& reason) = 0;
};

// The status of a page whose worker the user can stop.
class RunStatusView {
  public:
    virtual ~RunStatusView() = default;
    virtual void ShowRunning() = 0;
    virtual void ShowDone() = 0;
    // Stopped by the user, or by a newer query.
    virtual void ShowStopped() = 0;
    virtual void ShowFailed(const std::string& reason) = 0;
};

class LocalNetworkView {
  public:
    virtual ~LocalNetworkView() = default;
    virtual void ShowParameters(const std::vector<std::string>& lines) = 0;
    virtual void ShowAdapters(const std::vector<std::string>& lines) = 0;
};

}  // namespace hostlore
