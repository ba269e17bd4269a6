#pragma once

#include <string>
#include <string_view>

#include "query/report/query_report.h"

namespace hostlore {

inline constexpr std::string_view kReportFormat = "hostlore-report/2";

// Page by page, each field as its caption, a colon and the text the page
// shows; texts of several lines one line per line below their caption.
// Controls that would act on a terminal are written as visible escapes.
std::string ReportText(const QueryReport& report);

// One object as docs/report.schema.json describes it: raw texts from the
// network, and null with a reason wherever a page has no value.
std::string ReportJson(const QueryReport& report);

// The same object on one line, ended by a line feed: a line of JSON Lines.
std::string ReportJsonLine(const QueryReport& report);

// The status line's text for a worker's state.
std::string RunStateText(RunState state, const std::string& failure);

}  // namespace hostlore
