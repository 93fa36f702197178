#include "dialogs/select_zone.h"

#include <cstring>

#include "dialogs/dialog_handles.h"
#include "dxf/numbers.h"
#include "orv/liborv.h"
#include "shell/addon.h"
#include "shell/generation.h"
#include "shell/import_settings.h"

namespace drawport {
namespace {

constexpr const char* kNoZone = "<<None>>";
constexpr int32_t kSelectZoneWidth = 4233;
constexpr int32_t kSelectZoneHeight = 2172;
constexpr int32_t kHelpNumber = 1080;

// Row 1 of the list is "<<None>>"; row k + 1 stands for zone k.
constexpr int32_t rowOfZone(int32_t zone) { return zone + 1; }
constexpr int32_t zoneOfRow(int32_t row) { return row - 1; }

void appendZoneRow(int32_t list, int32_t zone) {
  char* name = kGeneration.zoneName(zone);
  const char* row = name && *name ? formatInScratch("Zone #%d (%s)", zone, name) : formatInScratch("Zone #%d", zone);
  if (name) OrvUtilStringDealloc(&name);
  kGeneration.toolkit.listAppendItem(list, row);
}

// Refilled at every launch: the data set may have changed since the last.
void fillZoneList() {
  const Toolkit& toolkit = kGeneration.toolkit;
  const int32_t list = dialogHandles().zoneList;
  toolkit.listDeleteAllItems(list);
  toolkit.listAppendItem(list, kNoZone);
  int32_t zones = 0;
  int32_t variables = 0;
  if (OrvUtilDataSetIsAvailable() && kGeneration.dataSetCounts(&zones, &variables))
    for (int32_t zone = 1; zone <= zones; ++zone) appendZoneRow(list, zone);
  // The zone number comes from this list or from the checked zone field, so
  // its row exists unless the data set lost zones in between; then no row
  // is selected rather than one past the end.
  const int32_t zone = importSettings().zoneNumber;
  if (zone >= 0 && zone <= zones) toolkit.listSetSelectedItem(list, rowOfZone(zone));
}

void onZoneRowSelected(int32_t row) { importSettings().zoneNumber = zoneOfRow(row); }

void onSelectZoneOk() {
  kGeneration.toolkit.dialogDismiss(dialogHandles().selectZoneDialog);
  showZoneNumber();
  OrvUtilLockFinish(addOn().id);
}

// A zone number already taken from a click in the list stays.
void onSelectZoneCancel() {
  kGeneration.toolkit.dialogDismiss(dialogHandles().selectZoneDialog);
  OrvUtilLockFinish(addOn().id);
}

void onSelectZoneHelp() { OrvUtilHelp(kGeneration.helpPath, OrvTrue, kHelpNumber); }

void createSelectZoneDialog() {
  DialogHandles& handles = dialogHandles();
  const Toolkit& toolkit = kGeneration.toolkit;
  handles.selectZoneDialog =
      toolkit.dialogCreateModal(handles.loadDialog, kSelectZoneWidth, kSelectZoneHeight, "Select Zone",
                                {fillZoneList, onSelectZoneOk, onSelectZoneCancel, onSelectZoneHelp});
  const Place& place = kGeneration.zoneList;
  handles.zoneList = toolkit.listAdd(handles.selectZoneDialog, place.x, place.y, place.width, place.height, OrvFalse,
                                     onZoneRowSelected);
}

// The number of zones the zone field accepts. The field is sensitive only
// while the host has a data set; should the host still fail to tell the
// count, no number is accepted.
int32_t zoneCountForCheck() {
  int32_t zones = 0;
  return kGeneration.dataSetCounts(&zones, nullptr) ? zones : 0;
}

void refuseZoneNumber(int32_t zones) {
  const char* message =
      zones < 2 ? "Invalid zone number. Since there is only one zone, the zone number must be 1 (or <<None>>)"
                : formatInScratch("Invalid zone number. Please enter a zone number between 1 and %d", zones);
  OrvUtilDialogErrMsg(message);
}

}  // namespace

void openSelectZoneDialog() {
  OrvUtilLockStart(addOn().id);
  if (dialogHandles().selectZoneDialog == kNotCreated) createSelectZoneDialog();
  kGeneration.toolkit.dialogLaunch(dialogHandles().selectZoneDialog);
}

int32_t checkZoneField(const char* text) {
  ImportSettings& settings = importSettings();
  settings.zoneNumber = 0;
  if (!text) text = "";
  if (std::strcmp(text, kNoZone) == 0) {
    showZoneNumber();
    return OrvTrue;
  }
  const int32_t zones = zoneCountForCheck();
  const int32_t zone = parseLong32(text);
  settings.zoneNumber = zone;
  if (zone < 1 || zone > zones) {
    refuseZoneNumber(zones);
    settings.zoneNumber = 0;
    showZoneNumber();
    return OrvFalse;
  }
  // Typed text such as " 02x" is shown as the number it was read as.
  showZoneNumber();
  return OrvTrue;
}

void showZoneNumber() {
  const int32_t zone = importSettings().zoneNumber;
  kGeneration.toolkit.textFieldSetString(dialogHandles().zoneField, zone == 0 ? kNoZone : formatInScratch("%d", zone));
}

}  // namespace drawport
