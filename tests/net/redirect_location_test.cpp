#include "net/redirect_location.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(ResolveLocation, ReadsEveryFormOfReferenceAgainstTheUrlAskedFor) {
    struct Case {
        const char* base;
        const char* location;
        const char* resolved;  // null: not followed
    };
    const Case cases[] = {
        {"http://a.test/b/c?q", "https://x.test/y", "https://x.test/y"},
        {"http://a.test/b/c?q", "HTTPS://X.test:8443", "https://X.test:8443/"},
        {"http://a.test/b/c?q", "//x.test/y", "http://x.test/y"},
        {"https://a.test/b/c?q", "/y/z?w", "https://a.test/y/z?w"},
        {"http://a.test/b/c?q", "?w", "http://a.test/b/c?w"},
        {"http://a.test/b/c?q", "#f", "http://a.test/b/c?q"},
        {"http://a.test/b/../c", "?w", "http://a.test/c?w"},
        {"http://a.test/b/c?q", "d", "http://a.test/b/d"},
        {"http://a.test/b/c", "../d/./e", "http://a.test/d/e"},
        {"http://a.test/b/c", "../../../d", "http://a.test/d"},
        {"http://a.test/b/", ".", "http://a.test/b/"},
        {"http://a.test", "d", "http://a.test/d"},
        {"http://a.test:81/b", "/c", "http://a.test:81/c"},
        {"http://u:p@a.test/b", "/c", "http://u:p@a.test/c"},
        {"http://a.test/b#top", "c#x", "http://a.test/c"},
        {"http://a.test\\b\\c", "d", "http://a.test/b/d"},
        {"http://a.test/", " \\x\\y ", "http://a.test/x/y"},
        {"http://a.test/", "/a b\r\n\tc\x7f\xc3\xa9", "http://a.test/a%20bc%7F%C3%A9"},
        {"http://a.test/", "ftp://a.test/f", nullptr},
        {"http://a.test/", "mailto:x@a.test", nullptr},
        {"http://a.test/", "http:relative", nullptr},
        {"http://a.test/", "http://", nullptr},
        {"http://a.test/", "http://user@/x", nullptr},
        {"http://a.test/", "https://:443/", nullptr},
        {"no-scheme/at/all", "/x", nullptr},
    };
    for (const Case& c : cases) {
        const auto resolved = ResolveLocation(c.base, c.location);
        if (c.resolved == nullptr) {
            EXPECT_FALSE(resolved.has_value()) << c.base << " + " << c.location;
        } else {
            EXPECT_EQ(resolved.value_or("(none)"), c.resolved) << c.base << " + " << c.location;
        }
    }
}

}  // namespace
}  // namespace hostlore
