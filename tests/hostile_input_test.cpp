// Hostile input: drawings cut off anywhere, lines of any length, odd bytes
// and numbers, huge layer tables, file names that are no files, instruction
// strings of any shape. Every run ends in order: no crash, the host's rules
// kept (the fixture checks them), no file left open.
#include <dirent.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "support/addon_fixture.h"

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

class HostileInputTest : public AddOnTest {
 protected:
  // Imports `content` and checks what every import must leave behind: no
  // descriptor open, no string held beyond the add-on's own three, the
  // percent-done dialog gone and drawing resumed.
  orvhost::MacroOutcome importChecked(const std::string& content, const std::string& flags = "") {
    const int before = openDescriptors();
    const orvhost::MacroOutcome outcome = importText(content, flags);
    EXPECT_EQ(openDescriptors(), before) << "a file left open";
    EXPECT_EQ(host().heldStrings().size(), 3u);
    EXPECT_FALSE(host().percentDoneShown());
    EXPECT_FALSE(host().drawingSuspended());
    EXPECT_THAT(host().violations(), IsEmpty());
    return outcome;
  }
};

TEST_F(HostileInputTest, ADrawingCutAtAnyLineIsNeitherRecordedNorFitted) {
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

TEST_F(HostileInputTest, ADrawingCutAtAnyByteEndsInOrder) {
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

TEST_F(HostileInputTest, LinesOfAnyLengthInAnyPlace) {
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

TEST_F(HostileInputTest, ALineOf1998CharactersIsKeptWhole) {
  start();
  const std::string text = "  0\nTEXT\n 10\n1\n 40\n1\n  1\n" + std::string(1998, 't') + "\n";
  ASSERT_EQ(importChecked(dxfFile(entitiesSection(text))).result, true);
  ASSERT_EQ(host().frame().objects().size(), 1u);
  EXPECT_EQ(host().frame().text(host().frame().objects()[0]), std::string(1998, 't'));
}

TEST_F(HostileInputTest, NulBytesAndCarriageReturnsAlone) {
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

TEST_F(HostileInputTest, OddNumbersAsCoordinatesCodesAndColours) {
  start();
  const struct {
    const char* number;
    const char* asCoordinate;  // the line from (number, 0) to (1, 1)
    const char* asColour;      // the host colour of a line with that colour
  } cases[] = {
      {"1e999", "line2 (inf,0)-(1,1) c0\n", "c1"},  {"-0", "line2 (-0,0)-(1,1) c0\n", "c0"},
      {"00010", "line2 (10,0)-(1,1) c0\n", "c0"},   {"+5", "line2 (5,0)-(1,1) c0\n", "c3"},
      {"5e", "line2 (5,0)-(1,1) c0\n", "c3"},       {".5", "line2 (0.5,0)-(1,1) c0\n", "c0"},
      {"5.", "line2 (5,0)-(1,1) c0\n", "c3"},       {"99999999999", "line2 (99999999999,0)-(1,1) c0\n", "c0"},
      {"-99999999999", "line2 (-99999999999,0)-(1,1) c0\n", "c0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    host().frame().clear();
    const std::string coordinate =
        "  0\nLINE\n 10\n" + std::string(c.number) + "\n 20\n0\n 11\n1\n 21\n1\n";
    importChecked(dxfFile(entitiesSection(coordinate)));
    EXPECT_EQ(objects(), c.asCoordinate);
    host().frame().clear();
    importChecked(dxfFile(entitiesSection(lineEntity(0, 0, 1, 1, " 62\n" + std::string(c.number) + "\n"))));
    ASSERT_EQ(host().frame().objects().size(), 1u);
    EXPECT_EQ("c" + std::to_string(*host().frame().objects()[0].color), c.asColour);
    // As a group code: a code no converter takes, whose value is passed over.
    host().frame().clear();
    importChecked(dxfFile(entitiesSection(lineEntity(0, 0, 1, 1, std::string(c.number) + "\n 11\n"))));
  }
}

TEST_F(HostileInputTest, LayerNamesOfAnyLengthAndHundredThousandLayers) {
  start();
  std::string table = "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n";
  const std::string name254(254, 'a'), name255(255, 'b'), name10000(10000, 'c');
  for (const std::string& name : {name254, name255, name10000})
    table += "  0\nLAYER\n  2\n" + name + "\n 62\n1\n";
  for (int i = 0; i < 100000; ++i) table += "  0\nLAYER\n  2\nLayer" + std::to_string(i) + "\n 62\n" + std::to_string(i % 9 + 1) + "\n";
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

TEST_F(HostileInputTest, FileNamesOfTheBuffersLength) {
  start();
  const std::string longest = "/" + std::string(9998, 'f');
  const std::string tooLong = longest + "f";
  EXPECT_EQ(macro(instructionFor(longest)).result, false);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(macro(instructionFor(tooLong)).result, false);
  EXPECT_EQ(messages(), "box: DXF Loader:\\nInvalid parameter string. Some default settings may be used.\n");
  EXPECT_EQ(macro("F10000:" + tooLong + "@").result, false);
  EXPECT_EQ(macro("F9999:" + longest + "@").errorText, "Error reading file");
}

TEST_F(HostileInputTest, NamesThatAreNoFilesAreNotRead) {
  start();
  const std::string fifo = files.path() + "/fifo.dxf";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& name : {files.path(), fifo, std::string("/dev/zero"), std::string("/dev/tty")}) {
    SCOPED_TRACE(name);
    const int before = openDescriptors();
    EXPECT_EQ(macro(instructionFor(name)).result, false);
    EXPECT_EQ(openDescriptors(), before);
  }
  EXPECT_EQ(messages(), "");
}

TEST_F(HostileInputTest, AFileRemovedAfterItWasMeasuredCannotBeOpened) {
  start();
  const std::string path = files.write("gone.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
  // The 3D import asks the host for its data set between measuring the file
  // and opening it.
  host().config().onCall = [&](std::string_view operation) {
    if (operation == "OrvUtilDataSetIsAvailable") ::unlink(path.c_str());
  };
  EXPECT_EQ(macro(instructionFor(path, "-P2")).result, false);
  host().config().onCall = nullptr;
  EXPECT_EQ(messages(), "error: Can't open input file\n");
}

TEST_F(HostileInputTest, AFileLargerThanA32BitSizeIsTooLarge) {
  start();
  const std::string path = files.path() + "/huge.dxf";
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::ftruncate(descriptor, off_t{1} << 31), 0) << "no sparse file of 2 GiB here";
  ::close(descriptor);
  EXPECT_EQ(macro(instructionFor(path)).result, false);
  EXPECT_EQ(messages(), "error: File too large\n");
  EXPECT_EQ(journal({"OrvUtilDialogLaunchPercentDone"}), "");
}

TEST_F(HostileInputTest, InstructionStringsOfAnyShape) {
  start();
  const std::string path = files.write("plan.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"a million characters", instructionFor(path) + std::string(1000000, ' ') + "-VL"},
      {"a million flags", instructionFor(path) + [] {
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
      {"bytes of every value", [] {
         std::string all = "-F[";
         for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
         return all;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const orvhost::MacroOutcome outcome = macro(c.text);
    ASSERT_TRUE(outcome.result.has_value());
    if (!*outcome.result) {
      EXPECT_EQ(outcome.errorText, "Error reading file");
    }
  }
  EXPECT_THAT(host().violations(), IsEmpty());
  // The million-flag string is an import of lines like any other.
  EXPECT_EQ(host().frame().objects().size(), 2u);
}

}  // namespace
}  // namespace drawport::testing
