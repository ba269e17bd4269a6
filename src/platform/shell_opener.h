#pragma once

#include <QString>
#include <memory>

#include "platform/message_boxes.h"

namespace hostlore {

// Opens a file or URL with the desktop's default handler. Nothing is ever
// passed through a shell command line.
class ShellOpener {
  public:
    virtual ~ShellOpener() = default;
    virtual void Open(const QString& target) = 0;
};

// Hands the target to the desktop's opener, xdg-open. When that opener is
// missing or no program takes the target, an error box titled `title` says
// what could not be opened and why, once the opener has ended.
class DesktopShellOpener : public ShellOpener {
  public:
    DesktopShellOpener(std::shared_ptr<MessageBoxes> boxes, QString title);
    void Open(const QString& target) override;

  private:
    std::shared_ptr<MessageBoxes> boxes_;
    QString title_;
};

}  // namespace hostlore
