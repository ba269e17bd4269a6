#pragma once

#include <QString>
#include <string_view>

namespace hostlore {

// Text a server sent, for showing: UTF-8 when it is valid UTF-8, else Latin-1,
// which shows every byte as some character.
QString TextFromNetwork(std::string_view bytes);

}  // namespace hostlore
