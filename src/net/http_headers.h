#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// Header lines "Name: value". A name matches without regard to case; lines
// that begin with a blank or a tab continue the line before them.
class TNetHeaderList {
  public:
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    void Clear() { lines_.clear(); }
    const std::vector<std::string>& Lines() const { return lines_; }

    // The value of the first line of that name, continuations joined; empty when missing.
    std::string Value(std::string_view name) const;
    // The values of every line of that name, in order, each as Value gives it.
    std::vector<std::string> Values(std::string_view name) const;
    // Removes the first line of that name with its continuation lines.
    void Remove(std::string_view name);

  private:
    using Line = std::vector<std::string>::const_iterator;
    Line Find(std::string_view name, Line from) const;
    std::string JoinedValue(Line line) const;

    std::vector<std::string> lines_;
};

// Header values of a request or a reply; dates are local date-times (days
// from 30 December 1899, 0 for none).
struct TNetHeaderInfo {
    std::string Accept = "text/html, */*";
    std::string AcceptCharSet;
    std::string AcceptEncoding;
    std::string AcceptLanguage;
    std::string Connection;
    std::string ContentEncoding;
    std::string ContentLanguage;
    std::string ContentType;
    std::string ContentVersion;
    std::int32_t ContentLength = 0;
    std::int32_t ContentRangeEnd = 0;
    std::int32_t ContentRangeStart = 0;
    double Date = 0;
    double Expires = 0;
    double LastModified = 0;
    TNetHeaderList ExtraHeaders;
    std::string From;
    std::string Referer;
    std::string Location;
    std::string Server;
    std::string Username;
    std::string Password;
    std::string ProxyServer;
    std::string ProxyUsername;
    std::string ProxyPassword;
    std::string ProxyAuthenticate;
    std::int32_t ProxyPort = 0;
    std::string UserAgent = "Mozilla/3.0 (compatible; Hostlore)";
};

std::string Base64(std::string_view bytes);

}  // namespace hostlore
