#include "query/report/json_writer.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/utf8_sequence.h"

namespace hostlore {

namespace {

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
        const std::size_t length = Utf8SequenceAt(bytes).length;
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
    text_ += JsonString(name) + (layout_ == Layout::OneLine ? ":" : ": ");
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

void JsonWriter::Decimal(double value, int digits) {
    BeforeValue();
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.*f", digits, std::isfinite(value) ? value : 0.0);
    text_ += text.data();
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
    if (layout_ == Layout::OneLine) {
        return;
    }
    text_ += '\n';
    text_.append(hasElement_.size() * 2, ' ');
}

}  // namespace hostlore
