#include "platform/integer_text.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

struct IntegerCase {
    const char* text;
    std::optional<std::int32_t> expected;
};

TEST(ParseInteger, ReadsTheFormsUsersTypeAndRefusesTheRest) {
    const IntegerCase cases[] = {
        {"20", 20},
        {"  20", 20},
        {"-7", -7},
        {"+7", 7},
        {"$1F", 31},
        {"0x1f", 31},
        {"0X10", 16},
        {"-0x10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"20 ", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"12a", std::nullopt},
        {"abc", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.expected) << "text: '" << c.text << "'";
    }
}

TEST(IntegerFromText, NamesTheTextInItsFailure) {
    EXPECT_EQ(IntegerFromText("8080"), 8080);
    try {
        IntegerFromText("80a");
        FAIL() << "no failure";
    } catch (const ConvertError& error) {
        EXPECT_STREQ(error.what(), "'80a' is not a valid integer value");
    }
}

}  // namespace
}  // namespace hostlore
