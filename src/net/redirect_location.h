#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hostlore {

// The absolute URL that a redirect's Location names, read against `base`, the
// URL that was asked for, as browsers read it: a reference with a scheme
// stands alone, "//host/..." keeps the scheme, "/path" also the host, "?query"
// also the path, and a relative path replaces the last segment of the base's;
// "." and ".." segments are resolved and the fragment is dropped. Blanks at
// either end, tabs and line ends are dropped, backslashes count as slashes,
// and bytes that no request line may carry (controls, blanks, non-ASCII) are
// percent-encoded. Nothing when the result is not an http or https URL with a
// host: only those are followed.
std::optional<std::string> ResolveLocation(std::string_view base, std::string_view location);

}  // namespace hostlore
