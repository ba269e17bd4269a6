#pragma once

#include <QString>
#include <optional>

namespace hostlore {

// Why the engine's helper program cannot run, or nothing when it can. The
// engine looks for it where this does, and ends the whole process when it is
// missing or cannot be started, so the program asks before the engine starts.
std::optional<QString> EngineHelperProblem();

}  // namespace hostlore
