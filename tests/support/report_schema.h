#pragma once

#include <QProcess>
#include <filesystem>
#include <string>

namespace hostlore::test {

// Why the JSON report in `file` does not follow docs/report.schema.json
// (HOSTLORE_REPORT_SCHEMA); empty when it does.
inline std::string ReportSchemaErrors(const std::filesystem::path& file) {
    QProcess validator;
    validator.start("python3", {"-c",
                                "import json, sys, jsonschema\n"
                                "jsonschema.validate(json.load(open(sys.argv[1])),\n"
                                "                    json.load(open(sys.argv[2])))\n",
                                QString::fromStdString(file.string()), HOSTLORE_REPORT_SCHEMA});
    if (!validator.waitForFinished(60'000)) {
        return "the validator did not finish";
    }
    return validator.exitCode() == 0 ? std::string()
                                     : validator.readAllStandardError().toStdString();
}

}  // namespace hostlore::test
