#include "platform/integer_text.h"

namespace hostlore {

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

enum class Forms { DecimalOnly, WithHexadecimal };

std::optional<std::int32_t> Parse(std::string_view text, Forms forms) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const bool hexadecimal = forms == Forms::WithHexadecimal;
    int base = 10;
    if (hexadecimal && pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (hexadecimal && text.size() - pos > 1 && text[pos] == '0' &&
               (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) {
        return std::nullopt;
    }
    const std::int64_t limit = negative ? std::int64_t{INT32_MAX} + 1 : INT32_MAX;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = DigitValue(text[pos], base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    return Parse(text, Forms::WithHexadecimal);
}

std::optional<std::int32_t> ParseDecimalInteger(std::string_view text) {
    return Parse(text, Forms::DecimalOnly);
}

std::string NotAnIntegerMessage(std::string_view text) {
    return std::string("'").append(text).append("' is not a valid integer value");
}

std::int32_t IntegerFromText(std::string_view text) {
    if (auto value = ParseInteger(text)) {
        return *value;
    }
    throw ConvertError(NotAnIntegerMessage(text));
}

std::int32_t DecimalFromText(std::string_view text) {
    if (auto value = ParseDecimalInteger(text)) {
        return *value;
    }
    throw ConvertError(NotAnIntegerMessage(text));
}

}  // namespace hostlore
