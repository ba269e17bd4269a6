#pragma once

#include <filesystem>
#include <optional>

class QWidget;

namespace hostlore {

// Asks the user where to save a report; tests answer through a replacement.
class SaveFileChooser {
  public:
    virtual ~SaveFileChooser() = default;
    // The file chosen, with the extension of the chosen kind when the name
    // has none; nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> ChooseReportFile(QWidget* owner) = 0;
};

class DialogSaveFileChooser : public SaveFileChooser {
  public:
    std::optional<std::filesystem::path> ChooseReportFile(QWidget* owner) override;
};

}  // namespace hostlore
