#include "query/report/report_file.h"

#include "platform/ascii_text.h"
#include "platform/file_text.h"
#include "query/report/report_formats.h"

namespace hostlore {

ReportWriteError::ReportWriteError(const std::filesystem::path& file)
    : std::runtime_error("Unable to write to " + file.string()) {}

bool IsJsonReportFile(const std::filesystem::path& file) {
    return EqualsIgnoringCase(file.extension().string(), ".json");
}

void SaveReport(const std::filesystem::path& file, const QueryReport& report) {
    const std::string content = IsJsonReportFile(file) ? ReportJson(report) : ReportText(report);
    if (!ReplaceFileContent(file, content, 0666, true)) {
        throw ReportWriteError(file);
    }
}

}  // namespace hostlore
