#include "query/report/json_writer.h"

#include <array>
#include <cstdint>

namespace hostlore {

namespace {

// The length of the valid UTF-8 sequence at the start of `bytes`, or 0.
std::size_t ValidSequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    std::uint32_t point = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80, point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800, point = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000, point = lead & 0x07u;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80) {
            return 0;
        }
        point = (point << 6) | (byte(i) & 0x3Fu);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < lowest || surrogate || point > 0x10FFFF ? 0 : length;
}

std::string Escape(unsigned value) {
    static constexpr std::array<char, 16> kHex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    std::string escape = "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        escape += kHex[(value >> static_cast<unsigned>(shift)) & 0xFu];
    }
    return escape;
}

}  // namespace

std::string JsonString(std::string_view bytes) {
    std::string literal = "\"";
    while (!bytes.empty()) {
        const std::size_t length = ValidSequenceLength(bytes);
        if (length == 0) {
            literal += Escape(0xDC00u + static_cast<std::uint8_t>(bytes.front()));
            bytes.remove_prefix(1);
            continue;
        }
        const char first = bytes.front();
        if (first == '"' || first == '\\') {
            literal += '\\';
            literal += first;
        } else if (static_cast<std::uint8_t>(first) < 0x20 || first == 0x7F) {
            literal += Escape(static_cast<std::uint8_t>(first));
        } else {
            literal.append(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    return literal + "\"";
}

void JsonWriter::BeginObject() {
    BeforeValue();
    text_ += '{';
    hasElement_.push_back(false);
}

void JsonWriter::EndObject() {
    End('}');
}

void JsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    hasElement_.push_back(false);
}

void JsonWriter::EndArray() {
    End(']');
}

void JsonWriter::End(char close) {
    const bool any = hasElement_.back();
    hasElement_.pop_back();
    if (any) {
        NewLine();
    }
    text_ += close;
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    text_ += JsonString(name) + ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view bytes) {
    BeforeValue();
    text_ += JsonString(bytes);
}

void JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
}

void JsonWriter::StringOrNull(std::string_view bytes) {
    if (bytes.empty()) {
        Null();
    } else {
        String(bytes);
    }
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonWriter::Integer(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasElement_.empty()) {
        return;
    }
    if (hasElement_.back()) {
        text_ += ',';
    }
    hasElement_.back() = true;
    NewLine();
}

void JsonWriter::NewLine() {
    text_ += '\n';
    text_.append(hasElement_.size() * 2, ' ');
}

}  // namespace hostlore
