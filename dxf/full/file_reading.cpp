#include "dxf/full/file_reading.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "dxf/full/read_ahead.h"
#include "dxf/numbers.h"
#include "entities/coordinates.h"
#include "entities/full/drawing.h"
#include "entities/full/inserts.h"
#include "shell/pass.h"
#include "shell/run.h"

namespace drawport {
namespace full {
namespace {

// A layer without a colour of its own draws in the foreground colour.
constexpr int32_t kDefaultLayerColour = 7;

bool endsSection(std::string_view keyword) { return keyword == "ENDSEC" || keyword == "EOF" || keyword == "SECTION"; }

// Hands each record of a section to `take`, from the pair in hand up to the
// pair 0/ENDSEC (or 0/EOF, or 0/SECTION of a section left without its end,
// or the end of the file), which the pair reader then holds. A stop request
// ends it at the next record.
template <class Take>
void forEachRecord(FullRun& run, Take&& take) {
  PairReader& pairs = run.pairs;
  while (!run.run.in.endOfFile() && !run.stopped()) {
    if (pairs.code() != 0) {
      if (!pairs.next()) return;  // groups outside any record
      continue;
    }
    if (endsSection(pairs.keyword())) return;
    const bool complete = run.record.read(pairs);
    if (!complete) return;  // a record cut off by the end of the file is dropped
    if (!run.record.oversized()) take(run.record.view());
  }
}

void copyText(char* to, size_t size, std::string_view text) {
  const size_t length = text.size() < size ? text.size() : size - 1;
  if (length > 0) std::memcpy(to, text.data(), length);
  to[length] = '\0';
}

// What the pass has met of the file's sections, and which way it reads
// them. A file may hold its ENTITIES before its BLOCKS: the entities that
// draw blocks then wait, and the reading returns to them once the blocks
// are known. Only counts are kept, so the memory stays the same however
// many there are.
struct SectionOrder {
  // The return over the ENTITIES sections before the first BLOCKS section,
  // which draws the entities that waited there.
  bool returning = false;
  bool sectionMet = false;  // a 0/SECTION pair: the file has a DXF drawing's structure
  bool blocksRead = false;  // a BLOCKS section was read
  bool entityMet = false;   // an ENTITIES section held an entity, of any kind
  int64_t waiting = 0;      // entities passed over to be drawn on the return
};

// The entities that draw blocks (a reference, a dimension's picture, a
// table's cells, a leader's block note).
constexpr std::string_view kBlockDrawingKinds[] = {
    "INSERT", "DIMENSION", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION", "ACAD_TABLE", "MULTILEADER", "MLEADER",
};

bool drawsBlocks(std::string_view name) {
  for (std::string_view kind : kBlockDrawingKinds)
    if (kind == name) return true;
  return false;
}

// The entities that belong to the reference before them.
bool followsReference(std::string_view name) { return name == "ATTRIB" || name == "SEQEND"; }

// Which of a section's entities are drawn.
enum class EntitiesDrawn {
  All,
  AllButBlockDrawing,  // the blocks are not known yet: those that draw them wait
  BlockDrawingOnly,    // the return to those that waited
};

// The entities of a section as the dispatcher takes them: all of them, or
// those of one side of the wait for the blocks. It notes that the section
// held an entity, and counts those left to wait.
class SelectedEntities : public EntitySource {
 public:
  SelectedEntities(EntitySource& all, EntitiesDrawn which, SectionOrder& order)
      : all_(all), which_(which), order_(order) {}
  // A converter looks at and takes the entities that follow its own (an
  // INSERT's ATTRIBs): those are never held back from it.
  bool hasNext() const override { return all_.hasNext(); }
  std::string_view nextName() const override { return all_.nextName(); }
  bool next(RecordView& entity) override {
    while (all_.next(entity)) {
      order_.entityMet = true;
      const bool blockDrawing = drawsBlocks(entity.name());
      switch (which_) {
        case EntitiesDrawn::All: return true;
        case EntitiesDrawn::AllButBlockDrawing:
          if (!blockDrawing) return true;
          ++order_.waiting;
          passOverAttributes(entity);
          break;
        case EntitiesDrawn::BlockDrawingOnly:
          if (blockDrawing || followsReference(entity.name())) return true;
          break;
      }
    }
    return false;
  }

 private:
  // A reference's ATTRIBs and their SEQEND wait with it.
  void passOverAttributes(RecordView& entity) {
    while (all_.hasNext() && all_.nextName() == "ATTRIB" && all_.next(entity)) {
    }
    if (all_.hasNext() && all_.nextName() == "SEQEND") all_.next(entity);
  }

  EntitySource& all_;
  const EntitiesDrawn which_;
  SectionOrder& order_;
};

// --- HEADER ---

void readHeader(FullRun& run) {
  PairReader& pairs = run.pairs;
  HeaderState& header = run.run.header;
  char variable[64] = "";
  while (pairs.next()) {
    const int32_t code = pairs.code();
    if (code == 0) break;
    if (code == 9) {
      copyText(variable, sizeof variable, pairs.keyword());
      continue;
    }
    const std::string_view name = variable;
    if (code == 1 && name == "$ACADVER") copyText(run.header.version, sizeof run.header.version, pairs.keyword());
    if (code == 3 && name == "$DWGCODEPAGE") copyText(run.header.codePage, sizeof run.header.codePage, pairs.keyword());
    if (code == 40 && name == "$DIMASZ") run.header.dimArrowSize = parseReal(pairs.value());
    if (code == 40 && name == "$DIMTXT") run.header.dimTextHeight = parseReal(pairs.value());
    if (code == 40 && name == "$DIMSCALE") run.header.dimScale = parseReal(pairs.value());
    if (code == 70 && name == "$DIMDEC") run.header.dimDecimals = parseLong32(pairs.value());
    if (code != 10 && code != 20) continue;
    const double value = parseReal(pairs.value());
    const bool x = code == 10;
    if (name == "$EXTMIN") {
      header.minimumSeen = true;
      (x ? header.extents.minX : header.extents.minY) = value;
    } else if (name == "$EXTMAX") {
      header.maximumSeen = true;
      (x ? header.extents.maxX : header.extents.maxY) = value;
    } else if (name == "$UCSXDIR") {
      (x ? header.ucsX.x : header.ucsX.y) = value;
    } else if (name == "$UCSYDIR") {
      (x ? header.ucsY.x : header.ucsY.y) = value;
    } else if (name == "$PUCSXDIR") {
      (x ? header.paperUcsX.x : header.paperUcsX.y) = value;
    } else if (name == "$PUCSYDIR") {
      (x ? header.paperUcsY.x : header.paperUcsY.y) = value;
    }
  }
  header.extentsFixed = header.minimumSeen && header.maximumSeen;
}

// --- TABLES: the LAYER table ---

void storeLayer(FullRun& run, const RecordView& entry) {
  LayerRecord layer{};
  setLayerName(layer, entry.textOr(2));
  layer.colour = entry.integerOr(62, kDefaultLayerColour);
  layer.flags = entry.integerOr(70, 0);
  layer.trueColour = entry.integerOr(420, -1);
  layer.hasTrueColour = layer.trueColour >= 0;
  if (!run.run.tables.layers.store(layer)) run.run.runOutOfMemory();
  run.forgetLayer();
}

void readTables(FullRun& run) {
  std::string table;
  forEachRecord(run, [&](const RecordView& record) {
    if (record.name() == "TABLE")
      table = record.keywordOr(2);
    else if (record.name() == "ENDTAB")
      table.clear();
    else if (table == "LAYER" && record.name() == "LAYER")
      storeLayer(run, record);
  });
}

// --- BLOCKS ---

void readBlocks(FullRun& run, SectionOrder& order) {
  order.blocksRead = true;
  BlockStore& blocks = run.blocks;
  forEachRecord(run, [&](const RecordView& record) {
    if (record.name() == "BLOCK")
      blocks.begin(record);
    else if (record.name() == "ENDBLK")
      blocks.end();
    else
      blocks.add(record);
  });
  blocks.end();
}

// --- ENTITIES ---

// Draws the section's entities that `which` selects: read ahead of the
// drawing when the file is large and a thread can be started for it, else
// read in step.
void drawSectionEntities(FullRun& run, EntitiesDrawn which, SectionOrder& order) {
  if (run.run.settings.fileSize >= readAheadPolicy().smallestFile) {
    ReadAheadEntities ahead(run);
    if (ahead.start()) {
      SelectedEntities selected(ahead, which, order);
      drawEntities(run, selected, Placement{});
      ahead.finish();
      return;
    }
  }
  FileEntities inStep(run);
  SelectedEntities selected(inStep, which, order);
  drawEntities(run, selected, Placement{});
}

EntitiesDrawn entitiesDrawn(const SectionOrder& order) {
  if (order.returning) return EntitiesDrawn::BlockDrawingOnly;
  return order.blocksRead ? EntitiesDrawn::All : EntitiesDrawn::AllButBlockDrawing;
}

void drawEntitiesSection(FullRun& run, SectionOrder& order) {
  prepareUcsRotation(run.run);
  // Groups before the section's first entity belong to none: passed over.
  PairReader& pairs = run.pairs;
  bool more = true;
  while (more && pairs.code() != 0) more = pairs.next();
  drawSectionEntities(run, entitiesDrawn(order), order);
  run.run.entitiesRead = true;
  // Drawing stopped early (the bound on host objects): the rest of the
  // section is read, and passed over.
  if (!run.run.in.cancelled()) forEachRecord(run, [](const RecordView&) {});
}

void skipSection(FullRun& run) {
  forEachRecord(run, [](const RecordView&) {});
}

// Reads one section from its 2/NAME pair on, up to the pair that ends it.
// On the return to the entities that waited for the blocks, only ENTITIES
// sections are read, up to the first BLOCKS section: false there.
bool readSection(FullRun& run, SectionOrder& order) {
  PairReader& pairs = run.pairs;
  if (!pairs.next()) return true;
  if (pairs.code() != 2) {
    skipSection(run);
    return true;
  }
  const std::string name(pairs.keyword());
  if (order.returning && name == "BLOCKS") return false;
  if (name == "HEADER" && !order.returning) {
    readHeader(run);
    return true;
  }
  if (!pairs.next()) return true;
  if (name == "ENTITIES")
    drawEntitiesSection(run, order);
  else if (order.returning)
    skipSection(run);
  else if (name == "TABLES")
    readTables(run);
  else if (name == "BLOCKS")
    readBlocks(run, order);
  else
    skipSection(run);
  return true;
}

// One pass over the file by pairs; true when it met the 0/EOF pair.
bool readSections(FullRun& run, SectionOrder& order) {
  PairReader& pairs = run.pairs;
  bool more = pairs.next();
  while (more && !run.stopped()) {
    if (pairs.isMarker("EOF")) return true;
    if (!pairs.isMarker("SECTION")) {
      more = pairs.next();
      continue;
    }
    order.sectionMet = true;
    if (!readSection(run, order)) break;
    // A section ends at its 0/ENDSEC, or where the next section or the end
    // marker starts; a stopped run reads nothing more.
    if (run.run.in.endOfFile() || run.stopped()) break;
    if (pairs.isMarker("ENDSEC")) more = pairs.next();
  }
  return false;
}

// Back to the start of the file for the entities that waited for the
// blocks, read again from the sections before the first BLOCKS section:
// the blocks are known now. The reader's end is put back as the pass left
// it.
void drawWaitingEntities(FullRun& run, SectionOrder& order) {
  DxfReader& in = run.run.in;
  const DxfReader::EndState passEnd = in.endState();
  // The entities read again were counted by the first reading when too
  // large to read.
  const NameTally tooLarge = run.record.oversizedRecords();
  in.rewind();
  order.returning = true;
  readSections(run, order);
  order.returning = false;
  run.record.restoreOversizedRecords(tooLarge);
  if (!run.run.outOfMemory) in.restoreEndState(passEnd);
}

// What the run left out, in one message box: the block references it could
// not draw (for each reason, how many and the first few blocks named), the
// entities too large to read, the entities drawn in a lesser form, and the
// bound that stopped it, if one did.
struct SkipText {
  SkipReason reason;
  const char* text;
};
constexpr SkipText kSkipTexts[] = {
    {SkipReason::MissingBlock, "block not in the drawing"},
    {SkipReason::DrawsItself, "block that draws itself"},
    {SkipReason::TooDeep, "nested more than 32 deep"},
    {SkipReason::TooManyCells, "array of more than 10000000 cells"},
    {SkipReason::NotFinite, "coordinates out of range"},
    {SkipReason::TooManyObjects, "more than 5000000 objects to draw in all"},
    {SkipReason::TooManyPoints, "more than 64000000 polyline points to draw in all"},
    {SkipReason::TooMuchText, "more than 134217728 bytes of text to draw in all"},
    {SkipReason::TooMuchWork, "more work than the import may do in all"},
};
static_assert(sizeof kSkipTexts / sizeof kSkipTexts[0] == kSkipReasonCount, "a text for every reason");
static_assert(FullRun::kMostObjects == 5'000'000 && FullRun::kMostPoints == 64'000'000 &&
                  FullRun::kMostTextBytes == 134'217'728 && FullRun::kMostCells == 10'000'000,
              "the texts name the bounds");

// An entity drawn in a lesser form: the text for one and for several.
struct LessenedText {
  Lessened how;
  const char* one;
  const char* several;
};
constexpr LessenedText kLessenedTexts[] = {
    {Lessened::DensePattern, "hatch pattern too dense to draw", "hatch patterns too dense to draw"},
    {Lessened::LongText, "text cut to 65536 bytes", "texts cut to 65536 bytes"},
    {Lessened::LongCurve, "spline too long to work out, drawn by its control points",
     "splines too long to work out, drawn by their control points"},
};
static_assert(FullRun::kMostBytesPerText == 65536, "the text names the bound");

// Appends to a bounded text, like snprintf at its end.
__attribute__((format(printf, 3, 4))) void append(char* text, size_t size, const char* format, ...) {
  const size_t used = std::strlen(text);
  va_list values;
  va_start(values, format);
  std::vsnprintf(text + used, size - used, format, values);
  va_end(values);
}

// "A, B, C" and ", ..." when more names were met.
void appendNames(char* text, size_t size, const NameTally& tally) {
  for (int i = 0; i < tally.names; ++i) append(text, size, "%s%s", i == 0 ? "" : ", ", tally.name[i]);
  if (tally.moreNames) append(text, size, ", ...");
}

// The stop that a bound made, or null.
const char* boundThatStopped(const FullRun& run, char* text, size_t size) {
  const char* const rest = ": the rest of the drawing was not drawn.";
  if (run.objectsCreated >= FullRun::kMostObjects)
    std::snprintf(text, size, "The import stopped at %" PRId64 " objects%s", FullRun::kMostObjects, rest);
  else if (run.pointsCreated >= run.mostPoints)
    std::snprintf(text, size, "The import stopped at %" PRId64 " polyline points%s", run.mostPoints, rest);
  else if (run.textBytesCreated >= FullRun::kMostTextBytes)
    std::snprintf(text, size, "The import stopped at %" PRId64 " bytes of text%s", FullRun::kMostTextBytes, rest);
  else if (run.workSpent())
    std::snprintf(text, size, "The import stopped at the most work it may do%s", rest);
  else
    return nullptr;
  return text;
}

void reportSkippedReferences(const FullRun& run) {
  int64_t total = 0;
  for (const NameTally& reason : run.skipped) total += reason.count;
  const NameTally& tooLarge = run.record.oversizedRecords();
  int64_t lessened = 0;
  for (int64_t count : run.lessened) lessened += count;
  char stop[160];
  const char* const stopped = boundThatStopped(run, stop, sizeof stop);
  if (total == 0 && tooLarge.count == 0 && lessened == 0 && !stopped) return;
  char message[4096] = "DXF Loader";
  if (total > 0) {
    append(message, sizeof message, "\n%" PRId64 " block reference%s not drawn:", total,
           total == 1 ? " was" : "s were");
    for (const SkipText& skip : kSkipTexts) {
      const NameTally& reason = run.skipped[static_cast<int>(skip.reason)];
      if (reason.count == 0) continue;
      append(message, sizeof message, "\n  %s: ", skip.text);
      appendNames(message, sizeof message, reason);
      append(message, sizeof message, reason.names > 0 ? " (%" PRId64 ")" : "%" PRId64, reason.count);
    }
  }
  if (tooLarge.count > 0 && tooLarge.names == 1 && !tooLarge.moreNames) {
    append(message, sizeof message, "\n%" PRId64 " %s too large to read", tooLarge.count, tooLarge.name[0]);
  } else if (tooLarge.count > 0) {
    append(message, sizeof message, "\n%" PRId64 " entities too large to read: ", tooLarge.count);
    appendNames(message, sizeof message, tooLarge);
  }
  for (const LessenedText& how : kLessenedTexts) {
    const int64_t count = run.lessened[static_cast<int>(how.how)];
    if (count > 0) append(message, sizeof message, "\n%" PRId64 " %s", count, count == 1 ? how.one : how.several);
  }
  if (stopped) append(message, sizeof message, "\n%s", stopped);
  OrvUtilDialogMessageBox(message, OrvMessageBox_Information);
}

}  // namespace
}  // namespace full

bool readFully(Run& run) {
  beginPass(run);
  full::FullRun reading(run);
  full::SectionOrder order;
  bool endMarkerMet = false;
  try {
    endMarkerMet = full::readSections(reading, order);
    if (order.waiting > 0 && !reading.stopped() && !reading.boundReached()) full::drawWaitingEntities(reading, order);
    // Drawings whose ENTITIES hold nothing at all stand in their blocks;
    // entities that drew nothing (refused references, kinds switched off)
    // are entities all the same.
    if (!order.entityMet && !reading.stopped() && reading.blocks.count() > 0) {
      prepareUcsRotation(run);
      full::drawNamedBlocks(reading);
    }
  } catch (const std::bad_alloc&) {
    // The heap could not hold a record or a block: the run stops as on any
    // other failed growth of its tables.
    run.runOutOfMemory();
  }
  endPass(run, endMarkerMet, reading.pointExtents());
  if (!run.outOfMemory) full::reportSkippedReferences(reading);
  // A stopped run may not have come to a section yet.
  return order.sectionMet || reading.stopped();
}

}  // namespace drawport
