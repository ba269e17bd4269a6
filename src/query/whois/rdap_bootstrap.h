#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hostlore {

// An http or https URL with its scheme in lower case; none for any other.
std::optional<std::string> RdapWebUrl(std::string_view url);

// IANA's bootstrap file for domains: which RDAP server answers for which
// suffix.
class RdapBootstrap {
  public:
    // None when the text is not a bootstrap file.
    static std::optional<RdapBootstrap> Parse(std::string_view json);

    // The base URL (ending in "/") of the server for the longest suffix of
    // the domain that the file lists; https preferred. None when no entry fits.
    std::optional<std::string> BaseUrlFor(std::string_view domain) const;

  private:
    // Each suffix in lower case with its base URL.
    std::vector<std::pair<std::string, std::string>> services_;
};

}  // namespace hostlore
