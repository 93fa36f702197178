// What differs between the add-on's two builds: the 32-bit build for the
// older host generation (Panekit dialogs) and the 64-bit build for the later
// one (OrvGUI dialogs). Each build links exactly one definition of
// kGeneration (shell/generation_32.cpp or shell/generation_64.cpp); nothing
// else in the add-on knows which build it is.
#pragma once

#include <cstdint>

namespace drawport {

// The dialog toolkit's operations, with one argument order for all builds.
struct Toolkit {
  struct DialogCallbacks {
    void (*init)();
    void (*ok)();
    void (*cancel)();
    void (*help)();
  };
  int32_t (*dialogCreateModal)(int32_t parent, int32_t width, int32_t height, const char* title,
                               const DialogCallbacks& callbacks);
  void (*dialogLaunch)(int32_t dialog);
  void (*dialogDismiss)(int32_t dialog);
  int32_t (*frameAdd)(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* title);
  int32_t (*labelAdd)(int32_t dialog, int32_t x, int32_t y, const char* text);
  int32_t (*buttonAdd)(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label,
                       void (*callback)());
  int32_t (*textFieldAdd)(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                          int32_t (*callback)(const char* text));
  char* (*textFieldGetString)(int32_t field);
  void (*textFieldSetString)(int32_t field, const char* text);
  int32_t (*optionMenuAdd)(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                           const char* entries, void (*callback)(int32_t entry));
  void (*optionMenuSet)(int32_t menu, int32_t entry);
  int32_t (*radioBoxAdd)(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label1,
                         const char* label2, const char* label3, const char* label4, const char* label5,
                         void (*callback)(int32_t button));
  void (*radioBoxSetToggle)(int32_t box, int32_t button);
  int32_t (*toggleAdd)(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label,
                       void (*callback)(int32_t state));
  void (*toggleSet)(int32_t toggle, int32_t on);
  int32_t (*listAdd)(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, int32_t multiSelection,
                     void (*callback)(int32_t row));
  void (*listAppendItem)(int32_t list, const char* item);
  void (*listDeleteAllItems)(int32_t list);
  void (*listSetSelectedItem)(int32_t list, int32_t row);
  void (*setSensitivity)(int32_t control, int32_t sensitive);
};

// A control's place in the toolkit's layout units.
struct Place {
  int32_t x, y, width, height;
};

// The Load DXF File dialog's controls, in the order of the entity toggles:
// Text, Lines, Arcs, Circles, Points, Solids, 3D Faces.
struct LoadDialogLayout {
  Place fileLabel, fontLabel, zoneLabel;  // labels: x and y only
  Place entityToggles[7];
  const char* entityToggleLabels[7];
  Place fontMenu, zoneField, selectZoneButton, dimensionRadioBox;
  Place hideToggle;
  const char* hideToggleLabel;
  Place fileField, browseButton, importFrame, polylinesFrame;
  bool framesFirst;  // the frames are created before (64-bit) or after (32-bit) the other controls
  // Chooses the full reading; created after every other control, frames
  // included.
  Place fullReadingToggle;
  const char* fullReadingToggleLabel;
};

struct Generation {
  const char* versionText;
  const char* author;
  // The host version named when the host is too old.
  const char* requiredHostVersion;
  // The error box of the loader's refusal to read a data set.
  const char* dataSetReadingRefusal;
  const char* helpPath;
  // Lengths of the OK action's two temporary host strings.
  int32_t instructionStringLength;
  int32_t bracketedNameLength;
  // UCS rotation degrees from radians, as each build computes them.
  double (*degreesFromRadians)(double angle);
  // Radius of the circles that stand for points, from the drawing's extents.
  double (*pointRadius)(double width, double height);
  // Records an import into the host's macro.
  int32_t (*recordMacroCommand)(const char* addOnName, const char* commandText);
  // The data set's numbers of zones and of variables (not asked for when
  // null), read through the generation's width; false when the host cannot
  // tell.
  bool (*dataSetCounts)(int32_t* zones, int32_t* variables);
  // Zone `zone`'s name as the host hands it over (to be released), or null.
  char* (*zoneName)(int32_t zone);
  const Toolkit& toolkit;
  LoadDialogLayout loadDialog;
  Place zoneList;
};

extern const Generation kGeneration;

}  // namespace drawport
