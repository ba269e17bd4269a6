#include "support/recording_web_pane.h"

#include <stdexcept>

namespace hostlore::test {

void RecordingWebPane::Navigate(const QString& url) {
    calls << QStringLiteral("Navigate ") + url;
    history_.resize(position_ + 1);
    history_ << url;
    ++position_;
}

void RecordingWebPane::Back() {
    calls << QStringLiteral("Back");
    if (position_ <= 0) {
        throw std::runtime_error("No page to go back to");
    }
    --position_;
}

void RecordingWebPane::Forward() {
    calls << QStringLiteral("Forward");
    if (position_ + 1 >= history_.size()) {
        throw std::runtime_error("No page to go forward to");
    }
    ++position_;
}

void RecordingWebPane::Stop() {
    calls << QStringLiteral("Stop");
}

void RecordingWebPane::Reload() {
    calls << QStringLiteral("Reload");
}

QString RecordingWebPane::CurrentUrl() const {
    return position_ < 0 ? QString() : history_[position_];
}

}  // namespace hostlore::test
