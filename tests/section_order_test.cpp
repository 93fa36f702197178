// The full reading over a whole file: its sections in any order (entities
// that draw blocks wait for a later BLOCKS section; the named blocks are
// drawn where they stand only when ENTITIES holds no entity at all; a file
// without sections is named as no DXF drawing), and its texts converted
// from their code page in time that grows with their length alone.
#include <gmock/gmock.h>

#include <chrono>
#include <cstring>

#include "entities/full/encodings.h"
#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

std::string block(const std::string& name, const std::string& entities) {
  return entity("BLOCK", {{2, name}, {70, 0}, {10, 0}, {20, 0}, {30, 0}}) + entities + entity("ENDBLK");
}

std::string blocksSection(const std::string& blocks) {
  return "  0\nSECTION\n  2\nBLOCKS\n" + blocks + "  0\nENDSEC\n";
}

std::string line(int x) { return entity("LINE", {{10, x}, {20, 0}, {11, x}, {21, 1}}); }
std::string insert(const std::string& name, std::initializer_list<Group> extra = {}) {
  return entity("INSERT", {{2, name}, {10, 0}, {20, 0}}) + groups(extra);
}
const std::string kAttribute = entity("ATTRIB", {{1, "tag"}, {40, 1}}) + entity("SEQEND");
// Block B holds a line at x = 1, block C one at x = 2.
const std::string kBlocks = blocksSection(block("B", line(1)) + block("C", line(2)));

struct OrderCase {
  const char* what;
  std::string dxf;
  const char* flags;
  const char* drawn;
  const char* shown;
};

class SectionOrderTest : public AddOnTest {
 protected:
  void SetUp() override { start(true); }
  void check(const OrderCase& c) {
    SCOPED_TRACE(c.what);
    host().frame().clear();
    const size_t shownBefore = messages().size();
    importText(c.dxf, c.flags);
    EXPECT_EQ(objects(), c.drawn);
    EXPECT_EQ(messages().substr(shownBefore), c.shown);
  }
};

TEST_F(SectionOrderTest, EntitiesBeforeBlocksDrawTheirReferencesOnceTheBlocksAreKnown) {
  const OrderCase cases[] = {
      {"a reference with attributes, between lines",
       dxfFile(entitiesSection(line(5) + insert("B", {{66, 1}}) + kAttribute + line(6)) + kBlocks), "-X",
       "line2 (5,0)-(5,1) c0\nline2 (6,0)-(6,1) c0\nline2 (1,0)-(1,1) c0\ntext (0,0) h1 a0 \"tag\" c0\n", ""},
      {"a dimension's picture and an array",
       dxfFile(entitiesSection(entity("DIMENSION", {{2, "C"}}) + insert("B", {{70, 2}, {44, 10}})) + kBlocks), "-X",
       "line2 (2,0)-(2,1) c0\nline2 (1,0)-(1,1) c0\nline2 (11,0)-(11,1) c0\n", ""},
      {"two ENTITIES sections around the BLOCKS",
       dxfFile(entitiesSection(insert("B")) + kBlocks + entitiesSection(insert("C"))), "-X",
       "line2 (2,0)-(2,1) c0\nline2 (1,0)-(1,1) c0\n", ""},
      {"a block defined nowhere", dxfFile(entitiesSection(insert("B") + insert("NONE") + line(5)) + kBlocks), "-X",
       "line2 (5,0)-(5,1) c0\nline2 (1,0)-(1,1) c0\n",
       "box: DXF Loader\\n1 block reference was not drawn:\\n  block not in the drawing: NONE (1)\n"},
      {"no BLOCKS section at all", dxfFile(entitiesSection(insert("B", {{66, 1}}) + kAttribute + line(5))), "-X",
       "line2 (5,0)-(5,1) c0\ntext (0,0) h1 a0 \"tag\" c0\n",
       "box: DXF Loader\\n1 block reference was not drawn:\\n  block not in the drawing: B (1)\n"},
  };
  for (const bool ahead : {false, true}) {
    SCOPED_TRACE(ahead ? "read ahead" : "read in step");
    readAheadFrom(ahead ? 0 : int64_t{1} << 40);
    for (const OrderCase& c : cases) check(c);
  }
}

TEST_F(SectionOrderTest, BlocksStandInOnlyForAnEntitiesSectionWithoutEntities) {
  const std::string selfReference = blocksSection(block("SELF", insert("SELF")) + block("B", line(1)));
  const char* nothingFound = "error: No entities found in this DXF file\n";
  const OrderCase cases[] = {
      {"a reference to a block that draws itself", dxfFile(selfReference + entitiesSection(insert("SELF"))), "-X", "",
       "box: DXF Loader\\n1 block reference was not drawn:\\n  block that draws itself: SELF (1)\n"},
      {"a reference to no block", dxfFile(kBlocks + entitiesSection(insert("NONE"))), "-X", "",
       "box: DXF Loader\\n1 block reference was not drawn:\\n  block not in the drawing: NONE (1)\n"},
      {"a kind switched off", dxfFile(kBlocks + entitiesSection(entity("CIRCLE", {{40, 1}}))), "-VL -X", "",
       nothingFound},
      {"an entity in paper space", dxfFile(kBlocks + entitiesSection(line(5) + groups({{67, 1}}))), "-X", "",
       nothingFound},
      {"no ENTITIES section", dxfFile(kBlocks), "-X", "line2 (1,0)-(1,1) c0\nline2 (2,0)-(2,1) c0\n", ""},
  };
  for (const OrderCase& c : cases) check(c);
}

TEST_F(SectionOrderTest, AFileWithoutSectionsIsNamedAsNoDxfDrawing) {
  const struct {
    const char* what;
    const char* content;
    const char* flags;
    bool named;  // "<file> is not a DXF drawing", else "No entities found"
  } cases[] = {
      {"text, full reading", "hello\nworld\n", "-X", true},
      {"pairs without SECTION, full reading", "  0\nLINE\n 10\n1\n  0\nEOF\n", "-X", true},
      {"text, classic reading", "hello\nworld\n", "", false},
      {"an empty ENTITIES section, full reading", "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n", "-X", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const size_t shownBefore = messages().size();
    const std::string path = files.write("notes.txt", c.content);
    EXPECT_EQ(macro(instructionFor(path, c.flags)).result, false);
    const std::string expected = c.named ? path + " is not a DXF drawing" : "No entities found in this DXF file";
    EXPECT_EQ(messages().substr(shownBefore), "error: " + expected + "\n");
  }
}

// Bytes of an ANSI_1252 file's text, in UTF-8: those the code page lacks
// (0x81, 0x8D) become U+FFFD, each byte handled once.
TEST(CodePageConversion, TakesTimeInProportionToTheText) {
  full::TextEncoding encoding;
  encoding.choose("AC1015", "ANSI_1252");
  auto converted = [&](const std::string& raw) {
    HeapVector<char> out;
    encoding.appendUtf8(raw, out);
    return std::string(out.begin(), out.end());
  };
  auto repeated = [](const std::string& unit, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) text += unit;
    return text;
  };
  const struct {
    const char* raw;
    const char* utf8;
  } units[] = {
      {"\x81", "\xEF\xBF\xBD"},
      {"a\x81\xE9\x80\x8D", "a\xEF\xBF\xBD\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBD"},
  };
  for (const auto& unit : units) {
    SCOPED_TRACE(unit.utf8);
    const size_t small = (size_t{1} << 18) / std::strlen(unit.raw), large = 8 * small;
    const std::string shortText = repeated(unit.raw, small), longText = repeated(unit.raw, large);
    std::string shortOut, longOut;
    const auto start = std::chrono::steady_clock::now();
    shortOut = converted(shortText);
    const auto middle = std::chrono::steady_clock::now();
    longOut = converted(longText);
    const auto end = std::chrono::steady_clock::now();
    EXPECT_EQ(shortOut, repeated(unit.utf8, small));
    EXPECT_EQ(longOut, repeated(unit.utf8, large));
    // Eight times the bytes: about eight times the time, not sixty-four.
    const std::chrono::duration<double> shortTime = middle - start, longTime = end - middle;
    EXPECT_LT(longTime.count(), 24 * shortTime.count() + 0.25) << shortTime.count() << " s for 256 KiB";
  }
}

// The converter is handed a long text in pieces: a character whose bytes
// fall on both sides of a piece's end is converted whole, in a code page of
// two-byte characters as at the end of the text.
TEST(CodePageConversion, ACharacterAcrossPiecesIsConvertedWhole) {
  full::TextEncoding encoding;
  encoding.choose("AC1015", "ANSI_932");
  const std::string a = "\x82\xA0", aInUtf8 = "\xE3\x81\x82";  // HIRAGANA LETTER A
  const struct {
    std::string raw, utf8;
  } cases[] = {
      {std::string(4095, 'x') + a + "y", std::string(4095, 'x') + aInUtf8 + "y"},
      {std::string(8191, 'x') + a, std::string(8191, 'x') + aInUtf8},
      {std::string(4095, 'x') + "\x82", std::string(4095, 'x') + "\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    HeapVector<char> out;
    encoding.appendUtf8(c.raw, out);
    EXPECT_EQ(std::string(out.begin(), out.end()), c.utf8) << c.raw.size() << " bytes";
  }
}

}  // namespace
}  // namespace drawport::testing
