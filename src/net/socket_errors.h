#pragma once

#include <string>

namespace hostlore {

// The Windows Sockets number users know for an errno value; other values keep
// their own number.
int SocketErrorCode(int errnoValue);

// "Socket Error # CODE", CR LF and the code's description (empty when the
// code has none, such as the resolver's 11001).
std::string SocketErrorMessage(int code);

}  // namespace hostlore
