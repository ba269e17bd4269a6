#include "platform/file_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace hostlore {

namespace {

bool WriteAll(int fd, const std::string& content) {
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Read from the process's status: setting the mask to learn it would race
// with files other threads create meanwhile.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    return 022;
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                        mode_t newFileMode, bool applyUmask) {
    struct stat existing {};
    const bool exists = ::stat(file.c_str(), &existing) == 0;
    // The rename would get past a file the user made read-only; it stays as it is.
    if (exists && (existing.st_mode & 0222) == 0) {
        return false;
    }
    std::string temporary = file.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, content);
    if (ok && exists) {
        // Only root can hand a file to another owner; anyone else keeps it.
        [[maybe_unused]] const int ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid);
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    } else if (ok) {
        ok = ::fchmod(fd, applyUmask ? newFileMode & ~CurrentUmask() : newFileMode) == 0;
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace hostlore
