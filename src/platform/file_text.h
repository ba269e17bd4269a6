#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace hostlore {

// The whole content of a file, byte for byte; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& file);

// Replaces the file by a fully written temporary file beside it, so readers
// see the old content or the new, never a part. A new file gets `newFileMode`
// (less the umask's bits when `applyUmask`); an existing one keeps its mode
// and, where the user may give it, its owner. A file without write permission
// is left as it is. False when the file could not be replaced.
bool ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                        mode_t newFileMode, bool applyUmask = false);

}  // namespace hostlore
