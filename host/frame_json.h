// The frame and the session's outcome as JSON:
//   {"objects": [...], "messages": [...], "macro": [...],
//    "view_fits": N, "result": true|false|null, "error_text": "..."|null,
//    "violations": [...]}
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "host/host.h"

namespace orvhost {

struct SessionOutcome {
  std::optional<bool> result;  // what the command handler returned; none when there was none
  std::optional<std::string> errorText;
};

void writeSessionJson(std::ostream& out, const Host& host, const SessionOutcome& outcome);

// A JSON string: well-formed UTF-8 as it is; any other byte b as the escape
// of U+DC00+b, so that nothing is lost.
std::string jsonString(std::string_view text);
// A number in its shortest round-trip form; null when it is not finite.
std::string jsonNumber(double value);

}  // namespace orvhost
