// The zone to attach imported objects to: the Select Zone dialog over the
// Load DXF File dialog, and the check of a typed zone number, driven as the
// user in the stand-in host.
#include <gmock/gmock.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/addon_fixture.h"
#include "support/dialog_text.h"

namespace drawport::testing {
namespace {

using Zones = std::vector<std::optional<std::string>>;

const Zones kThreeZones = {std::string("inlet"), std::string(""), std::string("outlet")};

class SelectZoneTest : public DialogTest {
 protected:
  // Opens the Load DXF File dialog and, over it, the Select Zone dialog.
  void openBoth() {
    begin();
    openLoadDialog();
    ASSERT_NE(loadDialog(), -1);
    pressButton(selectZoneButton());
    ASSERT_NE(selectZoneDialog(), -1);
  }
  // A click on row `row` of the zone list.
  void click(int32_t row) { EXPECT_TRUE(session().selectRow(zoneList(), row)) << "row " << row; }
  // OK of the Load DXF File dialog with a file of one line, read classically.
  void importLine() {
    readClassically();
    typeFileName(lineDrawing());
    pressOk(loadDialog());
  }
  std::string listPlace() const { return olderGeneration() ? "336,92 3603x1969" : "343,95 3578x1961"; }
};

TEST_F(SelectZoneTest, ListsNoneThenEveryZoneByNumberAndName) {
  config.zones = {std::string("inlet"), std::string(""), std::string("outlet"), std::nullopt};
  openBoth();
  EXPECT_EQ(renderDialog(host(), selectZoneDialog()),
            "dialog \"Select Zone\" 4233x2172 parent=\"Load DXF File\"\n"
            "list " + listPlace() +
                " [<<None>>|Zone #1 (inlet)|Zone #2|Zone #3 (outlet)|Zone #4] =1\n");
  pressCancel(selectZoneDialog());
  pressCancel(loadDialog());
}

TEST_F(SelectZoneTest, WhenTheDataSetCannotBeReadOnlyNoneIsListed) {
  config.zones = kThreeZones;
  config.datasetInfoFails = true;
  openBoth();
  EXPECT_EQ(control(zoneList()).items, std::vector<std::string>{"<<None>>"});
  EXPECT_EQ(control(zoneList()).value, 1);
  pressCancel(selectZoneDialog());
  pressCancel(loadDialog());
}

// The button nests a lock in the Load DXF File dialog's; the dialog is
// created once, refilled at every launch, and each of its OK and Cancel
// finishes its own lock.
TEST_F(SelectZoneTest, CreatedOnceRefilledAtEveryLaunchWithItsOwnNestedLock) {
  config.zones = {std::string("inlet"), std::nullopt};
  begin();
  openLoadDialog();
  host().journal().clear();
  pressButton(selectZoneButton());
  click(3);
  pressOk(selectZoneDialog());
  pressButton(selectZoneButton());
  pressCancel(selectZoneDialog());
  const std::string fill =
      "ListDeleteAllItems(list1)\n"
      "ListAppendItem(list1, \"<<None>>\")\n"
      "OrvUtilDataSetIsAvailable() -> true\n"
      "OrvUtilDataSetGetInfo(null, out, out) -> true\n"
      "OrvUtilZoneGetName(1, out) -> true\n"
      "OrvUtilStringDealloc(string)\n"
      "ListAppendItem(list1, \"Zone #1 (inlet)\")\n"
      "OrvUtilZoneGetName(2, out) -> false\n"
      "ListAppendItem(list1, \"Zone #2\")\n";
  EXPECT_EQ(renderToolkitCalls(host(), {"OrvUtilLock", "OrvUtilDataSet", "OrvUtilZoneGetName", "OrvUtilStringDealloc"}),
            "OrvUtilLockStart(addon#1)\n"
            "DialogCreateModal(\"Load DXF File\", 4233, 2172, \"Select Zone\", init=callback, ok=callback, "
            "apply=null, cancel=callback, help=callback) -> \"Select Zone\"\n"
            "ListAdd(\"Select Zone\", " +
                std::string(olderGeneration() ? "336, 92, 3603, 1969" : "343, 95, 3578, 1961") +
                ", false, callback) -> list1\n" +
                "DialogLaunch(\"Select Zone\")\n" + fill +
                "ListSetSelectedItem(list1, 1)\n"
                "DialogDismiss(\"Select Zone\")\n"
                "TextFieldSetString(textfield1, \"2\")\n"
                "OrvUtilLockFinish(addon#1)\n"
                "OrvUtilLockStart(addon#1)\n"
                "DialogLaunch(\"Select Zone\")\n" +
                fill +
                "ListSetSelectedItem(list1, 3)\n"
                "DialogDismiss(\"Select Zone\")\n"
                "OrvUtilLockFinish(addon#1)\n");
  EXPECT_EQ(host().lockStartDepth(), 1);
  pressCancel(loadDialog());
}

TEST_F(SelectZoneTest, OkShowsTheClickedZoneInTheZoneField) {
  config.zones = kThreeZones;
  openBoth();
  click(3);
  pressOk(selectZoneDialog());
  EXPECT_EQ(text(zoneField()), "2");
  pressButton(selectZoneButton());
  click(1);
  pressOk(selectZoneDialog());
  EXPECT_EQ(text(zoneField()), "<<None>>");
  importLine();
  EXPECT_THAT(written(), ::testing::ElementsAre(::testing::EndsWith("]")));
}

// Cancel leaves the field alone, but a click has already chosen the zone.
TEST_F(SelectZoneTest, ZoneClickedBeforeCancelIsStillWrittenByOk) {
  config.zones = kThreeZones;
  openBoth();
  click(3);
  pressCancel(selectZoneDialog());
  EXPECT_EQ(text(zoneField()), "<<None>>");
  importLine();
  EXPECT_THAT(written(), ::testing::ElementsAre(::testing::EndsWith("] -Z2")));
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0 z2\n");
}

TEST_F(SelectZoneTest, ReopeningSelectsTheCurrentZoneUntilTheLoadDialogIsReopened) {
  config.zones = kThreeZones;
  openBoth();
  click(4);
  pressOk(selectZoneDialog());
  pressButton(selectZoneButton());
  EXPECT_EQ(control(zoneList()).value, 4);
  pressCancel(selectZoneDialog());
  EXPECT_TRUE(typeZone("2"));
  pressButton(selectZoneButton());
  EXPECT_EQ(control(zoneList()).value, 3);
  pressCancel(selectZoneDialog());
  pressCancel(loadDialog());

  openLoadDialog();
  EXPECT_EQ(text(zoneField()), "<<None>>");
  pressButton(selectZoneButton());
  EXPECT_EQ(control(zoneList()).value, 1);
  pressCancel(selectZoneDialog());
  pressCancel(loadDialog());
}

TEST_F(SelectZoneTest, HelpOpensTheImportPageWithItsFlagSet) {
  openBoth();
  host().journal().clear();
  press(selectZoneDialog(), orvhost::Session::DialogButton::Help);
  EXPECT_EQ(renderToolkitCalls(host(), {"OrvUtilHelp"}),
            olderGeneration() ? "OrvUtilHelp(\"orvex/import_dxf.htm\", true, 1080) -> true\n"
                              : "OrvUtilHelp(\"orvex/import_dxf.html\", true, 1080) -> true\n");
  EXPECT_NE(selectZoneDialog(), -1);
  pressCancel(selectZoneDialog());
  pressCancel(loadDialog());
}

// --- The zone-field check ---

struct ZoneFieldCase {
  const char* name;
  Zones zones;
  bool infoFails;
  const char* typed;
  bool taken;
  const char* shown;    // the zone field afterwards
  const char* message;  // the error box, if any
  const char* flag;     // what the next OK writes for the zone
};
void PrintTo(const ZoneFieldCase& c, std::ostream* out) { *out << c.name; }

class ZoneFieldTest : public SelectZoneTest, public ::testing::WithParamInterface<ZoneFieldCase> {};

TEST_P(ZoneFieldTest, TypedZoneIsTakenNormalisedOrRefused) {
  const ZoneFieldCase& c = GetParam();
  config.zones = c.zones;
  config.datasetInfoFails = c.infoFails;
  begin();
  openLoadDialog();
  EXPECT_EQ(typeZone(c.typed), c.taken);
  EXPECT_EQ(text(zoneField()), c.shown);
  EXPECT_EQ(messages(), *c.message ? std::string("error: ") + c.message + "\n" : "");
  importLine();
  ASSERT_EQ(written().size(), 1u);
  EXPECT_THAT(written()[0], ::testing::EndsWith(std::string("]") + c.flag));
}

const Zones kOneZone = {std::string("only")};
const char kOneZoneMessage[] =
    "Invalid zone number. Since there is only one zone, the zone number must be 1 (or <<None>>)";
const char kThreeZoneMessage[] = "Invalid zone number. Please enter a zone number between 1 and 3";

INSTANTIATE_TEST_SUITE_P(
    Texts, ZoneFieldTest,
    ::testing::Values(
        ZoneFieldCase{"ZoneInRange", kThreeZones, false, "2", true, "2", "", " -Z2"},
        ZoneFieldCase{"BlanksZerosAndTrailingTextNormalised", kThreeZones, false, " 02x", true, "2", "", " -Z2"},
        ZoneFieldCase{"LastZone", kThreeZones, false, "+3", true, "3", "", " -Z3"},
        ZoneFieldCase{"AboveTheCount", kThreeZones, false, "4", false, "<<None>>", kThreeZoneMessage, ""},
        ZoneFieldCase{"Zero", kThreeZones, false, "0", false, "<<None>>", kThreeZoneMessage, ""},
        ZoneFieldCase{"Negative", kThreeZones, false, "-1", false, "<<None>>", kThreeZoneMessage, ""},
        ZoneFieldCase{"NoDigits", kThreeZones, false, "abc", false, "<<None>>", kThreeZoneMessage, ""},
        ZoneFieldCase{"SaturatesInsteadOfWrapping", kThreeZones, false, "4294967298", false, "<<None>>",
                      kThreeZoneMessage, ""},
        ZoneFieldCase{"NoneExactly", kThreeZones, false, "<<None>>", true, "<<None>>", "", ""},
        ZoneFieldCase{"NoneInOtherCaseIsANumber", kThreeZones, false, "<<none>>", false, "<<None>>",
                      kThreeZoneMessage, ""},
        ZoneFieldCase{"OneZoneTakesOne", kOneZone, false, "1", true, "1", "", " -Z1"},
        ZoneFieldCase{"OneZoneRefusesTwo", kOneZone, false, "2", false, "<<None>>", kOneZoneMessage, ""},
        ZoneFieldCase{"OneZoneRefusesZero", kOneZone, false, "0", false, "<<None>>", kOneZoneMessage, ""},
        ZoneFieldCase{"NoZonesRefuseEveryNumber", {}, false, "1", false, "<<None>>", kOneZoneMessage, ""},
        ZoneFieldCase{"UnknownCountRefusesEveryNumber", kThreeZones, true, "1", false, "<<None>>", kOneZoneMessage,
                      ""}),
    [](const ::testing::TestParamInfo<ZoneFieldCase>& info) { return std::string(info.param.name); });

// A refused number also clears a zone chosen before.
TEST_F(SelectZoneTest, RefusedNumberDropsTheZoneChosenBefore) {
  config.zones = kThreeZones;
  openBoth();
  click(3);
  pressOk(selectZoneDialog());
  EXPECT_FALSE(typeZone("7"));
  importLine();
  EXPECT_THAT(written(), ::testing::ElementsAre(::testing::EndsWith("]")));
}

}  // namespace
}  // namespace drawport::testing
