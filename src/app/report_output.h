#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace hostlore {

// Where the command's reports go: standard output, each text written whole
// and checked at once, and on standard error, when it is a terminal, one
// progress line rewritten in place.
class ReportOutput {
  public:
    ReportOutput();

    // False when the text could not be written whole; Failure() says why.
    bool Write(std::string_view text);
    // Closes standard output: false when anything written did not reach it.
    bool Finish();
    const std::string& Failure() const { return failure_; }

    // The progress line, when standard error is a terminal; nothing otherwise.
    void ShowProgress(const std::string& line);
    // A message of its own line on standard error, the progress line kept.
    void Tell(const std::string& message);
    // Leaves the terminal's line empty again.
    void EndProgress();

  private:
    bool Failed(int error);
    void ClearProgress();

    const bool progress_;
    std::string shown_;
    std::string failure_;
};

}  // namespace hostlore
