// The Load DXF File dialog: the interactive front of the import.
#pragma once

namespace drawport {

// Creates the dialog on first use and launches it. Called by the import
// menu entry, which has started the host lock; the dialog's OK or Cancel
// finishes it.
void launchLoadDialog();

}  // namespace drawport
