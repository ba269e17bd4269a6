#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

namespace hostlore::test {

// Tests that ask the real resolver, answered by the test DNS server that
// dns/with_test_dns.sh starts (zone example.test).
class TestDns : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qgetenv("HOSTLORE_TEST_DNS") != "1") {
            GTEST_SKIP() << "needs the test DNS server, which only root can start in a network "
                            "namespace of its own; run the tests as root";
        }
    }
};

}  // namespace hostlore::test
