#include "platform/file_text.h"

#include <fstream>
#include <sstream>

namespace hostlore {

std::string ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace hostlore
