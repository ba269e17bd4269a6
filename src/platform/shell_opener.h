#pragma once

#include <QString>

namespace hostlore {

// Opens a file or URL with the desktop's default handler. Nothing is ever
// passed through a shell command line; the outcome is not examined.
class ShellOpener {
  public:
    virtual ~ShellOpener() = default;
    virtual void Open(const QString& target) = 0;
};

class DesktopShellOpener : public ShellOpener {
  public:
    void Open(const QString& target) override;
};

}  // namespace hostlore
