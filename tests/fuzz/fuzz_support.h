#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hostlore::fuzz {

// Ends the run when a property fails, so that the fuzzer keeps the input.
void Require(bool holds, const char* property);

// The fuzzer's bytes taken apart front to back: a byte that picks a case,
// lines that fill in values, and the rest as the data under test.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // 0 once the input is used up.
    std::uint8_t TakeByte();
    // Up to the next line feed, which is dropped; the whole rest without one.
    std::string TakeLine();
    std::string_view Rest() const { return rest_; }

  private:
    std::string_view rest_;
};

}  // namespace hostlore::fuzz
