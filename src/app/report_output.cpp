#include "app/report_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/terminal_text.h"

namespace hostlore {

namespace {

constexpr std::string_view kEraseLine = "\r\x1b[K";

void WriteError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

ReportOutput::ReportOutput() : progress_(::isatty(STDERR_FILENO) == 1) {}

bool ReportOutput::Failed(int error) {
    failure_ = std::strerror(error != 0 ? error : EIO);
    return false;
}

bool ReportOutput::Write(std::string_view text) {
    if (!failure_.empty()) {
        return false;
    }
    // The progress line would otherwise run into a report on the same terminal.
    ClearProgress();
    errno = 0;
    const std::size_t written = std::fwrite(text.data(), 1, text.size(), stdout);
    if (written != text.size() || std::fflush(stdout) != 0) {
        return Failed(errno);
    }
    if (!shown_.empty()) {
        WriteError(shown_);
    }
    return true;
}

bool ReportOutput::Finish() {
    if (!failure_.empty()) {
        return false;
    }
    errno = 0;
    // Some file systems report a failed write only when the file is closed.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || ::close(STDOUT_FILENO) != 0) {
        return Failed(errno);
    }
    return true;
}

void ReportOutput::ShowProgress(const std::string& line) {
    if (!progress_) {
        return;
    }
    shown_ = std::string(kEraseLine) + TerminalSafeText(line);
    WriteError(shown_);
}

void ReportOutput::Tell(const std::string& message) {
    ClearProgress();
    WriteError(TerminalSafeText(message) + "\n");
    if (!shown_.empty()) {
        WriteError(shown_);
    }
}

void ReportOutput::ClearProgress() {
    if (!shown_.empty()) {
        WriteError(kEraseLine);
    }
}

void ReportOutput::EndProgress() {
    ClearProgress();
    shown_.clear();
}

}  // namespace hostlore
