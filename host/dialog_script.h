// Playing a dialog session from a script of user actions.
//
// A script holds one action a line; blank lines and lines starting with #
// are ignored. Controls are found in the topmost open dialog by their label,
// ignoring leading blanks and letter case; text fields and option menus by
// the label nearest to them. The actions (docs/orvhost.md tells more):
//   toggle LABEL on|off      set a toggle, e.g. toggle "3D Faces" off
//   font ENTRY|N             choose a font menu entry by its text or number
//   dimension 2D|3D          choose the radio button whose label ends so
//   file TEXT                type TEXT (the rest of the line) into the
//   zone TEXT                  field labelled "File:" or the zone field
//   browse PATH              the file selection dialog answers PATH; "..."
//   browse-cancel            the user cancels it; "..."
//   ok | cancel | help       a button of the topmost dialog
//   select-zone              press "Select Zone..."
//   press LABEL              press any button by its label
//   pick N | pick ROW        select a list row by number or text
//   menu                     choose "DXF Loader" in the import menu again
//   show                     print what the user sees
//   show-each on|off         print it after every action
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

struct DialogScriptOptions {
  // Print each action and then what the user sees after it, as if every
  // action were followed by `show`.
  bool showEach = false;
};

// Chooses "DXF Loader" in the import menu, then plays `script`, one action a
// line; what the user would see goes to `out` where the script asks. Stops
// at the first action that cannot be done (no open dialog, a control that is
// missing, out of reach or insensitive, a malformed line): ok is then false
// and error reads "line N: ...". importResult is set by each OK press that
// closes the Load DXF File dialog: true unless the error box "Error reading
// DXF File" appeared during that press.
DialogScriptOutcome runDialogScript(Session& session, std::istream& script, std::ostream& out,
                                    DialogScriptOptions options = {});

// What the user sees of the open dialogs, in creation order, one control a
// line: kind, label, value or text, and ", insensitive" where it is; list
// rows below their list. "no dialog open" when none is.
std::string describeOpenDialogs(const ToolkitModel& toolkit);

}  // namespace orvhost
