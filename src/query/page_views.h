#pragma once

#include <span>
#include <string>

namespace hostlore {

// What the workers may do to the pages they fill. Every call is made on the
// user interface thread, through the worker's hand-off; texts from the
// network arrive as the bytes the peer sent.

class GeneralInfoView {
  public:
    virtual ~GeneralInfoView() = default;
    virtual void AddAddressLine(const std::string& dottedAddress) = 0;
    // The address lines shown so far, each ended by CR LF.
    virtual std::string AddressLines() const = 0;
    virtual void SetLocation(const std::string& region) = 0;
    virtual void SetHostName(const std::string& name) = 0;
    virtual void ShowWebsiteMissing() = 0;
    virtual void SetServerType(const std::string& server) = 0;
    virtual void SetLastModified(const std::string& date) = 0;
    virtual void SetServerDate(const std::string& date) = 0;
};

class WhoisView {
  public:
    virtual ~WhoisView() = default;
    virtual void ClearReply() = 0;
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
};

}  // namespace hostlore
