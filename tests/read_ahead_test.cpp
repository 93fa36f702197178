// Reading a large drawing's entities ahead of their drawing, on a second
// thread: the host must see exactly what it sees when the file is read in
// step with the drawing (every call, in order, with its arguments), whatever
// the drawing holds and wherever the import stops.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

constexpr int64_t kNever = INT64_MAX;

// How an import reads the entities: in step with the drawing, or read ahead
// with what follows from each record alone (common groups, a polyline's or
// a spline's points, a text) worked out ahead for every one, for none, or
// as the add-on does, while the drawing is behind (which depends on timing:
// any mix must draw alike).
enum class Way { InStep, AheadPreparingAll, AheadPreparingNone, AheadPreparingWhileBehind };

// What the host saw of one import.
struct Seen {
  std::optional<bool> result;
  std::string journal;
  std::string objects;
};

class ReadAheadTest : public AddOnTest {
 protected:
  // Imports `path` in a session of its own, the `way` given.
  Seen importFile(const std::string& path, Way way, int64_t stopFromCheck = 0) {
    config.stopFromCheck = stopFromCheck;
    config.macroRecording = true;
    start(true);
    readAheadFrom(way == Way::InStep ? kNever : 0);
    prepareAhead(way == Way::AheadPreparingAll ? 1 : way == Way::AheadPreparingWhileBehind ? 0 : 2);
    mostPolylinePoints(mostPoints);
    host().journal().clear();
    Seen seen;
    seen.result = macro(instructionFor(path, "-X")).result;
    seen.journal = journal();
    seen.objects = objects();
    TearDown();
    return seen;
  }
  void expectSeenAlike(const std::string& path, int64_t stopFromCheck = 0) {
    const Seen inStep = importFile(path, Way::InStep, stopFromCheck);
    for (const Way way : {Way::AheadPreparingAll, Way::AheadPreparingNone, Way::AheadPreparingWhileBehind}) {
      SCOPED_TRACE(static_cast<int>(way));
      const Seen ahead = importFile(path, way, stopFromCheck);
      EXPECT_EQ(ahead.result, inStep.result);
      EXPECT_EQ(ahead.journal, inStep.journal);
      EXPECT_EQ(ahead.objects, inStep.objects);
    }
  }
  int64_t mostPoints = 0;  // the bound on polyline points (0: the add-on's own)
};

// Lines, a polyline whose vertices run across several batches of records,
// and an INSERT with attributes: some 10,000 lines of file, six percent-done
// checks.
std::string longDrawing() {
  std::string entities;
  for (int i = 0; i < 300; ++i) entities += lineEntity(i, 0, i, 1);
  entities += polyline(numberedVertices(400));
  entities += entity("INSERT", {{2, "PART"}, {10, 5.0}, {20, 5.0}, {66, 1}}) +
              entity("ATTRIB", {{1, "A-1"}, {10, 5.0}, {20, 6.0}, {40, 1.0}, {2, "TAG"}}) + entity("SEQEND");
  for (int i = 0; i < 200; ++i) entities += entity("CIRCLE", {{10, 1.0 * i}, {20, 2.0}, {40, 0.5}});
  const std::string blocks = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nPART\n 10\n0\n 20\n0\n" +
                             lineEntity(0, 0, 2, 2) + entity("ENDBLK") + "  0\nENDSEC\n";
  return blocks + entitiesSection(entities);
}

TEST_F(ReadAheadTest, EveryExampleDrawsAlike) {
  for (const auto& file : std::filesystem::directory_iterator(DRAWPORT_EXAMPLES_DIR)) {
    if (file.path().extension() != ".dxf") continue;
    SCOPED_TRACE(file.path().filename().string());
    expectSeenAlike(file.path().string());
  }
}

TEST_F(ReadAheadTest, EndsOfTheEntitiesDrawAlike) {
  const std::string drawing = longDrawing();
  const std::string entities = drawing.substr(0, drawing.rfind("  0\nENDSEC\n"));
  struct Case {
    const char* name;
    std::string file;
  };
  const Case cases[] = {
      {"the file ends without 0/ENDSEC", entities},
      {"the last entity cut off by the file's end", entities + entity("LINE", {{10, 1.0}})},
      {"the last line without its line end", entities + "  0\nEOF"},
      {"a section starts within the entities", entities + "  0\nSECTION\n  2\nENTITIES\n" + lineEntity(7, 7, 8, 8) +
                                                   "  0\nENDSEC\n  0\nEOF\n"},
      {"no entities", dxfFile(entitiesSection(""))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectSeenAlike(files.write("drawing.dxf", c.file));
  }
}

// The drawing keeps the encoding it chose for the file's first texts; texts
// worked out ahead keep it too, whatever a later header says.
TEST_F(ReadAheadTest, TextsAfterALaterHeaderDrawAlike) {
  auto header = [](const char* codePage) {
    return std::string("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\n") + codePage +
           "\n  0\nENDSEC\n";
  };
  const std::string note = entity("TEXT", {{10, 0.0}, {20, 0.0}, {40, 1.0}, {1, "\xcf\xf0\xe8"}}) +
                           entity("MTEXT", {{10, 0.0}, {20, 5.0}, {40, 1.0}, {1, "\xcf\\P\xe8"}});
  const std::string drawing =
      header("ANSI_1251") + entitiesSection(note) + header("ANSI_1253") + entitiesSection(note) + "  0\nEOF\n";
  expectSeenAlike(files.write("drawing.dxf", drawing));
}

// Points and texts beyond the sizes a batch carries are worked out again by
// the drawing: a path of 400 half circles (18,000 points), a note of 80 KB.
TEST_F(ReadAheadTest, EntitiesTooLargeToCarryWorkedOutDrawAlike) {
  std::string path = "  0\nLWPOLYLINE\n  8\n0\n 90\n400\n";
  for (int i = 0; i < 400; ++i) path += " 10\n" + std::to_string(i) + "\n 20\n0\n 42\n1\n";
  std::string note = "  0\nMTEXT\n  8\n0\n 10\n0\n 20\n0\n 40\n1\n";
  for (int i = 0; i < 40; ++i) note += "  3\n" + std::string(1990, 'a') + "\\P\n";
  const std::string drawing = entitiesSection(path + note + "  0\nMTEXT\n 40\n1\n  1\nshort\n");
  expectSeenAlike(files.write("drawing.dxf", dxfFile(drawing)));
}

// The bound on polyline points, lowered to 1080, leaves the eighth of twenty
// closed outlines of three half turns its 135 points but not the return to
// its start: seven are drawn, and nothing after them, whether their paths
// were worked out ahead or not.
TEST_F(ReadAheadTest, ReachingTheBoundOnPolylinePointsDrawsAlike) {
  mostPoints = 1080;
  const auto halfTurnFrom = [](double x, double y) { return groups({{10, x}, {20, y}, {42, 1.0}}); };
  std::string outlines;
  for (int i = 0; i < 20; ++i)
    outlines += entity("LWPOLYLINE", {{90, 3}, {70, 1}}) + halfTurnFrom(2.0 * i, 0) + halfTurnFrom(2.0 * i + 1, 0) +
                halfTurnFrom(2.0 * i + 1, 1);
  const std::string path = files.write("drawing.dxf", dxfFile(entitiesSection(outlines + lineEntity(0, 5, 1, 5))));
  const Seen inStep = importFile(path, Way::InStep);
  EXPECT_THAT(inStep.journal, ::testing::HasSubstr("The import stopped at 1080 polyline points"));
  // Seven polylines, each an anchor "@(...)" and 136 points "(...)".
  EXPECT_EQ(std::count(inStep.objects.begin(), inStep.objects.end(), '\n'), 7);
  EXPECT_EQ(std::count(inStep.objects.begin(), inStep.objects.end(), '@'), 7);
  EXPECT_EQ(std::count(inStep.objects.begin(), inStep.objects.end(), '('), 7 * 137);
  expectSeenAlike(path);
}

// Work that takes a record past one check's worth (a spline of degree 25,
// thousands of steps a point) is given up by the reading thread and done by
// the drawing, whose checks then come inside it: unstopped, and stopped at
// each of those checks, it draws alike.
TEST_F(ReadAheadTest, WorkTooLongToDoAheadDrawsAlike) {
  std::string spline = entity("SPLINE", {{70, 8}, {71, 25}, {72, 176}, {73, 150}});
  for (int i = 0; i < 176; ++i) spline += groups({{40, i}});
  for (int i = 0; i < 150; ++i) spline += groups({{10, i}, {20, i % 2 == 0 ? 0 : 100}});
  const std::string path =
      files.write("drawing.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1) + spline + lineEntity(2, 2, 3, 3))));
  for (const int64_t check : {0, 1, 2, 5}) {
    SCOPED_TRACE(check);
    expectSeenAlike(path, check);
  }
}

TEST_F(ReadAheadTest, StoppingAtEachCheckDrawsAlike) {
  const std::string drawing = longDrawing();
  // Without its end the reading ahead meets the file's end long before the
  // drawing stops: the import must still be recorded as a stopped one is.
  const std::string files[] = {dxfFile(drawing), drawing.substr(0, drawing.rfind("  0\nENDSEC\n"))};
  for (const std::string& file : files) {
    const std::string path = this->files.write("drawing.dxf", file);
    for (int64_t check = 1; check <= 6; ++check) {
      SCOPED_TRACE(check);
      expectSeenAlike(path, check);
    }
  }
}

TEST_F(ReadAheadTest, RunningOutOfMemoryAnywhereFailsTheImportAsAWhole) {
  const std::string path = files.write("drawing.dxf", dxfFile(longDrawing()));
  const std::string wholeDrawing = importFile(path, Way::AheadPreparingAll).objects;
  // Which thread's allocation fails varies from run to run; each failure
  // ends the import as out of memory, until the failing one comes after the
  // last allocation and the import is whole.
  for (int call = 1; call < 2000; call += 3) {
    SCOPED_TRACE(call);
    start(true);
    readAheadFrom(0);
    prepareAhead(1);
    failAllocation(call);
    const bool imported = macro(instructionFor(path, "-X")).result == true;
    EXPECT_EQ(messages(), imported ? "" : "error: DXF Loader: Out of memory\n");
    const std::string drawn = objects();
    TearDown();
    if (imported) {
      EXPECT_EQ(drawn, wholeDrawing);
      EXPECT_GT(call, 30);
      break;
    }
  }
}

}  // namespace
}  // namespace drawport::testing
