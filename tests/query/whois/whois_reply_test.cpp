#include "query/whois/whois_reply.h"

#include <gtest/gtest.h>

#include "query/url_parts.h"

namespace hostlore {
namespace {

using Lines = std::vector<std::string>;

TEST(WhoisReplyLines, SplitsAtLineFeedsTheWayThePageShowsThem) {
    const std::pair<const char*, Lines> cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\ntwo\n", {"one", "two"}},
        {"one\ntwo", {"one", "two"}},
        {"one\n\n\ntwo\n", {"one", "two"}},
        {"one\r\n\r\ntwo\r\n", {"one\r", "\r", "two\r"}},
        {"\n\nlead", {"lead"}},
        {"\n", {}},
        {"last without end\r", {"last without end\r"}},
    };
    for (const auto& [reply, lines] : cases) {
        EXPECT_EQ(WhoisReplyLines(reply), lines) << reply;
    }
}

TEST(DomainPart, KeepsTheLastTwoLabels) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.b.example.test", "example.test"},
        {"www.example.test", "example.test"},
        {"example.test", "example.test"},
        {"localhost", "localhost"},
        {"192.0.2.10", "2.10"},
        {"www.example.test:8080", "example.test:8080"},
        {"www.example.test.", "test."},
        {"", ""},
    };
    for (const auto& [host, domain] : cases) {
        EXPECT_EQ(DomainPart(host), domain) << host;
    }
}

}  // namespace
}  // namespace hostlore
