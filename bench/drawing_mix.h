// The drawings dxfgen writes: one writer per mix, all taking the same
// options. The same options give the same file, byte for byte.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace drawport_bench {

struct DrawingOptions {
  uint64_t size = 100'000'000;  // about how large the drawing is (blocks: its ENTITIES section)
  uint64_t seed = 1;
  int layers = 300;
  bool extents = true;  // $EXTMIN/$EXTMAX in the HEADER
  bool crlf = false;
  uint64_t hatchCount = 0;  // hatches: this many hatches; 0 = as many as the size allows
};

// What a writer wrote, for dxfgen's summary.
struct WrittenDrawing {
  uint64_t bytes = 0;
  uint64_t lines = 0;
  std::string contents;  // what the drawing holds, in a few lines
};

// Each writes the whole drawing to FILE; false when the file cannot be
// written.
using DrawingWriter = bool (*)(const DrawingOptions& options, std::FILE* file, WrittenDrawing& written);

// R12 style: the classic reading's kinds, with POLYLINEs.
bool writeClassicDrawing(const DrawingOptions& options, std::FILE* file, WrittenDrawing& written);
// R2000 style as today's CAD programs write it: LWPOLYLINE with bulges,
// true colours, object coordinate systems, ELLIPSE, SPLINE, MTEXT.
bool writeModernDrawing(const DrawingOptions& options, std::FILE* file, WrittenDrawing& written);
// A few hundred block definitions, nested two deep, and hundreds of
// thousands of INSERTs of them.
bool writeBlocksDrawing(const DrawingOptions& options, std::FILE* file, WrittenDrawing& written);
// Small solid HATCHes.
bool writeHatchesDrawing(const DrawingOptions& options, std::FILE* file, WrittenDrawing& written);

}  // namespace drawport_bench
