#pragma once

#include "query/report/json_writer.h"
#include "query/web_server/web_server_report.h"

namespace hostlore {

// The report's web_server object: every field typed, texts from the network
// as their bytes, null where there is no value.
void WriteWebServer(JsonWriter& json, const WebServerReport& report);

}  // namespace hostlore
