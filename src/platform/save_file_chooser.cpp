#include "platform/save_file_chooser.h"

#include <QFileDialog>

namespace hostlore {

std::optional<std::filesystem::path> DialogSaveFileChooser::ChooseReportFile(QWidget* owner) {
    const QString text = QStringLiteral("Text report (*.txt)");
    const QString json = QStringLiteral("JSON report (*.json)");
    QString kind = text;
    QString chosen = QFileDialog::getSaveFileName(owner, QStringLiteral("Save Report"),
                                                  QStringLiteral("hostlore-report.txt"),
                                                  text + QStringLiteral(";;") + json, &kind);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    std::filesystem::path file = chosen.toStdString();
    if (!file.has_extension()) {
        file += kind == json ? ".json" : ".txt";
    }
    return file;
}

}  // namespace hostlore
