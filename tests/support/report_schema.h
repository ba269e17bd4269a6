#pragma once

#include <QProcess>
#include <filesystem>
#include <string>

namespace hostlore::test {

// Why the JSON report in `file`, one document or JSON Lines, does not follow
// docs/report.schema.json and version 1's keys; empty when it does.
inline std::string ReportSchemaErrors(const std::filesystem::path& file) {
    QProcess checker;
    checker.start("python3", {HOSTLORE_CHECK_REPORTS, HOSTLORE_REPORT_SCHEMA,
                              HOSTLORE_REPORT_SCHEMA_V1, QString::fromStdString(file.string())});
    if (!checker.waitForFinished(60'000)) {
        return "the checker did not finish";
    }
    return checker.exitCode() == 0
               ? std::string()
               : (checker.readAllStandardOutput() + checker.readAllStandardError()).toStdString();
}

}  // namespace hostlore::test
