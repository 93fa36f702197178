// The 64-bit build, for the later host generation: OrvGUI dialogs, 32-bit
// zone counts, macro commands recorded as extended commands.
#define ORV_GENERATION 2
#include <cmath>

#include "orv/liborv.h"
#include "orv/orvgui.h"
#include "shell/addon.h"
#include "shell/generation.h"

namespace drawport {
namespace {

int32_t createModal(int32_t parent, int32_t width, int32_t height, const char* title,
                    const Toolkit::DialogCallbacks& callbacks) {
  return OrvGUIDialogCreateModal(parent, width, height, title, callbacks.init, callbacks.ok, nullptr,
                                 callbacks.cancel, callbacks.help);
}

const Toolkit kOrvGUI = {
    createModal,         OrvGUIDialogLaunch,      OrvGUIDialogDrop,         OrvGUIFrameAdd,
    OrvGUILabelAdd,      OrvGUIButtonAdd,         OrvGUITextFieldAdd,       OrvGUITextFieldGetString,
    OrvGUITextFieldSetString, OrvGUIOptionMenuAdd, OrvGUIOptionMenuSet,     OrvGUIRadioBoxAdd,
    OrvGUIRadioBoxSetToggle,  OrvGUIToggleAdd,     OrvGUIToggleSet,         OrvGUIListAdd,
    OrvGUIListAppendItem,     OrvGUIListDeleteAllItems, OrvGUIListSetSelectedItem, OrvGUISetSensitivity,
};

double degreesFromRadians(double angle) { return angle * 360 / 6.283185307179586; }

double pointRadius(double width, double height) { return std::sqrt(width * width + height * height) / 10000.0; }

bool dataSetCounts(int32_t* zones, int32_t* variables) {
  OrvEntIndex_t zoneCount = 0;
  OrvEntIndex_t variableCount = 0;
  if (!OrvUtilDataSetGetInfo(nullptr, &zoneCount, variables ? &variableCount : nullptr)) return false;
  *zones = zoneCount;
  if (variables) *variables = variableCount;
  return true;
}

char* zoneName(int32_t zone) {
  char* name = nullptr;
  OrvUtilZoneGetName(static_cast<OrvEntIndex_t>(zone), &name);
  return name;
}

}  // namespace

const Generation kGeneration = {
    "12.2.0.9077 (12.2.0.9077) Apr 14 2010",
    "Orvex, Inc.",
    "12.2.0.9077",
    "The dxf loader does not support the $!READDATASET command because\n"
    "it does not create any field data.\n"
    "Use $!EXTENDEDCOMMAND instead.",
    "orvex/import_dxf.html",
    361,
    261,
    degreesFromRadians,
    pointRadius,
    OrvUtilMacroRecordExtCommand,
    dataSetCounts,
    zoneName,
    kOrvGUI,
    {
        {280, 2372, 0, 0},
        {3107, 122, 0, 0},
        {3107, 570, 0, 0},
        {{573, 213, 1171, 127},
         {573, 453, 1273, 127},
         {573, 692, 1184, 127},
         {573, 932, 1426, 127},
         {573, 1178, 1375, 127},
         {573, 1417, 1362, 127},
         {573, 1657, 1693, 127}},
        {"Text", "Lines", "Arcs", "Circles", "Points", "Solids", "3D Faces"},
        {3145, 250, 2152, 143},
        {3119, 692, 1451, 143},
        {4762, 692, 1591, 143},
        {3476, 1449, 1757, 298},
        {216, 2132, 2827, 127},
        "Hide Invisible Layers",
        {776, 2340, 5055, 143},
        {5934, 2329, 382, 143},
        {369, 159, 1757, 1657},
        {3107, 1316, 2432, 565},
        true,
        {3107, 1000, 2900, 127},
        "Import blocks and newer entities",
    },
    {343, 95, 3578, 1961},
};

}  // namespace drawport

extern "C" __attribute__((visibility("default"))) void InitOrvAddOn113(void) { drawport::startAddOn(); }
