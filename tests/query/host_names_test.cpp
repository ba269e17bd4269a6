#include "query/host_names.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

// Three labels of 63 characters and one of `last`, dotted: 192 + `last`.
std::string LongName(std::size_t last) {
    const std::string label(63, 'a');
    return label + "." + label + "." + label + "." + std::string(last, 'b');
}

TEST(NetworkHostNameTest, GivesTheNameThatGoesToTheNetwork) {
    const std::pair<std::string, std::string> cases[] = {
        {"bücher.example", "xn--bcher-kva.example"},
        {"BÜCHER.Example", "xn--bcher-kva.example"},
        {"WWW.Example.Test", "WWW.Example.Test"},
        {"my_host.example", "my_host.example"},
        {"xn--bcher-kva.example", "xn--bcher-kva.example"},
        {"bücher\u3002example", "xn--bcher-kva.example"},
        {"bücher\uff0eexample", "xn--bcher-kva.example"},
        {"bücher\uff61example", "xn--bcher-kva.example"},
        {"\uff57\uff57\uff57\uff0eexample\uff0etest", "www.example.test"},
        {"faß.de", "xn--fa-hia.de"},
        {"βόλος.com", "xn--nxasmm1c.com"},
        {"例え.テスト", "xn--r8jz45g.xn--zckzah"},
        {"\u0915\u094d\u200d\u0937.example", "xn--11b2ezcw70k.example"},
        {"שלום.example", "xn--9dbne9b.example"},
        {"bücher.example.", "xn--bcher-kva.example."},
        {"b%C3%BCcher.example", "xn--bcher-kva.example"},
        {"my%2dhost.example", "my-host.example"},
        {"example.test.", "example.test."},
        {std::string(63, 'a') + ".example", std::string(63, 'a') + ".example"},
        {LongName(61), LongName(61)},
        {LongName(61) + ".", LongName(61) + "."},
        {"[2001:db8::10]", "2001:db8::10"},
        {"[::ffff:192.0.2.1]", "::ffff:192.0.2.1"},
    };
    for (const auto& [host, expected] : cases) {
        EXPECT_EQ(NetworkHostName(host), expected) << host;
    }
}

TEST(NetworkHostNameTest, AnInvalidNameIsUnknownAndNeverSentAsItsBytes) {
    const std::string cases[] = {
        "",
        "bü cher.example",
        "a\tb.example",
        "-bücher.example",
        "bücher-.example",
        "bücher..example",
        "\u00ad.example",
        "münchen\u200d.de",
        "a\u05e9.example",
        "\u0300a.example",
        "xn--a.example",
        "xn--x.xn--bcher-kva.example",
        "b\xfc"
        "cher.example",
        std::string(64, 'a') + "\u00fc.example",
        "[2001:db8::10",
        "b%2541.example",
        "[www.example.test]",
        "[fe80::1%25lo]",
        "a..example",
        ".example",
        "example..",
        ".",
        std::string(64, 'a') + ".example",
        LongName(62),
        "dddb%r3$l.exna.xndl",
        "dddb%23l.example",
        "a%2Fb.example",
        "a%40b.example",
        "a%3Fb.example",
        "a%5Cb.example",
        "b%4.example",
        "a$b.example",
        "a:b.example",
        "%5B::1%5D",
    };
    for (const auto& host : cases) {
        EXPECT_EQ(NetworkHostName(host), std::nullopt) << host;
    }
}

TEST(UrlWithNetworkHostTest, PutsTheNetworkFormOfTheHostIntoTheUrl) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"http://bücher.example/", "http://xn--bcher-kva.example/"},
        {"http://user@Bücher.example:8080/x?q=ü#f",
         "http://user@xn--bcher-kva.example:8080/x?q=ü#f"},
        {"https://[2001:db8::10]:8443/", "https://[2001:db8::10]:8443/"},
        {"http://WWW.Example.Test", "http://WWW.Example.Test"},
        {"http://bü cher.example/", std::nullopt},
        {"http://[2001:db8::zz]/", std::nullopt},
        {"http://dddb%r3$l.exna.xndl/", std::nullopt},
    };
    for (const auto& [url, expected] : cases) {
        EXPECT_EQ(UrlWithNetworkHost(url), expected) << url;
    }
}

TEST(HostNameTextTest, ShowsTheUnicodeFormWithTheAsciiFormWhenTheyDiffer) {
    const std::pair<std::string, std::string> cases[] = {
        {"xn--bcher-kva.example", "bücher.example (xn--bcher-kva.example)"},
        {"www.xn--r8jz45g.xn--zckzah", "www.例え.テスト (www.xn--r8jz45g.xn--zckzah)"},
        {"WWW.Example.Test", "WWW.Example.Test"},
        {"xn--a.example", "xn--a.example"},
        {"bücher.example", "bücher.example"},
        {"2001:db8::10", "2001:db8::10"},
        {"", ""},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(HostNameText(name), expected) << name;
    }
}

}  // namespace
}  // namespace hostlore
