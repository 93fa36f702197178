#include "shell/import_settings.h"

namespace drawport {

bool ImportSettings::allKindsSelected() const {
  for (bool selected : kinds)
    if (!selected) return false;
  return true;
}

bool ImportSettings::noKindSelected() const {
  for (bool selected : kinds)
    if (selected) return false;
  return true;
}

void ImportSettings::setAllSwitches(bool on) {
  for (bool& selected : kinds) selected = on;
  showInvisibleLayers = on;
}

ImportSettings& importSettings() {
  static ImportSettings settings;
  return settings;
}

}  // namespace drawport
