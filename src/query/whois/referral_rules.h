#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "query/connection_settings.h"

namespace hostlore {

// Why a whois chain must not follow an answer's referral to `to`, connecting
// to `address` (empty: judged before any connection); none when it may.
// `start` is the address the chain's first server answered from (empty:
// unknown, as through a proxy). A chain that started on this machine or the
// local network may go anywhere, so that a registry of one's own can refer
// to its neighbours; any other only to port 43 of public addresses, besides
// the server the user named, which is always the user's choice.
std::optional<std::string> ReferralRefusal(std::string_view start, const WhoisServerAddress& to,
                                           std::string_view address, bool namedByUser);

}  // namespace hostlore
