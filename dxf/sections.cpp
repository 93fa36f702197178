#include "dxf/sections.h"

#include "dxf/layer_table.h"
#include "dxf/reader.h"
#include "entities/dispatcher.h"
#include "shell/run.h"

namespace drawport {
namespace {

// ReadHeaderPoint: x is the last group 10 before the first group 20, which
// ends the point. Codes are compared as text here, so "010" is not "10".
void readHeaderPoint(DxfReader& in, Vector2& point) {
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) return;
    if (in.tokenIs("10")) {
      point.x = in.readReal();
    } else if (in.tokenIs("20")) {
      point.y = in.readReal();
      return;
    }
    // Any other line is taken as the next code.
  }
}

void readHeaderVariable(DxfReader& in, HeaderState& header) {
  in.readToken();
  if (in.endOfFile()) return;
  if (in.tokenIs("$EXTMIN")) {
    header.minimumSeen = true;
    Vector2 corner{header.extents.minX, header.extents.minY};
    readHeaderPoint(in, corner);
    header.extents.minX = corner.x;
    header.extents.minY = corner.y;
  } else if (in.tokenIs("$EXTMAX")) {
    header.maximumSeen = true;
    Vector2 corner{header.extents.maxX, header.extents.maxY};
    readHeaderPoint(in, corner);
    header.extents.maxX = corner.x;
    header.extents.maxY = corner.y;
  } else if (in.tokenIs("$UCSXDIR")) {
    readHeaderPoint(in, header.ucsX);
  } else if (in.tokenIs("$UCSYDIR")) {
    readHeaderPoint(in, header.ucsY);
  } else if (in.tokenIs("$PUCSXDIR")) {
    readHeaderPoint(in, header.paperUcsX);
  } else if (in.tokenIs("$PUCSYDIR")) {
    readHeaderPoint(in, header.paperUcsY);
  } else {
    // The variable's first group: its code and its value.
    in.readToken();
    in.readToken();
  }
}

// ReadHeader: the six variables, up to "ENDSEC". Further groups of a
// variable come back here as code and value and are passed over.
void readHeader(DxfReader& in, HeaderState& header) {
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) return;
    if (in.tokenIs("9")) {
      readHeaderVariable(in, header);
    } else if (in.tokenIs("0")) {
      // The next line is read as a code again, so that 0/ENDSEC ends the
      // header.
    } else if (in.tokenIs("ENDSEC")) {
      return;
    } else {
      in.readToken();
    }
  }
}

// The TABLES section: only the LAYER table is read; the lines of the other
// tables are passed over one by one.
void readTables(Run& run) {
  DxfReader& in = run.in;
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) return;
    if (in.tokenIs("2")) {
      in.readToken();
      if (in.tokenIs("LAYER") && !in.endOfFile() && !readLayerTable(in, run.tables.layers)) {
        run.runOutOfMemory();
        return;
      }
    } else if (in.tokenIs("ENDSEC")) {
      return;
    }
  }
}

// Passes over a section, every line compared with "ENDSEC", values included.
void skipSection(DxfReader& in) {
  while (!in.endOfFile()) {
    in.readToken();
    if (in.tokenIs("ENDSEC") && !in.endOfFile()) return;
  }
}

// Reads up to the section's group 2; false when the file ends first, or the
// user stopped the run before it came.
bool findSectionName(DxfReader& in) {
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) return false;
    if (in.tokenIs("2")) return true;
    if (in.cancelled()) return false;
  }
  return false;
}

}  // namespace

void readSection(Run& run, int pass) {
  DxfReader& in = run.in;
  if (in.cancelled() || !findSectionName(in)) return;
  in.readToken();
  if (in.tokenIs("HEADER")) {
    readHeader(in, run.header);
    run.header.extentsFixed = run.header.minimumSeen && run.header.maximumSeen;
  } else if (in.tokenIs("TABLES")) {
    readTables(run);
  } else if (in.tokenIs("BLOCKS")) {
    // In the first pass the pass loop passes over the blocks' lines itself.
    if (pass == 2) dispatchEntities(run);
  } else if (in.tokenIs("ENTITIES")) {
    dispatchEntities(run);
    run.entitiesRead = true;
  } else {
    skipSection(in);
  }
}

}  // namespace drawport
