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

void readBlocks(FullRun& run) {
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

// Draws the section's entities: read ahead of the drawing when the file is
// large and a thread can be started for it, else read in step.
void drawSectionEntities(FullRun& run) {
  if (run.run.settings.fileSize >= readAheadPolicy().smallestFile) {
    ReadAheadEntities ahead(run);
    if (ahead.start()) {
      drawEntities(run, ahead, Placement{});
      ahead.finish();
      return;
    }
  }
  FileEntities inStep(run);
  drawEntities(run, inStep, Placement{});
}

void drawEntitiesSection(FullRun& run) {
  prepareUcsRotation(run.run);
  // Groups before the section's first entity belong to none: passed over.
  PairReader& pairs = run.pairs;
  bool more = true;
  while (more && pairs.code() != 0) more = pairs.next();
  drawSectionEntities(run);
  run.run.entitiesRead = true;
  // Drawing stopped early (the bound on host objects): the rest of the
  // section is read, and passed over.
  if (!run.run.in.cancelled()) forEachRecord(run, [](const RecordView&) {});
}

void skipSection(FullRun& run) {
  forEachRecord(run, [](const RecordView&) {});
}

// Reads one section from its 2/NAME pair on, up to the pair that ends it.
void readSection(FullRun& run) {
  PairReader& pairs = run.pairs;
  if (!pairs.next()) return;
  if (pairs.code() != 2) return skipSection(run);
  const std::string name(pairs.keyword());
  if (name == "HEADER") return readHeader(run);
  if (!pairs.next()) return;
  if (name == "TABLES") return readTables(run);
  if (name == "BLOCKS") return readBlocks(run);
  if (name == "ENTITIES") return drawEntitiesSection(run);
  skipSection(run);
}

// One pass over the file by pairs; true when it met the 0/EOF pair.
bool readSections(FullRun& run) {
  PairReader& pairs = run.pairs;
  bool more = pairs.next();
  while (more && !run.stopped()) {
    if (pairs.isMarker("EOF")) return true;
    if (!pairs.isMarker("SECTION")) {
      more = pairs.next();
      continue;
    }
    readSection(run);
    // A section ends at its 0/ENDSEC, or where the next section or the end
    // marker starts; a stopped run reads nothing more.
    if (run.run.in.endOfFile() || run.stopped()) break;
    if (pairs.isMarker("ENDSEC")) more = pairs.next();
  }
  return false;
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

void readFully(Run& run) {
  beginPass(run);
  full::FullRun reading(run);
  bool endMarkerMet = false;
  try {
    endMarkerMet = full::readSections(reading);
    if (!run.entitiesFound && !reading.stopped() && reading.blocks.count() > 0) {
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
}

}  // namespace drawport
