// Date header values as servers send them, in every form the parser knows.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "net/http_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    const std::string header(reinterpret_cast<const char*>(data), size);
    std::string rest = header;
    fuzz::Require(std::isfinite(ParseInternetDate(rest)), "a parsed date is a number");
    fuzz::Require(std::isfinite(ZoneOffsetFromText(header)), "a zone offset is a number");
    fuzz::Require(std::isfinite(InternetDateToLocal(header)), "a local date is a number");
    return 0;
}
