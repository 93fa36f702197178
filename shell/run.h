// The state of one load run, handed to every reader and converter: the
// reader, the settings, the per-run tables, the header's values, the UCS
// rotation, the colour map and the run's flags.
#pragma once

#include <cstdint>

#include "dxf/layer_table.h"
#include "dxf/reader.h"
#include "orv/liborv.h"
#include "shell/heap.h"
#include "shell/import_settings.h"

namespace drawport {

struct Vector2 {
  double x, y;
};

// The drawing's x/y box.
struct DrawingExtents {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// What the HEADER section gives: the extents and the UCS axes.
struct HeaderState {
  DrawingExtents extents;
  Vector2 ucsX{1, 0}, ucsY{0, 1};
  Vector2 paperUcsX{1, 0}, paperUcsY{0, 1};
  bool minimumSeen = false;
  bool maximumSeen = false;
  // The HEADER gave both corners: converters do not grow the extents.
  bool extentsFixed = false;
};

// The plane rotation between the UCS and the paper-space UCS, applied to x
// and y in 2D imports.
struct UcsRotation {
  double angle = 0;  // radians, never positive
  double degrees = 0;
  double sine = 0;
  double cosine = 1;
  bool active = false;
};

// POINT entities gathered during a pass, drawn as circles at its end.
struct PointEntry {
  double x, y;
  OrvColorIndex_t hostColour;
};

struct PointList {
  static constexpr int32_t kGrowth = 10000;
  HeapArray<PointEntry> entries;
  int32_t count = 0;
};

// The vertex coordinate arrays in which polylines, solids and 3D faces are
// built relative to an anchor.
struct VertexArrays {
  static constexpr int32_t kSize = 2998;
  HeapArray<double> x, y, z;
};

// The per-run heap blocks, freed when the run ends whatever its outcome.
struct RunTables {
  LayerTable layers;
  PointList points;
  VertexArrays vertices;
  // Allocates the five blocks in order; false when any is missing.
  bool allocate();
};

// Host colours of DXF colours 0 to 9; entries 0 and 7 are the foreground
// colour that contrasts with the frame's background.
struct ColourMap {
  OrvColorIndex_t background = 0;
  OrvColorIndex_t entries[10] = {0, 1, 5, 2, 4, 3, 14, 0, 8, 1};
  void setBackground(OrvColorIndex_t colour);
};

struct Run {
  Run(DxfReader& reader, const ImportSettings& settings, RunTables& tables)
      : in(reader), settings(settings), tables(tables), is2D(settings.dimension == 1) {}

  DxfReader& in;
  const ImportSettings& settings;
  RunTables& tables;
  HeaderState header;
  UcsRotation rotation;
  ColourMap colours;
  bool is2D;
  bool entitiesFound = false;  // an entity of a selected kind was met
  bool entitiesRead = false;   // this pass read an ENTITIES section
  bool outOfMemory = false;    // a table could not grow: the run stops

  // The file is being read ahead of the drawing, on a thread of its own:
  // the reader is that thread's until it ends, and halting it waits till
  // then.
  bool readingAhead = false;

  // A table could not grow: reading stops for good and the run fails.
  void runOutOfMemory() {
    outOfMemory = true;
    if (!readingAhead) in.halt();
  }
};

}  // namespace drawport
