// TEXT entities: one host text at the insertion point, with the string read
// whole, the height, the angle turned with the UCS, and the import's font.
#include <gmock/gmock.h>

#include <cmath>

#include "host/journal.h"
#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

using orvhost::formatNumber;

class TextTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

class Texts : public TextTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(Texts, AreCreatedAsRead) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

std::string text(std::initializer_list<Group> extra) {
  return entity("TEXT", {{10, 1}, {20, 2}, {40, 2.5}}) + groups(extra);
}

INSTANTIATE_TEST_SUITE_P(
    Text, Texts,
    ::testing::Values(
        DrawingCase{"leading blanks skipped, inner and trailing ones kept", text({{1, "  Two  words  "}}), "",
                    "text (1,2) h2.5 a0 \"Two  words  \" c0\n"},
        DrawingCase{"a leading tab skipped", text({{1, "\tTab"}}), "", "text (1,2) h2.5 a0 \"Tab\" c0\n"},
        DrawingCase{"control sequences passed as read", text({{1, "%%c10 \\P"}}), "",
                    "text (1,2) h2.5 a0 \"%%c10 \\\\P\" c0\n"},
        DrawingCase{"the later string wins", text({{1, "first"}, {1, "second"}}), "",
                    "text (1,2) h2.5 a0 \"second\" c0\n"},
        DrawingCase{"a string that reads like a code", text({{1, "0"}}), "", "text (1,2) h2.5 a0 \"0\" c0\n"},
        DrawingCase{"angle", text({{1, "A"}, {50, 45}}), "", "text (1,2) h2.5 a45 \"A\" c0\n"},
        DrawingCase{"no height", entity("TEXT", {{1, "H"}, {10, 1}, {20, 2}}), "", "text (1,2) h0 a0 \"H\" c0\n"},
        DrawingCase{"other groups passed over",
                    text({{1, "S"}, {7, "STANDARD"}, {30, 9}, {41, 2}, {51, 15}, {72, 1}, {11, 8}, {21, 8}}), "",
                    "text (1,2) h2.5 a0 \"S\" c0\n"},
        DrawingCase{"font 1 sets no font", text({{1, "F"}}), "-T1", "text (1,2) h2.5 a0 \"F\" c0\n"},
        DrawingCase{"font 2 is host font 0", text({{1, "F"}}), "-T2", "text (1,2) h2.5 a0 f0 \"F\" c0\n"},
        DrawingCase{"font 7 is host font 5", text({{1, "F"}}), "-T7", "text (1,2) h2.5 a0 f5 \"F\" c0\n"},
        DrawingCase{"font 12 is host font 10", text({{1, "F"}}), "-T12", "text (1,2) h2.5 a0 f10 \"F\" c0\n"},
        DrawingCase{"group 62", text({{1, "C"}, {62, 6}}), "", "text (1,2) h2.5 a0 \"C\" c14\n"},
        DrawingCase{"invisible layer, hidden", text({{8, "OFF"}, {1, "C"}}), "-VT", "text (1,2) h2.5 a0 \"C\" c7\n",
                    layerTables(layer("OFF", -2))},
        DrawingCase{"zone 4", text({{1, "Z"}}), "-Z4", "text (1,2) h2.5 a0 \"Z\" c0 z4\n"},
        DrawingCase{"no string: nothing", text({}), "", ""},
        DrawingCase{"an empty string: nothing", text({{1, ""}}), "", ""},
        DrawingCase{"a string of blanks: nothing", text({{1, "   "}}), "", ""},
        DrawingCase{"same in a 3D import", text({{1, "3D"}, {30, 5}}), "-P2", "text (1,2) h2.5 a0 \"3D\" c0\n"}));

// A string as long as a line holds (1999 characters with its line feed) is
// kept whole.
TEST_F(TextTest, LongStringIsKeptWhole) {
  const std::string string = std::string(1000, 'a') + " " + std::string(997, 'b');
  importText(dxfFile(entitiesSection(text({{1, string}}))));
  ASSERT_EQ(host().frame().objects().size(), 1u);
  EXPECT_EQ(host().frame().text(host().frame().objects()[0]), string);
}

TEST_F(TextTest, IsCreatedTurnedFontedColouredThenAttached) {
  importText(dxfFile(entitiesSection(text({{1, "Hello"}, {50, 30}, {62, 3}}))), "-T5 -Z4");
  EXPECT_EQ(journal({"OrvUtilText"}),
            "OrvUtilTextCreate(0, 1, 2, 0, 2.5, \"Hello\") -> 1\n"
            "OrvUtilTextSetAngle(1, 30)\n"
            "OrvUtilTextSetFont(1, 3)\n"
            "OrvUtilTextSetColor(1, 2)\n"
            "OrvUtilTextSetZoneOrMap(1, 4)\n"
            "OrvUtilTextSetAttached(1, true)\n");
}

// Under a UCS turned a quarter, the angle loses 90 degrees (as the
// generation computes them) in 2D and 3D imports alike; only the 2D import
// moves the insertion point.
TEST_F(TextTest, AngleTurnsWithTheUcsInBothDimensions) {
  const std::string dxf = dxfFile(ucsHeader(0, 1) + entitiesSection(text({{1, "R"}, {50, 45}})));
  const std::string angle = formatNumber(45 + degrees(-std::acos(0.0)));
  importText(dxf);
  EXPECT_EQ(journal({"OrvUtilTextSetAngle"}), "OrvUtilTextSetAngle(1, " + angle + ")\n");
  EXPECT_EQ(drawn(), "text (2,-1) h2.5 a-45 \"R\" c0\n");
  restart();
  importText(dxf, "-P2");
  EXPECT_EQ(journal({"OrvUtilTextCreate", "OrvUtilTextSetAngle"}),
            "OrvUtilTextCreate(0, 1, 2, 0, 2.5, \"R\") -> 1\nOrvUtilTextSetAngle(1, " + angle + ")\n");
}

// An empty text creates nothing but has grown the extents: the circle of a
// point at the origin takes its size from them.
TEST_F(TextTest, EmptyTextStillGrowsTheExtents) {
  const orvhost::MacroOutcome outcome = importText(
      dxfFile(entitiesSection(entity("TEXT", {{10, 3}, {20, 4}, {1, ""}}) + entity("POINT", {{10, 0}, {20, 0}}))));
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(journal({"OrvUtilTextCreate", "OrvUtilGeomCircleCreate"}),
            "OrvUtilGeomCircleCreate(0, 0, 0, " + formatNumber(pointRadius(3, 4)) + ") -> 1\n");
}

// A TEXT without a string still counts as found: the import succeeds.
TEST_F(TextTest, TextWithoutStringCountsAsFound) {
  const orvhost::MacroOutcome outcome = importText(dxfFile(entitiesSection(text({}))), "-VT");
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(drawn(), "");
}

}  // namespace
}  // namespace drawport::testing
