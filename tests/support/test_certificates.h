#pragma once

#include <memory>
#include <string>
#include <vector>

struct x509_st;

namespace hostlore::test {

struct CertificateFree {
    void operator()(x509_st* certificate) const;
};
using Certificate = std::unique_ptr<x509_st, CertificateFree>;

// The certificates of a PEM file, in order, as OpenSSL reads them.
std::vector<Certificate> CertificatesIn(const std::string& file);

// The SHA-256 of a certificate's DER form as "AB:CD:...".
std::string Fingerprint(x509_st* certificate);

// A server certificate with its chain, and its key, as files.
struct TlsIdentity {
    std::string chainFile;
    std::string keyFile;
};

// The test certificate authority that make_test_ca.sh makes with the openssl
// command, once per build folder, on first use. Trusted only where a test
// points SSL_CERT_FILE at RootFile(); never installed.
class TestCertificates {
  public:
    static const TestCertificates& Get();

    // The root that tests trust.
    std::string RootFile() const { return folder_ + "/root.pem"; }
    // "valid", "expired", "future", "wrong-name", "self-signed", "untrusted",
    // "many-names", "rsa".
    TlsIdentity Server(const std::string& name) const {
        return {folder_ + "/" + name + ".pem", folder_ + "/" + name + ".key"};
    }

    // A good OCSP response for "valid", as a server staples it.
    std::string ValidOcspResponseFile() const { return folder_ + "/valid.ocsp"; }

  private:
    explicit TestCertificates(std::string folder) : folder_(std::move(folder)) {}
    std::string folder_;
};

}  // namespace hostlore::test
