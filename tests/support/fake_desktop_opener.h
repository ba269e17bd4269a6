#pragma once

#include <sys/stat.h>

#include <string>

#include "support/scoped_environment.h"
#include "support/temporary_folder.h"

namespace hostlore::test {

// A desktop opener (xdg-open) of the test's own, first on the PATH: it notes
// its arguments, one a line, and ends with the given status. With a negative
// status there is no opener on the PATH at all.
class FakeDesktopOpener {
  public:
    explicit FakeDesktopOpener(int exitCode)
        : path_("PATH", exitCode < 0
                            ? folder_.Path().c_str()
                            : (folder_.Path().string() + ":" + std::getenv("PATH")).c_str()) {
        if (exitCode >= 0) {
            folder_.Write("xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >>" +
                                          folder_.File("arguments").string() + "\nexit " +
                                          std::to_string(exitCode) + "\n");
            ::chmod(folder_.File("xdg-open").c_str(), 0755);
        }
    }
    // Every argument it was given so far.
    std::string Arguments() const {
        return std::filesystem::exists(folder_.File("arguments")) ? folder_.Read("arguments")
                                                                  : std::string();
    }

  private:
    TemporaryFolder folder_;
    ScopedEnvironment path_;
};

}  // namespace hostlore::test
