#pragma once

#include <filesystem>
#include <string>

class QWidget;

namespace hostlore {

// Brings a top-level window back where the user left it: its bounds, or its
// maximised state. The window's object name names the file's section
// ("main" gives "main Position"); the size it has before the restore is its
// designed size.
class TPosition {
  public:
    TPosition(QWidget& form, std::filesystem::path file);

    // Before the window is first shown. Never fails: an unreadable file or
    // odd values give the designed bounds, centred on the screen.
    void Restore();
    // Raises SettingsWriteError, and leaves the file as it was, when the file
    // cannot be written.
    void Save() const;

  private:
    std::string Section() const;

    QWidget& form_;
    std::filesystem::path file_;
};

}  // namespace hostlore
