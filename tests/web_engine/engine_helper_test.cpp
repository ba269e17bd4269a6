#include "app/web_engine/engine_helper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/scoped_environment.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

// What the variable names, made in a fresh folder.
struct HelperCase {
    const char* made;  // "none", "folder", "program", "script", "empty"
    mode_t mode;
    const char* problem;  // what the reason says of it, or nullptr when it runs
};

TEST(EngineHelperProblem, NamesAHelperThatIsMissingCannotStartOrIsDamaged) {
    const HelperCase cases[] = {
        {"none", 0, " is missing"},
        {"folder", 0755, " cannot be started"},
        {"program", 0644, " cannot be started"},
        {"empty", 0755, " is damaged"},
        {"program", 0755, nullptr},
        {"script", 0755, nullptr},
    };
    for (const HelperCase& row : cases) {
        const test::TemporaryFolder folder;
        const std::filesystem::path helper = folder.File("QtWebEngineProcess");
        const std::string made = row.made;
        if (made == "folder") {
            std::filesystem::create_directory(helper);
        } else if (made == "program") {
            std::filesystem::copy_file("/bin/true", helper);
        } else if (made == "script") {
            folder.Write("QtWebEngineProcess", "#!/bin/sh\nexec /bin/true\n");
        } else if (made == "empty") {
            folder.Write("QtWebEngineProcess", "");
        }
        if (made != "none") {
            ::chmod(helper.c_str(), row.mode);
        }
        const test::ScopedEnvironment path("QTWEBENGINEPROCESS_PATH", helper.c_str());
        const auto problem = EngineHelperProblem();
        if (row.problem == nullptr) {
            EXPECT_FALSE(problem.has_value()) << made << ": " << problem.value_or("").toStdString();
        } else {
            ASSERT_TRUE(problem.has_value()) << made;
            EXPECT_EQ(problem->toStdString(), "its helper program " + helper.string() + row.problem)
                << made;
        }
    }
}

}  // namespace
}  // namespace hostlore
