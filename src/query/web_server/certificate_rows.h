#pragma once

#include <string>
#include <vector>

#include "net/tls_details.h"

namespace hostlore {

// Most subject alternative names a certificate's rows list; the rest are counted.
inline constexpr std::size_t kListedNames = 20;

// One certificate a server sent as the rows the page shows of it: subject,
// names, issuer, validity in the user's short date format, key, signature
// and fingerprint.
std::vector<std::string> CertificateRows(const TNetChainCertificate& certificate);

}  // namespace hostlore
