// The full reading of a file: one pass by group pairs over its sections.
// HEADER gives the extents, the UCS axes, the version and the code page;
// TABLES the layers with their colours, true colours and flags; BLOCKS is
// kept as records; ENTITIES is drawn. When the ENTITIES section holds no
// entity at all, the named blocks are drawn from the records held, without
// a second pass. Entities that draw blocks from an ENTITIES section before
// the BLOCKS section are drawn once the blocks are known.
#pragma once

namespace drawport {

struct Run;

// Reads the run's open file the full reading's way. At the end of the run a
// message box tells how many block references were not drawn, and why.
// False when the whole file was read and held no section: it is not a DXF
// drawing.
bool readFully(Run& run);

}  // namespace drawport
