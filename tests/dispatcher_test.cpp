// The entity dispatcher and the attributes every converter shares: which
// entity names start which converter under the kind switches, colours from
// group 62 and from layers (invisible layers included), and the zone.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

class DispatcherTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

// One entity of every kind; the POINT and the LINE fix the extents at
// (0, 0)-(3, 4), so the point circle has radius 0.0005.
const std::string kEveryKind =
    entity("TEXT", {{1, "T"}, {10, 1}, {20, 1}, {40, 2}}) + entity("LINE", {{10, 0}, {20, 0}, {11, 3}, {21, 4}}) +
    polyline({{0, 0, 0}, {1, 0, 0}}) + entity("CIRCLE", {{10, 1}, {20, 2}, {40, 1}}) +
    entity("ARC", {{10, 2}, {20, 2}, {40, 1}, {50, 0}, {51, 90}}) + entity("POINT", {{10, 1}, {20, 1}}) +
    entity("SOLID", {{10, 0}, {20, 0}, {11, 1}, {21, 0}, {12, 0}, {22, 1}}) +
    entity("3DFACE", {{10, 2}, {20, 2}, {11, 3}, {21, 2}, {12, 2}, {22, 3}});

struct SwitchCase {
  const char* flags;
  const char* expected;
};
void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.flags; }

class KindSwitches : public DispatcherTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(KindSwitches, ImportOnlyTheSelectedKinds) {
  EXPECT_EQ(imported(dxfFile(entitiesSection(kEveryKind)), GetParam().flags), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dispatcher, KindSwitches,
    ::testing::Values(
        SwitchCase{"",
                   "text (1,1) h2 a0 \"T\" c0\n"
                   "line2 (0,0)-(3,4) c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) c0\n"
                   "circle (1,2) r1 c0\n"
                   "arc (2,2) r1 0..90 c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"
                   "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"
                   "circle (1,1) r5e-04 c0\n"},
        SwitchCase{"-VA -VC -VP -VS -VF -VT",
                   "text (1,1) h2 a0 \"T\" c0\n"
                   "circle (1,2) r1 c0\n"
                   "arc (2,2) r1 0..90 c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"
                   "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"
                   "circle (1,1) r0.000424264 c0\n"},
        SwitchCase{"-VL -VC -VP -VS -VF -VT",
                   "text (1,1) h2 a0 \"T\" c0\n"
                   "line2 (0,0)-(3,4) c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) c0\n"
                   "circle (1,2) r1 c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"
                   "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"
                   "circle (1,1) r5e-04 c0\n"},
        SwitchCase{"-VL -VA -VP -VS -VF -VT",
                   "text (1,1) h2 a0 \"T\" c0\n"
                   "line2 (0,0)-(3,4) c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) c0\n"
                   "arc (2,2) r1 0..90 c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"
                   "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"
                   "circle (1,1) r5e-04 c0\n"},
        SwitchCase{"-VL -VA -VC -VS -VF -VT",
                   "text (1,1) h2 a0 \"T\" c0\n"
                   "line2 (0,0)-(3,4) c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) c0\n"
                   "circle (1,2) r1 c0\n"
                   "arc (2,2) r1 0..90 c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"
                   "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"},
        SwitchCase{"-VL -VA -VC -VP -VF -VT",
                   "text (1,1) h2 a0 \"T\" c0\n"
                   "line2 (0,0)-(3,4) c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) c0\n"
                   "circle (1,2) r1 c0\n"
                   "arc (2,2) r1 0..90 c0\n"
                   "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"
                   "circle (1,1) r5e-04 c0\n"},
        SwitchCase{"-VL -VA -VC -VP -VS -VT",
                   "text (1,1) h2 a0 \"T\" c0\n"
                   "line2 (0,0)-(3,4) c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) c0\n"
                   "circle (1,2) r1 c0\n"
                   "arc (2,2) r1 0..90 c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"
                   "circle (1,1) r5e-04 c0\n"},
        SwitchCase{"-VL -VA -VC -VP -VS -VF",
                   "line2 (0,0)-(3,4) c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) c0\n"
                   "circle (1,2) r1 c0\n"
                   "arc (2,2) r1 0..90 c0\n"
                   "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled\n"
                   "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0\n"
                   "circle (1,1) r5e-04 c0\n"}));

// Nothing of a selected kind: both passes, then the message; the import
// fails.
struct NothingFoundCase {
  const char* what;
  std::string entities;
  const char* flags;
};
void PrintTo(const NothingFoundCase& c, std::ostream* os) { *os << c.what; }

class NothingFound : public DispatcherTest, public ::testing::WithParamInterface<NothingFoundCase> {};

TEST_P(NothingFound, FailsWithTheNoEntitiesMessage) {
  const NothingFoundCase& c = GetParam();
  const orvhost::MacroOutcome outcome = importText(dxfFile(entitiesSection(c.entities)), c.flags);
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(messages(), "error: No entities found in this DXF file\n");
  EXPECT_EQ(drawn(), "");
  EXPECT_EQ(countLines(journal(), "OrvUtilDialogLaunchPercentDone"), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Dispatcher, NothingFound,
    ::testing::Values(
        NothingFoundCase{"lines and polylines with the lines switch off",
                         entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 1}}) + polyline({{0, 0, 0}, {1, 0, 0}}),
                         "-VC -VA -VT -VP -VS -VF"},
        NothingFoundCase{"circles with only text selected", entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}}), "-VT"},
        NothingFoundCase{"an entity name in lower case", entity("line", {{10, 0}, {20, 0}, {11, 1}, {21, 1}}), ""},
        NothingFoundCase{"an entity name with a letter in lower case", entity("Circle", {{10, 1}, {20, 1}, {40, 1}}),
                         ""},
        NothingFoundCase{"a -V flag that names no kind", entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 1}}),
                         "-VX"},
        NothingFoundCase{"entity kinds no converter knows", entity("INSERT", {{2, "B"}, {10, 1}, {20, 1}}) +
                                                                 entity("ELLIPSE", {{10, 1}, {20, 1}}),
                                                         ""}));

// With only circles selected, a file of circles is imported.
TEST_F(DispatcherTest, CirclesAloneSelectedImportTheCircles) {
  EXPECT_EQ(imported(dxfFile(entitiesSection(entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}}))), "-VC"),
            "circle (1,1) r1 c0\n");
  EXPECT_EQ(countLines(journal(), "OrvUtilDialogLaunchPercentDone"), 1);
}

// The dispatcher compares every line it reads itself with the entity names:
// a value line inside an entity it passes over starts that converter there.
struct StrayNameCase {
  const char* what;
  std::string entities;
  const char* flags;
  const char* expected;
};
void PrintTo(const StrayNameCase& c, std::ostream* os) { *os << c.what; }

class StrayNames : public DispatcherTest, public ::testing::WithParamInterface<StrayNameCase> {};

TEST_P(StrayNames, StartTheirConverter) {
  const StrayNameCase& c = GetParam();
  EXPECT_EQ(imported(dxfFile(entitiesSection(c.entities)), c.flags), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dispatcher, StrayNames,
    ::testing::Values(
        StrayNameCase{"a block name inside an INSERT", entity("INSERT", {{2, "CIRCLE"}, {10, 5}, {40, 2}}), "",
                      "circle (5,0) r2 c0\n"},
        StrayNameCase{"the string of a TEXT with text switched off",
                      entity("TEXT", {{1, "LINE"}, {10, 3}, {20, 4}, {11, 6}, {21, 8}}), "-VL",
                      "line2 (3,4)-(6,8) c0\n"},
        StrayNameCase{"the layer name of a LINE with lines switched off",
                      entity("LINE", {{8, "ARC"}, {10, 1}, {20, 1}, {40, 3}, {50, 10}, {51, 20}}), "-VA",
                      "arc (1,1) r3 10..20 c0\n"},
        StrayNameCase{"the name must stand alone on its line",
                      entity("INSERT", {{2, "CIRCLES"}, {10, 5}, {40, 2}}) +
                          entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}}),
                      "", "circle (1,1) r1 c0\n"}));

// Host colours of DXF colour numbers given by group 62, on the default
// background (host colour 7) and on a background of host colour 0. The
// entity's layer has colour 3, which group 62 overrides whatever its value.
struct ColourCase {
  int group62;
  int background;
  int hostColour;
};
void PrintTo(const ColourCase& c, std::ostream* os) {
  *os << "62=" << c.group62 << " on background " << c.background;
}

class GivenColours : public EntityTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(GivenColours, MapToHostColours) {
  const ColourCase& c = GetParam();
  config.backgroundColor = static_cast<OrvColorIndex_t>(c.background);
  start();
  const std::string line = entity("LINE", {{8, "GREEN"}, {62, c.group62}, {10, 0}, {20, 0}, {11, 1}, {21, 0}});
  EXPECT_EQ(imported(dxfFile(layerTables(layer("GREEN", 3)) + entitiesSection(line))),
            "line2 (0,0)-(1,0) c" + std::to_string(c.hostColour) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Dispatcher, GivenColours,
                         ::testing::Values(ColourCase{0, 7, 0}, ColourCase{1, 7, 1}, ColourCase{2, 7, 5},
                                           ColourCase{3, 7, 2}, ColourCase{4, 7, 4}, ColourCase{5, 7, 3},
                                           ColourCase{6, 7, 14}, ColourCase{7, 7, 0}, ColourCase{8, 7, 8},
                                           ColourCase{9, 7, 1}, ColourCase{10, 7, 0}, ColourCase{12, 7, 0},
                                           ColourCase{256, 7, 0}, ColourCase{0, 0, 7}, ColourCase{7, 0, 7},
                                           ColourCase{12, 0, 7}, ColourCase{256, 0, 7}, ColourCase{3, 0, 2},
                                           ColourCase{-5, 7, 0}, ColourCase{7, 4, 0}));

// Entities without group 62 take the colour of the first layer whose name
// matches theirs without regard to case.
struct LayerCase {
  const char* what;
  const char* layerGroups;  // the LINE's group 8, if any
  int hostColour;
};
void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.what; }

class LayerColours : public DispatcherTest, public ::testing::WithParamInterface<LayerCase> {};

TEST_P(LayerColours, ComeFromTheMatchingLayer) {
  const LayerCase& c = GetParam();
  const std::string layers =
      layer("WALLS", 5) + layer("Doors", 6) + layer("DOORS", 1) + layer("ROOF", 256) + layer("MY LAYER", 4) + layer("", 2);
  const std::string line = "  0\nLINE\n" + std::string(c.layerGroups) + " 10\n0\n 20\n0\n 11\n1\n 21\n0\n";
  EXPECT_EQ(imported(dxfFile(layerTables(layers) + entitiesSection(line))),
            "line2 (0,0)-(1,0) c" + std::to_string(c.hostColour) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Dispatcher, LayerColours,
    ::testing::Values(LayerCase{"same name", "  8\nWALLS\n", 3}, LayerCase{"name in lower case", "  8\nwalls\n", 3},
                      LayerCase{"one character shorter", "  8\nWALL\n", 0},
                      LayerCase{"blanks before the name are not part of it", "  8\n   WALLS\n", 3},
                      LayerCase{"blanks after the name are part of it", "  8\nWALLS  \n", 0},
                      LayerCase{"two layers that differ in case: the first wins", "  8\ndoors\n", 14},
                      LayerCase{"the later group 8 wins", "  8\nDOORS\n  8\nWALLS\n", 3},
                      LayerCase{"no group 8: no layer", "", 0}, LayerCase{"a layer of colour 256", "  8\nROOF\n", 0},
                      LayerCase{"code written with leading zeros", "008\nWALLS\n", 3},
                      LayerCase{"a layer stored by the first word of its name", "  8\nMY LAYER\n", 0},
                      LayerCase{"the first word of that name", "  8\nMY\n", 4},
                      LayerCase{"an empty name matches no layer, not even one of that name", "  8\n\n", 0}));

// Group 62's value is read as a code number: its leading integer.
TEST_F(DispatcherTest, ColourNumberIsTheValuesLeadingInteger) {
  const std::string lines = entity("LINE", {{62, "3.7"}, {10, 0}, {20, 0}, {11, 1}, {21, 0}}) +
                            entity("LINE", {{62, "  5 red"}, {10, 0}, {20, 0}, {11, 2}, {21, 0}}) +
                            entity("LINE", {{62, "red"}, {10, 0}, {20, 0}, {11, 3}, {21, 0}});
  EXPECT_EQ(imported(dxfFile(entitiesSection(lines))),
            "line2 (0,0)-(1,0) c2\nline2 (0,0)-(2,0) c3\nline2 (0,0)-(3,0) c0\n");
}

// A layer that is off carries its colour with a minus sign: its entities are
// drawn in the foreground colour while invisible layers are shown, and in the
// background colour (hidden) while they are hidden.
struct InvisibleCase {
  const char* flags;
  int background;
  int hostColour;
};
void PrintTo(const InvisibleCase& c, std::ostream* os) { *os << c.flags << " on background " << c.background; }

class InvisibleLayers : public EntityTest, public ::testing::WithParamInterface<InvisibleCase> {};

TEST_P(InvisibleLayers, DrawTheirEntitiesShownOrHidden) {
  const InvisibleCase& c = GetParam();
  config.backgroundColor = static_cast<OrvColorIndex_t>(c.background);
  start();
  const std::string text = entity("TEXT", {{8, "HIDDEN"}, {1, "Off"}, {10, 1}, {20, 1}, {40, 1}});
  EXPECT_EQ(imported(dxfFile(layerTables(layer("HIDDEN", -3)) + entitiesSection(text)), c.flags),
            "text (1,1) h1 a0 \"Off\" c" + std::to_string(c.hostColour) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Dispatcher, InvisibleLayers,
                         ::testing::Values(InvisibleCase{"", 7, 0}, InvisibleCase{"-H", 7, 0},
                                           InvisibleCase{"-VZ -H", 7, 0}, InvisibleCase{"-VT", 7, 7},
                                           InvisibleCase{"-VT -H", 7, 7}, InvisibleCase{"-VT", 12, 12},
                                           InvisibleCase{"", 0, 7}, InvisibleCase{"-VT -H", 0, 0}));

// A colour given by group 62 is used as it stands: the layer, off or not, is
// not consulted.
TEST_F(DispatcherTest, GivenColourIgnoresAnInvisibleLayer) {
  const std::string text = entity("TEXT", {{8, "HIDDEN"}, {62, 1}, {1, "On"}, {10, 1}, {20, 1}, {40, 1}});
  EXPECT_EQ(imported(dxfFile(layerTables(layer("HIDDEN", -3)) + entitiesSection(text)), "-VT"),
            "text (1,1) h1 a0 \"On\" c1\n");
}

// A TABLES section after the entities: they were converted while no layer
// was known yet.
TEST_F(DispatcherTest, LayersReadAfterTheEntitiesGiveNoColour) {
  const std::string line = entity("LINE", {{8, "WALLS"}, {10, 0}, {20, 0}, {11, 1}, {21, 0}});
  EXPECT_EQ(imported(dxfFile(entitiesSection(line) + layerTables(layer("WALLS", 5)))), "line2 (0,0)-(1,0) c0\n");
}

// Every kind is attached to the selected zone; with no -Z flag, none is.
TEST_F(DispatcherTest, EveryKindIsAttachedToTheSelectedZone) {
  EXPECT_EQ(imported(dxfFile(entitiesSection(kEveryKind)), "-Z3"),
            "text (1,1) h2 a0 \"T\" c0 z3\n"
            "line2 (0,0)-(3,4) c0 z3\n"
            "poly2 @(0,0,0) (0,0) (1,0) c0 z3\n"
            "circle (1,2) r1 c0 z3\n"
            "arc (2,2) r1 0..90 c0 z3\n"
            "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 fill0 filled z3\n"
            "poly2 @(2,2,0) (0,0) (1,0) (0,1) (0,1) (0,0) c0 z3\n"
            "circle (1,1) r5e-04 c0 z3\n");
  restart();
  importText(dxfFile(entitiesSection(kEveryKind)));
  EXPECT_EQ(journal({"OrvUtilGeomSetZoneOrMap", "OrvUtilGeomSetAttached", "OrvUtilTextSetZoneOrMap",
                     "OrvUtilTextSetAttached"}),
            "");
}

// An entity cut off by the end of the file is dropped; the entities before
// it stay.
struct CutOffCase {
  const char* what;
  std::string lastEntity;
};
void PrintTo(const CutOffCase& c, std::ostream* os) { *os << c.what; }

class CutOff : public DispatcherTest, public ::testing::WithParamInterface<CutOffCase> {};

TEST_P(CutOff, EntityAtTheEndOfTheFileIsDropped) {
  const std::string file = "  0\nSECTION\n  2\nENTITIES\n" + entity("LINE", {{10, 0}, {20, 0}, {11, 3}, {21, 4}}) +
                           GetParam().lastEntity;
  const orvhost::MacroOutcome outcome = importText(file);
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(drawn(), "line2 (0,0)-(3,4) c0\n");
}

INSTANTIATE_TEST_SUITE_P(
    Dispatcher, CutOff,
    ::testing::Values(CutOffCase{"LINE", entity("LINE", {{10, 1}, {20, 1}, {11, 2}, {21, 2}})},
                      CutOffCase{"TEXT", entity("TEXT", {{1, "cut"}, {10, 1}, {20, 1}, {40, 1}})},
                      CutOffCase{"CIRCLE", entity("CIRCLE", {{10, 1}, {20, 1}, {40, 1}})},
                      CutOffCase{"ARC", entity("ARC", {{10, 1}, {20, 1}, {40, 1}, {50, 0}, {51, 90}})},
                      CutOffCase{"POINT", entity("POINT", {{10, 1}, {20, 1}})},
                      CutOffCase{"SOLID", entity("SOLID", {{10, 1}, {20, 1}, {11, 2}, {21, 1}, {12, 1}, {22, 2}})},
                      CutOffCase{"3DFACE", entity("3DFACE", {{10, 1}, {20, 1}, {11, 2}, {21, 1}, {12, 1}, {22, 2}})},
                      CutOffCase{"POLYLINE without SEQEND",
                                 entity("POLYLINE", {{66, 1}}) + entity("VERTEX", {{10, 1}, {20, 1}}) +
                                     entity("VERTEX", {{10, 2}, {20, 2}})},
                      CutOffCase{"LINE cut inside a group", "  0\nLINE\n 10\n1\n 20\n1\n 11\n5\n 21\n"}));

}  // namespace
}  // namespace drawport::testing
