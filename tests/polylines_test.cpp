// POLYLINE entities with their VERTEX and SEQEND entities: host polylines
// relative to an anchor, cut into pieces of at most 2997 points.
#include <gmock/gmock.h>

#include "host/journal.h"
#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

class PolylinesTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

class PolylineShapes : public PolylinesTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(PolylineShapes, AreDrawnRelativeToTheirFirstVertex) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

const std::vector<Vertex> kCorner = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
const std::vector<Vertex> kOffset = {{5, 5, 1}, {6, 5, 2}};

INSTANTIATE_TEST_SUITE_P(
    Polylines, PolylineShapes,
    ::testing::Values(
        DrawingCase{"open", polyline(kCorner), "", "poly2 @(0,0,0) (0,0) (10,0) (10,10) c0\n"},
        DrawingCase{"closed", polyline(kCorner, {{70, 1}}), "", "poly2 @(0,0,0) (0,0) (10,0) (10,10) (0,0) c0\n"},
        DrawingCase{"closed among other flags", polyline(kCorner, {{70, 129}}), "",
                    "poly2 @(0,0,0) (0,0) (10,0) (10,10) (0,0) c0\n"},
        DrawingCase{"flags without the closed bit", polyline(kCorner, {{70, 128}}), "",
                    "poly2 @(0,0,0) (0,0) (10,0) (10,10) c0\n"},
        DrawingCase{"3D import", polyline(kOffset), "-P2", "poly3 @(5,5,1) (0,0,0) (1,0,1) c0\n"},
        DrawingCase{"2D import keeps z for the anchor alone", polyline(kOffset), "", "poly2 @(5,5,1) (0,0) (1,0) c0\n"},
        DrawingCase{"a 3D polyline (flag 8) in a 2D import", polyline(kOffset, {{70, 8}}), "",
                    "poly2 @(5,5,1) (0,0) (1,0) c0\n"},
        DrawingCase{"closed, in a 3D import", polyline(kOffset, {{70, 1}}), "-P2",
                    "poly3 @(5,5,1) (0,0,0) (1,0,1) (0,0,0) c0\n"},
        DrawingCase{"one vertex", polyline({{1, 1, 0}}), "", ""},
        DrawingCase{"no vertex", polyline({}, {{70, 1}}), "", ""},
        DrawingCase{"its own position groups are passed over", polyline(kOffset, {{10, 7}, {20, 7}, {30, 7}}), "",
                    "poly2 @(5,5,1) (0,0) (1,0) c0\n"},
        DrawingCase{"vertex codes written with leading zeros",
                    entity("POLYLINE") + entity("VERTEX", {{"010", "4"}, {"020", "3"}}) +
                        entity("VERTEX", {{"010", "6"}, {"+20", "3"}, {"42", "1.0"}}) + entity("SEQEND"),
                    "", "poly2 @(4,3,0) (0,0) (2,0) c0\n"},
        DrawingCase{"the groups of SEQEND are passed over by the dispatcher",
                    polyline(kOffset) + groups({{8, "0"}}) + entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}}), "",
                    "poly2 @(5,5,1) (0,0) (1,0) c0\nline2 (0,0)-(1,0) c0\n"},
        DrawingCase{"group 62", polyline(kCorner, {{62, 3}}), "", "poly2 @(0,0,0) (0,0) (10,0) (10,10) c2\n"},
        DrawingCase{"the layer's colour", polyline(kCorner, {{8, "WALLS"}}), "",
                    "poly2 @(0,0,0) (0,0) (10,0) (10,10) c3\n", layerTables(layer("WALLS", 5))},
        DrawingCase{"the layers and colours its vertices name do not count",
                    entity("POLYLINE", {{8, "WALLS"}}) + entity("VERTEX", {{8, "DOORS"}, {62, 1}, {10, 0}, {20, 0}}) +
                        entity("VERTEX", {{8, "DOORS"}, {62, 1}, {10, 1}, {20, 0}}) + entity("SEQEND"),
                    "", "poly2 @(0,0,0) (0,0) (1,0) c3\n", layerTables(layer("WALLS", 5) + layer("DOORS", 6))},
        // A group 8 that comes after the first vertex: the colour was taken
        // from the layer named by then (none).
        DrawingCase{"the layer is looked up at the first vertex",
                    entity("POLYLINE") + entity("VERTEX", {{10, 0}, {20, 0}}) + "  0\n" + groups({{8, "WALLS"}}) +
                        entity("VERTEX", {{10, 1}, {20, 0}}) + entity("SEQEND"),
                    "", "poly2 @(0,0,0) (0,0) (1,0) c0\n", layerTables(layer("WALLS", 5))},
        DrawingCase{"an invisible layer, hidden", polyline(kCorner, {{8, "OFF"}}), "-VL",
                    "poly2 @(0,0,0) (0,0) (10,0) (10,10) c7\n", layerTables(layer("OFF", -1))},
        DrawingCase{"zone 2", polyline(kCorner), "-Z2", "poly2 @(0,0,0) (0,0) (10,0) (10,10) c0 z2\n"},
        DrawingCase{"rotated a quarter turn", polyline({{1, 0, 0}, {2, 0, 0}, {2, 1, 0}}), "",
                    "poly2 @(0,-1,0) (0,0) (0,-1) (1,-1) c0\n", ucsHeader(0, 1)},
        DrawingCase{"not rotated in a 3D import", polyline({{1, 0, 0}, {2, 0, 0}, {2, 1, 0}}), "-P2",
                    "poly3 @(1,0,0) (0,0,0) (1,0,0) (1,1,0) c0\n", ucsHeader(0, 1)}));

// Long polylines: vertex i at (i, 2i, i), so that each piece shows where it
// starts.
struct PiecesCase {
  int vertices;
  int flags;
  const char* expected;
};
void PrintTo(const PiecesCase& c, std::ostream* os) { *os << c.vertices << " vertices, flags " << c.flags; }

class PolylinePieces : public PolylinesTest, public ::testing::WithParamInterface<PiecesCase> {};

TEST_P(PolylinePieces, StartAtTheLastVertexOfThePieceBefore) {
  const PiecesCase& c = GetParam();
  EXPECT_EQ(imported(dxfFile(entitiesSection(polyline(numberedVertices(c.vertices), {{70, c.flags}})))), c.expected);
}

// The full reading hands most polylines over in one look at their points and
// the long ones piece by piece: both cut where the classic reading does. (A
// 3D polyline, flag 8, so that it keeps its vertices' z.)
TEST_P(PolylinePieces, AreCutAlikeInTheFullReading) {
  const PiecesCase& c = GetParam();
  EXPECT_EQ(imported(dxfFile(entitiesSection(polyline(numberedVertices(c.vertices), {{70, c.flags | 8}}))), "-X"),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Polylines, PolylinePieces,
    ::testing::Values(PiecesCase{2997, 0, "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"},
                      PiecesCase{2997, 1, "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2998 (2996,5992) (0,0) c0\n"},
                      PiecesCase{2998, 0,
                                 "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"
                                 "poly2 @(2997,5994,2997) (0,0) (1,2) c0\n"},
                      PiecesCase{2998, 1,
                                 "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"
                                 "poly2 @(2997,5994,2997) (0,0) (1,2) (-2996,-5992) c0\n"},
                      PiecesCase{3000, 0,
                                 "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"
                                 "poly2 @(2997,5994,2997) (0,0) (1,2) (2,4) (3,6) c0\n"},
                      PiecesCase{3000, 1,
                                 "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"
                                 "poly2 @(2997,5994,2997) (0,0) (1,2) (2,4) (3,6) (-2996,-5992) c0\n"},
                      PiecesCase{5993, 0,
                                 "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"
                                 "poly2 @(2997,5994,2997) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"},
                      PiecesCase{5994, 1,
                                 "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"
                                 "poly2 @(2997,5994,2997) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n"
                                 "poly2 @(5993,11986,5993) (0,0) (1,2) (-5992,-11984) c0\n"}));

// Every point of every piece, not only the ends the rendering shows: piece
// k holds the vertices from its anchor on, each minus the anchor, and the
// closing point is the first vertex minus the last anchor.
TEST_F(PolylinesTest, EveryPieceHoldsItsVerticesRelativeToItsAnchor) {
  const int count = 6000;
  importText(dxfFile(entitiesSection(polyline(numberedVertices(count), {{70, 1}}))), "-P2");
  const orvhost::Frame& frame = host().frame();
  ASSERT_EQ(frame.objects().size(), 3u);
  int firstVertex = 1;  // the vertex at the anchor of the piece in hand
  for (const orvhost::FrameObject& piece : frame.objects()) {
    ASSERT_TRUE(piece.anchor);
    EXPECT_EQ(piece.dim, 3);
    EXPECT_EQ(piece.anchor->x, firstVertex);
    EXPECT_EQ(piece.anchor->z, firstVertex);
    const bool last = &piece == &frame.objects().back();
    const uint32_t vertices = last ? piece.pointCount - 1 : piece.pointCount;
    for (uint32_t i = 0; i < vertices; ++i) {
      const orvhost::Point3& p = frame.point(piece, i);
      ASSERT_TRUE(p.x == i && p.y == 2.0 * i && p.z == i) << "piece at " << firstVertex << ", point " << i;
    }
    if (last) {
      const orvhost::Point3& closing = frame.point(piece, vertices);
      EXPECT_EQ(closing.x, 1 - firstVertex);
      EXPECT_EQ(closing.y, 2.0 * (1 - firstVertex));
      EXPECT_EQ(closing.z, 1 - firstVertex);
      EXPECT_EQ(firstVertex + static_cast<int>(vertices) - 1, count);
    }
    firstVertex += static_cast<int>(piece.pointCount) - 1;
  }
}

TEST_F(PolylinesTest, EachPieceIsCreatedAttachedAnchoredAndColouredInThisOrder) {
  importText(dxfFile(entitiesSection(polyline({{1, 2, 3}, {4, 6, 3}}, {{62, 5}}))), "-Z1");
  EXPECT_EQ(journal({"OrvUtilGeom"}),
            "OrvUtilGeom2DPolylineCreate(0, [0,3], [0,4], 2) -> 1\n"
            "OrvUtilGeomSetZoneOrMap(1, 1)\n"
            "OrvUtilGeomSetAttached(1, true)\n"
            "OrvUtilGeomSetXYZAnchorPos(1, 1, 2, 3)\n"
            "OrvUtilGeomSetColor(1, 3)\n");
  restart();
  importText(dxfFile(entitiesSection(polyline({{1, 2, 3}, {4, 6, 3}}, {{62, 5}}))), "-P2");
  EXPECT_EQ(journal({"OrvUtilGeom"}),
            "OrvUtilGeom3DPolylineCreate([0,3], [0,4], [0,0], 2) -> 1\n"
            "OrvUtilGeomSetXYZAnchorPos(1, 1, 2, 3)\n"
            "OrvUtilGeomSetColor(1, 3)\n");
}

// The pieces created before the end of the file stay; the vertices after
// the last piece are dropped.
TEST_F(PolylinesTest, PolylineCutOffByTheEndOfTheFileKeepsItsFinishedPieces) {
  std::string file = "  0\nSECTION\n  2\nENTITIES\n" + polyline(numberedVertices(3000));
  file.resize(file.rfind("  0\nSEQEND"));
  const orvhost::MacroOutcome outcome = importText(file);
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(drawn(), "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n");
}

// A vertex cut off by the end of the file is still taken: the 2998th makes
// the first piece of vertices 1 to 2997.
TEST_F(PolylinesTest, VertexCutOffByTheEndOfTheFileStillEndsThePieceBeforeIt) {
  std::string file = "  0\nSECTION\n  2\nENTITIES\n" + polyline(numberedVertices(2998));
  file.resize(file.rfind("  0\nSEQEND"));
  file.resize(file.rfind(" 20\n"));
  const orvhost::MacroOutcome outcome = importText(file);
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(drawn(), "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...2997 (2995,5990) (2996,5992) c0\n");
}

// A stop request does not cut a polyline short: it is read to its SEQEND,
// and only then does the dispatcher stop. The import counts as done.
TEST_F(PolylinesTest, StopRequestLetsThePolylineInHandFinish) {
  config.stopFromCheck = 1;
  config.macroRecording = true;
  restart();
  const std::string file =
      dxfFile(entitiesSection(polyline(numberedVertices(400)) + entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}})));
  const orvhost::MacroOutcome outcome = importText(file);
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(drawn(), "poly2 @(1,2,1) (0,0) (1,2) (2,4) ...400 (398,796) (399,798) c0\n");
  // The stop came at the first check; the second came while the polyline
  // was still being read.
  EXPECT_EQ(host().percentDoneChecks(), 2);
  EXPECT_EQ(host().macros().size(), 1u);
  EXPECT_EQ(host().viewFits(), 1);
}

// Vertices grow the extents before they are rotated (seen through the
// circle of a point at the origin).
TEST_F(PolylinesTest, VerticesGrowTheExtentsBeforeTheRotation) {
  importText(dxfFile(ucsHeader(1, 1) +
                     entitiesSection(polyline({{3, 4, 0}, {-3, 4, 0}}) + entity("POINT", {{10, 0}, {20, 0}}))));
  EXPECT_EQ(journal({"OrvUtilGeomCircleCreate"}),
            "OrvUtilGeomCircleCreate(0, 0, 0, " + orvhost::formatNumber(pointRadius(6, 4)) + ") -> 2\n");
}

}  // namespace
}  // namespace drawport::testing
