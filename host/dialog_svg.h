// The dialogs as pictures: an SVG drawing of the dialogs an add-on built,
// in the toolkit's layout units, so that a person can look at the layout of
// either host generation.
#pragma once

#include <ostream>

#include "host/toolkit_model.h"

namespace orvhost {

// Writes one SVG document showing, in creation order, every dialog that
// stands in the host's main window (open or not; a closed one marked so and
// paled), and over each of them the open dialogs that stand in it, centred.
// Each dialog shows its title bar, its body at its width and height, and the
// toolkit's row of OK, Apply, Cancel and Help buttons for the callbacks it
// was given. Every control stands at its x, y, width and height (a label,
// which has a position only, is sized from its text), with its label and
// value: toggle state, option menu entry, radio selection, text field text,
// list rows with the selected one marked. Insensitive controls are greyed.
// Controls whose drawing does not fill their given size (toggles, radio
// boxes, labels) show it as a faint dashed outline. With no dialog at all
// the picture says so.
void writeDialogSvg(std::ostream& out, const ToolkitModel& toolkit);

}  // namespace orvhost
