#include "net/uri.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(SplitURL, TakesAUrlApartTheWayTheHttpClientNeedsIt) {
    struct Case {
        const char* url;
        TNetURI parts;
    };
    const Case cases[] = {
        {"http://192.0.2.10", {"http", "192.0.2.10", "", "/", "", ""}},
        {"http://192.0.2.10/", {"http", "192.0.2.10", "", "/", "", ""}},
        {"http://192.0.2.10/#top", {"http", "192.0.2.10", "", "/", "", "top"}},
        {"http://192.0.2.10:8080/a/b.html", {"http", "192.0.2.10", "8080", "/a/", "b.html", ""}},
        {"http://192.0.2.10\\a\\b", {"http", "192.0.2.10", "", "/a/", "b", ""}},
        {"http://192.0.2.10/x/y#z/w", {"http", "192.0.2.10", "", "/x/y#z/", "w", ""}},
        {"http://192.0.2.10/x?y=1#z", {"http", "192.0.2.10", "", "/", "x?y=1", "z"}},
        {"http://host.test/q?a=/b", {"http", "host.test", "", "/q?a=/", "b", ""}},
        {"http://host.test:8080?x=1", {"http", "host.test", "8080", "/", "?x=1", ""}},
        {"HTTPS://host.test", {"HTTPS", "host.test", "", "/", "", ""}},
        {"http://user@host.test:81", {"http", "host.test", "81", "/", "", ""}},
        {"http://user:pw@www.example.com/", {"http", "www.example.com", "", "/", "", ""}},
        {"http://a@b:pw@host.test:8080/x", {"http", "host.test", "8080", "/", "x", ""}},
        {"http://host.test/x@y", {"http", "host.test", "", "/", "x@y", ""}},
        {"http://[2001:db8::10]/", {"http", "[2001:db8::10]", "", "/", "", ""}},
        {"http://[2001:db8::10]:8080/a", {"http", "[2001:db8::10]", "8080", "/", "a", ""}},
        {"http://u@[::1]:81", {"http", "[::1]", "81", "/", "", ""}},
        {"relative/page.html", {"", "", "", "/relative/", "page.html", ""}},
        {"", {"", "", "", "/", "", ""}},
    };
    for (const auto& c : cases) {
        const TNetURI uri = TNetURI::SplitURL(c.url);
        EXPECT_EQ(uri.Protocol, c.parts.Protocol) << c.url;
        EXPECT_EQ(uri.Host, c.parts.Host) << c.url;
        EXPECT_EQ(uri.Port, c.parts.Port) << c.url;
        EXPECT_EQ(uri.Path, c.parts.Path) << c.url;
        EXPECT_EQ(uri.Document, c.parts.Document) << c.url;
        EXPECT_EQ(uri.Bookmark, c.parts.Bookmark) << c.url;
    }
}

}  // namespace
}  // namespace hostlore
