#include "dialogs/load_dialog.h"

#include "shell/addon.h"

namespace drawport {

void launchLoadDialog() { OrvUtilLockFinish(addOn().id); }

}  // namespace drawport
