#pragma once

#include <memory>
#include <vector>

#include "support/recording_server.h"

namespace hostlore::test {

// The web of the test namespace (dns/with_test_dns.sh), served on the
// addresses its names resolve to, so that only root can start it:
//   http://www.example.test/       301 to https://www.example.test/, which
//                                  answers over TLS with the valid certificate
//   https://NAME.example.test/     answers over TLS with the certificate NAME
//                                  (expired, future, self-signed, untrusted;
//                                  wrong answers with wrong-name)
//   https://stall.example.test/    reads the ClientHello and says no more
//   http://loop.example.test/      301 to /again, which 302s back
//   http://relative.example.test/  302 to next/page, which answers
//   http://ftp.example.test/       301 to ftp://ftp.example.test/
// Every answer carries kServerType, kDate and kLastModified.
class TestWebWorld {
  public:
    TestWebWorld();

    static constexpr const char* kServerType = "Hostlore-Test/1.0";
    static constexpr const char* kDate = "Tue, 01 Dec 2026 10:00:00 GMT";
    static constexpr const char* kLastModified = "Sun, 01 Nov 2026 08:00:00 GMT";

  private:
    std::vector<std::unique_ptr<RecordingServer>> servers_;
    std::unique_ptr<LoopbackServer> stall_;
};

}  // namespace hostlore::test
