// The state of one run of the full reading, beside the run's common state:
// the pair reader, the entity in hand, the blocks held, the extents of what
// is drawn, the bound on host objects and the block references not drawn.
#pragma once

#include <cstdint>
#include <string_view>

#include "dxf/full/block_store.h"
#include "dxf/full/entity_record.h"
#include "dxf/full/pair_reader.h"
#include "entities/full/colours.h"
#include "entities/full/curves.h"
#include "entities/full/encodings.h"
#include "entities/full/geometry.h"
#include "entities/full/hatch_scratch.h"
#include "entities/full/step_count.h"
#include "shell/heap.h"
#include "shell/run.h"

namespace drawport::full {

// Why a block reference was not drawn.
enum class SkipReason : uint8_t {
  MissingBlock,    // names no block of the BLOCKS section
  DrawsItself,     // its block draws itself, directly or through others
  TooDeep,         // nested deeper than 32 references
  TooManyCells,    // an array of more than 10,000,000 cells
  NotFinite,       // its transform makes coordinates that are not finite
  TooManyObjects,  // it would take the import past the bound on host objects
  TooManyPoints,   // it would take the import past the bound on polyline points
  TooMuchText,     // it would take the import past the bound on text bytes
  TooMuchWork,     // it would take the import past its work
};
inline constexpr int kSkipReasonCount = 9;

// An entity drawn in a lesser form than the file asks, because drawing it
// whole would take more work or memory than one entity may.
enum class Lessened : uint8_t {
  DensePattern,  // a hatch pattern too dense to draw: its pattern left out
  LongText,      // a text longer than a host text holds: cut
  LongCurve,     // a spline too long to work out: drawn by its control points
};
inline constexpr int kLessenedCount = 3;

// The x/y box of what the import draws, in world coordinates before the UCS
// rotation; empty until something is drawn.
struct Box {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool empty = true;
  void add(double x, double y);
};

// A vertex of a polyline as read: its position, the bulge of the segment
// that starts at it, its flags and (polyface faces) its corner indices.
struct PathVertex {
  Vec3 at;
  double bulge = 0;
  int32_t flags = 0;
  int32_t corners[4] = {0, 0, 0, 0};
};

// The groups every entity may carry, taken in one look at its record.
struct CommonGroups {
  static constexpr size_t kNoGroup = SIZE_MAX;
  size_t layerGroup = kNoGroup;  // the group naming its layer, if any (else layer "0")
  StatedColour colour;
  bool paperSpace = false;
  bool invisible = false;
  Vec3 extrusion{0, 0, 1};
};

// What follows from an entity's record alone, worked out ahead of its
// drawing by the thread that reads the file ahead while the drawing has
// records waiting: the host's thread then only uses it. Its common groups,
// the points of the kinds that have them worked out ahead (a polyline's
// bulges, a spline's curve) and the text shown of the kinds that have one
// (TEXT, MTEXT).
struct PreparedEntity {
  RecordView record;  // the record it belongs to
  bool present = false;
  CommonGroups common;
  bool hasPoints = false;
  const Vec3* points = nullptr;
  size_t count = 0;
  bool closed = false;  // the polyline is drawn closed
  bool hasText = false;
  std::string_view text;  // in UTF-8, its codes read
};

// What a kind's preparer makes: points or a text, appended to the room
// given.
struct Preparation {
  HeapVector<Vec3>& points;
  HeapVector<char>& text;
  bool hasPoints = false;
  bool closed = false;
  bool hasText = false;
};

// The room for preparing them, the reading thread's own: for the points
// and the text of one entity, and for the work behind them, whose long
// loops count against `steps`.
struct PrepareWork {
  HeapVector<Vec3> points;
  HeapVector<char> text;
  HeapVector<PathVertex> vertices;
  SplineData spline;
  SplineWork splineWork;
  TextWork texts;
  StepLimit steps;
};

// The header's variables that only the full reading reads.
struct HeaderExtras {
  char version[16] = "";   // $ACADVER, e.g. "AC1021"
  char codePage[32] = "";  // $DWGCODEPAGE, e.g. "ANSI_1252"
  // What a dimension drawn from its own points, and a leader's arrowhead,
  // are sized by.
  double dimArrowSize = 0.18;   // $DIMASZ
  double dimTextHeight = 0.18;  // $DIMTXT
  double dimScale = 1;          // $DIMSCALE, both sizes multiplied by it
  int32_t dimDecimals = 4;      // $DIMDEC, of a measured length
};

// The bound on polyline points of the imports to come (FullRun::mostPoints),
// and on their work (FullRun::mostWork).
int64_t& polylinePointBound();
int64_t& runWorkBound();

struct FullRun final : public StepCounter {
  // What references multiply is bounded so that the host can hold it: a
  // host object takes some 200 bytes, a polyline point 16 to 24, a text
  // byte one, and a 32-bit host has 3 or 4 GiB at most. With all three
  // bounds reached at once, the stand-in host of a 3D import peaks at about
  // 2.5 GiB. They count what is drawn straight from the file too.
  //
  // An import creates at most this many host objects: well above the
  // drawings CAD programs write, it keeps a hostile file (a block of a million references to a
  // block of a million lines) from running away with the host's memory.
  static constexpr int64_t kMostObjects = 5'000'000;
  // And hands the host at most this many polyline points: a host object
  // holds up to 2997 of them, and every bulge, ellipse and arc drawn as a
  // polyline brings dozens, so the objects alone do not bound the host's
  // memory (a block of long bulged outlines referenced a million times).
  static constexpr int64_t kMostPoints = 64'000'000;
  // And at most this many bytes of text, in all its host texts.
  static constexpr int64_t kMostTextBytes = int64_t{1} << 27;
  // One host text holds at most this many bytes; a longer one is cut.
  static constexpr size_t kMostBytesPerText = size_t{1} << 16;
  // The points bound this import runs under: kMostPoints, unless the
  // test-only add-on lowered it (polylinePointBound) to reach it with a
  // small drawing.
  const int64_t mostPoints;
  // Block references nest at most this deep.
  static constexpr int kDeepestNesting = 32;
  // An array of block references has at most this many cells.
  static constexpr int64_t kMostCells = 10'000'000;

  // The work of the run, in steps of a few nanoseconds: a dash or gap of a
  // hatch pattern, a boundary crossing, a text byte converted, a note's
  // line, a polyline point worked out. An entity of a block drawn and a
  // cell of a reference visited are kEntityWork steps each, about what they
  // take next to those.
  static constexpr int64_t kEntityWork = 64;
  // The whole run does at most this many steps, some seconds of work: a
  // 21 MB drawing of block references (1.5 million entities drawn through
  // blocks, 52 million polyline points) takes a tenth of it, a 100 MB
  // drawing of the usual entities a hundredth. When it is spent, the run
  // draws nothing more.
  static constexpr int64_t kMostWork = int64_t{1} << 31;
  // The work bound this import runs under: kMostWork, unless the test-only
  // add-on lowered it (runWorkBound) to reach it with a small drawing.
  const int64_t mostWork;
  // The percent-done dialog is asked every so many steps of long work
  // between two lines of the file: every 1501 entities drawn through
  // blocks, or a fraction of a millisecond of the finer steps.
  static constexpr int64_t kWorkPerProgressCheck = 1501 * kEntityWork;

  explicit FullRun(Run& run)
      : mostPoints(polylinePointBound()),
        mostWork(runWorkBound()),
        run(run),
        pairs(run.in),
        nextWorkLook(mostWork < kWorkPerProgressCheck ? mostWork : kWorkPerProgressCheck) {}
  FullRun(const FullRun&) = delete;
  FullRun& operator=(const FullRun&) = delete;

  Run& run;
  // While the file is read ahead, the reading thread writes these for every
  // pair: they stand on cache lines of their own, apart from what the
  // drawing uses.
  alignas(kCacheLineBytes) PairReader pairs;
  EntityRecord record;  // the entity being read from the file
  alignas(kCacheLineBytes) BlockStore blocks;
  HeaderExtras header;
  Box drawn;

  int64_t objectsCreated = 0;
  int64_t pointsCreated = 0;
  int64_t textBytesCreated = 0;
  // The work done (see kMostWork), and the work at which countWork next
  // looks beyond its counting: the next percent-done check, or the end of
  // the budget, whichever comes first.
  int64_t work = 0;
  int64_t nextWorkLook;
  // While the file is read ahead of the drawing: the file position the
  // reading had reached when it handed over the entity being drawn, for the
  // percent-done checks of long work (-1: the reader's own position).
  int64_t drawnUpTo = -1;
  NameTally skipped[kSkipReasonCount];
  int64_t lessened[kLessenedCount] = {};
  // A point of a drawn block came out not finite: its reference counts as
  // not drawn for that reason.
  bool nonFinitePoint = false;

  // Scratch room for the points of one entity, reused from entity to entity:
  // the converters' own, the painter's arcs and the painter's world points.
  HeapVector<Vec3> points;
  HeapVector<Vec3> arcPoints;
  HeapVector<Vec3> worldPoints;
  HeapVector<PathVertex> vertices;
  HeapVector<char> text;
  // The spline being drawn and the room for its points' work; the texts'
  // encoding and the room for their conversion.
  SplineData spline;
  SplineWork splineWork;
  TextWork texts;
  HatchScratch hatch;  // the HATCH converter's rings, areas and pattern lines
  // What was prepared for the entity taken last, when it was read ahead and
  // prepared; nothing otherwise.
  PreparedEntity prepared;

  // What was prepared for `entity`, or null: only the record it was
  // prepared from has it.
  const PreparedEntity* preparedFor(const RecordView& entity) const {
    return prepared.present && prepared.record.isSameRecord(entity) ? &prepared : nullptr;
  }

  // The layer named `name` without regard to case, or null. The last one
  // found is remembered: entities in a row mostly share their layer.
  const LayerRecord* layerNamed(std::string_view name);
  // The layer table changed: what was remembered may be gone.
  void forgetLayer() { lastLayerValid_ = false; }

  // Whether one more host object may be created; counts it when it may.
  bool takeObject() {
    if (objectsCreated >= kMostObjects) return false;
    ++objectsCreated;
    return true;
  }
  // Whether `count` more polyline points may go to the host; counts them
  // when they may. Once they may not, nothing more is drawn.
  bool takePoints(size_t count) { return takeWithin(pointsCreated, mostPoints, count); }
  // The same for a text of `bytes`.
  bool takeTextBytes(size_t bytes) { return takeWithin(textBytesCreated, kMostTextBytes, bytes); }
  bool workSpent() const { return work >= mostWork; }
  // The import has created or done all it may: it draws nothing more.
  bool boundReached() const {
    return objectsCreated >= kMostObjects || pointsCreated >= mostPoints || textBytesCreated >= kMostTextBytes ||
           workSpent();
  }
  // Drawing goes on: not stopped, no bound reached.
  bool drawing() const { return !stopped() && !boundReached(); }
  // A reference not drawn is an entity found all the same: the end-of-run
  // message tells why it drew nothing, and no error claims the drawing held
  // nothing to import.
  void skip(SkipReason reason, std::string_view block) {
    skipped[static_cast<int>(reason)].add(block);
    run.entitiesFound = true;
  }
  void lessen(Lessened how) { ++lessened[static_cast<int>(how)]; }
  void noteNonFinite() { nonFinitePoint = true; }
  // Counts `steps` of work. Long work between two lines of the file (a
  // block drawn many times, a dense pattern, a long text) asks the
  // percent-done dialog every kWorkPerProgressCheck steps, so that it stays
  // alive and the user's stop request is heard. False once the run is
  // stopped or its work is spent: the caller ends its loop.
  bool countWork(int64_t steps = kEntityWork) {
    work += steps;
    return work < nextWorkLook || lookAtWork();
  }
  // One entity's long work counts as the run's (see StepCounter).
  bool count(int64_t steps) override { return countWork(steps); }
  bool stopped() const { return run.in.cancelled() || run.outOfMemory; }
  // The extents the circles standing for points are sized from: the
  // header's, when they form a box of positive width and height, else those
  // of what the import draws.
  DrawingExtents pointExtents() const;

 private:
  // The percent-done check or the end of the budget that countWork met.
  bool lookAtWork();
  // Counts `count` more into `used` when that stays within `most`; once it
  // would not, `used` is `most`, which tells the bound was reached.
  static bool takeWithin(int64_t& used, int64_t most, size_t count) {
    if (used + static_cast<int64_t>(count) > most) {
      used = most;
      return false;
    }
    used += static_cast<int64_t>(count);
    return true;
  }

  char lastLayerName_[LayerRecord::kNameCapacity] = "";
  size_t lastLayerLength_ = 0;
  const LayerRecord* lastLayer_ = nullptr;
  bool lastLayerValid_ = false;
};

}  // namespace drawport::full
