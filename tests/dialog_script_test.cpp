// Dialog scripts played on the add-on's real Load DXF File and Select Zone
// dialogs: the user's actions reach the controls, OK imports, script errors
// name their line, `show` prints what the user sees; and the dialogs as
// pictures.
#include <gmock/gmock.h>

#include <map>
#include <sstream>

#include "host/dialog_script.h"
#include "host/dialog_svg.h"
#include "support/addon_fixture.h"
#include "support/cli_run.h"

namespace drawport::testing {
namespace {

using ::testing::ContainsRegex;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// A LINE and a CIRCLE, and an ARC that the scripts below often leave out.
const std::string kDrawing = dxfFile(entitiesSection(
    lineEntity(0, 0, 10, 5) + "  0\nCIRCLE\n  8\n0\n 10\n5\n 20\n5\n 40\n2\n" +
    "  0\nARC\n  8\n0\n 10\n0\n 20\n0\n 40\n1\n 50\n0\n 51\n90\n"));

class DialogScriptTest : public AddOnTest {
 protected:
  // Plays `script` in the started add-on; `shown` receives what it printed.
  orvhost::DialogScriptOutcome play(const std::string& script, bool showEach = false) {
    std::istringstream in(script);
    std::ostringstream out;
    orvhost::DialogScriptOptions options;
    options.showEach = showEach;
    const orvhost::DialogScriptOutcome outcome = orvhost::runDialogScript(session(), in, out, options);
    shown = out.str();
    return outcome;
  }
  // Replaces every "{dxf}" in `script` with the path of a drawing file.
  std::string withDrawing(std::string script) {
    const std::string path = files.write("plan.dxf", kDrawing);
    for (size_t at = script.find("{dxf}"); at != std::string::npos; at = script.find("{dxf}", at + path.size()))
      script.replace(at, 5, path);
    return script;
  }
  std::string drawingPath() const { return files.path() + "/plan.dxf"; }
  std::string recorded() const {
    std::string text;
    for (const orvhost::RecordedMacro& macro : orvhost::Host::get().macros()) text += macro.command + "\n";
    return text;
  }

  std::string shown;
};

TEST_F(DialogScriptTest, TogglesAndBrowseThenOkImportTheChosenKinds) {
  config.macroRecording = true;
  start();
  const orvhost::DialogScriptOutcome outcome =
      play(withDrawing("# the user leaves arcs and texts out and reads classically\n"
                       "\n"
                       "toggle Arcs off\n"
                       "   toggle \"  TEXT\" off\n"
                       "toggle Import blocks and newer entities off\n"
                       "browse {dxf}\n"
                       "ok\n"));
  EXPECT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(outcome.importResult, std::optional<bool>(true));
  EXPECT_EQ(recorded(), "-F[" + drawingPath() + "] -VL -VC -VP -VS -VF\n");
  EXPECT_EQ(objects(),
            "line2 (0,0)-(10,5) c0\n"
            "circle (5,5) r2 c0\n");
  EXPECT_EQ(shown, "");
}

struct ImportCase {
  const char* what;
  const char* script;  // {dxf}: a drawing of a LINE, a CIRCLE and an ARC
  std::optional<bool> importResult;
  bool loadDialogOpen;
};

class DialogScriptImportTest : public DialogScriptTest, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(DialogScriptImportTest, ResultIsTheImportsWhenOkClosedTheDialog) {
  start();
  const orvhost::DialogScriptOutcome outcome = play(withDrawing(GetParam().script));
  EXPECT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(outcome.importResult, GetParam().importResult);
  EXPECT_EQ(session().openDialog("Load DXF File") != -1, GetParam().loadDialogOpen);
}

INSTANTIATE_TEST_SUITE_P(
    DialogScript, DialogScriptImportTest,
    ::testing::Values(
        ImportCase{"an import that succeeds", "browse {dxf}\nok\n", true, false},
        ImportCase{"an import that finds nothing of the chosen kinds",
                   "toggle Lines off\ntoggle Circles off\ntoggle Arcs off\nbrowse {dxf}\nok\n", false, false},
        ImportCase{"an OK refused for a missing file", "file {dxf}.missing\nok\n", std::nullopt, true},
        ImportCase{"a refused OK mended", "file {dxf}.missing\nok\nbrowse {dxf}\nok\n", true, false},
        ImportCase{"a cancel", "cancel\n", std::nullopt, false},
        ImportCase{"the Select Zone dialog's OK", "select-zone\nok\n", std::nullopt, true},
        ImportCase{"a failed import, then a good one", "toggle Lines off\ntoggle Circles off\ntoggle Arcs off\n"
                                                       "browse {dxf}\nok\nmenu\ntoggle Lines on\nbrowse {dxf}\nok\n",
                   true, false}),
    [](const ::testing::TestParamInfo<ImportCase>& info) { return "Case" + std::to_string(info.index); });

struct ErrorCase {
  const char* script;
  const char* error;
  bool dataset;
};

class DialogScriptErrorTest : public DialogScriptTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(DialogScriptErrorTest, ActionThatCannotBeDoneStopsTheScriptAtItsLine) {
  config.datasetAvailable = GetParam().dataset;
  start();
  const orvhost::DialogScriptOutcome outcome = play(std::string(GetParam().script) + "\ntoggle Lines off\n");
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error, GetParam().error);
  EXPECT_EQ(outcome.importResult, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    DialogScript, DialogScriptErrorTest,
    ::testing::Values(
        ErrorCase{"toggle Wireframes on", "line 1: \"Load DXF File\" has no toggle \"Wireframes\"", true},
        ErrorCase{"\n# a comment\ntoggle Lines maybe", "line 3: toggle needs a label and on or off", true},
        ErrorCase{"toggle \"Lines on", "line 1: a quote left open", true},
        ErrorCase{"toggle Text off\nfont Times", "line 2: the option menu is insensitive", true},
        ErrorCase{"font Futura", "line 1: the option menu has no entry \"Futura\"", true},
        ErrorCase{"font 13", "line 1: the option menu has no entry \"13\"", true},
        ErrorCase{"dimension 4D", "line 1: the radio box has no button \"4D\"", true},
        ErrorCase{"select-zone\ntoggle Lines off",
                  "line 2: the toggle \"Lines\" of \"Load DXF File\" cannot be reached while \"Select Zone\" is open",
                  true},
        ErrorCase{"select-zone\npick 3", "line 2: the list has no row \"3\"", true},
        ErrorCase{"select-zone\npick \"Zone #9\"", "line 2: the list has no row \"Zone #9\"", true},
        ErrorCase{"pick 1", "line 1: \"Load DXF File\" has no list", true},
        ErrorCase{"select-zone", "line 1: the button \"Select Zone...\" is insensitive", false},
        ErrorCase{"zone 1", "line 1: the text field for \"Attach Imported Items to Zone:\" is insensitive", false},
        ErrorCase{"cancel\nok", "line 2: no dialog is open", true},
        ErrorCase{"cancel\nfile plan.dxf", "line 2: no dialog is open", true},
        ErrorCase{"menu", "line 1: the import menu cannot be reached while \"Load DXF File\" is open", true},
        ErrorCase{"ok now", "line 1: ok takes nothing after it", true},
        ErrorCase{"show-each maybe", "line 1: show-each needs on or off", true},
        ErrorCase{"Toggle Lines off", "line 1: unknown action \"Toggle\"", true}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(DialogScriptTest, ShowPrintsTheOpenDialogsAndTheMessagesSinceTheLastShow) {
  config.zones = {std::string("inlet"), std::nullopt};
  start();
  const orvhost::DialogScriptOutcome outcome = play(
      "toggle Text off\n"
      "file /nonexistent/plan.dxf\n"
      "ok\n"
      "select-zone\n"
      "pick \"Zone #2\"\n"
      "show\n"
      "show\n");
  ASSERT_TRUE(outcome.ok) << outcome.error;
  const std::string zoneDialog =
      "dialog \"Select Zone\"\n"
      "  list, 3 rows\n"
      "    1 \"<<None>>\"\n"
      "    2 \"Zone #1 (inlet)\"\n"
      "    3 \"Zone #2\" selected\n";
  const std::string olderView =
      "dialog \"Load DXF File\"\n"
      "  label \"File:\"\n"
      "  label \"Font:\", insensitive\n"
      "  label \"Attach Imported Items to Zone:\"\n"
      "  toggle \"  Text\" = off\n"
      "  toggle \"  Lines\" = on\n"
      "  toggle \"  Arcs\" = on\n"
      "  toggle \"  Circles\" = on\n"
      "  toggle \"  Points\" = on\n"
      "  toggle \"  Solids\" = on\n"
      "  toggle \"  3D Faces\" = on\n"
      "  optionmenu for \"Font:\" = \"<<Default>>\" (entry 1 of 12), insensitive\n"
      "  textfield for \"Attach Imported Items to Zone:\" = \"<<None>>\"\n"
      "  button \"Select Zone...\"\n"
      "  radiobox (\"Import as 2D\", \"Import as 3D\") = \"Import as 2D\"\n"
      "  toggle \"  Hide invisible layers\" = off\n"
      "  textfield for \"File:\" = \"/nonexistent/plan.dxf\"\n"
      "  button \"...\"\n"
      "  frame \"Import\"\n"
      "  frame \"Polylines\"\n"
      "  toggle \"  Import blocks and newer entities\" = on\n" +
      zoneDialog;
  const std::string laterView =
      "dialog \"Load DXF File\"\n"
      "  frame \"Import\"\n"
      "  frame \"Polylines\"\n"
      "  label \"File:\"\n"
      "  label \"Font:\", insensitive\n"
      "  label \"Attach Imported Items to Zone:\"\n"
      "  toggle \"Text\" = off\n"
      "  toggle \"Lines\" = on\n"
      "  toggle \"Arcs\" = on\n"
      "  toggle \"Circles\" = on\n"
      "  toggle \"Points\" = on\n"
      "  toggle \"Solids\" = on\n"
      "  toggle \"3D Faces\" = on\n"
      "  optionmenu for \"Font:\" = \"<<Default>>\" (entry 1 of 12), insensitive\n"
      "  textfield for \"Attach Imported Items to Zone:\" = \"<<None>>\"\n"
      "  button \"Select Zone...\"\n"
      "  radiobox (\"Import as 2D\", \"Import as 3D\") = \"Import as 2D\"\n"
      "  toggle \"Hide Invisible Layers\" = off\n"
      "  textfield for \"File:\" = \"/nonexistent/plan.dxf\"\n"
      "  button \"...\"\n"
      "  toggle \"Import blocks and newer entities\" = on\n" +
      zoneDialog;
  const std::string& view = olderGeneration() ? olderView : laterView;
  // The second show repeats the dialogs but not the message.
  EXPECT_EQ(shown, view + "error box \"File does not exist\"\n" + view);
}

TEST_F(DialogScriptTest, ShowEachPrintsEveryActionAndThenTheView) {
  start();
  const orvhost::DialogScriptOutcome outcome = play("file /nonexistent/plan.dxf\nok\ncancel\n", true);
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_THAT(shown, StartsWith("> menu\ndialog \"Load DXF File\"\n"));
  EXPECT_THAT(shown, HasSubstr("\n> file /nonexistent/plan.dxf\ndialog \"Load DXF File\"\n"));
  EXPECT_THAT(shown, HasSubstr("\n> ok\ndialog \"Load DXF File\"\n"));
  EXPECT_THAT(shown, HasSubstr("\nerror box \"File does not exist\"\n> cancel\n"));
  EXPECT_THAT(shown, EndsWith("> cancel\nno dialog open\n"));
}

struct PickCase {
  const char* action;
  const char* zoneField;
};

class DialogScriptPickTest : public DialogScriptTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(DialogScriptPickTest, PickChoosesARowByNumberOrText) {
  config.zones = {std::string("inlet"), std::string(), std::string("outlet")};
  start();
  const orvhost::DialogScriptOutcome outcome =
      play("select-zone\npick 2\n" + std::string(GetParam().action) + "\nok\nshow\n");
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_THAT(shown, HasSubstr("textfield for \"Attach Imported Items to Zone:\" = \"" +
                               std::string(GetParam().zoneField) + "\"\n"));
}

INSTANTIATE_TEST_SUITE_P(DialogScript, DialogScriptPickTest,
                         ::testing::Values(PickCase{"pick 1", "<<None>>"}, PickCase{"pick 3", "2"},
                                           PickCase{"pick \"Zone #3\"", "3"}, PickCase{"pick Zone #1 (inlet)", "1"},
                                           PickCase{"pick \"Zone #2\"", "2"}, PickCase{"pick <<None>>", "<<None>>"}));

struct SettingCase {
  const char* actions;
  const char* flags;  // what the instruction string holds after -F[file]
};

// Each script starts from the classic reading.
const char kReadClassically[] = "toggle \"import blocks and newer entities\" off\n";

class DialogScriptSettingTest : public DialogScriptTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(DialogScriptSettingTest, ActionsReachTheInstructionString) {
  config.macroRecording = true;
  start();
  const orvhost::DialogScriptOutcome outcome =
      play(withDrawing(kReadClassically + std::string(GetParam().actions) + "\nbrowse {dxf}\nok\n"));
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(recorded(), "-F[" + drawingPath() + "]" + GetParam().flags + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    DialogScript, DialogScriptSettingTest,
    ::testing::Values(SettingCase{"font Times", " -T7"}, SettingCase{"font 3", " -T3"},
                      SettingCase{"font \"times italic bold\"", " -T10"}, SettingCase{"dimension 3D", " -P2"},
                      SettingCase{"dimension 3D\ndimension \"Import as 2D\"", ""}, SettingCase{"zone 1", " -Z1"},
                      SettingCase{"zone  01x", " -Z1"},
                      SettingCase{"toggle Text off\ntoggle \"hide invisible layers\" on",
                                  " -VL -VA -VC -VP -VS -VF -H"},
                      SettingCase{"toggle Points off\ntoggle points on", ""},
                      SettingCase{"toggle 3D Faces off", " -VL -VA -VC -VP -VS -VT"},
                      SettingCase{"toggle \"Import Blocks and Newer Entities\" on\ndimension 3D", " -P2 -X"}));

TEST_F(DialogScriptTest, FileTakesTheRestOfTheLineAsItStands) {
  start();
  ASSERT_TRUE(play("file  two  blanks \nshow\n").ok);
  EXPECT_THAT(shown, HasSubstr("textfield for \"File:\" = \" two  blanks \"\n"));
}

TEST_F(DialogScriptTest, BrowseAnswersOnceAndACancelledBrowseKeepsTheField) {
  config.fileDialogAnswer = "/default.dxf";
  start();
  ASSERT_TRUE(play("browse /chosen.dxf\nbrowse-cancel\nshow\n").ok);
  EXPECT_THAT(shown, HasSubstr("textfield for \"File:\" = \"/chosen.dxf\"\n"));
  EXPECT_EQ(host().config().fileDialogAnswer, std::optional<std::string>("/default.dxf"));
}

TEST_F(DialogScriptTest, DialogButtonsBelongToTheTopmostDialog) {
  start();
  ASSERT_TRUE(play("select-zone\nhelp\ncancel\nhelp\n").ok);
  const std::string page = olderGeneration() ? "\"orvex/import_dxf.htm\"" : "\"orvex/import_dxf.html\"";
  // The Select Zone dialog asks for help with the flag true, the Load DXF
  // File dialog with false.
  EXPECT_EQ(journal({"OrvUtilHelp"}),
            "OrvUtilHelp(" + page + ", true, 1080) -> true\nOrvUtilHelp(" + page + ", false, 1080) -> true\n");
}

TEST_F(DialogScriptTest, MenuReopensTheDialogWithTheChangesKept) {
  start();
  ASSERT_TRUE(play("toggle Circles off\ncancel\nmenu\nshow\n").ok);
  EXPECT_THAT(shown, ContainsRegex("toggle \" *Circles\" = off\n"));
  EXPECT_THAT(shown, ContainsRegex("toggle \" *Lines\" = on\n"));
}

// --- The dialogs as pictures.

struct DrawnText {
  std::string fill;
  double x = 0;
};

class DialogScriptPictureTest : public DialogScriptTest {
 protected:
  // The texts of the picture of the dialogs as they stand.
  std::map<std::string, DrawnText> drawnTexts() {
    std::ostringstream out;
    orvhost::writeDialogSvg(out, host().toolkit());
    std::string error;
    const std::optional<XmlElement> svg = parseXml(out.str(), &error);
    EXPECT_TRUE(svg) << error;
    std::map<std::string, DrawnText> texts;
    if (!svg) return texts;
    for (const XmlElement* text : elementsNamed(*svg, "text")) {
      const std::string* fill = text->attribute("fill");
      const std::string* x = text->attribute("x");
      texts[text->text] = {fill ? *fill : "", x ? std::stod(*x) : 0};
    }
    return texts;
  }
  const orvhost::Control& label(const std::string& text) {
    for (const orvhost::Control& control : host().toolkit().controls())
      if (control.kind == orvhost::ControlKind::Label && control.label == text) return control;
    ADD_FAILURE() << "no label " << text;
    return host().toolkit().controls().front();
  }
};

TEST_F(DialogScriptPictureTest, ShowsEveryControlWithItsValueAndSensitivity) {
  config.zones = {std::string("inlet"), std::nullopt};
  start();
  ASSERT_TRUE(play("toggle Text off\nfile /x/plan.dxf\nselect-zone\npick 3\n").ok);
  const std::map<std::string, DrawnText> texts = drawnTexts();
  std::vector<std::string> expected = {"Load DXF File", "Select Zone", "/x/plan.dxf", "<<Default>>",
                                       "Import as 2D",  "Import as 3D", "<<None>>",    "Zone #1 (inlet)",
                                       "Zone #2",       "OK",           "Cancel",      "Help"};
  for (const orvhost::Control& control : host().toolkit().controls())
    if (!control.label.empty()) expected.push_back(control.label);
  for (const std::string& text : expected) EXPECT_EQ(texts.count(text), 1u) << text;
  // The Font: label is insensitive while Text is off: it is drawn greyed.
  EXPECT_NE(texts.at("Font:").fill, texts.at("File:").fill);
  EXPECT_EQ(texts.at("File:").fill, texts.at("Attach Imported Items to Zone:").fill);
  // Labels stand at their own layout position.
  EXPECT_EQ(texts.at("Font:").x - texts.at("File:").x, label("Font:").x - label("File:").x);
}

TEST_F(DialogScriptPictureTest, WithoutADialogThePictureSaysSo) {
  start();
  EXPECT_EQ(drawnTexts().count("no dialog was created"), 1u);
}

}  // namespace
}  // namespace drawport::testing
