#include "net/openssl_certificates.h"

#include <arpa/inet.h>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/x509v3.h>

#include <ctime>
#include <memory>

namespace hostlore {

namespace {

std::string Bytes(const ASN1_STRING* text) {
    return {reinterpret_cast<const char*>(ASN1_STRING_get0_data(text)),
            static_cast<std::size_t>(ASN1_STRING_length(text))};
}

// Calls `visit` with each subject alternative name until it returns false.
template <class Visit>
void ForEachAltName(X509* certificate, Visit visit) {
    auto* names = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; names != nullptr && i < sk_GENERAL_NAME_num(names); ++i) {
        if (!visit(*sk_GENERAL_NAME_value(names, i))) {
            break;
        }
    }
    GENERAL_NAMES_free(names);
}

std::string AddressText(const ASN1_OCTET_STRING* address) {
    const int family = ASN1_STRING_length(address) == 4 ? AF_INET : AF_INET6;
    if (ASN1_STRING_length(address) != 4 && ASN1_STRING_length(address) != 16) {
        return {};
    }
    char text[INET6_ADDRSTRLEN] = {};
    return ::inet_ntop(family, ASN1_STRING_get0_data(address), text, sizeof text) != nullptr
               ? text
               : std::string();
}

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};

// "CN=www.example.test, O=Example": UTF-8 kept, control characters escaped.
std::string WholeName(const X509_NAME* name) {
    const std::unique_ptr<BIO, BioFree> out(BIO_new(BIO_s_mem()));
    constexpr unsigned long kFlags =
        (XN_FLAG_ONELINE & ~XN_FLAG_SPC_EQ & ~ASN1_STRFLGS_ESC_MSB) | ASN1_STRFLGS_UTF8_CONVERT;
    if (!out || X509_NAME_print_ex(out.get(), name, 0, kFlags) < 0) {
        return {};
    }
    char* data = nullptr;
    const long length = BIO_get_mem_data(out.get(), &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

void DescribeKey(X509* certificate, TNetChainCertificate& described) {
    EVP_PKEY* key = X509_get0_pubkey(certificate);
    if (key == nullptr) {
        return;
    }
    const char* type = EVP_PKEY_get0_type_name(key);
    described.KeyType = type != nullptr ? type : OBJ_nid2sn(EVP_PKEY_get_base_id(key));
    described.KeyBits = EVP_PKEY_get_bits(key);
    if (EVP_PKEY_get_base_id(key) == EVP_PKEY_EC) {
        char curve[80] = {};
        std::size_t length = 0;
        if (EVP_PKEY_get_group_name(key, curve, sizeof curve, &length) == 1) {
            described.KeyCurve.assign(curve, length);
        }
    }
}

}  // namespace

std::int64_t SecondsOf(const ASN1_TIME* time) {
    std::tm moment{};
    if (time == nullptr || ASN1_TIME_to_tm(time, &moment) != 1) {
        return 0;
    }
    return ::timegm(&moment);
}

std::string NameEntry(const X509_NAME* name, int nid) {
    const int index = X509_NAME_get_index_by_NID(name, nid, -1);
    if (index < 0) {
        return {};
    }
    unsigned char* text = nullptr;
    const int length =
        ASN1_STRING_to_UTF8(&text, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index)));
    if (length < 0) {
        return {};
    }
    std::string value(reinterpret_cast<char*>(text), static_cast<std::size_t>(length));
    OPENSSL_free(text);
    return value;
}

std::string FirstDnsName(X509* certificate) {
    std::string first;
    ForEachAltName(certificate, [&](const GENERAL_NAME& name) {
        if (name.type == GEN_DNS) {
            first = Bytes(name.d.dNSName);
        }
        return first.empty();
    });
    return first;
}

std::string Sha256Fingerprint(X509* certificate) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha256(), digest, &length) != 1) {
        return {};
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0) {
            text += ':';
        }
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0x0F];
    }
    return text;
}

TNetChainCertificate ChainCertificate(X509* certificate) {
    TNetChainCertificate described;
    described.Subject = WholeName(X509_get_subject_name(certificate));
    described.Issuer = WholeName(X509_get_issuer_name(certificate));
    ForEachAltName(certificate, [&](const GENERAL_NAME& name) {
        if (name.type == GEN_DNS) {
            described.SubjectAltNames.push_back(Bytes(name.d.dNSName));
        } else if (name.type == GEN_IPADD) {
            described.SubjectAltNames.push_back(AddressText(name.d.iPAddress));
        }
        return true;
    });
    described.NotBefore = SecondsOf(X509_get0_notBefore(certificate));
    described.NotAfter = SecondsOf(X509_get0_notAfter(certificate));
    DescribeKey(certificate, described);
    described.SignatureAlgorithm = OBJ_nid2ln(X509_get_signature_nid(certificate));
    described.Sha256Fingerprint = Sha256Fingerprint(certificate);
    return described;
}

}  // namespace hostlore
