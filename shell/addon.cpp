#include "shell/addon.h"

#include <cstdio>
#include <cstring>

#include "dialogs/load_dialog.h"
#include "shell/generation.h"
#include "shell/load_run.h"

namespace drawport {
namespace {

constexpr int32_t kErrorTextLength = 1000;

// The macro command "DXF Loader": the command text is an instruction string.
OrvBoolean_t runMacroCommand(const char* commandText, char** errorText) {
  HostLock lock;
  // Without its strings (registration ran out of memory, or the host already
  // said it quits) the add-on cannot import; it fails like a failed import.
  const bool imported = addOn().stringsAvailable() && runLoad(commandText);
  if (!imported && errorText) {
    static const char kError[] = "Error reading file";
    char* text = OrvUtilStringAlloc(kErrorTextLength, "Temp space for dxf loader");
    if (text) std::memcpy(text, kError, sizeof kError);
    *errorText = text;
  }
  return imported ? OrvTrue : OrvFalse;
}

// The host's data-set reading command cannot use this loader: it creates no
// field data.
OrvBoolean_t refuseDataSetReading(OrvStringList_t) {
  HostLock lock;
  OrvUtilDialogErrMsg(kGeneration.dataSetReadingRefusal);
  return OrvFalse;
}

// The import menu entry. The lock stays started while the dialog is open;
// the dialog's OK or Cancel finishes it.
void openLoadDialogFromMenu() {
  OrvUtilLockStart(addOn().id);
  launchLoadDialog();
}

void releaseString(char*& string) {
  if (string) OrvUtilStringDealloc(&string);
  string = nullptr;
}

void onStateChange(int32_t code, OrvArbParam_t) {
  if (code != ORV_STATE_CHANGE_QUIT) return;
  HostLock lock;
  AddOnState& state = addOn();
  releaseString(state.fileName);
  releaseString(state.lastFileName);
  releaseString(state.scratch);
}

void refuseOldHost() {
  char message[200];
  std::snprintf(message, sizeof message, "Add-on \"%s\" requires Orvex version %s or greater", kAddOnName,
                kGeneration.requiredHostVersion);
  OrvUtilDialogErrMsg(message);
}

}  // namespace

AddOnState& addOn() {
  static AddOnState state;
  return state;
}

void startAddOn() {
  OrvUtilLockOn();
  AddOnState& state = addOn();
  state.id = OrvUtilAddOnRegister(ORV_ADDON_INTERFACE_NUMBER, kAddOnName, kGeneration.versionText,
                                  kGeneration.author);
  if (OrvUtilGetOrvexVersion() < kMinimumHostVersion) {
    refuseOldHost();
    OrvUtilLockOff();
    return;
  }
  OrvUtilMacroAddCommandCallback(kAddOnName, runMacroCommand);
  state.fileName = OrvUtilStringAlloc(kHostStringLength, "DXF filename");
  state.lastFileName = OrvUtilStringAlloc(kHostStringLength, "DXF last filename");
  state.scratch = OrvUtilStringAlloc(kHostStringLength, "DXF scratch buffer");
  if (!state.stringsAvailable()) {
    OrvUtilDialogErrMsg("DXF Loader is out of memory");
    OrvUtilLockOff();
    return;
  }
  OrvUtilImportAddLoader(refuseDataSetReading, kAddOnName, openLoadDialogFromMenu, nullptr);
  OrvUtilStateChangeAddCallback(onStateChange);
  state.fileName[0] = '\0';
  state.lastFileName[0] = '\0';
  OrvUtilLockOff();
}

}  // namespace drawport
