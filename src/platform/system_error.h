#pragma once

#include <stdexcept>
#include <string>

namespace hostlore {

// A failure the system reported by an error number: "System Error.  Code: N.",
// a line break and the system's text for N.
class ESystemError : public std::runtime_error {
  public:
    explicit ESystemError(int code);
    int Code() const { return code_; }

  private:
    int code_;
};

}  // namespace hostlore
