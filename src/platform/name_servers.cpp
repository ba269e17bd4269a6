#include "platform/name_servers.h"

#include <fstream>
#include <sstream>

namespace hostlore {

std::vector<std::string> ResolvConfValues(const std::filesystem::path& file,
                                          const std::string& keyword) {
    std::vector<std::string> values;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first;
        std::string value;
        if (words >> first && first == keyword && words >> value) {
            values.push_back(value);
        }
    }
    return values;
}

std::vector<std::string> NameServers(const std::filesystem::path& resolvConf,
                                     const std::filesystem::path& resolvedResolvConf) {
    auto servers = ResolvConfValues(resolvConf, "nameserver");
    if (servers == std::vector<std::string>{"127.0.0.53"}) {
        // The stub may drop what its own servers sent; those are the real ones.
        if (auto upstream = ResolvConfValues(resolvedResolvConf, "nameserver"); !upstream.empty()) {
            servers = upstream;
        }
    }
    return servers;
}

}  // namespace hostlore
