// The Load DXF File dialog: the interactive front of the import. It shows
// ImportSettings, writes every change into them at once (so that Cancel
// keeps the changes for the next opening), and on OK checks the file, writes
// the instruction string and runs the load.
#pragma once

namespace drawport {

// Creates the dialog on first use (its parent the host's main window) and
// launches it. Called by the import menu entry, which has started the host
// lock; the dialog's Cancel, or an OK that gets past its checks, finishes it.
void launchLoadDialog();

}  // namespace drawport
