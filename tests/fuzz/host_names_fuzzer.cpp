// Host names and URLs as typed into the URL box, and official names as the
// resolver gives them, turned into their network and display forms.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "query/host_names.h"
#include "query/url_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    const std::string host(reinterpret_cast<const char*>(data), size);

    if (const auto name = NetworkHostName(host)) {
        fuzz::Require(!name->empty(), "a name to send is never empty");
        fuzz::Require(
            std::all_of(name->begin(), name->end(), [](char c) { return c > ' ' && c < 0x7f; }),
            "only printable ASCII goes to the network");
        // An IPv6 literal goes without its brackets.
        const std::string again = host.starts_with('[') ? "[" + *name + "]" : *name;
        fuzz::Require(NetworkHostName(again) == *name, "the network form is its own network form");
        const std::string text = HostNameText(*name);
        fuzz::Require(text == *name || text.ends_with(" (" + *name + ")"),
                      "the Host Name field shows the ASCII form");
    }
    if (const auto url = UrlWithNetworkHost(host)) {
        const std::string before = HostPart(host);
        const std::string after = HostPart(*url);
        fuzz::Require(after == before || after == NetworkHostName(before),
                      "only the host of the URL changes, to its network form");
    }
    const std::string text = HostNameText(host);
    fuzz::Require(text == host || text.ends_with(" (" + host + ")"),
                  "the Host Name field shows the name the resolver gave");
    return 0;
}
