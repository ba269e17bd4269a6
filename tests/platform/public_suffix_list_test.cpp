#include "platform/public_suffix_list.h"

#include <gtest/gtest.h>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

TEST(PublicSuffixList, ThePackagedListGivesTheRegisteredName) {
    const auto list = PublicSuffixList::Packaged();
    const std::pair<const char*, const char*> cases[] = {
        {"www.bbc.co.uk", "bbc.co.uk"},
        {"a.b.example.com", "example.com"},
        {"example.com", "example.com"},
        {"co.uk", "co.uk"},
        {"com", "com"},
        {"x.blogspot.com", "blogspot.com"},
        {"www.city.kawasaki.jp", "city.kawasaki.jp"},
        {"www.example.test", "example.test"},
    };
    for (const auto& [host, registered] : cases) {
        EXPECT_EQ(list->RegistrableDomain(host), registered) << host;
    }
}

TEST(PublicSuffixList, AListFileOfItsOwnReplacesThePackagedOne) {
    test::TemporaryFolder folder;
    folder.Write("list.dat",
                 "// ===BEGIN ICANN DOMAINS===\ntest\nco.test\n// ===END ICANN DOMAINS===\n");
    const auto list = PublicSuffixList::FromFile(folder.File("list.dat"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->RegistrableDomain("www.shop.co.test"), "shop.co.test");
    EXPECT_EQ(list->RegistrableDomain("www.bbc.co.uk"), "co.uk") << "only its own suffixes count";
    EXPECT_EQ(PublicSuffixList::FromFile(folder.File("missing.dat")), nullptr);
}

}  // namespace
}  // namespace hostlore
