// The test-only add-on's own pieces: a heap whose allocation function can be
// told to fail its Nth call, so that tests reach every out-of-memory path,
// and switches, each set by one 64-bit number: which files are read ahead
// of their drawing, when what follows from their records alone is worked
// out ahead, and the bound on polyline points, lowered so that a small
// drawing reaches it.
#include <atomic>
#include <cstdint>
#include <cstdlib>

#include "dxf/full/read_ahead.h"
#include "entities/full/full_run.h"
#include "shell/heap.h"

namespace {
// Counted from both of the add-on's threads when a file is read ahead.
std::atomic<int64_t> gCalls{0};
std::atomic<int64_t> gFailingCall{0};
}  // namespace

namespace drawport {

void* heapResize(void* block, std::size_t bytes) {
  if (++gCalls == gFailingCall) return nullptr;
  return std::realloc(block, bytes ? bytes : 1);
}

void heapFree(void* block) { std::free(block); }

}  // namespace drawport

// The Nth allocation from now on fails (0: none does).
extern "C" __attribute__((visibility("default"))) void DrawportTestFailAllocation(int64_t call) {
  gCalls = 0;
  gFailingCall = call;
}

// Files of this size and more are read ahead of their drawing (0: all).
extern "C" __attribute__((visibility("default"))) void DrawportTestReadAheadFrom(int64_t bytes) {
  drawport::full::readAheadPolicy().smallestFile = bytes;
}

// What follows from a record alone is worked out ahead of its drawing: 0
// while the drawing is behind, 1 always, 2 never.
extern "C" __attribute__((visibility("default"))) void DrawportTestPrepareAhead(int64_t when) {
  using drawport::full::PreparingAhead;
  drawport::full::readAheadPolicy().preparing = when == 1   ? PreparingAhead::Always
                                                : when == 2 ? PreparingAhead::Never
                                                            : PreparingAhead::WhileDrawingIsBehind;
}

// Imports from now on hand the host at most `most` polyline points (0: the
// add-on's own bound).
extern "C" __attribute__((visibility("default"))) void DrawportTestMostPolylinePoints(int64_t most) {
  drawport::full::polylinePointBound() = most > 0 ? most : drawport::full::FullRun::kMostPoints;
}

// Imports from now on do at most `most` steps of work (0: the add-on's own
// bound).
extern "C" __attribute__((visibility("default"))) void DrawportTestMostWork(int64_t most) {
  drawport::full::runWorkBound() = most > 0 ? most : drawport::full::FullRun::kMostWork;
}
