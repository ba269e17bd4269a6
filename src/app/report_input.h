#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "query/thread/handoff.h"

namespace hostlore {

// Reads the URLs of an input file, one a line, on a thread of its own, and
// hands each to `line` on the hand-off's thread as it comes, then calls
// `end` with why the file could not be read to its end, or an empty text. Blank lines and lines
// starting with "#" are skipped; blanks and a carriage return around a URL go. Takes the file; the
// thread is left to the end of the process, as a terminal may never end its input.
void ReadInputLines(std::FILE* file, std::shared_ptr<UiHandoff> handoff,
                    std::function<void(const std::string& url)> line,
                    std::function<void(const std::string& failure)> end);

// The URL a line of the input holds; empty for a line to skip.
std::string InputLineUrl(std::string_view line);

}  // namespace hostlore
