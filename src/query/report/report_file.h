#pragma once

#include <filesystem>
#include <stdexcept>

#include "query/report/query_report.h"

namespace hostlore {

// Raised when a report cannot be written: "Unable to write to PATH".
class ReportWriteError : public std::runtime_error {
  public:
    explicit ReportWriteError(const std::filesystem::path& file);
};

// JSON for a file whose name ends in ".json" (any letter case), text otherwise.
bool IsJsonReportFile(const std::filesystem::path& file);

// Writes the report in the form its name asks for, replacing the file whole
// or not at all.
void SaveReport(const std::filesystem::path& file, const QueryReport& report);

}  // namespace hostlore
