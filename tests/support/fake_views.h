#pragma once

#include <memory>
#include <string>
#include <vector>

#include "query/page_views.h"
#include "query/thread/handoff.h"
#include "query/thread/tthread.h"
#include "support/event_pump.h"

namespace hostlore::test {

// Pages that remember what the workers did to them, in order. Read them on
// the user interface thread, like the workers' hand-offs write them.
class RecordingGeneralInfo : public GeneralInfoView {
  public:
    void Clear() override { *this = {}; }
    void AddAddressLine(const std::string& address) override { addresses.push_back(address); }
    void SetLocation(const std::string& region) override { location = region; }
    void SetHostName(const std::string& name) override { hostName = name; }
    void ShowWebsiteMissing() override { ++missingShown; }
    void SetServerType(const std::string& server) override { serverType = server; }
    void SetLastModified(const std::string& date) override { lastModified = date; }
    void ShowLastModifiedNotGiven() override { lastModified = "not given"; }
    void SetServerDate(const std::string& date) override { serverDate = date; }
    void ShowServerFailed(const std::string& reason) override {
        serverType = lastModified = serverDate = "X";
        serverFailure = reason;
    }
    void SetFinalAddress(const std::string& url) override { finalAddress = url; }
    void SetCertificate(const std::string& summary) override { certificate = summary; }
    void ShowCertificateFailed(const std::string&) override { certificate = std::string(1, 'X'); }
    void ShowCertificateUnavailable(const std::string& reason) override { certificate = reason; }
    void RecordServerChain(const ServerChainReport& chain) override {
        hops = chain.hops;
        certificateSha256 = chain.certificateSha256;
    }

    std::vector<std::string> addresses;
    std::string location, hostName, serverType, lastModified, serverDate, serverFailure;
    std::string finalAddress, certificate, certificateSha256;
    std::vector<HopReport> hops;
    int missingShown = 0;
};

class RecordingWebServer : public WebServerView {
  public:
    void Clear() override { shown.clear(); }
    void Show(const WebServerReport& report, const QString& text) override {
        shown.push_back({report, text});
    }
    struct Shown {
        WebServerReport report;
        QString text;
    };
    std::vector<Shown> shown;  // each text set, in order
};

class RecordingWhois : public WhoisView {
  public:
    void ClearReply() override { lines.clear(); }
    void RecordReply(const WhoisAnswer& answer) override {
        replies.emplace_back(answer.server, answer.reply);
        fields.push_back(answer.fields);
    }
    void AppendReplyLines(std::span<const std::string> batch) override {
        lines.insert(lines.end(), batch.begin(), batch.end());
        ++batches;
    }
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, std::string>> replies;
    std::vector<WhoisFields> fields;
    int batches = 0;
};

class RecordingPane : public ServicePaneView {
  public:
    void Navigate(const std::string& url) override { visited.push_back(url); }
    std::vector<std::string> visited;
};

class RecordingNeighbourhood : public NeighbourhoodView {
  public:
    void ClearList() override {
        items.clear();
        ++cleared;
    }
    void AppendItem(const std::string& text) override { items.push_back(text); }
    void ReplaceLastItem(const std::string& text) override { items.back() = text; }
    void ShowNothingToScan(const std::string& reason) override {
        items.clear();
        notScanned = reason;
    }
    std::vector<std::string> items;
    std::string notScanned;
    int cleared = 0;
};

// Runs a worker against the user interface thread of the test and waits for
// its end-of-run handler.
class WorkerRun {
  public:
    template <class Worker, class... Arguments>
    std::shared_ptr<Worker> Start(Arguments&&... arguments) {
        auto worker =
            std::make_shared<Worker>(pump_.Handoff(), std::forward<Arguments>(arguments)...);
        worker->OnTerminate = [this](TThread&) { ended_ = true; };
        worker->Start();
        return worker;
    }
    bool WaitForEnd(int milliseconds = 5000) {
        return PumpUntil([this] { return ended_; }, milliseconds);
    }
    const std::shared_ptr<UiHandoff>& Handoff() const { return pump_.Handoff(); }

  private:
    UiHandoffPump pump_;
    bool ended_ = false;
};

}  // namespace hostlore::test
