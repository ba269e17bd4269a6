#include "platform/text_trim.h"

namespace hostlore {

namespace {

bool IsControlOrBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string_view TrimLeftControls(std::string_view text) {
    while (!text.empty() && IsControlOrBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimControls(std::string_view text) {
    text = TrimLeftControls(text);
    while (!text.empty() && IsControlOrBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace hostlore
