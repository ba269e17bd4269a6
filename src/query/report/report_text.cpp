#include <QString>

#include "platform/network_text.h"
#include "platform/terminal_text.h"
#include "query/dns_records/dns_record_text.h"
#include "query/query_rules.h"
#include "query/report/report_formats.h"
#include "query/report/shown_text.h"
#include "query/web_server/web_server_text.h"

namespace hostlore {

namespace {

class TextReport {
  public:
    void Heading(std::string_view page) {
        if (!text_.empty()) {
            text_ += '\n';
        }
        Line(page);
    }
    void Field(std::string_view caption, std::string_view shown) {
        // Some captions on the page end in a colon already.
        if (caption.ends_with(':')) {
            caption.remove_suffix(1);
        }
        Line(std::string(caption) + ": " + std::string(shown));
    }
    void Field(std::string_view caption, const Reported<std::string>& field) {
        Field(caption, field.value ? *field.value : field.shownInstead);
    }
    void NetworkField(std::string_view caption, const Reported<std::string>& field) {
        Field(caption,
              field.value ? TextFromNetwork(*field.value).toStdString() : field.shownInstead);
    }
    template <class Item, class Show>
    void Lines(std::string_view caption, const std::vector<Item>& lines, Show show) {
        Line(std::string(caption) + ":");
        for (const Item& line : lines) {
            Line(show(line));
        }
    }
    void Line(std::string_view line) {
        text_ += line;
        text_ += '\n';
    }
    // Nothing a peer sent may act on the terminal the report is read in.
    std::string Take() { return TerminalSafeText(text_); }

  private:
    std::string text_;
};

std::string AsIs(const std::string& line) {
    return line;
}

std::string Shown(const std::string& bytes) {
    return TextFromNetwork(bytes).toStdString();
}

const std::vector<std::string>& LinesOf(const Reported<std::vector<std::string>>& field) {
    static const std::vector<std::string> kNone;
    return field.value ? *field.value : kNone;
}

}  // namespace

std::string RunStateText(RunState state, const std::string& failure) {
    switch (state) {
        case RunState::NotAsked:
            return {};
        case RunState::Running:
            return std::string(kStatusWorking);
        case RunState::Done:
        case RunState::Stopped:
            return std::string(kStatusDone);
        case RunState::Failed:
            return FailedStatusText(failure);
    }
    return {};
}

std::string ReportText(const QueryReport& report) {
    TextReport text;
    text.Line("Hostlore report");
    text.Field("URL", report.url);
    text.Field("Local time", report.localTime);
    text.Field("Complete", report.complete ? "yes" : "no, the query was still running");

    const GeneralInfoReport& general = report.generalInfo;
    text.Heading(kPageNames[kGeneralInfoPage]);
    text.Field("This Website Located in:", general.location);
    text.Lines("IP Address", LinesOf(general.addresses), AsIs);
    text.NetworkField("Host Name", general.hostName);
    text.NetworkField("Server Type", general.serverType);
    text.Field("Last Modified", general.lastModified);
    text.Field("Server Date", general.serverDate);
    text.Field("Final Address", general.finalAddress);
    text.NetworkField("Certificate", general.certificate);
    text.Field("Certificate SHA-256", general.certificateSha256);
    text.Lines("Redirects", general.redirects, [](const RedirectReport& redirect) {
        return std::to_string(redirect.status) + " " + redirect.url + " -> " + redirect.location;
    });

    text.Heading(kPageNames[kDnsRecordsPage]);
    const auto line = [&text](const std::array<std::string, 4>& cells) {
        std::string joined;
        for (const std::string& cell : cells) {
            if (!cell.empty()) {
                joined += (joined.empty() ? "" : "  ") + cell;
            }
        }
        text.Line(joined);
    };
    for (const DnsRecordRow& row : report.dns.records) {
        line(DnsRowCells(row));
    }
    for (const DnssecLine& dnssec : report.dns.dnssec) {
        line(DnssecCells(dnssec));
    }

    text.Heading(kPageNames[kWebServerPage]);
    for (const std::string& webLine : WebServerLines(report.webServer)) {
        text.Line(Shown(webLine));
    }

    text.Heading(kPageNames[kWhoisInfoPage]);
    text.Field("Whois Server", report.whois.server);
    text.Field("Status", RunStateText(report.whois.state, report.whois.failure));
    if (const auto& expires = report.whois.record.expires) {
        text.Line(RecordExpiryText(*expires, report.startedAt));
    }
    text.Lines("Whois Info", report.whois.lines,
               [](const std::string& line) { return ShownWhoisLine(line).toStdString(); });

    for (const ServiceReport& service : report.services) {
        text.Heading(service.page);
        text.Line(service.caption);
        text.Field("Address", service.url);
    }

    text.Heading(kPageNames[kNeighbourhoodPage]);
    text.Field("Status", RunStateText(report.neighbourhood.state, report.neighbourhood.failure));
    text.Lines("IP Neighborhood", report.neighbourhood.items, Shown);
    if (!report.neighbourhood.notScanned.empty()) {
        text.Line(report.neighbourhood.notScanned);
    }

    const auto local = [](const std::string& line) {
        return ShownLocalReportLine(line).toStdString();
    };
    text.Heading(kPageNames[kLocalNetworkPage]);
    text.Lines("Local Network Parameters", LinesOf(report.localNetwork.parameters), local);
    text.Lines("Local Adapter Information", LinesOf(report.localNetwork.adapters), local);
    return text.Take();
}

}  // namespace hostlore
