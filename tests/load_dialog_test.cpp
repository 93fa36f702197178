// The Load DXF File dialog, driven as the user in the stand-in host: its
// layout in each build, its opening, the settings its controls write, the
// OK action's checks and the instruction string it writes, and the import
// that follows.
#include <gmock/gmock.h>
#include <unistd.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/addon_fixture.h"
#include "support/dialog_text.h"

namespace drawport::testing {
namespace {

using orvhost::Session;

const char kFontMenu[] =
    "[<<Default>>|Helvetica|Helvetica Bold|Greek|Math|User Defined|Times|Times Italic|Times Bold|Times Italic "
    "Bold|Courier|Courier Bold]";

// The first opening shows the load-time settings: every kind on, font 1,
// 2D, invisible layers shown, no zone, no file, the full reading. The
// full-reading toggle comes after every other control, frames included.
const std::string kOlderLayout = std::string() +
                                 "dialog \"Load DXF File\" 6762x2626 parent=main\n"
                                 "label 235,2380 \"File:\"\n"
                                 "label 3300,278 \"Font:\"\n"
                                 "label 3300,729 \"Attach Imported Items to Zone:\"\n"
                                 "toggle 673,377 1010x99 \"  Text\" =1\n"
                                 "toggle 673,616 1128x99 \"  Lines\" =1\n"
                                 "toggle 673,855 1027x99 \"  Arcs\" =1\n"
                                 "toggle 673,1100 1263x99 \"  Circles\" =1\n"
                                 "toggle 673,1339 1212x99 \"  Points\" =1\n"
                                 "toggle 673,1578 1195x99 \"  Solids\" =1\n"
                                 "toggle 673,1823 1549x99 \"  3D Faces\" =1\n"
                                 "optionmenu 3300,391 2222x172 " + kFontMenu + " =1\n" +
                                 "textfield 3300,848 1465x152 \"<<None>>\"\n"
                                 "button 4984,848 1616x152 \"Select Zone...\"\n"
                                 "radiobox 3755,1545 1902x424 [Import as 2D|Import as 3D] =1\n"
                                 "toggle 218,2148 2593x99 \"  Hide invisible layers\" =0\n"
                                 "textfield 808,2334 5136x152 \"\"\n"
                                 "button 6096,2334 404x152 \"...\"\n"
                                 "frame 269,165 2745x1876 \"Import\"\n"
                                 "frame 3300,1478 3267x563 \"Polylines\"\n"
                                 "toggle 3300,1150 2900x99 \"  Import blocks and newer entities\" =1\n";

const std::string kLaterLayout = std::string() +
                                 "dialog \"Load DXF File\" 6762x2626 parent=main\n"
                                 "frame 369,159 1757x1657 \"Import\"\n"
                                 "frame 3107,1316 2432x565 \"Polylines\"\n"
                                 "label 280,2372 \"File:\"\n"
                                 "label 3107,122 \"Font:\"\n"
                                 "label 3107,570 \"Attach Imported Items to Zone:\"\n"
                                 "toggle 573,213 1171x127 \"Text\" =1\n"
                                 "toggle 573,453 1273x127 \"Lines\" =1\n"
                                 "toggle 573,692 1184x127 \"Arcs\" =1\n"
                                 "toggle 573,932 1426x127 \"Circles\" =1\n"
                                 "toggle 573,1178 1375x127 \"Points\" =1\n"
                                 "toggle 573,1417 1362x127 \"Solids\" =1\n"
                                 "toggle 573,1657 1693x127 \"3D Faces\" =1\n"
                                 "optionmenu 3145,250 2152x143 " + kFontMenu + " =1\n" +
                                 "textfield 3119,692 1451x143 \"<<None>>\"\n"
                                 "button 4762,692 1591x143 \"Select Zone...\"\n"
                                 "radiobox 3476,1449 1757x298 [Import as 2D|Import as 3D] =1\n"
                                 "toggle 216,2132 2827x127 \"Hide Invisible Layers\" =0\n"
                                 "textfield 776,2340 5055x143 \"\"\n"
                                 "button 5934,2329 382x143 \"...\"\n"
                                 "toggle 3107,1000 2900x127 \"Import blocks and newer entities\" =1\n";

class LoadDialogTest : public DialogTest {
 protected:
  // The Help, Cancel and OK lines of the host's journal, toolkit calls named
  // alike in both builds.
  std::string calls(std::initializer_list<std::string_view> prefixes) { return renderToolkitCalls(host(), prefixes); }
  // How often `operation` (a toolkit operation without its prefix, or a
  // liborv one) was called.
  int count(const std::string& operation) {
    const std::string lines = "\n" + calls({"OrvUtil"});
    int seen = 0;
    for (size_t at = 0; (at = lines.find("\n" + operation + "(", at)) != std::string::npos; ++at) ++seen;
    return seen;
  }
  // The temporary strings of the OK action are released on every path; the
  // add-on's own three stay.
  void expectOnlyTheAddOnsStrings() {
    EXPECT_EQ(heldStrings("Temp space for dxf loader"), 0);
    EXPECT_EQ(heldStrings("Temp space for file name"), 0);
    EXPECT_EQ(host().heldStrings().size(), 3u);
  }
};

TEST_F(LoadDialogTest, EachBuildLaysOutItsControlsInItsOwnPlacesLabelsAndOrder) {
  begin();
  const int32_t dialog = openLoadDialog();
  ASSERT_NE(dialog, -1);
  EXPECT_EQ(renderDialog(host(), dialog), olderGeneration() ? kOlderLayout : kLaterLayout);
  EXPECT_EQ(calls({}).substr(0, calls({}).find('\n')),
            "DialogCreateModal(main, 6762, 2626, \"Load DXF File\", init=callback, ok=callback, apply=null, "
            "cancel=callback, help=callback) -> \"Load DXF File\"");
}

TEST_F(LoadDialogTest, IsCreatedOnceAndLaunchedAtEveryOpening) {
  begin();
  const int32_t first = openLoadDialog();
  pressCancel(first);
  const int32_t second = openLoadDialog();
  EXPECT_EQ(second, first);
  pressCancel(second);
  EXPECT_EQ(count("DialogCreateModal"), 1);
  EXPECT_EQ(count("DialogLaunch"), 2);
}

// Changes made before Cancel are in force at the next opening, which shows
// them in its fixed order: dimension, font, the toggles (3D Faces before
// Solids, the full reading's last), sensitivity, the zone controls, the
// file name, no zone.
TEST_F(LoadDialogTest, ReopeningShowsWhatCancelKeptInTheOpeningOrder) {
  config.zones = {std::string("a"), std::string("b")};
  begin();
  int32_t dialog = openLoadDialog();
  ASSERT_TRUE(session().chooseOption(fontMenu(), 4));
  setEntity(EntityKind::Text, false);
  setEntity(EntityKind::Solids, false);
  ASSERT_TRUE(session().chooseRadio(dimensionBox(), 2));
  ASSERT_TRUE(session().setToggle(hideToggle(), true));
  readClassically();
  typeFileName("C:\\dxf\\plan.dxf");
  EXPECT_TRUE(typeZone("2"));
  pressCancel(dialog);
  host().journal().clear();

  dialog = openLoadDialog();
  EXPECT_EQ(calls({"OrvUtilDataSetIsAvailable"}),
            "DialogLaunch(\"Load DXF File\")\n"
            "RadioBoxSetToggle(radiobox1, 2)\n"
            "OptionMenuSet(optionmenu1, 4)\n"
            "ToggleSet(text, false)\n"
            "ToggleSet(lines, true)\n"
            "ToggleSet(arcs, true)\n"
            "ToggleSet(circles, true)\n"
            "ToggleSet(points, true)\n"
            "ToggleSet(3d faces, true)\n"
            "ToggleSet(solids, false)\n"
            "ToggleSet(hide invisible layers, true)\n"
            "ToggleSet(import blocks and newer entities, false)\n"
            "SetSensitivity(radiobox1, true)\n"
            "SetSensitivity(font:, false)\n"
            "SetSensitivity(optionmenu1, false)\n"
            "OrvUtilDataSetIsAvailable() -> true\n"
            "SetSensitivity(textfield1, true)\n"
            "SetSensitivity(select zone..., true)\n"
            "TextFieldSetString(textfield2, \"C:\\\\dxf\\\\plan.dxf\")\n"
            "TextFieldSetString(textfield1, \"<<None>>\")\n");
  pressCancel(dialog);
}

// The dialog and the macro command share one set of settings.
TEST_F(LoadDialogTest, OpeningShowsWhatTheLastMacroImportLeft) {
  begin();
  const std::string path = lineDrawing();
  ASSERT_EQ(macro(instructionFor(path, "-VL -VC -T3 -Z1 -P2")).result, true);
  const int32_t dialog = openLoadDialog();
  std::string toggles;
  for (int kind = 0; kind < kEntityKindCount; ++kind)
    toggles += std::to_string(control(entityToggle(static_cast<EntityKind>(kind))).value);
  EXPECT_EQ(toggles, "0101000");
  EXPECT_EQ(control(hideToggle()).value, 1);
  EXPECT_EQ(control(fullReadingToggle()).value, 0);
  EXPECT_EQ(control(fontMenu()).value, 3);
  EXPECT_EQ(control(dimensionBox()).value, 2);
  EXPECT_EQ(text(fileField()), path);
  EXPECT_EQ(text(zoneField()), "<<None>>");
  pressCancel(dialog);
}

// The full-reading toggle shows the reading the last macro import chose
// (each case's macro undoes what the case before set the toggle to), and
// what it is set to is what OK writes.
TEST_F(LoadDialogTest, FullReadingToggleShowsTheSwitchAtOpeningAndWritesIt) {
  const struct {
    const char* macroFlags;
    int shown;
    bool set;
    const char* written;  // the flags after -F[...]
  } cases[] = {
      {"", 0, true, "-X"},
      {"-P2", 0, false, "-P2"},
      {"-x", 1, false, ""},
      {"-X -P2", 1, true, "-P2 -X"},
  };
  begin();
  const std::string path = lineDrawing();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.macroFlags);
    ASSERT_EQ(macro(instructionFor(path, c.macroFlags)).result, true);
    const int32_t dialog = openLoadDialog();
    EXPECT_EQ(control(fullReadingToggle()).value, c.shown);
    EXPECT_TRUE(control(fullReadingToggle()).sensitive);
    ASSERT_TRUE(session().setToggle(fullReadingToggle(), c.set));
    pressOk(dialog);
    ASSERT_FALSE(written().empty());
    EXPECT_EQ(written().back(), instructionFor(path, c.written));
  }
  EXPECT_EQ(written().size(), std::size(cases));
}

// The opening hands the file name to the field and empties it: what the
// field holds at OK or Cancel is the file name from then on.
TEST_F(LoadDialogTest, AnUntouchedFileFieldIsEmptyAfterTheNextCancel) {
  begin();
  int32_t dialog = openLoadDialog();
  typeFileName("first.dxf");
  pressCancel(dialog);
  dialog = openLoadDialog();
  EXPECT_EQ(text(fileField()), "first.dxf");
  pressCancel(dialog);
  dialog = openLoadDialog();
  EXPECT_EQ(text(fileField()), "");
  pressCancel(dialog);
}

TEST_F(LoadDialogTest, FileFieldDoesNotTakeATextLongerThanTheFileNameHolds) {
  begin();
  int32_t dialog = openLoadDialog();
  typeFileName("kept.dxf");
  bool taken = true;
  ASSERT_TRUE(session().typeText(fileField(), std::string(10000, 'x'), &taken));
  EXPECT_FALSE(taken);
  pressCancel(dialog);
  dialog = openLoadDialog();
  EXPECT_EQ(text(fileField()), "kept.dxf");
  pressCancel(dialog);
}

// --- Sensitivity ---

TEST_F(LoadDialogTest, RadioBoxServesLinesSolidsAndFacesAndTheFontMenuServesText) {
  begin();
  const int32_t dialog = openLoadDialog();
  const int32_t fontLabel = session().findControl(dialog, orvhost::ControlKind::Label, "Font:");
  // After each step: the radio box's sensitivity, then the font label's and
  // the font menu's, as 1 or 0.
  std::string seen;
  const auto step = [&](EntityKind kind, bool on) {
    setEntity(kind, on);
    seen += std::string(control(dimensionBox()).sensitive ? "1" : "0") + (control(fontLabel).sensitive ? "1" : "0") +
            (control(fontMenu()).sensitive ? "1" : "0") + " ";
  };
  step(EntityKind::Lines, false);
  step(EntityKind::Solids, false);
  step(EntityKind::Arcs, false);
  step(EntityKind::Faces3D, false);
  step(EntityKind::Text, false);
  step(EntityKind::Solids, true);
  step(EntityKind::Solids, false);
  step(EntityKind::Lines, true);
  step(EntityKind::Text, true);
  EXPECT_EQ(seen, "111 111 111 011 000 100 000 100 111 ");
  pressCancel(dialog);
}

TEST_F(LoadDialogTest, WithoutDataSetTheZoneFieldAndItsButtonAreInsensitiveButNotTheLabel) {
  config.datasetAvailable = false;
  begin();
  const int32_t dialog = openLoadDialog();
  const int32_t zoneLabel =
      session().findControl(dialog, orvhost::ControlKind::Label, "Attach Imported Items to Zone:");
  EXPECT_FALSE(control(zoneField()).sensitive);
  EXPECT_FALSE(control(selectZoneButton()).sensitive);
  EXPECT_TRUE(control(zoneLabel).sensitive);
  pressCancel(dialog);
}

// --- The written instruction string ---

struct WrittenCase {
  const char* name;
  const char* file;             // written in the test's folder
  int32_t font;                 // chosen first (0: left as it is)
  std::vector<EntityKind> off;  // then turned off, in this order
  int32_t dimension;            // 0: left as it is
  bool hide;
  const char* zone;  // typed into the zone field, with three zones
  const char* flags;
  bool fullReading = false;  // the full-reading toggle at OK
};
void PrintTo(const WrittenCase& c, std::ostream* out) { *out << c.name; }

class WrittenStringTest : public LoadDialogTest, public ::testing::WithParamInterface<WrittenCase> {};

TEST_P(WrittenStringTest, OkWritesTheChoicesAsAnInstructionString) {
  const WrittenCase& c = GetParam();
  config.zones = {std::string("inlet"), std::string(""), std::string("outlet")};
  begin();
  const std::string path = lineDrawing(c.file);
  const int32_t dialog = openLoadDialog();
  if (c.font) {
    ASSERT_TRUE(session().chooseOption(fontMenu(), c.font));
  }
  for (EntityKind kind : c.off) setEntity(kind, false);
  if (c.dimension) {
    ASSERT_TRUE(session().chooseRadio(dimensionBox(), c.dimension));
  }
  if (c.hide) {
    ASSERT_TRUE(session().setToggle(hideToggle(), true));
  }
  if (c.zone) {
    EXPECT_TRUE(typeZone(c.zone));
  }
  ASSERT_TRUE(session().setToggle(fullReadingToggle(), c.fullReading));
  typeFileName(path);
  pressOk(dialog);
  EXPECT_THAT(written(), ::testing::ElementsAre(instructionFor(path, c.flags)));
  EXPECT_EQ(loadDialog(), -1);
  expectOnlyTheAddOnsStrings();
}

using K = EntityKind;
INSTANTIATE_TEST_SUITE_P(
    Choices, WrittenStringTest,
    ::testing::Values(
        WrittenCase{"AllKindsOnWriteNoKindFlag", "plan.dxf", 0, {}, 0, false, nullptr, ""},
        WrittenCase{"TextOffWithFontZone3DAndHide", "plan.dxf", 3, {K::Text}, 2, true, "2",
                    "-VL -VA -VC -VP -VS -VF -T3 -Z2 -P2 -H"},
        WrittenCase{"OnlySolidsAndFaces", "plan.dxf", 0, {K::Text, K::Lines, K::Arcs, K::Circles, K::Points}, 0,
                    false, nullptr, "-VS -VF"},
        WrittenCase{"OnlyLinesOffListsTheOthersTextLast", "plan.dxf", 0, {K::Lines}, 0, false, nullptr,
                    "-VA -VC -VP -VS -VF -VT"},
        WrittenCase{"FontWrittenWhileItsMenuIsInsensitive", "plan.dxf", 5, {K::Text}, 0, false, nullptr,
                    "-VL -VA -VC -VP -VS -VF -T5"},
        WrittenCase{"AllKindsWithHideListEveryKindSoTheHideHolds", "plan.dxf", 0, {}, 0, true, nullptr,
                    "-VL -VA -VC -VP -VS -VF -VT -H"},
        WrittenCase{"BracketsInTheNameAreEscaped", "a[1].dxf", 0, {}, 0, false, nullptr, ""},
        WrittenCase{"DefaultFontAnd2DWriteNothing", "plan.dxf", 1, {K::Arcs}, 1, false, nullptr,
                    "-VL -VC -VP -VS -VF -VT"},
        WrittenCase{"FullReadingAloneWritesX", "plan.dxf", 0, {}, 0, false, nullptr, "-X", true},
        WrittenCase{"FullReadingComesAfterEveryOtherFlag", "plan.dxf", 3,
                    {K::Text, K::Circles, K::Points, K::Solids, K::Faces3D}, 2, true, "2",
                    "-VL -VA -T3 -Z2 -P2 -H -X", true}),
    [](const ::testing::TestParamInfo<WrittenCase>& info) { return std::string(info.param.name); });

// --- The import that follows OK ---

TEST_F(LoadDialogTest, OkDismissesThenImportsThenReleasesItsStringsAndFinishesTheLock) {
  config.macroRecording = true;
  begin();
  const std::string path = lineDrawing();
  const int32_t dialog = openLoadDialog();
  readClassically();
  typeFileName(path);
  host().journal().clear();
  pressOk(dialog);
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\n");
  EXPECT_EQ(messages(), "");
  ASSERT_EQ(host().macros().size(), 1u);
  EXPECT_EQ(host().macros()[0].command, instructionFor(path));
  const std::string order = calls({"OrvUtilStringAlloc", "OrvUtilStringDealloc", "OrvUtilLockFinish",
                                   "OrvUtilGeom2DLineSegmentCreate", "OrvUtilMacroRecord"});
  const std::string instructionLength = olderGeneration() ? "360" : "361";
  const std::string nameLength = olderGeneration() ? "260" : "261";
  const std::string record =
      olderGeneration() ? "OrvUtilMacroRecordAddOnCommand" : "OrvUtilMacroRecordExtCommand";
  EXPECT_EQ(order,
            "TextFieldGetString(textfield2) -> " + orvhost::quoteString(path) + "\n" +
                "OrvUtilStringDealloc(string)\n"
                "OrvUtilStringAlloc(" + instructionLength + ", \"Temp space for dxf loader\") -> string\n" +
                "OrvUtilStringAlloc(" + nameLength + ", \"Temp space for file name\") -> string\n" +
                "DialogDismiss(\"Load DXF File\")\n"
                "OrvUtilLockFinish(addon#1)\n"  // the parser's own nested lock
                "OrvUtilGeom2DLineSegmentCreate(0, 0, 0, 1, 1) -> 1\n" +
                record + "(\"DXF Loader\", " + orvhost::quoteString(instructionFor(path)) + ") -> true\n" +
                "OrvUtilStringDealloc(string)\n"
                "OrvUtilStringDealloc(string)\n"
                "OrvUtilLockFinish(addon#1)\n");
  EXPECT_EQ(loadDialog(), -1);
  expectOnlyTheAddOnsStrings();
}

struct FailedImportCase {
  const char* name;
  const char* content;
  const char* messages;
};
void PrintTo(const FailedImportCase& c, std::ostream* out) { *out << c.name; }

class FailedImportTest : public LoadDialogTest, public ::testing::WithParamInterface<FailedImportCase> {};

TEST_P(FailedImportTest, ARunThatFailsEndsWithErrorReadingAfterItsOwnMessage) {
  begin();
  const std::string path = files.write("drawing.dxf", GetParam().content);
  const int32_t dialog = openLoadDialog();
  readClassically();
  typeFileName(path);
  pressOk(dialog);
  EXPECT_EQ(messages(), GetParam().messages);
  EXPECT_EQ(loadDialog(), -1);
  EXPECT_EQ(host().lockStartDepth(), 0);
  expectOnlyTheAddOnsStrings();
}

INSTANTIATE_TEST_SUITE_P(
    Runs, FailedImportTest,
    ::testing::Values(FailedImportCase{"NoEntities", "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n",
                                       "error: No entities found in this DXF file\n"
                                       "error: Error reading DXF File\n"},
                      FailedImportCase{"Binary", "AutoCAD Binary DXF\r\n\x1a", 
                                       "error: The DXF Loader cannot read binary DXF files\n"
                                       "error: Error reading DXF File\n"}),
    [](const ::testing::TestParamInfo<FailedImportCase>& info) { return std::string(info.param.name); });

// --- Refusals ---

// A path of `length` characters in `folder`, whose bracketed form is two
// characters longer.
std::string pathOfLength(const TempDir& folder, size_t length) {
  const std::string prefix = folder.path() + "/";
  return folder.write(std::string(length - prefix.size() - 4, 'n') + ".dxf", "  0\nEOF\n");
}

struct RefusalCase {
  const char* name;
  // Writes what the case needs into the folder; the text for the file field.
  std::string (*fileText)(const TempDir& folder, bool olderGeneration);
  bool noKinds;
  const char* message;
};
void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class RefusalTest : public LoadDialogTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, RefusedOkLeavesTheDialogOpenUntilCancelFinishesTheLockOnce) {
  const RefusalCase& c = GetParam();
  begin();
  const std::string fileText = c.fileText(files, olderGeneration());
  const int32_t dialog = openLoadDialog();
  if (c.noKinds)
    for (int kind = 0; kind < kEntityKindCount; ++kind) setEntity(static_cast<EntityKind>(kind), false);
  session().typeText(fileField(), fileText);
  host().journal().clear();
  pressOk(dialog);
  EXPECT_EQ(messages(), std::string("error: ") + c.message + "\n");
  EXPECT_EQ(loadDialog(), dialog);
  EXPECT_EQ(count("OrvUtilLockFinish"), 0);
  EXPECT_THAT(written(), ::testing::IsEmpty());
  expectOnlyTheAddOnsStrings();
  pressCancel(dialog);
  EXPECT_EQ(count("OrvUtilLockFinish"), 1);
  EXPECT_EQ(host().lockStartDepth(), 0);
  EXPECT_EQ(objects(), "");
}

std::string lineFile(const TempDir& folder, bool) {
  return folder.write("plan.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
}
std::string emptyFile(const TempDir& folder, bool) { return folder.write("empty.dxf", ""); }
std::string nothing(const TempDir&, bool) { return ""; }
std::string blanks(const TempDir&, bool) { return "   "; }
std::string missingFile(const TempDir& folder, bool) { return folder.path() + "/missing.dxf"; }
std::string folderItself(const TempDir& folder, bool) { return folder.path(); }
std::string tooLongForTheFileName(const TempDir&, bool) { return std::string(10000, 'x'); }
// The bracketed name needs one character more than its temporary string
// holds with the terminator.
std::string bracketedNameTooLong(const TempDir& folder, bool older) {
  return pathOfLength(folder, (older ? 260 : 261) - 2);
}
std::string overTwoGigabytes(const TempDir& folder, bool) {
  const std::string path = folder.write("huge.dxf", "");
  if (::truncate(path.c_str(), int64_t{3} << 30) != 0) ADD_FAILURE() << "cannot make a large sparse file";
  return path;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RefusalTest,
    ::testing::Values(RefusalCase{"EmptyField", nothing, false, "Please enter a filename"},
                      RefusalCase{"BlanksAreANameThatDoesNotExist", blanks, false, "File does not exist"},
                      RefusalCase{"MissingFile", missingFile, false, "File does not exist"},
                      RefusalCase{"Folder", folderItself, false, "File does not exist"},
                      RefusalCase{"FileOverTwoGigabytes", overTwoGigabytes, false, "File too large"},
                      RefusalCase{"EmptyFileBeforeTheKindCheck", emptyFile, true, "File has zero length"},
                      RefusalCase{"NoKind", lineFile, true, "Please select at least one type of DXF entity to import"},
                      RefusalCase{"FieldTextLongerThanTheFileName", tooLongForTheFileName, false,
                                  "File name too long"},
                      RefusalCase{"TooLongTextBeforeTheEmptinessCheck", tooLongForTheFileName, true,
                                  "File name too long"},
                      RefusalCase{"BracketedNameOverItsString", bracketedNameTooLong, false, "File name too long"},
                      RefusalCase{"KindCheckBeforeTheNameFit", bracketedNameTooLong, true,
                                  "Please select at least one type of DXF entity to import"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(LoadDialogTest, ABracketedNameThatJustFitsIsWritten) {
  begin();
  const std::string path = pathOfLength(files, (olderGeneration() ? 260 : 261) - 3);
  const int32_t dialog = openLoadDialog();
  readClassically();
  typeFileName(path);
  pressOk(dialog);
  EXPECT_THAT(written(), ::testing::ElementsAre("-F[" + path + "]"));
  EXPECT_EQ(messages(), "error: No entities found in this DXF file\nerror: Error reading DXF File\n");
}

class OutOfMemoryTest : public LoadDialogTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OutOfMemoryTest, WithoutATemporaryStringOkReleasesTheOtherAndKeepsTheDialogOpen) {
  config.failStringAllocLabel = GetParam();
  begin();
  const std::string path = lineDrawing();
  const int32_t dialog = openLoadDialog();
  typeFileName(path);
  pressOk(dialog);
  EXPECT_EQ(messages(), "error: DXF Loader is out of memory\n");
  EXPECT_EQ(loadDialog(), dialog);
  EXPECT_EQ(objects(), "");
  expectOnlyTheAddOnsStrings();
  pressCancel(dialog);
}

INSTANTIATE_TEST_SUITE_P(TemporaryStrings, OutOfMemoryTest,
                         ::testing::Values("Temp space for dxf loader", "Temp space for file name"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.index == 0 ? "InstructionString" : "BracketedName");
                         });

// --- Browse and Help ---

TEST_F(LoadDialogTest, BrowseFillsTheFieldAndIsTheNextBrowseDefault) {
  begin();
  const std::string path = lineDrawing();
  host().config().fileDialogAnswer = path;
  const int32_t dialog = openLoadDialog();
  readClassically();
  host().journal().clear();
  pressButton(browseButton());
  EXPECT_EQ(text(fileField()), path);
  pressButton(browseButton());
  const std::string quoted = orvhost::quoteString(path);
  EXPECT_EQ(calls({"OrvUtilDialogGetFileName"}),
            "OrvUtilDialogGetFileName(0, out, \"DXF\", \"\", \"*.dxf\") -> true\n"
            "TextFieldSetString(textfield2, " + quoted + ")\n" +
            "OrvUtilDialogGetFileName(0, out, \"DXF\", " + quoted + ", \"*.dxf\") -> true\n" +
            "TextFieldSetString(textfield2, " + quoted + ")\n");
  pressOk(dialog);
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\n");
}

struct BrowseCase {
  const char* name;
  std::optional<std::string> answer;
  const char* messages;
};
void PrintTo(const BrowseCase& c, std::ostream* out) { *out << c.name; }

class BrowseTest : public LoadDialogTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(BrowseTest, AnAnswerNotTakenChangesNothing) {
  config.fileDialogAnswer = GetParam().answer;
  begin();
  const int32_t dialog = openLoadDialog();
  typeFileName("typed.dxf");
  pressButton(browseButton());
  EXPECT_EQ(text(fileField()), "typed.dxf");
  EXPECT_EQ(messages(), GetParam().messages);
  // The default of the next browse is still empty.
  host().config().fileDialogAnswer.reset();
  host().journal().clear();
  pressButton(browseButton());
  EXPECT_EQ(calls({"OrvUtilDialogGetFileName"}),
            "OrvUtilDialogGetFileName(0, out, \"DXF\", \"\", \"*.dxf\") -> false\n");
  pressCancel(dialog);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BrowseTest,
    ::testing::Values(BrowseCase{"Cancelled", std::nullopt, ""},
                      BrowseCase{"LongerThanTheFileName", std::string(10000, 'x'), "error: File name too long\n"}),
    [](const ::testing::TestParamInfo<BrowseCase>& info) { return std::string(info.param.name); });

TEST_F(LoadDialogTest, HelpOpensTheImportPageAndLeavesTheDialogOpen) {
  begin();
  const int32_t dialog = openLoadDialog();
  host().journal().clear();
  press(dialog, Session::DialogButton::Help);
  EXPECT_EQ(calls({"OrvUtilHelp"}), olderGeneration()
                                        ? "OrvUtilHelp(\"orvex/import_dxf.htm\", false, 1080) -> true\n"
                                        : "OrvUtilHelp(\"orvex/import_dxf.html\", false, 1080) -> true\n");
  EXPECT_EQ(loadDialog(), dialog);
  pressCancel(dialog);
}

}  // namespace
}  // namespace drawport::testing
