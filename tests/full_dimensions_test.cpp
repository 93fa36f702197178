// Dimensions drawn from their own points when their block is missing or
// empty, the other dimension entities, MESH, MLINE and the arrowheads of
// leaders, in the full reading: each in its smallest drawing.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

// Arrows 3 long (so 1 wide), texts 2 high, 1 decimal.
const std::string kDimensionHeader = headerSection(
    groups({{9, "$DIMASZ"}, {40, 1.5}, {9, "$DIMTXT"}, {40, 1}, {9, "$DIMSCALE"}, {40, 2}, {9, "$DIMDEC"}, {70, 1}}));

// A dimension of type `type` naming block `block`: 10 at (0,5), its text's
// middle 11 at (5,5), measured points 13 (0,0) and 14 (10,0), 15 at (6,8).
std::string dimension(const char* name, int type, const char* text, const char* block = "*D7") {
  return entity(name, {{2, block},
                       {10, 0},
                       {20, 5},
                       {11, 5},
                       {21, 5},
                       {70, type},
                       {1, text},
                       {13, 0},
                       {23, 0},
                       {14, 10},
                       {24, 0},
                       {15, 6},
                       {25, 8},
                       {50, 0}});
}

const std::string kBlocks = "  0\nSECTION\n  2\nBLOCKS\n" + entity("BLOCK", {{2, "*D1"}, {10, 0}, {20, 0}}) +
                            entity("LINE", {{10, 1}, {20, 1}, {11, 2}, {21, 2}}) + entity("ENDBLK") +
                            entity("BLOCK", {{2, "*D2"}, {10, 0}, {20, 0}}) + entity("ENDBLK") + "  0\nENDSEC\n";

// A MULTILEADER of one line from (0,0) through (4,0) to its leader's last
// point (8,0), arrowheads `arrows` long in its context.
std::string multiLeader(double arrows) {
  return entity("MULTILEADER", {{300, "CONTEXT_DATA{"},
                                {140, arrows},
                                {290, 0},
                                {302, "LEADER{"},
                                {10, 8},
                                {20, 0},
                                {304, "LEADER_LINE{"},
                                {10, 0},
                                {20, 0},
                                {10, 4},
                                {20, 0},
                                {305, "}"},
                                {303, "}"},
                                {301, "}"},
                                {170, 1},
                                {291, 0}});
}

class FullDimensions : public EntityTest, public ::testing::WithParamInterface<DrawingCase> {
 protected:
  void SetUp() override { start(); }
};

TEST_P(FullDimensions, AreDrawnAsACadProgramShowsThem) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    WithoutBlocks, FullDimensions,
    ::testing::Values(
        DrawingCase{"rotated: extension lines, the dimension line, an arrowhead at each end, the length (10.0)",
                    dimension("DIMENSION", 0, "<>"), "-X",
                    "line2 (0,0)-(0,5) c0\nline2 (10,0)-(10,5) c0\nline2 (0,5)-(10,5) c0\npoly2 @(0,5,0) (0,0) "
                    "(3,-0.5) (3,0.5) (0,0) "
                    "c0 fill0 filled\npoly2 @(10,5,0) (0,0) (-3,0.5) (-3,-0.5) (0,0) c0 fill0 filled\n"
                    "text (2.6,4) h2 a0 \"10\" c0\n",
                    kDimensionHeader},
        DrawingCase{"aligned: the length in its text", dimension("DIMENSION", 1, "L=<> mm"), "-X",
                    "line2 (0,0)-(0,5) c0\nline2 (10,0)-(10,5) c0\nline2 (0,5)-(10,5) c0\npoly2 @(0,5,0) (0,0) "
                    "(3,-0.5) (3,0.5) (0,0) "
                    "c0 fill0 filled\npoly2 @(10,5,0) (0,0) (-3,0.5) (-3,-0.5) (0,0) c0 fill0 filled\n"
                    "text (-0.4,4) h2 a0 \"L=10 mm\" c0\n",
                    kDimensionHeader},
        DrawingCase{
            "radius: the line to the curve, its arrowhead pointing out, the text inside, 1 decimal",
            dimension("DIMENSION", 4, ""), "-X",
            "line2 (0,5)-(6,8) c0\npoly2 @(6,8,0) (0,0) (-2.906888371,-0.894427191) (-2.459674775,-1.788854382) "
            "(0,0) c0 fill0 filled\ntext (3.2,4) h2 a0 \"6.7\" c0\n",
            kDimensionHeader},
        DrawingCase{
            "diameter at the default sizes and 4 decimals", dimension("DIMENSION", 3, ""), "-X",
            "line2 (0,5)-(6,8) c0\npoly2 @(6,8,0) (0,0) (-0.174413302,-0.053665631) (-0.147580487,-0.107331263) "
            "(0,0) c0 fill0 filled\ntext (4.676,4.91) h0.18 a0 \"6.7082\" c0\n"},
        DrawingCase{"angular: its text alone", dimension("DIMENSION", 2, "45%%d"), "-X",
                    "text (3.2,4) h2 a0 \"45\\xc2\\xb0\" c0\n", kDimensionHeader},
        DrawingCase{"an empty block: drawn from its points", dimension("DIMENSION", 0, "", "*D2"), "-X",
                    "line2 (0,0)-(0,5) c0\nline2 (10,0)-(10,5) c0\nline2 (0,5)-(10,5) c0\npoly2 @(0,5,0) (0,0) "
                    "(3,-0.5) (3,0.5) (0,0) "
                    "c0 fill0 filled\npoly2 @(10,5,0) (0,0) (-3,0.5) (-3,-0.5) (0,0) c0 fill0 filled\n"
                    "text (2.6,4) h2 a0 \"10\" c0\n",
                    kDimensionHeader + kBlocks},
        DrawingCase{"lines under the Lines switch, texts under Text",
                    dimension("DIMENSION", 0, "", "*D2") + dimension("DIMENSION", 4, ""), "-VT -X",
                    "text (2.6,4) h2 a0 \"10\" c0\ntext (3.2,4) h2 a0 \"6.7\" c0\n", kDimensionHeader + kBlocks},
        DrawingCase{"the other dimension entities: their block, else their text",
                    dimension("ARC_DIMENSION", 5, "", "*D1") + dimension("LARGE_RADIAL_DIMENSION", 4, "R12"), "-X",
                    "line2 (1,1)-(2,2) c0\ntext (4.838,4.91) h0.18 a0 \"R12\" c0\n", kBlocks}));

INSTANTIATE_TEST_SUITE_P(
    MeshesAndMultiLines, FullDimensions,
    ::testing::Values(
        DrawingCase{
            "MESH: the edges of its faces, the shared one once",
            entity("MESH", {{71, 2}, {72, 0}, {91, 0}, {92, 4}, {10, 0}, {20, 0}, {30, 0}, {10, 2}, {20, 0}, {30, 0},
                            {10, 2}, {20, 2}, {30, 1}, {10, 0}, {20, 2}, {30, 1}, {93, 8}, {90, 3}, {90, 0}, {90, 1},
                            {90, 2}, {90, 3}, {90, 0}, {90, 2}, {90, 3}, {94, 0}, {95, 0}, {90, 0}}),
            "-X",
            "line2 (0,0)-(2,0) c0\nline2 (0,0)-(2,2) c0\nline2 (0,0)-(0,2) c0\nline2 (2,0)-(2,2) c0\nline2 "
            "(2,2)-(0,2) c0\n"},
        DrawingCase{"MLINE: each element through vertex + miter x its first parameter",
                    entity("MLINE", {{2, "STANDARD"}, {70, 0}, {71, 1},    {72, 3},  {73, 2},    {10, 0}, {20, 0},
                                     {11, 0},         {21, 0}, {12, 1},    {22, 0},  {13, 0},    {23, 1}, {74, 2},
                                     {41, 0.5},       {41, 0}, {75, 0},    {74, 1},  {41, -0.5}, {75, 0}, {11, 4},
                                     {21, 0},         {12, 0}, {22, 1},    {13, -1}, {23, 1},    {74, 1}, {41, 0.5},
                                     {75, 0},         {74, 1}, {41, -0.5}, {75, 0},  {11, 4},    {21, 4}, {13, -1},
                                     {23, 0},         {74, 1}, {41, 0.5},  {74, 1},  {41, -0.5}}),
                    "-X",
                    "poly2 @(0,0.5,0) (0,0) (3.5,0) (3.5,3.5) c0\npoly2 @(0,-0.5,0) (0,0) (4.5,0) (4.5,4.5) c0\n"},
        DrawingCase{"a closed MLINE", entity("MLINE", {{71, 3}, {73, 1}, {11, 0}, {21, 0}, {13, 0}, {23, 1}, {74, 1},
                                                       {41, 1}, {11, 4}, {21, 0}, {13, 0}, {23, 1}, {74, 1}, {41, 1},
                                                       {11, 4}, {21, 4}, {13, 0}, {23, 1}, {74, 1}, {41, 1}}),
                    "-X", "poly2 @(0,1,0) (0,0) (4,0) (4,4) (0,0) c0\n"}));

INSTANTIATE_TEST_SUITE_P(
    Arrowheads, FullDimensions,
    ::testing::Values(
        DrawingCase{"a LEADER's arrowhead: 3 long, its line from the arrowhead's base",
                    entity("LEADER", {{71, 1}, {76, 2}, {10, 0}, {20, 0}, {10, 10}, {20, 0}}), "-X",
                    "poly2 @(0,0,0) (0,0) (3,-0.5) (3,0.5) (0,0) c0 fill0 filled\npoly2 @(3,0,0) (0,0) (7,0) c0\n",
                    kDimensionHeader},
        DrawingCase{"an arrowhead longer than the segment covers it",
                    entity("LEADER", {{71, 1}, {76, 2}, {10, 0}, {20, 0}, {10, 2}, {20, 0}}), "-X",
                    "poly2 @(0,0,0) (0,0) (3,-0.5) (3,0.5) (0,0) c0 fill0 filled\n", kDimensionHeader},
        DrawingCase{"a hook line: the last segment carried on by the note's width, no arrowhead",
                    entity("LEADER", {{71, 0}, {75, 1}, {41, 5}, {76, 2}, {10, 0}, {20, 0}, {10, 3}, {20, 4}}), "-X",
                    "poly2 @(0,0,0) (0,0) (3,4) (6,8) c0\n"},
        DrawingCase{"a MULTILEADER line's arrowhead, sized by its context", multiLeader(1.5), "-X",
                    "poly2 @(0,0,0) (0,0) (1.5,-0.25) (1.5,0.25) (0,0) c0 fill0 filled\npoly2 @(1.5,0,0) (0,0) (2.5,0) "
                    "(6.5,0) c0\n"}));

}  // namespace
}  // namespace drawport::testing
