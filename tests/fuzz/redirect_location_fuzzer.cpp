// A redirect's Location read against the URL that was asked for. The first
// line is the base, the rest the Location as a server sent it.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "net/redirect_location.h"
#include "net/uri.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    fuzz::FuzzInput input(data, size);
    const std::string base = input.TakeLine();
    const std::string location(input.Rest());

    const auto resolved = ResolveLocation(base, location);
    if (!resolved) {
        return 0;
    }
    fuzz::Require(resolved->starts_with("http://") || resolved->starts_with("https://"),
                  "only http and https are followed");
    for (const char c : *resolved) {
        const auto byte = static_cast<unsigned char>(c);
        fuzz::Require(byte > 0x20 && byte < 0x7F && c != '\\' && c != '#',
                      "the URL fits a request line, without bookmark");
    }
    fuzz::Require(!TNetURI::SplitURL(*resolved).Host.empty(), "the client has a host to ask");
    fuzz::Require(ResolveLocation("http://other.example/x/y", *resolved) == resolved,
                  "an absolute URL stands for itself");
    return 0;
}
