// The 32-bit build, for the older host generation: Panekit dialogs, 16-bit
// zone counts, macro commands recorded as add-on commands.
#define ORV_GENERATION 1
#include <cmath>

#include "orv/liborv.h"
#include "panekit/panekit.h"
#include "shell/addon.h"
#include "shell/generation.h"

namespace drawport {
namespace {

int32_t createModal(int32_t parent, int32_t width, int32_t height, const char* title,
                    const Toolkit::DialogCallbacks& callbacks) {
  return GUI_DialogCreateModal(parent, width, height, title, callbacks.help, callbacks.ok, callbacks.cancel,
                               callbacks.init);
}

const Toolkit kPanekit = {
    createModal,           GUI_DialogLaunch,       GUI_DialogDismiss,          GUI_FrameAdd,
    GUI_LabelAdd,          GUI_ButtonAdd,          GUI_TextFieldAdd,           GUI_TextFieldGetString,
    GUI_TextFieldSetString, GUI_OptionMenuAdd,     GUI_OptionMenuSet,          GUI_RadioBoxAdd,
    GUI_RadioBoxSetToggle, GUI_ToggleAdd,          GUI_ToggleSet,              GUI_ListAdd,
    GUI_ListAppendItem,    GUI_ListDeleteAllItems, GUI_ListSetSelectedItem,    GUI_SetSensitivity,
};

double degreesFromRadians(double angle) { return angle * 360 * 0.15915494309189535; }

double pointRadius(double width, double height) { return std::sqrt(width * width + height * height) * 0.0001; }

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
    "1.91 (10.0-2-24) Dec  9 2003",
    "Brindle Engineering, Inc.",
    "10.0-2-24",
    "The dxf loader does not support the $!READDATASET command because\n"
    "it does not create any field data.\n"
    "Use $!ADDONCOMMAND instead.",
    "orvex/import_dxf.htm",
    360,
    260,
    degreesFromRadians,
    pointRadius,
    OrvUtilMacroRecordAddOnCommand,
    dataSetCounts,
    zoneName,
    kPanekit,
    {
        {235, 2380, 0, 0},
        {3300, 278, 0, 0},
        {3300, 729, 0, 0},
        {{673, 377, 1010, 99},
         {673, 616, 1128, 99},
         {673, 855, 1027, 99},
         {673, 1100, 1263, 99},
         {673, 1339, 1212, 99},
         {673, 1578, 1195, 99},
         {673, 1823, 1549, 99}},
        {"  Text", "  Lines", "  Arcs", "  Circles", "  Points", "  Solids", "  3D Faces"},
        {3300, 391, 2222, 172},
        {3300, 848, 1465, 152},
        {4984, 848, 1616, 152},
        {3755, 1545, 1902, 424},
        {218, 2148, 2593, 99},
        "  Hide invisible layers",
        {808, 2334, 5136, 152},
        {6096, 2334, 404, 152},
        {269, 165, 2745, 1876},
        {3300, 1478, 3267, 563},
        false,
        {3300, 1150, 2900, 99},
        "  Import blocks and newer entities",
    },
    {336, 92, 3603, 1969},
};

}  // namespace drawport

extern "C" __attribute__((visibility("default"))) void InitOrvAddOn(void) { drawport::startAddOn(); }
