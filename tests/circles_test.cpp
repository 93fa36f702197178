// CIRCLE and ARC entities: host circles and arcs in the frame's plane, arc
// angles brought into range by one step, turned with an active rotation.
#include <gmock/gmock.h>

#include "host/journal.h"
#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

class CirclesTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

class Circles : public CirclesTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(Circles, AreCreatedAsRead) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Circles, Circles,
    ::testing::Values(
        DrawingCase{"circle", entity("CIRCLE", {{10, 10}, {20, 5}, {30, 7}, {40, 2}}), "", "circle (10,5) r2 c0\n"},
        DrawingCase{"circle in a 3D import", entity("CIRCLE", {{10, 10}, {20, 5}, {30, 7}, {40, 2}}), "-P2",
                    "circle (10,5) r2 c0\n"},
        DrawingCase{"circle without radius", entity("CIRCLE", {{10, 10}, {20, 5}}), "", ""},
        DrawingCase{"circle of negative radius", entity("CIRCLE", {{10, 10}, {20, 5}, {40, -1}}), "", ""},
        DrawingCase{"circle ignores arc angles", entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}, {50, 10}, {51, 20}}), "",
                    "circle (1,1) r1 c0\n"},
        DrawingCase{"the later radius wins", entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}, {40, 3}}), "",
                    "circle (1,1) r3 c0\n"},
        DrawingCase{"circle with group 62 and a zone", entity("CIRCLE", {{62, 5}, {10, 1}, {20, 1}, {40, 1}}), "-Z2",
                    "circle (1,1) r1 c3 z2\n"},
        DrawingCase{"arc", entity("ARC", {{10, 0}, {20, 0}, {40, 1}, {50, 30}, {51, 120}}), "",
                    "arc (0,0) r1 30..120 c0\n"},
        DrawingCase{"arc without radius", entity("ARC", {{10, 0}, {20, 0}, {50, 30}, {51, 120}}), "", ""},
        DrawingCase{"arc with group 62 and a zone", entity("ARC", {{62, 2}, {40, 1}, {50, 30}, {51, 120}}), "-Z1",
                    "arc (0,0) r1 30..120 c5 z1\n"},
        DrawingCase{"circles off, arcs on",
                    entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}}) + entity("ARC", {{40, 1}, {50, 0}, {51, 90}}), "-VA",
                    "arc (0,0) r1 0..90 c0\n"},
        DrawingCase{"arcs off, circles on",
                    entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}}) + entity("ARC", {{40, 1}, {50, 0}, {51, 90}}), "-VC",
                    "circle (1,1) r1 c0\n"}));

// The angles as read decide whether an arc is drawn; each is then brought
// into range by at most one step each way.
struct ArcAnglesCase {
  double start, end;
  const char* expected;
};
void PrintTo(const ArcAnglesCase& c, std::ostream* os) { *os << c.start << ".." << c.end; }

class ArcAngles : public CirclesTest, public ::testing::WithParamInterface<ArcAnglesCase> {};

TEST_P(ArcAngles, AreBroughtIntoRangeOneStepAtMost) {
  const ArcAnglesCase& c = GetParam();
  EXPECT_EQ(imported(dxfFile(entitiesSection(entity("ARC", {{40, 1}, {50, c.start}, {51, c.end}})))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Circles, ArcAngles,
                         ::testing::Values(ArcAnglesCase{0, 360, "arc (0,0) r1 0..360 c0\n"},
                                           ArcAnglesCase{10, 370, "arc (0,0) r1 10..10 c0\n"},
                                           ArcAnglesCase{720, 90, "arc (0,0) r1 360..90 c0\n"},
                                           ArcAnglesCase{800, -800, "arc (0,0) r1 440..-440 c0\n"},
                                           ArcAnglesCase{-400, 90, "arc (0,0) r1 -40..90 c0\n"},
                                           ArcAnglesCase{90, -90, "arc (0,0) r1 90..270 c0\n"},
                                           ArcAnglesCase{360.5, 0, "arc (0,0) r1 0.5..0 c0\n"},
                                           ArcAnglesCase{45, 45, ""}, ArcAnglesCase{370, 370, ""}));

// Under a UCS turned a quarter, a 2D import turns the centre and the angles;
// a 3D import turns neither.
struct RotatedArcCase {
  const char* flags;
  const char* expected;
};
void PrintTo(const RotatedArcCase& c, std::ostream* os) { *os << c.flags; }

class RotatedArcs : public CirclesTest, public ::testing::WithParamInterface<RotatedArcCase> {};

TEST_P(RotatedArcs, TurnOnlyIn2D) {
  const std::string entities = entity("ARC", {{10, 1}, {20, 0}, {40, 1}, {50, 30}, {51, 120}}) +
                               entity("ARC", {{10, 1}, {20, 0}, {40, 1}, {50, 0}, {51, 90}}) +
                               entity("CIRCLE", {{10, 1}, {20, 0}, {40, 1}});
  EXPECT_EQ(imported(dxfFile(ucsHeader(0, 1) + entitiesSection(entities)), GetParam().flags), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Circles, RotatedArcs,
                         ::testing::Values(RotatedArcCase{"",
                                                          "arc (0,-1) r1 300..30 c0\n"
                                                          "arc (0,-1) r1 270..0 c0\n"
                                                          "circle (0,-1) r1 c0\n"},
                                           RotatedArcCase{"-P2",
                                                          "arc (1,0) r1 30..120 c0\n"
                                                          "arc (1,0) r1 0..90 c0\n"
                                                          "circle (1,0) r1 c0\n"}));

// The arc's angles take the rotation's degrees as the generation computes
// them, then the range step.
TEST_F(CirclesTest, RotatedArcAnglesTakeTheGenerationsDegrees) {
  importText(dxfFile(ucsHeader(1, 1) + entitiesSection(entity("ARC", {{40, 1}, {50, 30}, {51, 120}}))));
  const double turn = degrees(-std::acos(1 / std::sqrt(2.0)));
  EXPECT_EQ(journal({"OrvUtilGeomArcCreate"}), "OrvUtilGeomArcCreate(0, 0, 0, 1, " +
                                                   orvhost::formatNumber(30 + turn + 360) + ", " +
                                                   orvhost::formatNumber(120 + turn) + ") -> 1\n");
}

TEST_F(CirclesTest, CircleAndArcAreColouredThenAttached) {
  importText(dxfFile(entitiesSection(entity("CIRCLE", {{10, 1}, {20, 2}, {40, 3}, {62, 1}}) +
                                     entity("ARC", {{10, 1}, {20, 2}, {40, 3}, {50, 5}, {51, 6}, {62, 1}}))),
             "-Z1");
  EXPECT_EQ(journal({"OrvUtilGeom"}),
            "OrvUtilGeomCircleCreate(0, 1, 2, 3) -> 1\n"
            "OrvUtilGeomSetColor(1, 1)\n"
            "OrvUtilGeomSetZoneOrMap(1, 1)\n"
            "OrvUtilGeomSetAttached(1, true)\n"
            "OrvUtilGeomArcCreate(0, 1, 2, 3, 5, 6) -> 2\n"
            "OrvUtilGeomSetColor(2, 1)\n"
            "OrvUtilGeomSetZoneOrMap(2, 1)\n"
            "OrvUtilGeomSetAttached(2, true)\n");
}

// Circles and arcs grow the extents by their centre alone, not by their
// radius (seen through the circle of a point at the origin).
TEST_F(CirclesTest, OnlyTheCentreGrowsTheExtents) {
  importText(dxfFile(entitiesSection(entity("CIRCLE", {{10, 10}, {20, 5}, {40, 2}}) +
                                     entity("ARC", {{10, 4}, {20, 6}, {40, 9}, {50, 0}, {51, 90}}) +
                                     entity("POINT", {{10, 0}, {20, 0}}))));
  EXPECT_EQ(journal({"OrvUtilGeomCircleCreate(0, 0"}),
            "OrvUtilGeomCircleCreate(0, 0, 0, " + orvhost::formatNumber(pointRadius(10, 6)) + ") -> 3\n");
}

// A dropped circle still counts as found.
TEST_F(CirclesTest, CircleWithoutRadiusCountsAsFound) {
  const orvhost::MacroOutcome outcome = importText(dxfFile(entitiesSection(entity("CIRCLE", {{10, 1}}))), "-VC");
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), "");
}

}  // namespace
}  // namespace drawport::testing
