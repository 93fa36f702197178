// The sections of a DXF file: the HEADER's extents and UCS axes, the LAYER
// table of TABLES, and ENTITIES (and, in the second pass, BLOCKS) handed to
// the entity dispatcher.
#pragma once

namespace drawport {

struct Run;

// ReadSection: reads one section, from right after its "SECTION" line up to
// its "ENDSEC" (or the end of the file). `pass` is 1 or 2: only the second
// pass converts the entities of BLOCKS.
void readSection(Run& run, int pass);

}  // namespace drawport
