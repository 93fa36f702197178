// The load run: one import, from the instruction string to the objects in
// the host's frame.
#pragma once

namespace drawport {

// Parses `instructionString` (when given) into ImportSettings, then reads the
// file it names in one or two passes under the host's percent-done dialog.
// True when an entity of a selected kind was met and no error was reported;
// a complete run is recorded into the host's macro and the view fitted.
bool runLoad(const char* instructionString);

}  // namespace drawport
