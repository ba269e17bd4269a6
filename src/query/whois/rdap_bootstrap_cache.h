#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace hostlore {

// Copies of bootstrap files in the user's cache folder, one per URL, trusted
// for a day: the file changes rarely, and a new session need not fetch it.
class RdapBootstrapCache {
  public:
    explicit RdapBootstrapCache(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // The copy of the file from `url` when it was written less than a day
    // before `now`; none when there is none or it cannot be read.
    std::optional<std::string> Read(const std::string& url,
                                    std::chrono::system_clock::time_point now) const;

    // Replaces the copy as a whole, so that a reader never sees half of it.
    // A folder that cannot be written only costs the next session a fetch.
    void Write(const std::string& url, const std::string& content) const;

  private:
    std::filesystem::path FileFor(const std::string& url) const;

    std::filesystem::path folder_;
};

}  // namespace hostlore
