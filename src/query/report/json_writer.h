#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// Writes one JSON document, indented by two blanks a level, or all on one
// line for JSON Lines. Strings are
// bytes: valid UTF-8 goes out as it is, and each byte that is not part of a
// valid sequence becomes the escape of the lone surrogate U+DC00 + byte, so
// that nothing a peer sent is lost and the bytes can be recovered exactly.
class JsonWriter {
  public:
    enum class Layout { Indented, OneLine };
    explicit JsonWriter(Layout layout = Layout::Indented) : layout_(layout) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // Inside an object: the next value's name.
    void Key(std::string_view name);
    void String(std::string_view bytes);
    void Null();
    // Null for an empty text.
    void StringOrNull(std::string_view bytes);
    void Bool(bool value);
    void Integer(long long value);
    // A number with `digits` digits after the point.
    void Decimal(double value, int digits);

    // The document so far; whole once every object and array is ended.
    const std::string& Text() const { return text_; }

  private:
    void BeforeValue();
    void End(char close);
    void NewLine();

    const Layout layout_;
    std::string text_;
    // Per open object or array: whether it has an element yet.
    std::vector<bool> hasElement_;
    bool afterKey_ = false;
};

// The JSON string literal of `bytes`, quotes included.
std::string JsonString(std::string_view bytes);

}  // namespace hostlore
