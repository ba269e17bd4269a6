#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

#include "net/tls_module.h"
#include "net/url_syntax.h"
#include "net/wait_limit.h"

namespace hostlore {

namespace {

struct ContextFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
using ContextPointer = std::unique_ptr<SSL_CTX, ContextFree>;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The client context for the trust store the environment names now. Loading a
// store costs milliseconds, so one context serves every connection until
// SSL_CERT_FILE or SSL_CERT_DIR change. A connection keeps its own reference.
SSL_CTX* ClientContext() {
    // Workers are not waited for at exit: OpenSSL must not tear itself down
    // under one that is still in a handshake.
    static const bool initialised = OPENSSL_init_ssl(OPENSSL_INIT_NO_ATEXIT, nullptr) == 1;
    if (!initialised) {
        throw ENetTLSError("cannot set up TLS");
    }
    static std::mutex mutex;
    static ContextPointer context;
    static std::string storeKey;
    const std::string key = Environment("SSL_CERT_FILE") + '\n' + Environment("SSL_CERT_DIR");
    const std::lock_guard lock(mutex);
    if (!context || key != storeKey) {
        ContextPointer made(SSL_CTX_new(TLS_client_method()));
        if (!made || SSL_CTX_set_min_proto_version(made.get(), TLS1_2_VERSION) != 1 ||
            SSL_CTX_set_max_proto_version(made.get(), TLS1_3_VERSION) != 1 ||
            SSL_CTX_set_default_verify_paths(made.get()) != 1) {
            throw ENetTLSError("cannot set up TLS");
        }
        // An end without the closing alert is reported, not failed: for headers
        // it is no loss, for a body read to the close it is (CutOff).
        SSL_CTX_set_options(made.get(), SSL_OP_NO_RENEGOTIATION);
        static constexpr unsigned char kHttp11[] = "\x08http/1.1";
        SSL_CTX_set_alpn_protos(made.get(), kHttp11, sizeof(kHttp11) - 1);
        context = std::move(made);
        storeKey = key;
    }
    SSL_CTX_up_ref(context.get());
    return context.get();
}

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

// The whole name, "CN=www.example.test,O=Example", UTF-8 kept.
std::string WholeName(const X509_NAME* name) {
    BIO* text = BIO_new(BIO_s_mem());
    if (text == nullptr) {
        return {};
    }
    std::string value;
    if (X509_NAME_print_ex(text, name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB) >= 0) {
        char* data = nullptr;
        const long length = BIO_get_mem_data(text, &data);
        value.assign(data, static_cast<std::size_t>(std::max(length, 0L)));
    }
    BIO_free(text);
    return value;
}

// The DNS names and addresses the certificate is for, in its order.
std::vector<std::string> AlternativeNames(X509* certificate) {
    auto* names = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    std::vector<std::string> texts;
    for (int i = 0; names != nullptr && i < sk_GENERAL_NAME_num(names); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(names, i);
        if (name->type == GEN_DNS) {
            const ASN1_STRING* text = name->d.dNSName;
            texts.emplace_back(reinterpret_cast<const char*>(ASN1_STRING_get0_data(text)),
                               static_cast<std::size_t>(ASN1_STRING_length(text)));
        } else if (name->type == GEN_IPADD) {
            const ASN1_OCTET_STRING* bytes = name->d.iPAddress;
            const int length = ASN1_STRING_length(bytes);
            char address[INET6_ADDRSTRLEN] = {};
            const int family = length == 4 ? AF_INET : length == 16 ? AF_INET6 : 0;
            if (family != 0 &&
                ::inet_ntop(family, ASN1_STRING_get0_data(bytes), address, sizeof address)) {
                texts.emplace_back(address);
            }
        }
    }
    GENERAL_NAMES_free(names);
    return texts;
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

std::string LastErrorText(const char* fallback) {
    const unsigned long error = ERR_peek_last_error();
    const char* reason = error != 0 ? ERR_reason_error_string(error) : nullptr;
    ERR_clear_error();
    return reason != nullptr ? reason : fallback;
}

// What the socket callbacks and the check's callback need of one connection.
struct Session {
    explicit Session(TNetRawTransport& connection) : connection(connection) {}
    ~Session() { SSL_free(ssl); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // A failure of the connection below OpenSSL, passed on once OpenSSL returns.
    void RethrowFailure() {
        if (failure) {
            ERR_clear_error();
            std::rethrow_exception(std::exchange(failure, nullptr));
        }
    }

    TNetRawTransport& connection;
    SSL* ssl = nullptr;
    int waitMs = kNoLimit;
    std::exception_ptr failure;
    std::vector<TNetVerifyFailure> verifyFailures;
    bool cutOff = false;
};

int SessionIndex() {
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// OpenSSL reads and writes through the connection, so its deadline, its
// slices and a close from another thread hold during the handshake as well.
int ReadThroughConnection(BIO* bio, char* buffer, int size) {
    auto* session = static_cast<Session*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    try {
        const std::ptrdiff_t received =
            session->connection.ReceiveRaw(buffer, static_cast<std::size_t>(size), session->waitMs);
        if (received < 0) {
            BIO_set_retry_read(bio);
            return -1;
        }
        return static_cast<int>(received);
    } catch (...) {
        session->failure = std::current_exception();
        return -1;
    }
}

int WriteThroughConnection(BIO* bio, const char* bytes, int size) {
    auto* session = static_cast<Session*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    try {
        session->connection.SendRaw(bytes, static_cast<std::size_t>(size));
        return size;
    } catch (...) {
        session->failure = std::current_exception();
        return -1;
    }
}

long ControlConnection(BIO*, int command, long, void*) {
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

int CreateConnectionBio(BIO* bio) {
    BIO_set_init(bio, 1);
    return 1;
}

BIO_METHOD* ConnectionBioMethod() {
    static BIO_METHOD* const method = [] {
        BIO_METHOD* made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "connection");
        BIO_meth_set_read(made, ReadThroughConnection);
        BIO_meth_set_write(made, WriteThroughConnection);
        BIO_meth_set_ctrl(made, ControlConnection);
        BIO_meth_set_create(made, CreateConnectionBio);
        return made;
    }();
    return method;
}

// Notes every failure of the chain check and lets it go on, so that all of
// them are known and the handshake still completes.
int NoteVerifyFailure(int passed, X509_STORE_CTX* store) {
    if (passed == 0) {
        auto* ssl = static_cast<SSL*>(
            X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
        auto* session = static_cast<Session*>(SSL_get_ex_data(ssl, SessionIndex()));
        X509* certificate = X509_STORE_CTX_get_current_cert(store);
        session->verifyFailures.push_back(
            {X509_STORE_CTX_get_error(store),
             certificate != nullptr ? SecondsOf(X509_get0_notAfter(certificate)) : 0});
    }
    return 1;
}

// One TLS connection, its handshake done.
class OpenSslSession : public TNetIntercept {
  public:
    OpenSslSession(TNetRawTransport& connection, const std::string& host, TNetHandshake& handshake);

    std::ptrdiff_t Receive(char* buffer, std::size_t size, int waitMs) override;
    void Send(const char* bytes, std::size_t size) override;
    bool CutOff() const override { return session_->cutOff; }

  private:
    // The callbacks hold its address.
    std::unique_ptr<Session> session_;
};

OpenSslSession::OpenSslSession(TNetRawTransport& connection, const std::string& host,
                               TNetHandshake& handshake)
    : session_(std::make_unique<Session>(connection)) {
    SSL_CTX* context = ClientContext();
    session_->ssl = SSL_new(context);
    SSL_CTX_free(context);  // the connection holds its own reference
    BIO* bio = BIO_new(ConnectionBioMethod());
    if (session_->ssl == nullptr || bio == nullptr) {
        BIO_free(bio);
        throw ENetTLSError(LastErrorText("cannot set up TLS"));
    }
    BIO_set_data(bio, session_.get());
    SSL_set_bio(session_->ssl, bio, bio);
    SSL_set_ex_data(session_->ssl, SessionIndex(), session_.get());
    SSL_set_verify(session_->ssl, SSL_VERIFY_NONE, NoteVerifyFailure);
    // Addresses are checked as addresses and never sent as a server name.
    const bool checked =
        IsIpAddress(host)
            ? X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(session_->ssl), host.c_str()) == 1
            : SSL_set_tlsext_host_name(session_->ssl, host.c_str()) == 1 &&
                  SSL_set1_host(session_->ssl, host.c_str()) == 1;
    if (!checked) {
        throw ENetTLSError(LastErrorText("cannot check the name"));
    }

    ERR_clear_error();
    if (SSL_connect(session_->ssl) != 1) {
        session_->RethrowFailure();
        throw ENetTLSError(LastErrorText("handshake failed"));
    }
    X509* leaf = SSL_get0_peer_certificate(session_->ssl);
    if (leaf == nullptr) {
        throw ENetTLSError("the server sent no certificate");
    }
    TNetCertificateInfo& info = handshake.info;
    info.AlternativeNames = AlternativeNames(leaf);
    info.Subject = NameEntry(X509_get_subject_name(leaf), NID_commonName);
    if (info.Subject.empty()) {
        const auto dnsName =
            std::find_if(info.AlternativeNames.begin(), info.AlternativeNames.end(),
                         [](const std::string& name) { return !IsIpAddress(name); });
        info.Subject = dnsName != info.AlternativeNames.end() ? *dnsName : std::string();
    }
    info.Issuer = NameEntry(X509_get_issuer_name(leaf), NID_organizationName);
    if (info.Issuer.empty()) {
        info.Issuer = NameEntry(X509_get_issuer_name(leaf), NID_commonName);
    }
    info.NotAfter = SecondsOf(X509_get0_notAfter(leaf));
    info.Sha256Fingerprint = Sha256Fingerprint(leaf);
    info.SubjectName = WholeName(X509_get_subject_name(leaf));
    info.IssuerName = WholeName(X509_get_issuer_name(leaf));
    info.NotBefore = SecondsOf(X509_get0_notBefore(leaf));
    handshake.verifyFailures = session_->verifyFailures;
    handshake.version = SSL_get_version(session_->ssl);
    handshake.cipher = SSL_CIPHER_get_name(SSL_get_current_cipher(session_->ssl));
}

std::ptrdiff_t OpenSslSession::Receive(char* buffer, std::size_t size, int waitMs) {
    session_->waitMs = waitMs;
    std::size_t received = 0;
    ERR_clear_error();
    const int result = SSL_read_ex(session_->ssl, buffer, size, &received);
    session_->waitMs = kNoLimit;
    if (result == 1) {
        return static_cast<std::ptrdiff_t>(received);
    }
    session_->RethrowFailure();
    switch (SSL_get_error(session_->ssl, result)) {
        case SSL_ERROR_WANT_READ:
            ERR_clear_error();
            return -1;
        case SSL_ERROR_ZERO_RETURN:
            ERR_clear_error();
            return 0;
        case SSL_ERROR_SYSCALL:
            ERR_clear_error();
            session_->cutOff = true;
            return 0;
        case SSL_ERROR_SSL:
            if (ERR_GET_REASON(ERR_peek_last_error()) == SSL_R_UNEXPECTED_EOF_WHILE_READING) {
                ERR_clear_error();
                session_->cutOff = true;
                return 0;
            }
            throw ENetTLSError(LastErrorText("read failed"));
        default:
            throw ENetTLSError(LastErrorText("read failed"));
    }
}

void OpenSslSession::Send(const char* bytes, std::size_t size) {
    std::size_t written = 0;
    ERR_clear_error();
    if (SSL_write_ex(session_->ssl, bytes, size, &written) != 1) {
        session_->RethrowFailure();
        throw ENetTLSError(LastErrorText("write failed"));
    }
}

}  // namespace

}  // namespace hostlore

extern "C" __attribute__((visibility("default"))) hostlore::TNetIntercept* hostlore_tls_connect(
    hostlore::TNetRawTransport& transport, const std::string& host,
    hostlore::TNetHandshake& handshake) {
    return new hostlore::OpenSslSession(transport, host, handshake);
}

static_assert(std::is_same_v<decltype(&hostlore_tls_connect), hostlore::TNetTlsConnect>);
