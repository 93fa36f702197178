// Hostile input: drawings cut off anywhere, lines of any length, odd bytes
// and numbers, huge layer tables, file names that are no files, instruction
// strings of any shape, and for the full reading records, counts, blocks and
// transforms out of all proportion. Every case runs in both readings (an
// instruction string without and with -X), and every run ends in order: no
// crash, the host's rules kept (the fixture checks them), no file left open.
#include <dirent.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string_view>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

using ::testing::IsEmpty;

int openDescriptors() {
  int count = 0;
  if (DIR* directory = ::opendir("/proc/self/fd")) {
    while (::readdir(directory)) ++count;
    ::closedir(directory);
  }
  return count;
}

std::string readExample(const std::string& name) {
  std::ifstream in(std::string(DRAWPORT_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The instruction-string flags of a reading.
struct Reading {
  const char* name;
  const char* flags;
};
constexpr Reading kClassic{"Classic", ""};
constexpr Reading kFull{"Full", "-X"};

class HostileInputTest : public AddOnTest, public ::testing::WithParamInterface<Reading> {
 protected:
  bool full() const { return std::string_view(GetParam().flags) == kFull.flags; }
  // `flags` followed by the reading's flags.
  std::string with(const std::string& flags = "") const {
    return flags.empty() || !full() ? flags + GetParam().flags : flags + " " + GetParam().flags;
  }
  // An instruction string ending in the reading's flags.
  std::string instructionIn(const std::string& text) const { return full() ? text + " -X" : text; }
  // Imports `content` and checks what every import must leave behind: no
  // descriptor open, no string held beyond the add-on's own three, the
  // percent-done dialog gone and drawing resumed.
  orvhost::MacroOutcome importChecked(const std::string& content, const std::string& flags = "") {
    const int before = openDescriptors();
    const orvhost::MacroOutcome outcome = importText(content, with(flags));
    EXPECT_EQ(openDescriptors(), before) << "a file left open";
    EXPECT_EQ(host().heldStrings().size(), 3u);
    EXPECT_FALSE(host().percentDoneShown());
    EXPECT_FALSE(host().drawingSuspended());
    EXPECT_THAT(host().violations(), IsEmpty());
    return outcome;
  }
  // Imports `content` into an empty frame, checked; the messages it showed.
  std::string shownByFreshImport(const std::string& content) {
    host().frame().clear();
    const size_t shownBefore = messages().size();
    importChecked(content);
    return messages().substr(shownBefore);
  }
};

TEST_P(HostileInputTest, ADrawingCutAtAnyLineIsNeitherRecordedNorFitted) {
  config.macroRecording = true;
  start();
  const std::string drawing = readExample("floor-plan.dxf");
  const size_t marker = drawing.rfind("EOF");
  ASSERT_NE(marker, std::string::npos);
  for (size_t cut = drawing.find('\n'); cut != std::string::npos && cut < marker; cut = drawing.find('\n', cut + 1)) {
    SCOPED_TRACE(cut);
    importChecked(drawing.substr(0, cut + 1));
    ASSERT_THAT(host().macros(), IsEmpty());
    ASSERT_EQ(host().viewFits(), 0);
  }
  EXPECT_EQ(importChecked(drawing).result, true);
  EXPECT_EQ(host().macros().size(), 1u);
}

TEST_P(HostileInputTest, ADrawingCutAtAnyByteEndsInOrder) {
  config.macroRecording = true;
  start();
  const std::string drawing = readExample("machine-part.dxf");
  const size_t marker = drawing.rfind("EOF");
  for (size_t cut = 1; cut < marker; cut += 1 + cut / 9) {
    SCOPED_TRACE(cut);
    importChecked(drawing.substr(0, cut));
    ASSERT_THAT(host().macros(), IsEmpty());
    ASSERT_EQ(host().viewFits(), 0);
  }
}

// A drawing with one overlong line standing in the place named.
std::string withLongLine(const std::string& place, size_t length) {
  const std::string longLine(length, 'W');
  std::string entity;
  if (place == "code") entity = "  0\nLINE\n" + std::string(length, ' ') + "8\nL\n 10\n1\n 11\n2\n";
  if (place == "keyword") entity = "  0\n" + longLine + "\n  0\nLINE\n 10\n1\n 11\n2\n";
  if (place == "layer") entity = "  0\nLINE\n  8\n" + longLine + "\n 10\n1\n 11\n2\n";
  if (place == "text") entity = "  0\nTEXT\n 10\n1\n 40\n1\n  1\n" + longLine + "\n  0\nLINE\n 10\n1\n 11\n2\n";
  return dxfFile(entitiesSection(entity + lineEntity(5, 5, 6, 6)));
}

TEST_P(HostileInputTest, LinesOfAnyLengthInAnyPlace) {
  start();
  for (const char* place : {"code", "keyword", "layer", "text"}) {
    for (size_t length : {1998u, 1999u, 2000u, 2001u, 100000u}) {
      SCOPED_TRACE(std::string(place) + " " + std::to_string(length));
      // A line cut in pieces puts codes and values out of step after it:
      // whatever that reads as, the import ends in order.
      importChecked(withLongLine(place, length));
    }
  }
}

TEST_P(HostileInputTest, ALineOf1998CharactersIsKeptWhole) {
  start();
  const std::string text = "  0\nTEXT\n 10\n1\n 40\n1\n  1\n" + std::string(1998, 't') + "\n";
  ASSERT_EQ(importChecked(dxfFile(entitiesSection(text))).result, true);
  ASSERT_EQ(host().frame().objects().size(), 1u);
  EXPECT_EQ(host().frame().text(host().frame().objects()[0]), std::string(1998, 't'));
}

TEST_P(HostileInputTest, NulBytesAndCarriageReturnsAlone) {
  start();
  const std::string nul("\0", 1);
  const struct {
    const char* what;
    std::string content;
    const char* objects;
  } cases[] = {
      {"a NUL in a value", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1, "  8\nA" + nul + "B\n"))),
       "line2 (0,0)-(1,1) c0\n"},
      {"a NUL in a text", dxfFile(entitiesSection("  0\nTEXT\n  1\nab" + nul + "cd\n 40\n1\n")),
       "text (0,0) h1 a0 \"ab\" c0\n"},
      {"only NULs", std::string(5000, '\0'), ""},
      {"carriage returns alone", "  0\rSECTION\r  2\rENTITIES\r  0\rLINE\r 11\r1\r  0\rENDSEC\r  0\rEOF\r", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host().frame().clear();
    importChecked(c.content);
    EXPECT_EQ(objects(), c.objects);
  }
}

TEST_P(HostileInputTest, OddNumbersAsCoordinatesCodesAndColours) {
  start();
  const struct {
    const char* number;
    const char* asCoordinate;  // the line from (number, 0) to (1, 1)
    const char* asColour;      // the host colour of a line with that colour
    // Where the full reading differs: it draws no line to a point beyond the
    // range of numbers, transforms -0 to 0, and takes colour 10 as red.
    const char* fullCoordinate = nullptr;
    const char* fullColour = nullptr;
  } cases[] = {
      {"1e999", "line2 (inf,0)-(1,1) c0\n", "c1", ""},
      {"-0", "line2 (-0,0)-(1,1) c0\n", "c0", "line2 (0,0)-(1,1) c0\n"},
      {"00010", "line2 (10,0)-(1,1) c0\n", "c0", nullptr, "c1"},
      {"+5", "line2 (5,0)-(1,1) c0\n", "c3"},
      {"5e", "line2 (5,0)-(1,1) c0\n", "c3"},
      {".5", "line2 (0.5,0)-(1,1) c0\n", "c0"},
      {"5.", "line2 (5,0)-(1,1) c0\n", "c3"},
      {"99999999999", "line2 (99999999999,0)-(1,1) c0\n", "c0"},
      {"-99999999999", "line2 (-99999999999,0)-(1,1) c0\n", "c0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    host().frame().clear();
    const std::string coordinate = "  0\nLINE\n 10\n" + std::string(c.number) + "\n 20\n0\n 11\n1\n 21\n1\n";
    importChecked(dxfFile(entitiesSection(coordinate)));
    EXPECT_EQ(objects(), full() && c.fullCoordinate ? c.fullCoordinate : c.asCoordinate);
    host().frame().clear();
    importChecked(dxfFile(entitiesSection(lineEntity(0, 0, 1, 1, " 62\n" + std::string(c.number) + "\n"))));
    ASSERT_EQ(host().frame().objects().size(), 1u);
    EXPECT_EQ("c" + std::to_string(*host().frame().objects()[0].color),
              full() && c.fullColour ? c.fullColour : c.asColour);
    // As a group code: a code no converter takes, whose value is passed over.
    host().frame().clear();
    importChecked(dxfFile(entitiesSection(lineEntity(0, 0, 1, 1, std::string(c.number) + "\n 11\n"))));
  }
}

TEST_P(HostileInputTest, LayerNamesOfAnyLengthAndHundredThousandLayers) {
  start();
  std::string table = "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n";
  const std::string name254(254, 'a'), name255(255, 'b'), name10000(10000, 'c');
  for (const std::string& name : {name254, name255, name10000}) table += "  0\nLAYER\n  2\n" + name + "\n 62\n1\n";
  for (int i = 0; i < 100000; ++i)
    table += "  0\nLAYER\n  2\nLayer" + std::to_string(i) + "\n 62\n" + std::to_string(i % 9 + 1) + "\n";
  table += "  0\nENDTAB\n  0\nENDSEC\n";
  const auto on = [](const std::string& layer) { return lineEntity(0, 0, 1, 1, "  8\n" + layer + "\n"); };
  const std::string lines = on(name254) + on(name255) + on(name255.substr(0, 254)) + on("LAYER99999") + on("layer5");
  ASSERT_EQ(importChecked(dxfFile(table + entitiesSection(lines))).result, true);
  std::string colours;
  for (const auto& object : host().frame().objects()) colours += std::to_string(*object.color) + " ";
  // 254 characters are kept; a longer name is cut to them, so the 255th
  // character's name finds no layer; the 100000th layer has DXF colour 1.
  EXPECT_EQ(colours, "1 0 1 1 14 ");
}

TEST_P(HostileInputTest, FileNamesOfTheBuffersLength) {
  start();
  const std::string longest = "/" + std::string(9998, 'f');
  const std::string tooLong = longest + "f";
  EXPECT_EQ(macro(instructionFor(longest, with())).result, false);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(macro(instructionFor(tooLong, with())).result, false);
  EXPECT_EQ(messages(), "box: DXF Loader:\\nInvalid parameter string. Some default settings may be used.\n");
  EXPECT_EQ(macro("F10000:" + tooLong + "@").result, false);
  EXPECT_EQ(macro("F9999:" + longest + "@").errorText, "Error reading file");
}

TEST_P(HostileInputTest, NamesThatAreNoFilesAreNotRead) {
  start();
  const std::string fifo = files.path() + "/fifo.dxf";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& name : {files.path(), fifo, std::string("/dev/zero"), std::string("/dev/tty")}) {
    SCOPED_TRACE(name);
    const int before = openDescriptors();
    EXPECT_EQ(macro(instructionFor(name, with())).result, false);
    EXPECT_EQ(openDescriptors(), before);
  }
  EXPECT_EQ(messages(), "");
}

TEST_P(HostileInputTest, AFileRemovedAfterItWasMeasuredCannotBeOpened) {
  start();
  const std::string path = files.write("gone.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
  // The 3D import asks the host for its data set between measuring the file
  // and opening it.
  host().config().onCall = [&](std::string_view operation) {
    if (operation == "OrvUtilDataSetIsAvailable") ::unlink(path.c_str());
  };
  EXPECT_EQ(macro(instructionFor(path, with("-P2"))).result, false);
  host().config().onCall = nullptr;
  EXPECT_EQ(messages(), "error: Can't open input file\n");
}

TEST_P(HostileInputTest, AFileLargerThanA32BitSizeIsTooLarge) {
  start();
  const std::string path = files.path() + "/huge.dxf";
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::ftruncate(descriptor, off_t{1} << 31), 0) << "no sparse file of 2 GiB here";
  ::close(descriptor);
  EXPECT_EQ(macro(instructionFor(path, with())).result, false);
  EXPECT_EQ(messages(), "error: File too large\n");
  EXPECT_EQ(journal({"OrvUtilDialogLaunchPercentDone"}), "");
}

TEST_P(HostileInputTest, InstructionStringsOfAnyShape) {
  start();
  const std::string path = files.write("plan.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"a million characters", instructionFor(path) + std::string(1000000, ' ') + "-VL"},
      {"a million flags", instructionFor(path) +
                              [] {
                                std::string flags;
                                for (int i = 0; i < 200000; ++i) flags += " -VL";
                                return flags;
                              }()},
      {"dashes only", std::string(100000, '-')},
      {"backslashes only", std::string(100000, '\\')},
      {"an open bracket of backslashes", "-F[" + std::string(100000, '\\')},
      {"a compact count beyond the string", "F99999:ab@"},
      {"a compact count beyond 32 bits", "F99999999999999999999:ab@"},
      {"a compact count of nothing", "F:ab@"},
      {"a negative compact count", "F-3:ab@"},
      {"a compact name without its colon", "F3ab@"},
      {"bytes of every value",
       [] {
         std::string all = "-F[";
         for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
         return all;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const orvhost::MacroOutcome outcome = macro(instructionIn(c.text));
    ASSERT_TRUE(outcome.result.has_value());
    if (!*outcome.result) {
      EXPECT_EQ(outcome.errorText, "Error reading file");
    }
  }
  EXPECT_THAT(host().violations(), IsEmpty());
  // The million-flag string is an import of lines like any other.
  EXPECT_EQ(host().frame().objects().size(), 2u);
}

// --- Drawings out of all proportion, as the full reading meets them ---

std::string blocksSection(const std::string& blocks) {
  return "  0\nSECTION\n  2\nBLOCKS\n" + blocks + "  0\nENDSEC\n";
}
std::string block(const std::string& name, const std::string& entities) {
  return entity("BLOCK", {{2, name}, {70, 0}, {10, 0.0}, {20, 0.0}, {30, 0.0}}) + entities + entity("ENDBLK");
}
std::string insert(const std::string& name, std::initializer_list<Group> more = {}) {
  return entity("INSERT", {{2, name}, {10, 0.0}, {20, 0.0}, {30, 0.0}}) + groups(more);
}
std::string line(double x1, double y1, double x2, double y2) {
  return entity("LINE", {{10, x1}, {20, y1}, {11, x2}, {21, y2}});
}
std::string repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}
std::string vertex(std::initializer_list<Group> vertexGroups) { return entity("VERTEX", vertexGroups); }

// Blocks B0 to B(count - 1), each inserting the next, with a line in B31
// and B32: drawn 32 references deep, and one deeper.
std::string nestedBlocks(int count) {
  std::string blocks;
  for (int i = 0; i < count; ++i) {
    const std::string inner = i + 1 < count ? insert("B" + std::to_string(i + 1)) : "";
    blocks += block("B" + std::to_string(i), (i == 31 || i == 32 ? line(i, 0, i, 1) : "") + inner);
  }
  return blocks;
}

struct HostileDrawing {
  const char* what;
  std::string dxf;
  const char* drawn;  // by the full reading
  std::string shown;  // by the full reading
};

TEST_P(HostileInputTest, CountsBlocksAndTransformsOutOfAllProportion) {
  start();
  // Each drawing whose references are all refused ends with a line of its
  // own, so that the blocks are not drawn as the fallback of a drawing that
  // holds nothing.
  const std::string ownLine = line(5, 5, 6, 6);
  const std::string lineB = block("B", line(0, 0, 1, 1));
  // The message box of the references not drawn, up to its reasons.
  const std::string notDrawn = "box: DXF Loader\\n1 block reference was not drawn:\\n";
  const std::string notDrawnTwice = "box: DXF Loader\\n2 block references were not drawn:\\n";
  const char* const ownLineDrawn = "line2 (5,5)-(6,6) c0\n";
  // A closed outline of three half turns: 135 polyline points.
  const std::string halfTurns = entity("LWPOLYLINE", {{90, 3}, {70, 1}}) + groups({{10, 0.0}, {20, 0.0}, {42, 1.0}}) +
                                groups({{10, 1.0}, {20, 0.0}, {42, 1.0}}) + groups({{10, 1.0}, {20, 1.0}, {42, 1.0}});
  const HostileDrawing cases[] = {
      {"an LWPOLYLINE promising 2^31 vertices with three",
       dxfFile(entitiesSection(entity(
           "LWPOLYLINE", {{90, "2147483648"}, {10, 0.0}, {20, 0.0}, {10, 1.0}, {20, 0.0}, {10, 1.0}, {20, 1.0}}))),
       "poly2 @(0,0,0) (0,0) (1,0) (1,1) c0\n", ""},
      {"a polyface whose faces name vertices it lacks: 0, negative, huge",
       dxfFile(entitiesSection(
           entity("POLYLINE", {{66, 1}, {70, 64}, {71, 3}, {72, 6}}) + vertex({{10, 0.0}, {20, 0.0}, {70, 192}}) +
           vertex({{10, 1.0}, {20, 0.0}, {70, 192}}) + vertex({{10, 1.0}, {20, 1.0}, {70, 192}}) +
           vertex({{70, 128}, {71, 1}, {72, 2}, {73, 3}}) + vertex({{70, 128}, {71, 0}, {72, 1}, {73, 2}}) +
           vertex({{70, 128}, {71, -4}, {72, 1}, {73, 2}}) + vertex({{70, 128}, {71, 1}, {72, "2147483647"}, {73, 2}}) +
           vertex({{70, 128}, {71, "-2147483648"}, {72, 1}, {73, 2}}) +
           vertex({{70, 128}, {71, "99999999999"}, {72, 1}, {73, 2}}) + entity("SEQEND"))),
       "poly2 @(0,0,0) (0,0) (1,0) (1,1) (0,0) c0\n", ""},
      {"meshes whose M x N overflow 32 bits, with four vertices",
       dxfFile(entitiesSection(entity("POLYLINE", {{66, 1}, {70, 16}, {71, 65536}, {72, 65536}}) +
                               repeated(vertex({{10, 1.0}, {20, 1.0}, {70, 64}}), 4) + entity("SEQEND") +
                               entity("POLYLINE", {{66, 1}, {70, 16}, {71, "2147483647"}, {72, 2}}) +
                               vertex({{10, 0.0}, {20, 0.0}, {70, 64}}) + vertex({{10, 1.0}, {20, 0.0}, {70, 64}}) +
                               vertex({{10, 0.0}, {20, 1.0}, {70, 64}}) + vertex({{10, 1.0}, {20, 1.0}, {70, 64}}) +
                               entity("SEQEND"))),
       // The second draws the two rows it holds, and its two columns.
       "poly2 @(0,0,0) (0,0) (1,0) c0\npoly2 @(0,1,0) (0,0) (1,0) c0\n"
       "poly2 @(0,0,0) (0,0) (0,1) c0\npoly2 @(1,0,0) (0,0) (0,1) c0\n",
       ""},
      {"an array of 2^31 x 2^31 cells",
       dxfFile(blocksSection(lineB) + entitiesSection(insert("B", {{70, "2147483648"}, {71, "2147483648"}}) + ownLine)),
       ownLineDrawn, notDrawn + "  array of more than 10000000 cells: B (1)\n"},
      {"blocks that insert themselves, directly and through another",
       dxfFile(blocksSection(block("A", line(0, 0, 1, 1) + insert("A")) + block("B", insert("C")) +
                             block("C", line(2, 2, 3, 3) + insert("B"))) +
               entitiesSection(insert("A") + insert("B"))),
       "line2 (0,0)-(1,1) c0\nline2 (2,2)-(3,3) c0\n", notDrawnTwice + "  block that draws itself: A, B (2)\n"},
      {"40 nested blocks", dxfFile(blocksSection(nestedBlocks(40)) + entitiesSection(insert("B0"))),
       "line2 (31,0)-(31,1) c0\n", notDrawn + "  nested more than 32 deep: B32 (1)\n"},
      {"1000 references of 1000 references of 1000 lines",
       dxfFile(blocksSection(block("C", repeated(line(0, 0, 1, 1), 1000)) + block("B", repeated(insert("C"), 1000)) +
                             block("A", repeated(insert("B"), 1000))) +
               entitiesSection(insert("A") + ownLine)),
       ownLineDrawn, notDrawn + "  more than 5000000 objects to draw in all: A (1)\n"},
      {"3 million cells of an outline of three half turns, 135 points each",
       dxfFile(blocksSection(block("P", halfTurns)) + entitiesSection(insert("P", {{70, 1000}, {71, 3000}}) + ownLine)),
       ownLineDrawn, notDrawn + "  more than 64000000 polyline points to draw in all: P (1)\n"},
      {"a scale of 0 in y: the block folded onto its x axis",
       dxfFile(blocksSection(lineB) + entitiesSection(insert("B", {{42, 0.0}}) + ownLine)),
       "line2 (0,0)-(1,0) c0\nline2 (5,5)-(6,6) c0\n", ""},
      {"scales of 0: flattened, folded onto a line (its returns kept), onto a point (nothing)",
       dxfFile(
           blocksSection(
               lineB +
               block(
                   "S",
                   entity("LWPOLYLINE", {{90, 4}, {70, 1}}) +
                       groups(
                           {{10, 0.0}, {20, 0.0}, {10, 1.0}, {20, 0.0}, {10, 1.0}, {20, 1.0}, {10, 0.0}, {20, 1.0}}))) +
           entitiesSection(insert("B", {{43, 0.0}}) + insert("S", {{42, 0.0}}) + insert("S", {{41, 0.0}, {42, 0.0}}))),
       "line2 (0,0)-(1,1) c0\npoly2 @(0,0,0) (0,0) (1,0) (0,0) c0\n", ""},
      {"scales of 1e308: within range once, beyond it shifted or nested",
       dxfFile(blocksSection(lineB + block("A", insert("B", {{41, 1e308}, {42, 1e308}}))) +
               entitiesSection(insert("B", {{41, 1e308}, {42, 1e308}}) +
                               insert("B", {{41, 1e308}, {42, 10.0}, {10, 1e308}}) +
                               insert("A", {{41, 1e308}, {42, 1e308}}))),
       "line2 (0,0)-(1e+308,1e+308) c0\n", notDrawnTwice + "  coordinates out of range: B (2)\n"},
      {"a 102 group never closed, that takes the rest of its entity",
       dxfFile(entitiesSection(entity("LINE", {{102, "{ACAD_REACTORS"}, {330, "1F"}, {10, 0.0}, {11, 1.0}}) +
                               line(1, 1, 2, 2))),
       "line2 (1,1)-(2,2) c0\n", ""},
      {"a 102 group opened at the end of the file",
       "  0\nSECTION\n  2\nENTITIES\n" + line(1, 1, 2, 2) + entity("LINE", {{11, 1.0}, {102, "{ACAD_XDICTIONARY"}}),
       "line2 (1,1)-(2,2) c0\n", ""},
      {"extended data only",
       dxfFile(entitiesSection(groups({{1001, "ACAD"}, {1000, "x"}}) +
                               entity("LINE", {{1001, "ACAD"}, {1010, 1.0}, {1020, 1.0}, {1011, 5.0}, {1000, "x"}}))),
       "", ""},
      {"SECTIONs without ENDSEC",
       entitiesSection(line(1, 1, 2, 2)) + "  0\nSECTION\n  2\nBLOCKS\n" + lineB + entitiesSection(insert("B")) +
           "  0\nSECTION\n  2\nENTITIES\n" + line(3, 3, 4, 4) + "  0\nEOF\n",
       "line2 (1,1)-(2,2) c0\nline2 (0,0)-(1,1) c0\nline2 (3,3)-(4,4) c0\n", ""},
      {"eight references to seven missing blocks: five named",
       dxfFile(entitiesSection(insert("M1") + insert("M2") + insert("M3") + insert("M4") + insert("M5") + insert("M6") +
                               insert("M7") + insert("M1") + ownLine)),
       ownLineDrawn,
       "box: DXF Loader\\n8 block references were not drawn:\\n  block not in the drawing: M1, M2, M3, M4, M5, ... "
       "(8)\n"},
      // The reference waits for the blocks and is drawn once they are known.
      {"ENTITIES before BLOCKS", dxfFile(entitiesSection(insert("B")) + blocksSection(lineB)), "line2 (0,0)-(1,1) c0\n",
       ""},
      {"ENDSEC, EOF and SECTION as values",
       dxfFile(blocksSection(block("ENDSEC", line(0, 0, 1, 1))) +
               entitiesSection(entity("LINE", {{8, "ENDSEC"}, {10, 1.0}, {11, 2.0}}) + insert("ENDSEC") +
                               entity("TEXT", {{1, "EOF"}, {40, 1.0}}) +
                               entity("LINE", {{8, "SECTION"}, {10, 3.0}, {11, 4.0}}))),
       "line2 (1,0)-(2,0) c0\nline2 (0,0)-(1,1) c0\ntext (0,0) h1 a0 \"EOF\" c0\nline2 (3,0)-(4,0) c0\n", ""},
      {"a POLYLINE and an INSERT whose followers run into ENDSEC",
       dxfFile(blocksSection(lineB) +
               entitiesSection(entity("POLYLINE", {{66, 1}}) + vertex({{10, 1.0}}) + vertex({{10, 2.0}}) +
                               insert("B", {{66, 1}}) + entity("ATTRIB", {{1, "a"}, {40, 1.0}}))),
       "poly2 @(1,0,0) (0,0) (1,0) c0\nline2 (0,0)-(1,1) c0\ntext (0,0) h1 a0 \"a\" c0\n", ""},
  };
  for (const HostileDrawing& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string shown = shownByFreshImport(c.dxf);
    if (!full()) continue;
    EXPECT_EQ(objects(), c.drawn);
    EXPECT_EQ(shown, c.shown);
  }
}

// The points a block would hand the host are estimated for every kind that
// draws polylines, through nested references: an array of 3 million cells
// of any of these blocks stays within the bound on objects (2 a cell) but
// would pass 64,000,000 points, and is refused before it draws. Each of
// these would otherwise run for many minutes and take gigabytes.
TEST_P(HostileInputTest, ReferencesOfTooManyPointsAreRefusedWhateverTheKind) {
  start();
  const std::string halfTurn = groups({{42, 1.0}});
  const std::string threeHalfTurns = groups({{10, 0.0}, {20, 0.0}}) + halfTurn + groups({{10, 1.0}, {20, 0.0}}) +
                                     halfTurn + groups({{10, 1.0}, {20, 1.0}}) + halfTurn;
  const struct {
    const char* what;
    std::string blockEntities;
    const char* cells;  // columns of the reference, rows being 3000
  } cases[] = {
      {"a whole ellipse, 91 points", entity("ELLIPSE", {{11, 2.0}, {40, 0.5}, {41, 0.0}, {42, 6.283185307179586}}),
       "1000"},
      {"a spline of four control points, 32 points",
       entity("SPLINE", {{71, 3},
                         {72, 8},
                         {73, 4},
                         {40, 0.0},
                         {40, 0.0},
                         {40, 0.0},
                         {40, 0.0},
                         {40, 1.0},
                         {40, 1.0},
                         {40, 1.0},
                         {40, 1.0},
                         {10, 0.0},
                         {20, 0.0},
                         {10, 1.0},
                         {20, 1.0},
                         {10, 2.0},
                         {20, 0.0},
                         {10, 3.0},
                         {20, 1.0}}),
       "1000"},
      {"a POLYLINE of three bulged vertices, 135 points",
       entity("POLYLINE", {{66, 1}, {70, 1}}) + entity("VERTEX", {{10, 0.0}, {20, 0.0}, {42, 1.0}}) +
           entity("VERTEX", {{10, 1.0}, {20, 0.0}, {42, 1.0}}) + entity("VERTEX", {{10, 1.0}, {20, 1.0}, {42, 1.0}}) +
           entity("SEQEND"),
       "1000"},
      {"a solid hatch of three half turns, 136 points",
       entity("HATCH", {{10, 0.0},
                        {20, 0.0},
                        {30, 0.0},
                        {2, "SOLID"},
                        {70, 1},
                        {71, 0},
                        {91, 1},
                        {92, 2},
                        {72, 1},
                        {73, 1},
                        {93, 3}}) +
           threeHalfTurns + groups({{97, 0}, {75, 0}, {76, 1}, {98, 0}}),
       "1000"},
      {"1000 references of an outline of three half turns, 135,000 points", insert("P", {{70, 1000}}), "1"},
  };
  const std::string outline = entity("LWPOLYLINE", {{90, 3}, {70, 1}}) + threeHalfTurns;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string blocks = blocksSection(block("P", outline) + block("K", c.blockEntities));
    const std::string shown = shownByFreshImport(
        dxfFile(blocks + entitiesSection(insert("K", {{70, c.cells}, {71, 3000}}) + line(5, 5, 6, 6))));
    if (!full()) continue;
    EXPECT_EQ(objects(), "line2 (5,5)-(6,6) c0\n");
    EXPECT_EQ(shown,
              "box: DXF Loader\\n1 block reference was not drawn:\\n"
              "  more than 64000000 polyline points to draw in all: K (1)\n");
  }
}

// References that draw nothing create no host object; each cell still
// counts against the bound, so 10^7 cells of 10^7 cells of an empty block
// end at once.
TEST_P(HostileInputTest, ArraysOfArraysOfAnEmptyBlockEnd) {
  start();
  const std::string array = groups({{70, 10000}, {71, 1000}});
  const std::string blocks = blocksSection(block("E", "") + block("A", insert("E") + array));
  importChecked(dxfFile(blocks + entitiesSection(line(0, 0, 1, 1) + insert("A") + array)));
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\n");
}

// Cells of a block that draws nothing are long work all the same: they count
// towards the bound and ask the percent-done dialog, or a short drawing of
// many such references would hold the host for minutes without hearing the
// user's stop.
TEST_P(HostileInputTest, AStopIsHeardInCellsThatDrawNothing) {
  config.stopFromCheck = 1;
  start();
  const std::string reference = insert("E") + groups({{70, 10000}, {71, 1000}});
  importChecked(dxfFile(blocksSection(block("E", "")) + entitiesSection(line(0, 0, 1, 1) + repeated(reference, 3))));
  if (full()) {
    EXPECT_GE(host().percentDoneChecks(), 1);
  }
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\n");
}

// One group more than a record holds (4194304): the entity is passed over
// whole, and the one after it is drawn; the message names it once, in the
// ENTITIES section as in a block.
TEST_P(HostileInputTest, ARecordOfMillionsOfGroupsIsPassedOverAndNamed) {
  start();
  const std::string lwpolyline = "  0\nLWPOLYLINE\n" + repeated(" 10\n0\n", (1 << 22) + 1);
  for (const std::string& dxf :
       {dxfFile(entitiesSection(lwpolyline + line(1, 0, 2, 0))),
        dxfFile(blocksSection(block("B", lwpolyline + line(1, 0, 2, 0))) + entitiesSection(insert("B"))),
        // read twice: before its blocks, and again for the reference waiting for them
        dxfFile(entitiesSection(lwpolyline + insert("B")) + blocksSection(block("B", line(1, 0, 2, 0))))}) {
    const std::string shown = shownByFreshImport(dxf);
    if (!full()) continue;
    EXPECT_EQ(objects(), "line2 (1,0)-(2,0) c0\n");
    EXPECT_EQ(shown, "box: DXF Loader\\n1 LWPOLYLINE too large to read\n");
  }
}

// A 1 x 1 HATCH whose one pattern line is all gaps, 0.001 apart: a million
// gaps to walk for nothing.
std::string allGapsHatch(double x) {
  return entity("HATCH", {{10, 0.0},
                          {20, 0.0},
                          {30, 0.0},
                          {2, "GAPS"},
                          {70, 0},
                          {71, 0},
                          {91, 1},
                          {92, 2},
                          {72, 0},
                          {73, 1},
                          {93, 4}}) +
         groups({{10, x}, {20, 0.0}, {10, x + 1}, {20, 0.0}, {10, x + 1}, {20, 1.0}, {10, x}, {20, 1.0}}) +
         groups({{97, 0},
                 {75, 0},
                 {76, 1},
                 {52, 0.0},
                 {41, 1.0},
                 {77, 0},
                 {78, 1},
                 {53, 0.0},
                 {43, 0.0},
                 {44, 0.0},
                 {45, 0.0},
                 {46, 0.001},
                 {79, 1},
                 {49, -0.00001},
                 {98, 0}});
}
// An MTEXT of `text`, in pieces of 250 bytes as files write long ones.
std::string mtext(const std::string& text) {
  std::string pieces;
  size_t at = 0;
  for (; text.size() - at > 250; at += 250) pieces += groups({{3, text.substr(at, 250)}});
  return entity("MTEXT", {{10, 0.0}, {20, 0.0}, {40, 1.0}}) + pieces + groups({{1, text.substr(at)}});
}
std::string paragraphs(int count) { return repeated("\\P", count); }

// A SPLINE of degree `degree` through `count` control points that zigzag,
// on uniform knots: each point of its curve takes hundreds of steps at a
// high degree, and the curve strays from its chords everywhere.
std::string zigzagSpline(int degree, int count) {
  std::string spline = entity("SPLINE", {{70, 8}, {71, degree}, {72, count + degree + 1}, {73, count}});
  for (int i = 0; i <= count + degree; ++i) spline += groups({{40, i}});
  for (int i = 0; i < count; ++i) spline += groups({{10, i}, {20, i % 2 == 0 ? 0 : 100}});
  return spline;
}

// Small drawings that ask for work or memory out of all proportion: each
// ends at once, draws what it may, and its message says what was left out.
TEST_P(HostileInputTest, WorkAndTextOutOfAllProportionEndAndAreTold) {
  start();
  const std::string lineB = block("B", repeated(line(0, 0, 1, 1), 9));
  const std::string notDrawn = "box: DXF Loader\\n1 block reference was not drawn:\\n";
  const struct {
    const char* what;
    std::string dxf;
    size_t objects;  // drawn by the full reading
    std::string shown;
  } cases[] = {
      {"an all-gaps hatch in 100 x 100 cells: outlines only",
       dxfFile(blocksSection(block("H", allGapsHatch(0))) + entitiesSection(insert("H", {{70, 100}, {71, 100}}))),
       10000, "box: DXF Loader\\n10000 hatch patterns too dense to draw\n"},
      {"1000 all-gaps hatches side by side", dxfFile(entitiesSection(repeated(allGapsHatch(0), 1000))), 1000,
       "box: DXF Loader\\n1000 hatch patterns too dense to draw\n"},
      {"a million empty paragraphs in 1000 x 1000 cells",
       dxfFile(blocksSection(block("M", mtext(paragraphs(1000000)))) +
               entitiesSection(insert("M", {{70, 1000}, {71, 1000}}) + line(5, 5, 6, 6))),
       1, notDrawn + "  more than 5000000 objects to draw in all: M (1)\n"},
      {"64 KiB of text in 80,000 cells",
       dxfFile(blocksSection(block("M", mtext(std::string(65536, 'x')))) +
               entitiesSection(insert("M", {{70, 400}, {71, 200}}) + line(5, 5, 6, 6))),
       1, notDrawn + "  more than 134217728 bytes of text to draw in all: M (1)\n"},
      {"a note of 1000 lines in 6000 cells",
       dxfFile(blocksSection(block("M", mtext(repeated("x\\P", 1000)))) +
               entitiesSection(insert("M", {{70, 6000}}) + line(5, 5, 6, 6))),
       1, notDrawn + "  more than 5000000 objects to draw in all: M (1)\n"},
      {"9 lines in 4.9 million cells",
       dxfFile(blocksSection(lineB) + entitiesSection(insert("B", {{70, 2214}, {71, 2214}}) + line(5, 5, 6, 6))), 1,
       notDrawn + "  more than 5000000 objects to draw in all: B (1)\n"},
      {"10 x 10 million cells of an empty block",
       dxfFile(blocksSection(block("E", "") + block("A", insert("E", {{70, 10000}, {71, 1000}}))) +
               entitiesSection(insert("A", {{70, 10}}) + line(5, 5, 6, 6))),
       1, notDrawn + "  more work than the import may do in all: A (1)\n"},
      {"a spline of degree 25 through 30,000 points: its control points",
       dxfFile(entitiesSection(zigzagSpline(25, 30000))), 11,
       "box: DXF Loader\\n1 spline too long to work out, drawn by its control points\n"},
      {"a text of 70,000 bytes on one line: cut", dxfFile(entitiesSection(mtext(std::string(70000, 'x')))), 1,
       "box: DXF Loader\\n1 text cut to 65536 bytes\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string shown = shownByFreshImport(c.dxf);
    if (!full()) continue;
    EXPECT_EQ(host().frame().objects().size(), c.objects);
    EXPECT_EQ(shown, c.shown);
  }
}

// Long work inside one entity and across the cells of an array asks the
// percent-done dialog by the work done: a stop answered at the first check
// ends the import there, with no check after it. (Each record here is read
// in fewer lines than the reader counts between its own checks.) Read in
// step and read ahead of the drawing alike.
// A solid HATCH bounded by a spline edge of degree 25 through 150 points
// that zigzag, and a line back to its start.
std::string zigzagSplineHatch() {
  std::string hatch = entity("HATCH", {{10, 0.0},
                                       {20, 0.0},
                                       {30, 0.0},
                                       {2, "SOLID"},
                                       {70, 1},
                                       {71, 0},
                                       {91, 1},
                                       {92, 1},
                                       {93, 2},
                                       {72, 4},
                                       {94, 25},
                                       {73, 0},
                                       {74, 0},
                                       {95, 176},
                                       {96, 150}});
  for (int i = 0; i < 176; ++i) hatch += groups({{40, i}});
  for (int i = 0; i < 150; ++i) hatch += groups({{10, i}, {20, i % 2 == 0 ? 0 : 100}});
  return hatch + groups({{72, 1}, {10, 149}, {20, 100}, {11, 0}, {21, 0}, {97, 0}, {75, 0}, {76, 1}, {98, 0}});
}

// An LWPOLYLINE of `count` vertices, each segment nearly a whole turn: 90
// points worked out for every vertex.
std::string loopingLwPolyline(int count) {
  std::string lwpolyline = entity("LWPOLYLINE", {{90, count}, {70, 0}});
  for (int i = 0; i < count; ++i) lwpolyline += groups({{10, i}, {20, 0}, {42, 1e6}});
  return lwpolyline;
}

// How the entities of a drawing are read: in step with their drawing, read
// ahead, or read ahead with what follows from each record alone worked out
// ahead for every one (the reading thread gives up what takes too long).
struct EntityReading {
  int64_t readAheadFrom;
  int32_t prepareAhead;
};
constexpr EntityReading kEntityReadings[] = {{int64_t{1} << 40, 0}, {0, 0}, {0, 1}};

TEST_P(HostileInputTest, AStopIsHeardWithinOneCheckOfLongWork) {
  config.stopFromCheck = 1;
  start(true);
  const std::string cases[] = {
      dxfFile(blocksSection(block("H", allGapsHatch(0))) + entitiesSection(insert("H", {{70, 1000}, {71, 1000}}))),
      dxfFile(blocksSection(block("M", mtext(paragraphs(60000)))) + entitiesSection(insert("M", {{70, 50}}))),
      dxfFile(blocksSection(block("T", mtext(std::string(60000, 'x')))) + entitiesSection(insert("T", {{70, 2000}}))),
      // one spline whose curve takes some forty checks' work
      dxfFile(entitiesSection(zigzagSpline(25, 150))),
      dxfFile(entitiesSection(zigzagSplineHatch())),
      // a mesh of 200 faces that draw nothing, read again in each of 700 cells
      dxfFile(blocksSection(block("K", entity("MESH", {{92, 1}, {10, 0.0}, {20, 0.0}, {30, 0.0}, {93, 400}}) +
                                           repeated(groups({{90, 1}, {90, 0}}), 200))) +
              entitiesSection(insert("K", {{70, 700}}))),
  };
  for (const EntityReading& reading : kEntityReadings) {
    readAheadFrom(reading.readAheadFrom);
    prepareAhead(reading.prepareAhead);
    for (const std::string& dxf : cases) {
      host().frame().clear();
      const int64_t checksBefore = host().percentDoneChecks();
      importChecked(dxf);
      if (!full()) continue;
      EXPECT_EQ(host().percentDoneChecks() - checksBefore, 1);
      EXPECT_LT(host().frame().objects().size(), 1000u);
    }
  }
}

// One top-level entity whose own work runs over many checks, in a file whose
// reading makes checks of its own: the checks come inside that work, so a
// stop answered at the second check after its record was read ends it
// there, with nothing of it drawn. The reading's checks are those of the
// same import with the entity's kind not imported.
TEST_P(HostileInputTest, AStopIsHeardInsideOneLongEntity) {
  const struct {
    const char* what;
    std::string dxf;
  } cases[] = {
      {"12,000 looping vertices", dxfFile(entitiesSection(loopingLwPolyline(12000)))},
      {"a cubic of 20,000 control points", dxfFile(entitiesSection(zigzagSpline(3, 20000)))},
  };
  for (const auto& c : cases) {
    for (const EntityReading& reading : kEntityReadings) {
      SCOPED_TRACE(std::string(c.what) + (reading.readAheadFrom == 0 ? " read ahead" : " in step"));
      int64_t checks = 0;
      size_t objectsDrawn = 0;
      for (const bool drawn : {false, true}) {
        config.stopFromCheck = drawn ? checks + 2 : 0;
        start(true);
        readAheadFrom(reading.readAheadFrom);
        prepareAhead(reading.prepareAhead);
        importChecked(c.dxf, drawn ? "" : "-VA");
        checks = host().percentDoneChecks();
        objectsDrawn = host().frame().objects().size();
        TearDown();
      }
      if (!full()) continue;
      EXPECT_EQ(checks, config.stopFromCheck);
      EXPECT_EQ(objectsDrawn, 0u);
    }
  }
}

// The host is handed the 1,080,000 points of a long outline in 361 pieces:
// a stop answered at any check leaves at most one check's worth of pieces
// more than the check before it (96,064 points: 33 pieces, and the piece
// begun drawn as it stands).
TEST_P(HostileInputTest, AStopIsHeardBetweenThePiecesOfALongPolyline) {
  if (!full()) return;
  const std::string dxf = dxfFile(entitiesSection(loopingLwPolyline(12000)));
  const auto objectsStoppedAt = [&](int64_t check) {
    config.stopFromCheck = check;
    start();
    importChecked(dxf);
    const size_t objects = host().frame().objects().size();
    const int64_t checks = host().percentDoneChecks();
    TearDown();
    return std::make_pair(objects, checks);
  };
  const int64_t checks = objectsStoppedAt(0).second;
  size_t before = 0;
  for (int64_t check = 1; check <= checks + 1; ++check) {
    SCOPED_TRACE(check);
    const size_t objects = objectsStoppedAt(check).first;
    EXPECT_LE(objects, before + 34);
    before = objects;
  }
  EXPECT_EQ(before, 361u);
}

// A drawing whose work passes the run's bound (lowered here to 100,000
// steps) stops drawing there and says so; what came before is drawn.
TEST_P(HostileInputTest, TheRunStopsWhenItsWorkIsSpent) {
  start(true);
  mostWork(100000);
  const std::string note = mtext(paragraphs(2000));
  importChecked(dxfFile(entitiesSection(line(0, 0, 1, 1) + repeated(note, 100) + line(5, 5, 6, 6))));
  if (!full()) return;
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\n");
  EXPECT_EQ(
      messages(),
      "box: DXF Loader\\nThe import stopped at the most work it may do: the rest of the drawing was not drawn.\n");
}

// A long run of bulged vertices turns into far more points than the file
// holds (45 for each half turn); they are gathered in one growing buffer, so
// appending each arc must not copy the points before it.
TEST_P(HostileInputTest, ALongRunOfHalfTurnsIsDrawnWhole) {
  start();
  const int vertices = 20000;
  std::string lwpolyline = entity("LWPOLYLINE", {{90, vertices}, {70, 0}});
  for (int i = 0; i < vertices; ++i) lwpolyline += groups({{10, i}, {20, 0}, {42, 1}});
  importChecked(dxfFile(entitiesSection(lwpolyline)));
  // 19,999 half turns of 45 chords: 899,956 points, in host polylines of at
  // most 2997 points that each start where the one before ended.
  const size_t pieces = full() ? 301 : 0;
  EXPECT_EQ(host().frame().objects().size(), pieces);
}

void PrintTo(const Reading& reading, std::ostream* os) { *os << reading.name; }

INSTANTIATE_TEST_SUITE_P(BothReadings, HostileInputTest, ::testing::Values(kClassic, kFull),
                         [](const ::testing::TestParamInfo<Reading>& info) { return info.param.name; });

}  // namespace
}  // namespace drawport::testing
