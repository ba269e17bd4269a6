#include <gtest/gtest.h>
#include <unistd.h>

#include "app/web_engine/deferred_web_engine.h"
#include "support/scoped_environment.h"

namespace hostlore {
namespace {

TEST(PrepareWebEngineProcess, TurnsTheSandboxOffOnlyForRootAndKeepsOtherFlags) {
    const test::ScopedEnvironment flags("QTWEBENGINE_CHROMIUM_FLAGS", "--lang=de");
    PrepareWebEngineProcess(false);
    PrepareWebEngineProcess(false);
    EXPECT_EQ(qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS"),
              geteuid() == 0 ? "--lang=de --no-sandbox" : "--lang=de");
}

}  // namespace
}  // namespace hostlore
