#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace hostlore::test {

inline constexpr uid_t kOrdinaryUser = 65534;  // nobody
inline constexpr gid_t kOrdinaryGroup = 65534;

// Run as root, gives `path` to the ordinary user, as users own their folders
// and files; for anyone else the path is theirs already.
inline void GiveToOrdinaryUser(const std::filesystem::path& path) {
    if (::geteuid() == 0 && ::chown(path.c_str(), kOrdinaryUser, kOrdinaryGroup) != 0) {
        throw std::system_error(errno, std::generic_category(), "chown " + path.string());
    }
}

// Makes this thread's file accesses those of the ordinary user for the life of
// the object, so that file modes hold even when the tests run as root.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser() : root_(::geteuid() == 0) {
        if (root_) {
            ::setfsgid(kOrdinaryGroup);
            ::setfsuid(kOrdinaryUser);
        }
    }
    ~AsOrdinaryUser() {
        if (root_) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

  private:
    bool root_;
};

}  // namespace hostlore::test
