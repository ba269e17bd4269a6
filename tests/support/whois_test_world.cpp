#include "support/whois_test_world.h"

#include <cstdio>
#include <map>
#include <stdexcept>

namespace hostlore::test {

namespace {

using Answer = std::function<std::string(const std::string& query)>;

std::string IanaAnswer(const std::string& query) {
    static const std::map<std::string, std::string> registries = {
        {"test", "whois.nic.test"},    {"thin", "whois.thin.test"},   {"silent", "whois.thin.test"},
        {"loop", "whois.loop-a.test"}, {"moved", "whois.moved.test"}, {"gone", "whois.gone.test"},
        {"batch", "whois.nic.test"},
    };
    const std::string header = "% IANA WHOIS server\r\n% This query returned 1 object\r\n\r\n";
    const std::string source = "\r\nsource:       IANA\r\n";
    if (query.starts_with("203.0.113.")) {
        return header +
               "refer:        whois.rir.test\r\n\r\ninetnum:      203.0.0.0 - 203.255.255.255\r\n"
               "organisation: Test RIR\r\nstatus:       ALLOCATED\r\n";
    }
    if (query == "nowhois") {
        return header + "domain:       NOWHOIS\r\n\r\nstatus:       ACTIVE\r\n" + source;
    }
    const auto registry = registries.find(query);
    if (registry == registries.end()) {
        return "% IANA WHOIS server\r\n% This query returned 0 objects.\r\n";
    }
    return header + "refer:        " + registry->second + "\r\n\r\ndomain:       " + query +
           "\r\n\r\nwhois:        " + registry->second + "\r\n\r\nstatus:       ACTIVE\r\n" +
           source;
}

std::string Record(const std::string& domain, const std::string& registrar,
                   const std::string& more = "") {
    return "Domain Name: " + domain + "\r\nRegistrar: " + registrar + "\r\n" + more +
           "Creation Date: 2001-02-03T04:05:06Z\r\n";
}

std::string ThinAnswer(const std::string& query) {
    const std::string registrarServer =
        query == "example.silent" ? "whois.silent.test" : "whois.registrar.test";
    return "Domain Name: " + query + "\r\nRegistrar WHOIS Server: " + registrarServer +
           "\r\nUpdated Date: 2024-01-01T00:00:00Z\r\n";
}

std::string Registrar(const std::string& name) {
    return R"({"objectClassName": "entity", "roles": ["registrar"], "vcardArray": ["vcard", )"
           R"([["version", {}, "text", "4.0"], ["fn", {}, "text", ")" +
           name + R"("]]]})";
}

// An HTTP reply carrying `body`, by its length or, with `chunked`, in pieces.
std::string WebReply(const std::string& status, const std::string& type, const std::string& body,
                     bool chunked) {
    std::string reply = "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\n";
    if (!chunked) {
        return reply + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    }
    reply += "Transfer-Encoding: chunked\r\n\r\n";
    constexpr std::size_t kPiece = 100;
    for (std::size_t start = 0; start < body.size(); start += kPiece) {
        const std::string piece = body.substr(start, kPiece);
        char size[16];
        std::snprintf(size, sizeof size, "%zx", piece.size());
        reply += std::string(size) + "\r\n" + piece + "\r\n";
    }
    return reply + "0\r\n\r\n";
}

struct Site {
    const char* name;
    const char* address;
    Answer answer;  // null: never answers
};

}  // namespace

WhoisTestWorld::WhoisTestWorld() {
    const Site sites[] = {
        {"whois.iana.org", "192.0.2.60", IanaAnswer},
        {"whois.nic.test", "192.0.2.61",
         [](const std::string& query) {
             return Record(query, "Test Registry Registrar",
                           query == "referrer.test" ? "Registrar WHOIS Server: 127.0.0.1\r\n" : "");
         }},
        {"whois.thin.test", "192.0.2.62", ThinAnswer},
        {"whois.registrar.test", "192.0.2.63",
         [](const std::string& query) {
             return Record(query, "Test Registrar",
                           "Registrar WHOIS Server: whois.registrar.test\r\n"
                           "Registrant Organization: Test Shop\r\n");
         }},
        {"whois.moved.test", "192.0.2.64",
         [](const std::string&) {
             return std::string("This registry answers over RDAP only.\r\n");
         }},
        {"whois.loop-a.test", "192.0.2.65",
         [](const std::string& query) {
             return Record(query, "A", "refer: whois.loop-b.test\r\n");
         }},
        {"whois.loop-b.test", "192.0.2.66",
         [](const std::string& query) {
             return Record(query, "B", "refer: whois.loop-a.test\r\n");
         }},
        {"whois.silent.test", "192.0.2.67", nullptr},
        {"127.0.0.1", "127.0.0.1",
         [](const std::string& query) { return Record(query, "Local Registrar"); }},
        {"whois.rir.test", "192.0.2.68",
         [](const std::string& query) {
             return "inetnum:        203.0.113.0 - 203.0.113.255\r\nnetname:        TEST-NET-3\r\n"
                    "descr:          asked about " +
                    query + "\r\n";
         }},
    };
    for (const auto& site : sites) {
        whois_[site.name] = std::make_unique<RecordingServer>(
            "\r\n",
            [answer = site.answer](const Request& request) {
                return answer ? Reply{{answer(request.text.substr(0, request.text.size() - 2))}}
                              : Reply{{}, After::WaitForClientClose};
            },
            ServerOptions{site.address, 43});
    }

    const std::pair<const char*, const char*> rdapSites[] = {
        {"data.iana.test", "192.0.2.70"},
        {"rdap.nic.test", "192.0.2.71"},
        {"rdap.registrar.test", "192.0.2.72"},
    };
    const std::string notFound = WebReply("404 Not Found", "application/rdap+json",
                                          R"({"errorCode": 404, "title": "Not Found"})", false);
    for (const auto& [host, address] : rdapSites) {
        const std::string origin = "https://" + std::string(host);
        std::map<std::string, std::string> replies;
        for (const auto& [url, json] : RdapObjects()) {
            if (url.starts_with(origin + "/")) {
                const bool bootstrap = url == kRdapBootstrap;
                replies[url.substr(origin.size())] =
                    WebReply("200 OK", bootstrap ? "application/json" : "application/rdap+json",
                             json, origin == "https://rdap.registrar.test");
            }
        }
        rdap_[host] = std::make_unique<RecordingServer>(
            "\r\n\r\n", ByTarget(std::move(replies), notFound),
            ServerOptions{address, 443, TestCertificates::Get().Server("rdap"), 0});
    }
}

const std::map<std::string, std::string>& WhoisTestWorld::RdapObjects() {
    static const std::map<std::string, std::string> objects = {
        {kRdapBootstrap,
         R"({"version": "1.0", "publication": "2026-12-01T00:00:00Z", "services": [)"
         R"([["moved", "nowhois", "gone"], ["https://rdap.nic.test/"]]]})"},
        {"https://rdap.nic.test/domain/example.moved",
         R"({"objectClassName": "domain", "ldhName": "EXAMPLE.MOVED", "entities": [)" +
             Registrar("Test Registrar") +
             R"(], "events": [{"eventAction": "registration", "eventDate": "2001-02-03T04:05:06Z"},)"
             R"( {"eventAction": "expiration", "eventDate": "2031-02-03T04:05:06Z"}],)"
             R"( "status": ["client transfer prohibited"],)"
             R"( "nameservers": [{"objectClassName": "nameserver", "ldhName": "NS1.EXAMPLE.MOVED"}],)"
             R"( "links": [{"rel": "related", "type": "application/rdap+json",)"
             R"( "href": "https://rdap.registrar.test/domain/EXAMPLE.MOVED"}]})"},
        {"https://rdap.registrar.test/domain/EXAMPLE.MOVED",
         R"({"objectClassName": "domain", "ldhName": "example.moved", "entities": [)" +
             Registrar("Test Registrar") +
             R"(, {"objectClassName": "entity", "roles": ["registrant"], "vcardArray": ["vcard", )"
             R"([["version", {}, "text", "4.0"], ["org", {}, "text", "Test Shop"],)"
             R"( ["adr", {"cc": "NL"}, "text", ["", "", "", "", "", "", ""]]]]}],)"
             R"( "events": [{"eventAction": "last changed", "eventDate": "2024-01-01T00:00:00Z"}]})"},
        {"https://rdap.nic.test/domain/example.nowhois",
         R"({"objectClassName": "domain", "ldhName": "EXAMPLE.NOWHOIS", "entities": [)" +
             Registrar("Test Registry Registrar") +
             R"(], "events": [{"eventAction": "registration", "eventDate": "2011-12-13T14:15:16Z"}],)"
             R"( "status": ["active"]})"},
    };
    return objects;
}

WhoisTestWorld::~WhoisTestWorld() = default;

std::vector<std::string> WhoisTestWorld::RdapRequests(const std::string& host) const {
    return rdap_.at(host)->Requests();
}

int WhoisTestWorld::IanaConnections() const {
    return Connections("whois.iana.org");
}

int WhoisTestWorld::Connections(const std::string& name) const {
    const auto server = whois_.find(name);
    if (server == whois_.end()) {
        throw std::invalid_argument("no test whois server " + name);
    }
    return server->second->Accepted();
}

}  // namespace hostlore::test
