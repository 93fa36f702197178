// The full reading (-X): entities read whole by pairs, colours as a CAD
// program shows them, object coordinates, bulges, LWPOLYLINE, meshes and
// polyfaces, corners by their codes, point sizes from what is drawn.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

class FullReadingTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

class FullReading : public FullReadingTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(FullReading, DrawsTheDrawingAsACadProgramShowsIt) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

// A LINE from (0, y) to (1, y) with extra groups.
std::string lineAt(double y, std::initializer_list<Group> extra) {
  std::string text = entity("LINE", {{10, 0}, {20, y}, {11, 1}, {21, y}});
  for (const Group& group : extra) text += group.code + "\n" + group.value + "\n";
  return text;
}

const Group kMirrored[] = {{210, 0}, {220, 0}, {230, -1}};

std::string vertex(double x, double y, std::initializer_list<Group> extra = {}) {
  std::string text = entity("VERTEX", {{10, x}, {20, y}, {30, 0}});
  for (const Group& group : extra) text += group.code + "\n" + group.value + "\n";
  return text;
}

const std::string kLayers = layerTables(layer("WALLS", 3) + entity("LAYER", {{2, "FROZEN"}, {70, 1}, {62, 5}}) +
                                        entity("LAYER", {{2, "TRUE"}, {70, 0}, {62, 1}, {420, 0x00FF00}}) +
                                        entity("LAYER", {{2, "PLAIN"}, {70, 0}}));

INSTANTIATE_TEST_SUITE_P(
    Pairs, FullReading,
    ::testing::Values(
        DrawingCase{"a value that reads like an entity name starts nothing",
                    entity("ACME_NOTE", {{1, "LINE"}, {8, "CIRCLE"}, {10, 5}, {20, 5}, {11, 9}, {21, 9}}) +
                        lineAt(0, {{8, "TEXT"}}),
                    "-X", "line2 (0,0)-(1,0) c0\n"},
        DrawingCase{"ENDSEC as a layer name does not end the section",
                    lineAt(0, {{8, "ENDSEC"}}) + entity("CIRCLE", {{10, 0}, {20, 0}, {40, 1}}), "-X",
                    "line2 (0,0)-(1,0) c0\ncircle (0,0) r1 c0\n"},
        DrawingCase{"application groups and extended data are passed over",
                    entity("LINE", {{102, "{ACAD_REACTORS"},
                                    {10, 7},
                                    {102, "}"},
                                    {10, 0},
                                    {20, 0},
                                    {11, 1},
                                    {21, 0},
                                    {1001, "ACAD"},
                                    {1010, 9},
                                    {1020, 9}}),
                    "-X", "line2 (0,0)-(1,0) c0\n"},
        DrawingCase{"paper-space and invisible entities are not drawn",
                    lineAt(0, {{67, 1}}) + lineAt(1, {{60, 1}}) + lineAt(2, {{67, 0}}), "-X", "line2 (0,2)-(1,2) c0\n"},
        DrawingCase{
            "the kind switches hold for the new kinds",
            entity("LWPOLYLINE", {{10, 0}, {20, 0}, {10, 1}, {20, 0}}) + entity("CIRCLE", {{10, 0}, {20, 0}, {40, 1}}),
            "-VC -X", "circle (0,0) r1 c0\n"}));

// Colour numbers, BYLAYER, BYBLOCK, true colours and layers; the host
// colours of DXF colours 1 to 6 are 1, 5, 2, 4, 3, 14, the foreground 0.
INSTANTIATE_TEST_SUITE_P(
    Colours, FullReading,
    ::testing::Values(
        DrawingCase{"BYLAYER given or not, BYBLOCK outside a block, light grey, greys",
                    lineAt(0, {{8, "WALLS"}, {62, 256}}) + lineAt(1, {{8, "WALLS"}}) +
                        lineAt(2, {{8, "WALLS"}, {62, 0}}) + lineAt(3, {{62, 9}}) + lineAt(4, {{62, 250}}) +
                        lineAt(5, {{62, 255}}),
                    "-X",
                    "line2 (0,0)-(1,0) c2\nline2 (0,1)-(1,1) c2\nline2 (0,2)-(1,2) c0\nline2 (0,3)-(1,3) c8\n"
                    "line2 (0,4)-(1,4) c8\nline2 (0,5)-(1,5) c0\n",
                    kLayers},
        DrawingCase{"hues halfway between two go to the lower one",
                    lineAt(0, {{62, 30}}) + lineAt(1, {{62, 70}}) + lineAt(2, {{62, 110}}) + lineAt(3, {{62, 150}}) +
                        lineAt(4, {{62, 190}}) + lineAt(5, {{62, 230}}) + lineAt(6, {{62, 245}}),
                    "-X",
                    "line2 (0,0)-(1,0) c1\nline2 (0,1)-(1,1) c5\nline2 (0,2)-(1,2) c2\nline2 (0,3)-(1,3) c4\n"
                    "line2 (0,4)-(1,4) c3\nline2 (0,5)-(1,5) c14\nline2 (0,6)-(1,6) c1\n"},
        DrawingCase{"true colours win over colour numbers; greys by their lightness",
                    lineAt(0, {{62, 1}, {420, 0x0000FF}}) + lineAt(1, {{420, 0xFF8000}}) +
                        lineAt(2, {{420, 0x808080}}) + lineAt(3, {{420, 0xF0F0F0}}) + lineAt(4, {{420, 0x101010}}),
                    "-X",
                    "line2 (0,0)-(1,0) c3\nline2 (0,1)-(1,1) c5\nline2 (0,2)-(1,2) c8\nline2 (0,3)-(1,3) c0\n"
                    "line2 (0,4)-(1,4) c0\n"},
        DrawingCase{"a layer's true colour, a layer without a colour, a frozen layer shown",
                    lineAt(0, {{8, "TRUE"}}) + lineAt(1, {{8, "PLAIN"}}) + lineAt(2, {{8, "FROZEN"}}), "-X",
                    "line2 (0,0)-(1,0) c2\nline2 (0,1)-(1,1) c0\nline2 (0,2)-(1,2) c3\n", kLayers},
        DrawingCase{"a frozen layer hidden, even under a colour of the entity's own",
                    lineAt(0, {{8, "FROZEN"}}) + lineAt(1, {{8, "FROZEN"}, {62, 1}}) + lineAt(2, {{8, "WALLS"}}),
                    "-VL -H -X", "line2 (0,2)-(1,2) c2\n", kLayers}));

// Object coordinates: the mirrored plane (extrusion 0, 0, -1) turns x and
// angles round; a tilted plane makes circles polylines.
INSTANTIATE_TEST_SUITE_P(
    ObjectCoordinates, FullReading,
    ::testing::Values(
        DrawingCase{"mirrored circle",
                    entity("CIRCLE", {{10, 10}, {20, 5}, {40, 2}, kMirrored[0], kMirrored[1], kMirrored[2]}), "-X",
                    "circle (-10,5) r2 c0\n"},
        DrawingCase{
            "mirrored arc runs from 180 - end to 180 - start",
            entity("ARC", {{10, 10}, {20, 0}, {40, 2}, {50, 0}, {51, 90}, kMirrored[0], kMirrored[1], kMirrored[2]}),
            "-X", "arc (-10,0) r2 90..180 c0\n"},
        DrawingCase{
            "mirrored text stands at 180 - rotation",
            entity("TEXT", {{1, "A"}, {10, 10}, {20, 0}, {40, 2}, {50, 30}, kMirrored[0], kMirrored[1], kMirrored[2]}),
            "-X", "text (-10,0) h2 a150 \"A\" c0\n"},
        DrawingCase{"mirrored solid: corners zigzag, x turned round",
                    entity("SOLID", {{10, 0},
                                     {20, 0},
                                     {11, 1},
                                     {21, 0},
                                     {12, 0},
                                     {22, 1},
                                     {13, 1},
                                     {23, 1},
                                     kMirrored[0],
                                     kMirrored[1],
                                     kMirrored[2]}),
                    "-X", "poly2 @(0,0,0) (0,0) (-1,0) (-1,1) (0,1) (0,0) c0 fill0 filled\n"},
        DrawingCase{"a circle in a tilted plane is seen as an ellipse",
                    entity("CIRCLE", {{40, 1}, {210, 0}, {220, 0.6}, {230, 0.8}}), "-X",
                    "poly2 @(-1,0,0) (0,0) (0.00243595,-0.055805179) (0.009731931,-0.111338481) ...91 "
                    "(0.00243595,0.055805179) (0,0) c0\n"},
        DrawingCase{"the UCS rotation still turns a 2D import", entity("LINE", {{10, 1}, {20, 0}, {11, 2}, {21, 0}}),
                    "-X", "line2 (0,-1)-(0,-2) c0\n", ucsHeader(0, 1)}));

// Bulges: 1 is a half circle below the chord from (0, 0) to (2, 0), -0.5
// an arc of 106 degrees above it; both become chords of at most 4 degrees.
INSTANTIATE_TEST_SUITE_P(
    Polylines, FullReading,
    ::testing::Values(
        DrawingCase{"bulge 1", entity("LWPOLYLINE", {{90, 2}, {10, 0}, {20, 0}, {42, 1}, {10, 2}, {20, 0}}), "-X",
                    "poly2 @(0,0,0) (0,0) (0.00243595,-0.069756474) (0.009731931,-0.139173101) ...46 "
                    "(1.99756405,-0.069756474) (2,0) c0\n"},
        DrawingCase{"bulge -0.5", entity("LWPOLYLINE", {{90, 2}, {10, 0}, {20, 0}, {42, -0.5}, {10, 2}, {20, 0}}), "-X",
                    "poly2 @(0,0,0) (0,0) (0.053834031,0.066865936) (0.112130426,0.129879321) ...28 "
                    "(1.946165969,0.066865936) (2,0) c0\n"},
        DrawingCase{"a bulge on a 2D POLYLINE's vertex",
                    entity("POLYLINE", {{66, 1}, {70, 0}}) + vertex(0, 0, {{42, 1}}) + vertex(2, 0) + entity("SEQEND"),
                    "-X",
                    "poly2 @(0,0,0) (0,0) (0.00243595,-0.069756474) (0.009731931,-0.139173101) ...46 "
                    "(1.99756405,-0.069756474) (2,0) c0\n"},
        DrawingCase{
            "closed LWPOLYLINE at its elevation, in 3D",
            entity("LWPOLYLINE", {{90, 3}, {70, 1}, {38, 5}, {10, 0}, {20, 0}, {10, 4}, {20, 0}, {10, 4}, {20, 3}}),
            "-P2 -X", "poly3 @(0,0,5) (0,0,0) (4,0,0) (4,3,0) (0,0,0) c0\n"},
        DrawingCase{"a count that promises more vertices than there are",
                    entity("LWPOLYLINE", {{90, 2147483647}, {10, 0}, {20, 0}, {10, 1}, {20, 1}}), "-X",
                    "poly2 @(0,0,0) (0,0) (1,1) c0\n"},
        DrawingCase{"spline-fit POLYLINE draws its fit vertices, not its frame",
                    entity("POLYLINE", {{66, 1}, {70, 4}}) + vertex(0, 0, {{70, 16}}) + vertex(5, 5, {{70, 16}}) +
                        vertex(0, 0, {{70, 8}}) + vertex(5, 2, {{70, 8}}) + vertex(10, 0, {{70, 8}}) + entity("SEQEND"),
                    "-X", "poly2 @(0,0,0) (0,0) (5,2) (10,0) c0\n"},
        DrawingCase{"polygon mesh of 2 rows of 3, closed in N",
                    entity("POLYLINE", {{66, 1}, {70, 16 + 32}, {71, 2}, {72, 3}}) + vertex(0, 0, {{70, 64}}) +
                        vertex(1, 0, {{70, 64}}) + vertex(2, 0, {{70, 64}}) + vertex(0, 1, {{70, 64}}) +
                        vertex(1, 1, {{70, 64}}) + vertex(2, 1, {{70, 64}}) + entity("SEQEND"),
                    "-X",
                    "poly2 @(0,0,0) (0,0) (1,0) (2,0) (0,0) c0\npoly2 @(0,1,0) (0,0) (1,0) (2,0) (0,0) c0\n"
                    "poly2 @(0,0,0) (0,0) (0,1) c0\npoly2 @(1,0,0) (0,0) (0,1) c0\npoly2 @(2,0,0) (0,0) (0,1) c0\n"},
        DrawingCase{"polyface face with an invisible edge, and a face naming a vertex it lacks",
                    entity("POLYLINE", {{66, 1}, {70, 64}, {71, 4}, {72, 2}}) + vertex(0, 0, {{70, 192}}) +
                        vertex(1, 0, {{70, 192}}) + vertex(1, 1, {{70, 192}}) + vertex(0, 1, {{70, 192}}) +
                        vertex(0, 0, {{70, 128}, {71, 1}, {72, 2}, {73, -3}, {74, 4}}) +
                        vertex(0, 0, {{70, 128}, {71, 1}, {72, 2}, {73, 9}}) + entity("SEQEND"),
                    "-X", "poly2 @(0,1,0) (0,0) (0,-1) (1,-1) (1,0) c0\n"}));

// Corners by their codes in any order; the POINT circles' size from what is
// drawn when the header's extents are the unset ones.
INSTANTIATE_TEST_SUITE_P(
    CornersAndPoints, FullReading,
    ::testing::Values(
        DrawingCase{"3DFACE written 10, 13, 11, 12",
                    entity("3DFACE", {{10, 0},
                                      {20, 0},
                                      {30, 0},
                                      {13, 0},
                                      {23, 1},
                                      {33, 0},
                                      {11, 1},
                                      {21, 0},
                                      {31, 0},
                                      {12, 1},
                                      {22, 1},
                                      {32, 0}}),
                    "-X", "poly2 @(0,0,0) (0,0) (1,0) (1,1) (0,1) (0,0) c0\n"},
        DrawingCase{"3DFACE with an invisible edge",
                    entity("3DFACE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}, {12, 1}, {22, 1}, {13, 0}, {23, 1}, {70, 2}}),
                    "-X", "poly2 @(1,1,0) (0,0) (-1,0) (-1,-1) (0,-1) c0\n"},
        DrawingCase{"points sized from what is drawn under unset header extents",
                    entity("POINT", {{10, 0}, {20, 0}}) + entity("POINT", {{10, 3}, {20, 4}}), "-X",
                    "circle (0,0) r5e-04 c0\ncircle (3,4) r5e-04 c0\n",
                    headerSection(headerPoint("$EXTMIN", 1e20, 1e20) + headerPoint("$EXTMAX", -1e20, -1e20))}));

TEST_F(FullReadingTest, AFileOfKindsNoSwitchSelectsFindsNothing) {
  const orvhost::MacroOutcome outcome =
      importText(dxfFile(entitiesSection(entity("LWPOLYLINE", {{10, 0}, {20, 0}, {10, 1}, {20, 0}}))), "-VC -X");
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(messages(), "error: No entities found in this DXF file\n");
}

}  // namespace
}  // namespace drawport::testing
