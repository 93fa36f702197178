// SOLID and 3DFACE entities: their corners as one closed polyline of five
// points relative to the first corner; a solid is filled in its colour.
#include <gmock/gmock.h>

#include "host/journal.h"
#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

class SolidsTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

class Outlines : public SolidsTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(Outlines, RunThroughTheCornersInTheirPlaces) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

const std::initializer_list<Group> kUnitSquare = {{10, 0}, {20, 0}, {11, 1}, {21, 0},
                                                  {12, 0}, {22, 1}, {13, 1}, {23, 1}};
const std::initializer_list<Group> kTriangle = {{10, 0}, {20, 0}, {11, 2}, {21, 0}, {12, 0}, {22, 2}};

INSTANTIATE_TEST_SUITE_P(
    Solids, Outlines,
    ::testing::Values(
        DrawingCase{"solid: corners 1, 2, 4, 3", entity("SOLID", kUnitSquare), "",
                    "poly2 @(0,0,0) (0,0) (1,0) (1,1) (0,1) (0,0) c0 fill0 filled\n"},
        DrawingCase{"3D face: corners 1, 2, 3, 4", entity("3DFACE", kUnitSquare), "",
                    "poly2 @(0,0,0) (0,0) (1,0) (0,1) (1,1) (0,0) c0\n"},
        DrawingCase{"solid with three corners", entity("SOLID", kTriangle), "",
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c0 fill0 filled\n"},
        DrawingCase{"3D face with three corners", entity("3DFACE", kTriangle), "",
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c0\n"},
        DrawingCase{"solid in a 3D import, anchored at its first corner",
                    entity("SOLID", {{10, 5}, {20, 5}, {30, 1}, {11, 6}, {21, 5}, {31, 1}}), "-P2",
                    "poly3 @(5,5,1) (0,0,0) (1,0,0) (-5,-5,-1) (-5,-5,-1) (0,0,0) c0 fill0 filled\n"},
        DrawingCase{"3D face in a 3D import",
                    entity("3DFACE", {{10, 1},
                                      {20, 1},
                                      {30, 1},
                                      {11, 2},
                                      {21, 1},
                                      {31, 2},
                                      {12, 2},
                                      {22, 2},
                                      {32, 3},
                                      {13, 1},
                                      {23, 2},
                                      {33, 4}}),
                    "-P2", "poly3 @(1,1,1) (0,0,0) (1,0,1) (1,1,2) (0,1,3) (0,0,0) c0\n"},
        DrawingCase{"3D face in a 2D import keeps z for the anchor alone",
                    entity("3DFACE", {{10, 1}, {20, 1}, {30, 7}, {11, 2}, {21, 1}, {31, 7}, {12, 2}, {22, 2}}), "",
                    "poly2 @(1,1,7) (0,0) (1,0) (1,1) (1,1) (0,0) c0\n"},
        DrawingCase{"fourth corner before the third: the third overwrites it",
                    entity("SOLID", {{10, 0}, {20, 0}, {11, 1}, {21, 0}, {13, 5}, {23, 5}, {12, 0}, {22, 1}}), "",
                    "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"},
        DrawingCase{"fourth corner before the third, 3D face",
                    entity("3DFACE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}, {13, 5}, {23, 5}, {12, 0}, {22, 1}}), "",
                    "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"},
        DrawingCase{"missing corners lie at the origin", entity("SOLID", {{10, 3}, {20, 4}}), "",
                    "poly2 @(3,4,0) (0,0) (-3,-4) (-3,-4) (-3,-4) (0,0) c0 fill0 filled\n"},
        DrawingCase{"no corners at all: still drawn", entity("3DFACE", {{8, "0"}}), "",
                    "poly2 @(0,0,0) (0,0) (0,0) (0,0) (0,0) (0,0) c0\n"},
        DrawingCase{"edge visibility, thickness and extrusion do not matter",
                    entity("3DFACE", {{70, 15}, {39, 4}, {210, 0}, {220, 0}, {230, -1}}) + groups(kTriangle), "",
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c0\n"},
        DrawingCase{
            "codes written with leading zeros",
            entity("SOLID", {{"010", "1"}, {"020", "1"}, {"011", "2"}, {"021", "1"}, {"012", "1"}, {"022", "2"}}), "",
            "poly2 @(1,1,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"},
        DrawingCase{"solid on a layer of colour 3: outline and fill",
                    entity("SOLID", {{8, "GREEN"}}) + groups(kTriangle), "",
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c2 fill2 filled\n", layerTables(layer("GREEN", 3))},
        DrawingCase{"3D face with group 62", entity("3DFACE", {{62, 6}}) + groups(kTriangle), "",
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c14\n"},
        DrawingCase{"solid on an invisible layer, hidden", entity("SOLID", {{8, "OFF"}}) + groups(kTriangle), "-VS",
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c7 fill7 filled\n", layerTables(layer("OFF", -3))},
        DrawingCase{"zone 3", entity("SOLID", kTriangle) + entity("3DFACE", kTriangle), "-Z3",
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c0 fill0 filled z3\n"
                    "poly2 @(0,0,0) (0,0) (2,0) (0,2) (0,2) (0,0) c0 z3\n"},
        DrawingCase{"solid rotated a quarter turn",
                    entity("SOLID", {{10, 1}, {20, 0}, {11, 2}, {21, 0}, {12, 1}, {22, 1}, {13, 2}, {23, 1}}), "",
                    "poly2 @(0,-1,0) (0,0) (0,-1) (1,-1) (1,0) (0,0) c0 fill0 filled\n", ucsHeader(0, 1)},
        DrawingCase{"3D face rotated a quarter turn",
                    entity("3DFACE", {{10, 1}, {20, 0}, {11, 2}, {21, 0}, {12, 1}, {22, 1}, {13, 2}, {23, 1}}), "",
                    "poly2 @(0,-1,0) (0,0) (0,-1) (1,0) (1,-1) (0,0) c0\n", ucsHeader(0, 1)},
        DrawingCase{"solid not rotated in a 3D import",
                    entity("SOLID", {{10, 1}, {20, 0}, {11, 2}, {21, 0}, {12, 1}, {22, 1}, {13, 2}, {23, 1}}), "-P2",
                    "poly3 @(1,0,0) (0,0,0) (1,0,0) (1,1,0) (0,1,0) (0,0,0) c0 fill0 filled\n", ucsHeader(0, 1)}));

TEST_F(SolidsTest, SolidIsAnchoredThenFilledInItsColourInThreeCalls) {
  importText(dxfFile(entitiesSection(entity("SOLID", {{62, 3}}) + groups(kTriangle))), "-Z1");
  EXPECT_EQ(journal({"OrvUtilGeom"}),
            "OrvUtilGeom2DPolylineCreate(0, [0,2,0,0,0], [0,0,2,2,0], 5) -> 1\n"
            "OrvUtilGeomSetZoneOrMap(1, 1)\n"
            "OrvUtilGeomSetAttached(1, true)\n"
            "OrvUtilGeomSetXYZAnchorPos(1, 0, 0, 0)\n"
            "OrvUtilGeomSetFillColor(1, 2)\n"
            "OrvUtilGeomSetColor(1, 2)\n"
            "OrvUtilGeomSetIsFilled(1, true)\n");
}

TEST_F(SolidsTest, ThreeDFaceIsAnchoredThenColouredUnfilled) {
  importText(dxfFile(entitiesSection(entity("3DFACE", {{62, 3}}) + groups(kTriangle))), "-P2");
  EXPECT_EQ(journal({"OrvUtilGeom"}),
            "OrvUtilGeom3DPolylineCreate([0,2,0,0,0], [0,0,2,2,0], [0,0,0,0,0], 5) -> 1\n"
            "OrvUtilGeomSetXYZAnchorPos(1, 0, 0, 0)\n"
            "OrvUtilGeomSetColor(1, 2)\n");
}

// The corners grow the extents as read, before any rotation (seen through
// the circle of a point at the origin).
TEST_F(SolidsTest, CornersGrowTheExtentsBeforeTheRotation) {
  const std::string solid =
      entity("SOLID", {{10, 10}, {20, 10}, {11, 12}, {21, 10}, {12, 10}, {22, 12}, {13, 12}, {23, 12}});
  const std::string expected =
      "OrvUtilGeomCircleCreate(0, 0, 0, " + orvhost::formatNumber(pointRadius(12, 12)) + ") -> 2\n";
  importText(dxfFile(entitiesSection(solid + entity("POINT", {{10, 0}, {20, 0}}))));
  EXPECT_EQ(journal({"OrvUtilGeomCircleCreate"}), expected);
  restart();
  importText(dxfFile(ucsHeader(1, 1) + entitiesSection(solid + entity("POINT", {{10, 0}, {20, 0}}))));
  EXPECT_EQ(journal({"OrvUtilGeomCircleCreate"}), expected);
}

// A solid after a polyline of the same run: the outline starts fresh in the
// shared vertex arrays.
TEST_F(SolidsTest, OutlineDoesNotKeepPointsOfAnEarlierPolyline) {
  EXPECT_EQ(imported(dxfFile(entitiesSection(polyline({{1, 1, 1}, {5, 5, 5}, {9, 1, 9}, {7, 7, 7}, {3, 3, 3}}) +
                                             entity("3DFACE", {{10, 2}, {20, 2}}))),
                     "-P2"),
            "poly3 @(1,1,1) (0,0,0) (4,4,4) (8,0,8) (6,6,6) (2,2,2) c0\n"
            "poly3 @(2,2,0) (0,0,0) (-2,-2,0) (-2,-2,0) (-2,-2,0) (0,0,0) c0\n");
}

}  // namespace
}  // namespace drawport::testing
