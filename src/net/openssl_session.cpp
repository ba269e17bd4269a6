#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "net/openssl_certificates.h"
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
        context = std::move(made);
        storeKey = key;
    }
    SSL_CTX_up_ref(context.get());
    return context.get();
}

// Stops a handshake at the server's certificate, the protocol chosen by then.
int StopAtCertificate(X509_STORE_CTX* store, void* /*unused*/);

void NoteServerMessage(int sent, int version, int contentType, const void* bytes, std::size_t size,
                       SSL* ssl, void* unused);

// The context of handshakes that ask only which protocol the server takes:
// no trust store, and no certificate ever read.
SSL_CTX* ProtocolContext() {
    static SSL_CTX* const context = [] {
        SSL_CTX* made = SSL_CTX_new(TLS_client_method());
        if (made == nullptr || SSL_CTX_set_min_proto_version(made, TLS1_2_VERSION) != 1) {
            SSL_CTX_free(made);
            return static_cast<SSL_CTX*>(nullptr);
        }
        SSL_CTX_set_verify(made, SSL_VERIFY_PEER, nullptr);
        SSL_CTX_set_cert_verify_callback(made, StopAtCertificate, nullptr);
        SSL_CTX_set_msg_callback(made, NoteServerMessage);
        return made;
    }();
    if (context == nullptr) {
        throw ENetTLSError("cannot set up TLS");
    }
    SSL_CTX_up_ref(context);
    return context;
}

std::string LastErrorText(const char* fallback) {
    const unsigned long error = ERR_peek_last_error();
    const char* reason = error != 0 ? ERR_reason_error_string(error) : nullptr;
    ERR_clear_error();
    return reason != nullptr ? reason : fallback;
}

// The protocols in ALPN's wire form: each name after its length.
std::string AlpnList(const std::vector<std::string>& protocols) {
    std::string list;
    for (const std::string& protocol : protocols) {
        list += static_cast<char>(protocol.size());
        list += protocol;
    }
    return list;
}

// The server said it takes none of the protocols offered, or answered with
// one that was not offered (as Apache does), which the handshake refuses.
bool RefusedEveryProtocol() {
    const char* function = nullptr;
    const unsigned long error =
        ERR_peek_last_error_all(nullptr, nullptr, &function, nullptr, nullptr);
    return ERR_GET_REASON(error) == SSL_R_TLSV1_ALERT_NO_APPLICATION_PROTOCOL ||
           (function != nullptr && std::string_view(function) == "tls_parse_stoc_alpn");
}

std::string KeyExchangeGroup(SSL* ssl) {
    const int group = SSL_get_negotiated_group(ssl);
    const char* name = group != 0 ? SSL_group_to_name(ssl, group) : nullptr;
    return name != nullptr ? name : "";
}

std::string SelectedProtocol(SSL* ssl) {
    const unsigned char* protocol = nullptr;
    unsigned int length = 0;
    SSL_get0_alpn_selected(ssl, &protocol, &length);
    return {reinterpret_cast<const char*>(protocol), length};
}

TNetTlsDetails HandshakeDetails(SSL* ssl) {
    TNetTlsDetails details;
    details.KeyExchangeGroup = KeyExchangeGroup(ssl);
    details.Protocol = SelectedProtocol(ssl);
    const unsigned char* response = nullptr;
    details.OcspStapled = SSL_get_tlsext_status_ocsp_resp(ssl, &response) > 0;
    STACK_OF(X509)* chain = SSL_get_peer_cert_chain(ssl);
    for (int i = 0; chain != nullptr && i < sk_X509_num(chain); ++i) {
        details.Chain.push_back(ChainCertificate(sk_X509_value(chain, i)));
    }
    return details;
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
    bool protocolOnly = false;
    int waitMs = kNoLimit;
    std::exception_ptr failure;
    std::vector<TNetVerifyFailure> verifyFailures;
    // A handshake of the protocol only: the message that carries the server's
    // choice has been read, or the one before it in TLS 1.3.
    bool choiceRead = false;
    bool serverHelloRead = false;
    // The handshake was stopped once the protocol was known: nothing more is sent.
    bool stopped = false;
    bool cutOff = false;
};

int SessionIndex() {
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

Session& SessionOf(X509_STORE_CTX* store) {
    auto* ssl =
        static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    return *static_cast<Session*>(SSL_get_ex_data(ssl, SessionIndex()));
}

int StopAtCertificate(X509_STORE_CTX* store, void* /*unused*/) {
    SessionOf(store).stopped = true;
    return 0;
}

// Called before OpenSSL handles the message; by its next read it has.
void NoteServerMessage(int sent, int /*version*/, int contentType, const void* bytes,
                       std::size_t size, SSL* ssl, void* /*unused*/) {
    if (sent != 0 || contentType != SSL3_RT_HANDSHAKE || size == 0) {
        return;
    }
    auto& session = *static_cast<Session*>(SSL_get_ex_data(ssl, SessionIndex()));
    const int type = *static_cast<const unsigned char*>(bytes);
    session.serverHelloRead = session.serverHelloRead || type == SSL3_MT_SERVER_HELLO;
    session.choiceRead = session.choiceRead || type == SSL3_MT_ENCRYPTED_EXTENSIONS;
}

// The server's choice of protocol is in its hello below TLS 1.3 and in the
// encrypted extensions from it on. Reading past it would decode the
// certificates, the most costly step of such a handshake.
bool ProtocolKnown(const Session& session) {
    return session.choiceRead ||
           (session.serverHelloRead && SSL_version(session.ssl) < TLS1_3_VERSION);
}

// OpenSSL reads and writes through the connection, so its deadline, its
// slices and a close from another thread hold during the handshake as well.
int ReadThroughConnection(BIO* bio, char* buffer, int size) {
    auto* session = static_cast<Session*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    if (session->protocolOnly && ProtocolKnown(*session)) {
        session->stopped = true;
        return -1;
    }
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
    if (session->stopped) {
        return -1;  // not even the alert that the stop would send
    }
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
        X509* certificate = X509_STORE_CTX_get_current_cert(store);
        SessionOf(store).verifyFailures.push_back(
            {X509_STORE_CTX_get_error(store),
             certificate != nullptr ? SecondsOf(X509_get0_notAfter(certificate)) : 0});
    }
    return 1;
}

// One TLS connection, its handshake done.
class OpenSslSession : public TNetIntercept {
  public:
    OpenSslSession(TNetRawTransport& connection, const TNetTlsRequest& request,
                   TNetHandshake& handshake);

    std::ptrdiff_t Receive(char* buffer, std::size_t size, int waitMs) override;
    void Send(const char* bytes, std::size_t size) override;
    bool CutOff() const override { return session_->cutOff; }

  private:
    // The callbacks hold its address.
    std::unique_ptr<Session> session_;
};

OpenSslSession::OpenSslSession(TNetRawTransport& connection, const TNetTlsRequest& request,
                               TNetHandshake& handshake)
    : session_(std::make_unique<Session>(connection)) {
    SSL_CTX* context = request.protocolOnly ? ProtocolContext() : ClientContext();
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
    session_->protocolOnly = request.protocolOnly;
    const std::string& host = request.host;
    bool named = true;
    if (!request.protocolOnly) {
        SSL_set_verify(session_->ssl, SSL_VERIFY_NONE, NoteVerifyFailure);
        // Addresses are checked as addresses and never sent as a server name.
        named = IsIpAddress(host) ? X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(session_->ssl),
                                                                  host.c_str()) == 1
                                  : SSL_set1_host(session_->ssl, host.c_str()) == 1;
    }
    if (!named ||
        (!IsIpAddress(host) && SSL_set_tlsext_host_name(session_->ssl, host.c_str()) != 1)) {
        throw ENetTLSError(LastErrorText("cannot check the name"));
    }
    const std::string offered = AlpnList(request.protocols);
    if (SSL_set_alpn_protos(session_->ssl, reinterpret_cast<const unsigned char*>(offered.data()),
                            static_cast<unsigned int>(offered.size())) != 0 ||
        (!request.protocolOnly &&
         SSL_set_tlsext_status_type(session_->ssl, TLSEXT_STATUSTYPE_ocsp) != 1)) {
        throw ENetTLSError(LastErrorText("cannot set up TLS"));
    }

    ERR_clear_error();
    const bool connected = SSL_connect(session_->ssl) == 1;
    if (session_->stopped || (connected && request.protocolOnly)) {
        ERR_clear_error();
        handshake.details.Protocol = SelectedProtocol(session_->ssl);
        return;
    }
    if (!connected) {
        session_->RethrowFailure();
        if (RefusedEveryProtocol()) {
            throw ENetTLSProtocolRefused(LastErrorText("no application protocol"));
        }
        throw ENetTLSError(LastErrorText("handshake failed"));
    }
    X509* leaf = SSL_get0_peer_certificate(session_->ssl);
    if (leaf == nullptr) {
        throw ENetTLSError("the server sent no certificate");
    }
    TNetCertificateInfo& info = handshake.info;
    info.Subject = NameEntry(X509_get_subject_name(leaf), NID_commonName);
    if (info.Subject.empty()) {
        info.Subject = FirstDnsName(leaf);
    }
    info.Issuer = NameEntry(X509_get_issuer_name(leaf), NID_organizationName);
    if (info.Issuer.empty()) {
        info.Issuer = NameEntry(X509_get_issuer_name(leaf), NID_commonName);
    }
    info.NotAfter = SecondsOf(X509_get0_notAfter(leaf));
    info.Sha256Fingerprint = Sha256Fingerprint(leaf);
    TNetChainCertificate whole = ChainCertificate(leaf);
    info.SubjectName = std::move(whole.Subject);
    info.IssuerName = std::move(whole.Issuer);
    info.AlternativeNames = std::move(whole.SubjectAltNames);
    info.NotBefore = whole.NotBefore;
    handshake.verifyFailures = session_->verifyFailures;
    handshake.version = SSL_get_version(session_->ssl);
    handshake.cipher = SSL_CIPHER_get_name(SSL_get_current_cipher(session_->ssl));
    handshake.details = HandshakeDetails(session_->ssl);
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
    hostlore::TNetRawTransport& transport, const hostlore::TNetTlsRequest& request,
    hostlore::TNetHandshake& handshake) {
    auto session = std::make_unique<hostlore::OpenSslSession>(transport, request, handshake);
    return request.protocolOnly ? nullptr : session.release();
}

static_assert(std::is_same_v<decltype(&hostlore_tls_connect), hostlore::TNetTlsConnect>);
