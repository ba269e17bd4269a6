#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace hostlore {

// The first word after `keyword` on each line of a resolv.conf that begins
// with it: a line names one value, and what follows it is a comment.
std::vector<std::string> ResolvConfValues(const std::filesystem::path& file,
                                          const std::string& keyword);

// The name servers of `resolvConf`; when it names only the local stub of
// systemd-resolved, those of `resolvedResolvConf` behind it.
std::vector<std::string> NameServers(const std::filesystem::path& resolvConf,
                                     const std::filesystem::path& resolvedResolvConf);

}  // namespace hostlore
