// Playing a dialog session from a script of user actions.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "host/session.h"

namespace orvhost {

struct DialogScriptOutcome {
  bool ok = true;                   // false: the script could not be played
  std::string error;                // why, with the script's line number
  std::optional<bool> importResult; // the import's result; none when no import ran
};

// Chooses "DXF Loader" in the import menu, then plays `script`, one action a
// line; what the user would see goes to `out` where the script asks.
DialogScriptOutcome runDialogScript(Session& session, std::istream& script, std::ostream& out);

}  // namespace orvhost
