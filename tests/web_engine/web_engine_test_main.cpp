#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/web_engine/deferred_web_engine.h"
#include "support/temporary_folder.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The engine's profile goes to the user's folders; these are the test's own.
    const hostlore::test::TemporaryFolder home;
    ::setenv("XDG_DATA_HOME", home.File("data").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", home.File("cache").c_str(), 1);
    hostlore::PrepareWebEngineProcess(false);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
