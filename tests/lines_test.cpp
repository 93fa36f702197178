// LINE entities: one 2D or 3D segment each, in its host colour, attached to
// the selected zone.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

class LinesTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

class LineShapes : public LinesTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(LineShapes, BecomesTheSegmentBetweenItsEnds) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineShapes,
    ::testing::Values(
        DrawingCase{"2D import", entity("LINE", {{8, "0"}, {10, 5}, {20, 1}, {11, 9}, {21, 2}}), "",
                    "line2 (5,1)-(9,2) c0\n"},
        DrawingCase{"3D import, no z given", entity("LINE", {{8, "0"}, {10, 5}, {20, 1}, {11, 9}, {21, 2}}), "-P2",
                    "line3 (5,1,0)-(9,2,0) c0\n"},
        DrawingCase{"3D import with z", entity("LINE", {{10, 5}, {20, 1}, {30, -3}, {11, 9}, {21, 2}, {31, 4}}), "-P2",
                    "line3 (5,1,-3)-(9,2,4) c0\n"},
        DrawingCase{"second 10/20/30 triple is the end point",
                    entity("LINE", {{10, 1}, {20, 2}, {30, 3}, {10, 4}, {20, 5}, {30, 6}}), "-P2",
                    "line3 (1,2,3)-(4,5,6) c0\n"},
        DrawingCase{"the later of 11 and a second 10 wins",
                    entity("LINE", {{10, 1}, {20, 1}, {11, 7}, {10, 8}, {21, 3}}), "", "line2 (1,1)-(8,3) c0\n"},
        DrawingCase{"ends that differ only in z",
                    entity("LINE", {{10, 1}, {20, 1}, {30, 0}, {11, 1}, {21, 1}, {31, 5}}), "",
                    "line2 (1,1)-(1,1) c0\n"},
        DrawingCase{"zero length is dropped", entity("LINE", {{10, 3}, {20, 4}, {11, 3}, {21, 4}}), "", ""},
        DrawingCase{"no coordinates at all", entity("LINE", {{8, "0"}}), "", ""},
        DrawingCase{"codes written with a leading zero or a sign",
                    entity("LINE", {{"010", "2"}, {"020", "3"}, {"+11", "6"}, {" 21", "7"}}), "",
                    "line2 (2,3)-(6,7) c0\n"},
        DrawingCase{"a code that is not exactly \"0\" does not end the entity",
                    entity("LINE", {{10, 1}, {20, 1}, {"00", "x"}, {"000", "y"}, {"ABC", "z"}, {11, 2}, {21, 2}}), "",
                    "line2 (1,1)-(2,2) c0\n"},
        DrawingCase{"group 62 value 1", entity("LINE", {{62, "1"}, {10, 0}, {20, 0}, {11, 1}, {21, 0}}), "",
                    "line2 (0,0)-(1,0) c1\n"},
        DrawingCase{"layer colour 5 without group 62",
                    entity("LINE", {{8, "WALLS"}, {10, 0}, {20, 0}, {11, 1}, {21, 0}}), "", "line2 (0,0)-(1,0) c3\n",
                    layerTables(layer("WALLS", 5))},
        DrawingCase{"zone 2", entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}}), "-Z2", "line2 (0,0)-(1,0) c0 z2\n"},
        DrawingCase{"zone 1 in a 3D import", entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}}), "-Z1 -P2",
                    "line3 (0,0,0)-(1,0,0) c0 z1\n"}));

TEST_F(LinesTest, IsAttachedToItsZoneBeforeItsColourIsSet) {
  importText(dxfFile(entitiesSection(lineEntity(0, 0, 3, 4, " 62\n3\n"))), "-Z2");
  EXPECT_EQ(journal({"OrvUtilGeom"}),
            "OrvUtilGeom2DLineSegmentCreate(0, 0, 0, 3, 4) -> 1\n"
            "OrvUtilGeomSetZoneOrMap(1, 2)\n"
            "OrvUtilGeomSetAttached(1, true)\n"
            "OrvUtilGeomSetColor(1, 2)\n");
}

TEST_F(LinesTest, ThreeDSegmentTakesTheSameStepsWithoutAZone) {
  importText(dxfFile(entitiesSection(entity("LINE", {{10, 1}, {20, 2}, {30, 3}, {11, 4}, {21, 5}, {31, 6}}))), "-P2");
  EXPECT_EQ(journal({"OrvUtilGeom"}),
            "OrvUtilGeom3DLineSegmentCreate(1, 2, 3, 4, 5, 6) -> 1\n"
            "OrvUtilGeomSetColor(1, 0)\n");
}

// A line that is dropped still counts as an entity found: no message, and the
// import succeeds.
TEST_F(LinesTest, ZeroLengthLineCountsAsFound) {
  const orvhost::MacroOutcome outcome = importText(dxfFile(entitiesSection(entity("LINE", {{8, "0"}}))));
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(drawn(), "");
}

}  // namespace
}  // namespace drawport::testing
