#include "query/web_server/security_headers.h"

#include <gtest/gtest.h>

#include <map>

namespace hostlore {
namespace {

TNetHeaderList Headers(const std::vector<std::string>& lines) {
    TNetHeaderList headers;
    for (const std::string& line : lines) {
        headers.Add(line);
    }
    return headers;
}

TEST(SecuritySummary, EachHeaderSetGivesWhatBrowsersMakeOfIt) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::map<std::string, std::string> present;  // header name to value
        std::optional<StrictTransport> strictTransport;
        std::vector<CookieFlags> cookies;
    };
    const std::string hsts = "Strict-Transport-Security";
    const std::string csp = "Content-Security-Policy";
    const Case cases[] = {
        {"nothing sent", {"Server: bare"}, {}, std::nullopt, {}},
        {"all seven",
         {"Strict-Transport-Security: max-age=31536000; includeSubDomains; preload",
          "Content-Security-Policy: default-src 'self'", "X-Frame-Options: DENY",
          "X-Content-Type-Options: nosniff", "Referrer-Policy: no-referrer",
          "Permissions-Policy: geolocation=()", "Cross-Origin-Opener-Policy: same-origin"},
         {{hsts, "max-age=31536000; includeSubDomains; preload"},
          {csp, "default-src 'self'"},
          {"X-Frame-Options", "DENY"},
          {"X-Content-Type-Options", "nosniff"},
          {"Referrer-Policy", "no-referrer"},
          {"Permissions-Policy", "geolocation=()"},
          {"Cross-Origin-Opener-Policy", "same-origin"}},
         StrictTransport{31536000, true, true},
         {}},
        {"names and directives in any case, a quoted age",
         {"strict-transport-security:   MAX-AGE=\"600\" ; INCLUDESUBDOMAINS"},
         {{hsts, "MAX-AGE=\"600\" ; INCLUDESUBDOMAINS"}},
         StrictTransport{600, true, false},
         {}},
        {"an age that is no number",
         {"Strict-Transport-Security: max-age=soon; preload"},
         {{hsts, "max-age=soon; preload"}},
         StrictTransport{std::nullopt, false, true},
         {}},
        {"a negative age",
         {"Strict-Transport-Security: max-age=-5"},
         {{hsts, "max-age=-5"}},
         StrictTransport{std::nullopt, false, false},
         {}},
        {"no age at all",
         {"Strict-Transport-Security: includeSubDomains"},
         {{hsts, "includeSubDomains"}},
         StrictTransport{std::nullopt, true, false},
         {}},
        {"only the first header counts",
         {"Strict-Transport-Security: max-age=100",
          "Strict-Transport-Security: max-age=300; preload"},
         {{hsts, "max-age=100, max-age=300; preload"}},
         StrictTransport{100, false, false},
         {}},
        {"a directive twice",
         {"Strict-Transport-Security: max-age=100; preload; PRELOAD"},
         {{hsts, "max-age=100; preload; PRELOAD"}},
         StrictTransport{std::nullopt, false, true},
         {}},
        {"repeated and continued lines join",
         {"Content-Security-Policy: default-src 'self';", "  img-src *",
          "Content-Security-Policy: frame-ancestors 'none'"},
         {{csp, "default-src 'self'; img-src *, frame-ancestors 'none'"}},
         std::nullopt,
         {}},
        {"cookies by name, their values left out",
         {"Set-Cookie: id=secret; Path=/; Secure; HttpOnly; SameSite=Strict",
          "Set-Cookie: theme=dark", "set-cookie:  lang = en ; samesite = none ; SECURE",
          "Set-Cookie: lonely", "Set-Cookie: =nameless; httponly"},
         {},
         std::nullopt,
         {{"id", true, true, "Strict"},
          {"theme", false, false, ""},
          {"lang", true, false, "none"},
          {"", false, false, ""},
          {"", false, true, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SecuritySummary summary = SummarizeSecurity(Headers(c.lines));
        ASSERT_EQ(summary.headers.size(), 7U);
        for (const SecurityHeader& header : summary.headers) {
            const auto expected = c.present.find(header.name);
            EXPECT_EQ(header.value, expected == c.present.end()
                                        ? std::nullopt
                                        : std::optional<std::string>(expected->second))
                << header.name;
        }
        EXPECT_EQ(summary.strictTransport, c.strictTransport);
        EXPECT_EQ(summary.cookies, c.cookies);
    }
}

TEST(SecuritySummary, ACookiesValueIsLeftOutAndTheRestKept) {
    const std::pair<const char*, const char*> cases[] = {
        {"id=s3cr3t; Path=/; Secure", "id=(value not shown); Path=/; Secure"},
        {"id=", "id=(value not shown)"},
        {"lonely; HttpOnly", "(value not shown); HttpOnly"},
        {"=nameless", "=(value not shown)"},
        {"a=b=c", "a=(value not shown)"},
    };
    for (const auto& [sent, shown] : cases) {
        EXPECT_EQ(WithoutCookieValue(sent), shown) << sent;
    }
}

TEST(SecuritySummary, Http3IsAdvertisedByAnyAlternativeOfItsFamily) {
    const std::pair<const char*, bool> cases[] = {
        {"h3=\":443\"; ma=86400", true},
        {"h3-29=\":443\"; ma=86400, h3-27=\":443\"", true},
        {"h2=\"alt.example.test:443\", h3=\":8443\"", true},
        {"h2=\":443\"; ma=2592000", false},
        {"h3x=\":443\"", false},
        {"clear", false},
        {"", false},
    };
    for (const auto& [altSvc, advertised] : cases) {
        EXPECT_EQ(AdvertisesHttp3(altSvc), advertised) << altSvc;
    }
}

}  // namespace
}  // namespace hostlore
