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

TEST(ParseDecimalInteger, RefusesTheHexadecimalForms) {
    const IntegerCase cases[] = {
        {"200", 200},       {" -7", -7},           {"+7", 7},
        {"0200", 200},      {"$C8", std::nullopt}, {"0x50", std::nullopt},
        {"0", 0},           {"1e3", std::nullopt}, {"2147483648", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimalInteger(c.text), c.expected) << "text: '" << c.text << "'";
    }
    EXPECT_THROW(DecimalFromText("0x50"), ConvertError);
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
