#include "host/dialog_script.h"

namespace orvhost {

DialogScriptOutcome runDialogScript(Session& session, std::istream& script, std::ostream& out) {
  (void)script;
  (void)out;
  DialogScriptOutcome outcome;
  if (!session.chooseImportLoader("DXF Loader")) {
    outcome.ok = false;
    outcome.error = "no import loader \"DXF Loader\"";
  }
  return outcome;
}

}  // namespace orvhost
