#include "query/whois/rdap_bootstrap_cache.h"

#include <QCryptographicHash>
#include <QSaveFile>
#include <system_error>

#include "platform/file_text.h"

namespace hostlore {

namespace {

constexpr std::chrono::hours kTrustedFor{24};

}  // namespace

std::filesystem::path RdapBootstrapCache::FileFor(const std::string& url) const {
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(url), QCryptographicHash::Sha256);
    return folder_ / ("rdap-bootstrap-" + digest.toHex().left(16).toStdString() + ".json");
}

std::optional<std::string> RdapBootstrapCache::Read(
    const std::string& url, std::chrono::system_clock::time_point now) const {
    const std::filesystem::path file = FileFor(url);
    std::error_code error;
    const auto written = std::filesystem::last_write_time(file, error);
    if (error) {
        return std::nullopt;
    }
    const auto age = now - std::chrono::file_clock::to_sys(written);
    if (age < std::chrono::seconds(0) || age >= kTrustedFor) {
        return std::nullopt;
    }
    std::string content = ReadWholeFile(file);
    if (content.empty()) {
        return std::nullopt;
    }
    return content;
}

void RdapBootstrapCache::Write(const std::string& url, const std::string& content) const {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    QSaveFile file(QString::fromStdString(FileFor(url).string()));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(content.data(), static_cast<qint64>(content.size()));
        file.commit();
    }
}

}  // namespace hostlore
