// What the two import dialogs share: the handles of the dialogs and of the
// controls they keep, and the scratch buffer in which they format short
// texts.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "shell/addon.h"
#include "shell/import_settings.h"

namespace drawport {

// The toolkit's handle of a dialog or control that is not yet created.
inline constexpr int32_t kNotCreated = -2;

// The handles of the Load DXF File dialog with the eighteen controls it
// keeps (its two frames are not kept), and of the Select Zone dialog with
// its list. Each dialog is created once, on its first launch.
struct DialogHandles {
  int32_t loadDialog = kNotCreated;
  int32_t fileLabel = kNotCreated;
  int32_t fontLabel = kNotCreated;
  int32_t zoneLabel = kNotCreated;
  // In the order of the kind switches: Text, Lines, Arcs, Circles, Points,
  // Solids, 3D Faces.
  int32_t entityToggles[kEntityKindCount] = {kNotCreated, kNotCreated, kNotCreated, kNotCreated,
                                             kNotCreated, kNotCreated, kNotCreated};
  int32_t fontMenu = kNotCreated;
  int32_t zoneField = kNotCreated;
  int32_t selectZoneButton = kNotCreated;
  int32_t dimensionRadioBox = kNotCreated;
  int32_t hideToggle = kNotCreated;
  int32_t fileField = kNotCreated;
  int32_t browseButton = kNotCreated;
  int32_t fullReadingToggle = kNotCreated;

  int32_t selectZoneDialog = kNotCreated;
  int32_t zoneList = kNotCreated;

  int32_t& entityToggle(EntityKind kind) { return entityToggles[static_cast<int>(kind)]; }
};

// The one set of handles, for as long as the add-on is loaded.
DialogHandles& dialogHandles();

// Formats into the add-on's scratch buffer (bounded by its length) and
// returns it. Requires the add-on's host strings, which exist whenever a
// dialog can be open.
__attribute__((format(printf, 1, 2))) inline const char* formatInScratch(const char* format, ...) {
  char* scratch = addOn().scratch;
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(scratch, static_cast<size_t>(kHostStringLength), format, arguments);
  va_end(arguments);
  return scratch;
}

}  // namespace drawport
