// What every pass over the file does before and after reading it, in both
// readings: the percent-done dialog, drawing suspended, the points drawn at
// its end.
#pragma once

namespace drawport {

struct Run;
struct DrawingExtents;

// The line counter starts again, the pass has read no ENTITIES section yet,
// the percent-done dialog is shown and the host's drawing suspended.
void beginPass(Run& run);
// A pass that met the stream's end without the 0/EOF pair marks the file's
// end; the gathered points are drawn as circles sized from `pointExtents`;
// drawing resumes and the percent-done dialog goes.
void endPass(Run& run, bool endMarkerMet, const DrawingExtents& pointExtents);

}  // namespace drawport
