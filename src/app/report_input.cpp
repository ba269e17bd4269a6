#include "app/report_input.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/text_trim.h"

namespace hostlore {

std::string InputLineUrl(std::string_view line) {
    const std::string_view text = TrimControls(line);
    return text.starts_with('#') ? std::string() : std::string(text);
}

void ReadInputLines(std::FILE* file, std::shared_ptr<UiHandoff> handoff,
                    std::function<void(const std::string& url)> line,
                    std::function<void(const std::string& failure)> end) {
    std::thread([file, handoff = std::move(handoff), line = std::move(line), end = std::move(end)] {
        char* buffer = nullptr;
        std::size_t capacity = 0;
        ssize_t length = 0;
        bool open = true;
        while (open && (length = ::getline(&buffer, &capacity, file)) >= 0) {
            const std::string url = InputLineUrl(std::string_view(buffer, length));
            if (!url.empty()) {
                open = handoff->Run([&] { line(url); });
            }
        }
        const std::string failure = std::ferror(file) != 0 ? std::strerror(errno) : "";
        std::free(buffer);
        std::fclose(file);
        if (open) {
            handoff->Run([&] { end(failure); });
        }
    }).detach();
}

}  // namespace hostlore
