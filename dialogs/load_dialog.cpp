#include "dialogs/load_dialog.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "dialogs/dialog_handles.h"
#include "dialogs/select_zone.h"
#include "orv/liborv.h"
#include "shell/addon.h"
#include "shell/files.h"
#include "shell/generation.h"
#include "shell/import_settings.h"
#include "shell/instruction_string.h"
#include "shell/load_run.h"

namespace drawport {

DialogHandles& dialogHandles() {
  static DialogHandles handles;
  return handles;
}

namespace {

constexpr int32_t kMainWindow = -1;
constexpr int32_t kLoadDialogWidth = 6762;
constexpr int32_t kLoadDialogHeight = 2626;
constexpr int32_t kHelpNumber = 1080;
constexpr int32_t kFileSelectionMode = 0;
// Entry n of the font menu is font number n.
constexpr const char* kFontEntries =
    "<<Default>>,Helvetica,Helvetica Bold,Greek,Math,User Defined,Times,Times Italic,Times Bold,Times Italic "
    "Bold,Courier,Courier Bold";

// The opening sets the toggles in this order: 3D Faces before Solids.
constexpr EntityKind kOpeningToggleOrder[] = {EntityKind::Text,    EntityKind::Lines,  EntityKind::Arcs,
                                              EntityKind::Circles, EntityKind::Points, EntityKind::Faces3D,
                                              EntityKind::Solids};

const Toolkit& toolkit() { return kGeneration.toolkit; }

// --- What the controls write ---

// The radio box chooses how polylines, solids and 3D faces are imported,
// the font menu serves texts: each is usable only while it matters.
void updateSensitivity() {
  const ImportSettings& settings = importSettings();
  const DialogHandles& handles = dialogHandles();
  const bool polylines = settings.selects(EntityKind::Lines) || settings.selects(EntityKind::Solids) ||
                         settings.selects(EntityKind::Faces3D);
  toolkit().setSensitivity(handles.dimensionRadioBox, polylines);
  toolkit().setSensitivity(handles.fontLabel, settings.selects(EntityKind::Text));
  toolkit().setSensitivity(handles.fontMenu, settings.selects(EntityKind::Text));
}

template <EntityKind kind>
void onEntityToggle(int32_t state) {
  importSettings().kind(kind) = state != 0;
  updateSensitivity();
}

// In the order of the kind switches, like the toggles.
constexpr void (*kEntityToggleCallbacks[kEntityKindCount])(int32_t) = {
    onEntityToggle<EntityKind::Text>,    onEntityToggle<EntityKind::Lines>,  onEntityToggle<EntityKind::Arcs>,
    onEntityToggle<EntityKind::Circles>, onEntityToggle<EntityKind::Points>, onEntityToggle<EntityKind::Solids>,
    onEntityToggle<EntityKind::Faces3D>,
};

void onFontChosen(int32_t entry) {
  importSettings().fontNumber = entry;
  updateSensitivity();
}

void onDimensionChosen(int32_t button) {
  importSettings().dimension = button;
  updateSensitivity();
}

// The toggle reads "Hide": ticked means invisible layers are not shown.
void onHideToggle(int32_t state) {
  importSettings().showInvisibleLayers = state == 0;
  updateSensitivity();
}

// Ticked means the full reading; the classic reading otherwise. It serves
// every kind, so it is always sensitive.
void onFullReadingToggle(int32_t state) { importSettings().fullReading = state != 0; }

// A name fits the file-name host string with its terminator.
bool fitsFileName(const char* name) {
  return ::strnlen(name, static_cast<size_t>(kHostStringLength)) < static_cast<size_t>(kHostStringLength);
}

// Requires a name that fits.
void copyIntoFileName(char* destination, const char* name) { std::memcpy(destination, name, std::strlen(name) + 1); }

// A text too long for the file name is not taken: the file name keeps what
// it had, and OK refuses the field's text.
int32_t onFileFieldChanged(const char* text) {
  if (!text || !fitsFileName(text)) return OrvFalse;
  copyIntoFileName(addOn().fileName, text);
  return OrvTrue;
}

void onBrowse() {
  AddOnState& state = addOn();
  char* chosen = nullptr;
  const bool picked = OrvUtilDialogGetFileName(kFileSelectionMode, &chosen, "DXF", state.lastFileName, "*.dxf");
  if (!picked || !chosen) {
    if (chosen) OrvUtilStringDealloc(&chosen);
    return;
  }
  const bool fits = fitsFileName(chosen);
  if (fits) {
    copyIntoFileName(state.lastFileName, chosen);
    copyIntoFileName(state.fileName, chosen);
  }
  OrvUtilStringDealloc(&chosen);
  if (!fits) {
    OrvUtilDialogErrMsg("File name too long");
    return;
  }
  toolkit().textFieldSetString(dialogHandles().fileField, state.fileName);
}

// --- Opening ---

// Runs at every launch: the controls show ImportSettings as the last dialog
// or instruction string left them, except that no zone is chosen yet.
void onLoadDialogOpening() {
  ImportSettings& settings = importSettings();
  const DialogHandles& handles = dialogHandles();
  settings.zoneNumber = 0;
  if (settings.fontNumber == 0) settings.fontNumber = 1;
  toolkit().radioBoxSetToggle(handles.dimensionRadioBox, settings.dimension);
  toolkit().optionMenuSet(handles.fontMenu, settings.fontNumber);
  for (EntityKind kind : kOpeningToggleOrder)
    toolkit().toggleSet(handles.entityToggles[static_cast<int>(kind)], settings.selects(kind));
  toolkit().toggleSet(handles.hideToggle, !settings.showInvisibleLayers);
  toolkit().toggleSet(handles.fullReadingToggle, settings.fullReading);
  updateSensitivity();
  // Zones can be chosen only from a data set.
  const bool dataSet = OrvUtilDataSetIsAvailable();
  toolkit().setSensitivity(handles.zoneField, dataSet);
  toolkit().setSensitivity(handles.selectZoneButton, dataSet);
  // From here on the file name is what the field holds: OK reads it back.
  AddOnState& state = addOn();
  toolkit().textFieldSetString(handles.fileField, state.fileName);
  state.fileName[0] = '\0';
  showZoneNumber();
}

// --- OK ---

// Each refusal leaves the dialog open with its lock held, so that the user
// can mend the entry and press OK again, or Cancel.
void refuse(const char* message) { OrvUtilDialogErrMsg(message); }

// Takes the file field's text into the file name.
bool takeFileField() {
  char* text = toolkit().textFieldGetString(dialogHandles().fileField);
  const bool fits = !text || fitsFileName(text);
  if (fits) copyIntoFileName(addOn().fileName, text ? text : "");
  if (text) OrvUtilStringDealloc(&text);
  if (!fits) {
    refuse("File name too long");
    return false;
  }
  if (addOn().fileName[0] == '\0') {
    refuse("Please enter a filename");
    return false;
  }
  return true;
}

// Checks that the file exists and is not empty, and stores its size.
bool measureChosenFile() {
  ImportSettings& settings = importSettings();
  FileCloser file(openRegularFile(addOn().fileName, "rb"));
  if (!file.get()) {
    refuse("File does not exist");
    return false;
  }
  const int64_t size = sizeBySeekingToEnd(file.get());
  if (size < 0) {
    // A warning, after which the action goes on: the load run measures again
    // and gives up on a size it cannot take.
    OrvUtilDialogMessageBox("Could not get file size", OrvMessageBox_Information);
    settings.fileSize = -1;
    return true;
  }
  if (size > std::numeric_limits<int32_t>::max()) {
    refuse("File too large");
    return false;
  }
  settings.fileSize = static_cast<int32_t>(size);
  if (size == 0) {
    refuse("File has zero length");
    return false;
  }
  return true;
}

// The bracketed name and the instruction string fit their temporary host
// strings, terminators included.
bool instructionStringFits() {
  const size_t bracketedName = writeBracketedName(addOn().fileName, nullptr, 0);
  const size_t flags = writeInstructionString(importSettings(), "", nullptr, 0);
  return bracketedName < static_cast<size_t>(kGeneration.bracketedNameLength) &&
         flags + bracketedName < static_cast<size_t>(kGeneration.instructionStringLength);
}

// The OK action's two temporary host strings, released when it ends,
// whichever way.
class TemporaryStrings {
 public:
  TemporaryStrings()
      : instruction_(OrvUtilStringAlloc(kGeneration.instructionStringLength, "Temp space for dxf loader")),
        bracketedName_(OrvUtilStringAlloc(kGeneration.bracketedNameLength, "Temp space for file name")) {}
  ~TemporaryStrings() { release(); }
  TemporaryStrings(const TemporaryStrings&) = delete;
  TemporaryStrings& operator=(const TemporaryStrings&) = delete;

  bool obtained() const { return instruction_ && bracketedName_; }
  void release() {
    if (instruction_) OrvUtilStringDealloc(&instruction_);
    if (bracketedName_) OrvUtilStringDealloc(&bracketedName_);
  }
  // Writes the instruction string for ImportSettings; requires obtained().
  const char* write() {
    writeBracketedName(addOn().fileName, bracketedName_, static_cast<size_t>(kGeneration.bracketedNameLength));
    writeInstructionString(importSettings(), bracketedName_, instruction_,
                           static_cast<size_t>(kGeneration.instructionStringLength));
    return instruction_;
  }

 private:
  char* instruction_;
  char* bracketedName_;
};

void onLoadDialogOk() {
  if (!takeFileField() || !measureChosenFile()) return;
  if (importSettings().noKindSelected()) {
    refuse("Please select at least one type of DXF entity to import");
    return;
  }
  if (!instructionStringFits()) {
    refuse("File name too long");
    return;
  }
  TemporaryStrings strings;
  if (!strings.obtained()) {
    refuse("DXF Loader is out of memory");
    return;
  }
  const char* instructionString = strings.write();
  toolkit().dialogDismiss(dialogHandles().loadDialog);
  if (!runLoad(instructionString)) OrvUtilDialogErrMsg("Error reading DXF File");
  strings.release();
  OrvUtilLockFinish(addOn().id);
}

// --- Cancel and Help ---

// ImportSettings keep whatever the controls wrote.
void onLoadDialogCancel() {
  toolkit().dialogDismiss(dialogHandles().loadDialog);
  OrvUtilLockFinish(addOn().id);
}

void onLoadDialogHelp() { OrvUtilHelp(kGeneration.helpPath, OrvFalse, kHelpNumber); }

// --- Creation ---

void addFrames(int32_t dialog, const LoadDialogLayout& layout) {
  const Place& import = layout.importFrame;
  const Place& polylines = layout.polylinesFrame;
  toolkit().frameAdd(dialog, import.x, import.y, import.width, import.height, "Import");
  toolkit().frameAdd(dialog, polylines.x, polylines.y, polylines.width, polylines.height, "Polylines");
}

// The kept controls, in the toolkit's tab order.
void addKeptControls(int32_t dialog, const LoadDialogLayout& layout) {
  DialogHandles& handles = dialogHandles();
  const Toolkit& gui = toolkit();
  handles.fileLabel = gui.labelAdd(dialog, layout.fileLabel.x, layout.fileLabel.y, "File:");
  handles.fontLabel = gui.labelAdd(dialog, layout.fontLabel.x, layout.fontLabel.y, "Font:");
  handles.zoneLabel = gui.labelAdd(dialog, layout.zoneLabel.x, layout.zoneLabel.y, "Attach Imported Items to Zone:");
  for (int kind = 0; kind < kEntityKindCount; ++kind) {
    const Place& place = layout.entityToggles[kind];
    handles.entityToggles[kind] = gui.toggleAdd(dialog, place.x, place.y, place.width, place.height,
                                                layout.entityToggleLabels[kind], kEntityToggleCallbacks[kind]);
  }
  const Place& font = layout.fontMenu;
  handles.fontMenu = gui.optionMenuAdd(dialog, font.x, font.y, font.width, font.height, kFontEntries, onFontChosen);
  const Place& zone = layout.zoneField;
  handles.zoneField = gui.textFieldAdd(dialog, zone.x, zone.y, zone.width, zone.height, checkZoneField);
  const Place& select = layout.selectZoneButton;
  handles.selectZoneButton =
      gui.buttonAdd(dialog, select.x, select.y, select.width, select.height, "Select Zone...", openSelectZoneDialog);
  const Place& radio = layout.dimensionRadioBox;
  handles.dimensionRadioBox = gui.radioBoxAdd(dialog, radio.x, radio.y, radio.width, radio.height, "Import as 2D",
                                              "Import as 3D", nullptr, nullptr, nullptr, onDimensionChosen);
  const Place& hide = layout.hideToggle;
  handles.hideToggle =
      gui.toggleAdd(dialog, hide.x, hide.y, hide.width, hide.height, layout.hideToggleLabel, onHideToggle);
  const Place& file = layout.fileField;
  handles.fileField = gui.textFieldAdd(dialog, file.x, file.y, file.width, file.height, onFileFieldChanged);
  const Place& browse = layout.browseButton;
  handles.browseButton = gui.buttonAdd(dialog, browse.x, browse.y, browse.width, browse.height, "...", onBrowse);
}

// Created after every other control, so that the controls that came before
// it keep their creation order (and with it their tab order) in both builds.
void addFullReadingToggle(int32_t dialog, const LoadDialogLayout& layout) {
  const Place& place = layout.fullReadingToggle;
  dialogHandles().fullReadingToggle = toolkit().toggleAdd(dialog, place.x, place.y, place.width, place.height,
                                                          layout.fullReadingToggleLabel, onFullReadingToggle);
}

void createLoadDialog() {
  const LoadDialogLayout& layout = kGeneration.loadDialog;
  const int32_t dialog =
      toolkit().dialogCreateModal(kMainWindow, kLoadDialogWidth, kLoadDialogHeight, "Load DXF File",
                                  {onLoadDialogOpening, onLoadDialogOk, onLoadDialogCancel, onLoadDialogHelp});
  dialogHandles().loadDialog = dialog;
  if (layout.framesFirst) addFrames(dialog, layout);
  addKeptControls(dialog, layout);
  if (!layout.framesFirst) addFrames(dialog, layout);
  addFullReadingToggle(dialog, layout);
}

}  // namespace

void launchLoadDialog() {
  // The import menu entry exists only while the add-on holds its host
  // strings; should the host call it after its quit notice, there is nothing
  // to show.
  if (!addOn().stringsAvailable()) {
    OrvUtilLockFinish(addOn().id);
    return;
  }
  if (dialogHandles().loadDialog == kNotCreated) createLoadDialog();
  toolkit().dialogLaunch(dialogHandles().loadDialog);
}

}  // namespace drawport
