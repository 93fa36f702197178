// orvhost as a user runs it: its exit status, the JSON and SVG it writes,
// the recorded macro it shows, how it reads its command line; and the frame
// as the SVG picture shows it.
#include <dirent.h>
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <sstream>

#include "host/frame_svg.h"
#include "host/session.h"
#include "support/addon_fixture.h"
#include "support/cli_run.h"

namespace drawport::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// One red LINE and one CIRCLE without a colour.
const std::string kLineAndCircle = dxfFile(
    entitiesSection(lineEntity(0, 0, 10, 5, " 62\n1\n") + "  0\nCIRCLE\n  8\n0\n 10\n5\n 20\n5\n 40\n2\n"));

// The host's own library: a shared library without an add-on's entry point.
std::string hostLibraryPath() {
  const std::string program = DRAWPORT_ORVHOST_PATH;
  return program.substr(0, program.rfind('/')) + (sizeof(void*) == 4 ? "/../lib32/liborv.so" : "/../lib/liborv.so");
}

std::string replaced(std::string text, const std::string& placeholder, const std::string& value) {
  for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
  return text;
}

XmlElement parsed(const std::string& document) {
  std::string error;
  std::optional<XmlElement> root = parseXml(document, &error);
  EXPECT_TRUE(root) << error << "\n" << document.substr(0, 2000);
  return root.value_or(XmlElement{});
}

std::string attributeOf(const XmlElement* element, std::string_view name) {
  const std::string* value = element ? element->attribute(name) : nullptr;
  return value ? *value : "<no " + std::string(name) + ">";
}

double numberOf(const XmlElement* element, std::string_view name) {
  const std::string text = attributeOf(element, name);
  double value = kNaN;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The names in a folder.
std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* listing = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(listing))
      if (entry->d_name[0] != '.') names.push_back(entry->d_name);
    ::closedir(listing);
  }
  return names;
}

class OrvhostCliTest : public ::testing::Test {
 protected:
  // Runs orvhost with the add-on of this build and `arguments`.
  ProgramRun orvhost(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), {"--addon", DRAWPORT_ADDON_PATH});
    return runProgram(DRAWPORT_ORVHOST_PATH, arguments, input);
  }
  std::string path(const std::string& name) const { return files.path() + "/" + name; }

  TempDir files;
};

TEST_F(OrvhostCliTest, ImportWritesTheFrameAndTheOutcomeAsJson) {
  const std::string drawing = files.write("plan.dxf", kLineAndCircle);
  const ProgramRun run = orvhost({"--quiet", "--json", path("out.json"), "import", drawing});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readFile(path("out.json")).value_or("<none>"),
            "{\"objects\": [\n"
            "  {\"type\":\"line\",\"dim\":2,\"points\":[[0,0],[10,5]],\"color\":1,\"zone\":null},\n"
            "  {\"type\":\"circle\",\"center\":[5,5],\"radius\":2,\"color\":0,\"zone\":null}],\n"
            " \"messages\": [],\n"
            " \"macro\": [],\n"
            " \"view_fits\": 1, \"result\": true, \"error_text\": null, \"violations\": []}\n");
}

TEST_F(OrvhostCliTest, ExitStatusTellsTheOutcome) {
  const std::string drawing = files.write("plan.dxf", kLineAndCircle);
  files.write("import.script", "browse " + drawing + "\nok\n");
  files.write("cancel.script", "cancel\n");
  files.write("broken.script", "toggle Lines off\nfrobnicate\n");
  struct Case {
    const char* what;
    std::vector<std::string> arguments;  // {dxf}, {dir} and {host library} are filled in
    int exitCode;
    bool jsonWritten;
  };
  const Case cases[] = {
      {"an import that succeeds", {"--json", "{dir}/out.json", "import", "{dxf}"}, 0, true},
      {"an import of a missing file", {"--json", "{dir}/out.json", "import", "{dir}/missing.dxf"}, 1, true},
      {"a macro name without a handler", {"--json", "{dir}/out.json", "macro", "No Such", "x"}, 1, true},
      {"register only", {"--json", "{dir}/out.json", "register"}, 0, true},
      {"a dialog session that imports", {"--json", "{dir}/out.json", "dialog", "{dir}/import.script"}, 0, true},
      {"a dialog session without an import", {"--json", "{dir}/out.json", "dialog", "{dir}/cancel.script"}, 1, true},
      {"a script action that cannot be done", {"--json", "{dir}/out.json", "dialog", "{dir}/broken.script"}, 2,
       false},
      {"a script that cannot be read", {"--json", "{dir}/out.json", "dialog", "{dir}/none.script"}, 2, false},
      {"no command", {"--json", "{dir}/out.json"}, 2, false},
      {"an unknown option", {"--json", "{dir}/out.json", "--frobnicate", "import", "{dxf}"}, 2, false},
      {"an unknown command", {"--json", "{dir}/out.json", "frobnicate"}, 2, false},
      {"import without a file", {"--json", "{dir}/out.json", "import"}, 2, false},
      {"a number option given a word", {"--json", "{dir}/out.json", "--background", "white", "register"}, 2, false},
      {"an add-on that does not exist", {"--addon", "{dir}/none.so", "--json", "{dir}/out.json", "register"}, 3,
       false},
      {"a library without an entry point", {"--addon", "{host library}", "--json", "{dir}/out.json", "register"}, 3,
       false},
      {"a file that is no library", {"--addon", "{dxf}", "--json", "{dir}/out.json", "import", "{dxf}"}, 3, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    std::remove(path("out.json").c_str());
    std::vector<std::string> arguments;
    for (const std::string& argument : test.arguments)
      arguments.push_back(
          replaced(replaced(replaced(argument, "{dxf}", drawing), "{dir}", files.path()), "{host library}",
                   hostLibraryPath()));
    const ProgramRun run = orvhost(arguments);
    EXPECT_EQ(run.exitCode, test.exitCode) << run.err;
    const std::optional<std::string> json = readFile(path("out.json"));
    EXPECT_EQ(json.has_value(), test.jsonWritten);
  }
}

// Standard error carries the add-on's boxes, then the text the failed
// command handed back.
TEST_F(OrvhostCliTest, AFailedCommandShowsTheTextItHandsBack) {
  const std::string empty = files.write("empty.dxf", dxfFile(entitiesSection("")));
  const struct {
    std::vector<std::string> arguments;
    const char* err;
  } cases[] = {
      {{"import", "/nonexistent.dxf"},
       "orvhost: DXF Loader: Error reading file\norvhost: cannot import /nonexistent.dxf: there is no such file\n"},
      {{"import", empty}, "error box: No entities found in this DXF file\norvhost: DXF Loader: Error reading file\n"},
      {{"macro", "DXF Loader", "Q@"},
       "message box: DXF Loader: / Invalid parameter string. Some default settings may be used.\n"
       "orvhost: DXF Loader: Error reading file\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.back());
    const ProgramRun run = orvhost(c.arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
  }
}

// What a user or a script learns from orvhost about the file, the command
// line and the outputs; the folder holds nothing more than the outputs that
// were written whole.
// `text` with the time an import took (" in 0.01 s") written " in {time} s".
std::string withTimeLeftOut(std::string text) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (size_t at = text.find(" in "); at != std::string::npos; at = text.find(" in ", at + 1)) {
    size_t end = at + 4;
    while (end < text.size() && isDigit(text[end])) ++end;
    const bool isTime = end > at + 4 && text.compare(end, 1, ".") == 0 && end + 3 < text.size() &&
                        isDigit(text[end + 1]) && isDigit(text[end + 2]) && text.compare(end + 3, 2, " s") == 0;
    if (isTime) text.replace(at, end + 5 - at, " in {time} s");
  }
  return text;
}

TEST_F(OrvhostCliTest, SaysPlainlyWhatWentWrongOrWhatTheImportDrew) {
  const std::string drawing = files.write("plan.dxf", kLineAndCircle);
  files.write("empty.dxf", "");
  files.write("notes.txt", "  0\nnot a SECTION\nSECTION\n");
  files.write("refs.dxf",
              dxfFile(entitiesSection("  0\nINSERT\n  8\n0\n  2\nNONE\n 10\n0\n 20\n0\n" + lineEntity(0, 0, 1, 1))));
  ASSERT_EQ(::mkdir(path("folder").c_str(), 0755), 0);
  const std::vector<std::string> inputs = {"empty.dxf", "folder", "notes.txt", "plan.dxf", "refs.dxf"};
  const char* const kNotDxf = "it is not a DXF drawing (no line \"0\" followed by \"SECTION\" near its start)\n";
  struct Case {
    const char* what;
    std::vector<std::string> arguments;  // {dir}, {dxf} and {addon} are filled in
    int exitCode;
    std::string err;  // {time}: the seconds the import took
    std::vector<std::string> leaves = {};
  };
  const Case cases[] = {
      {"a missing file",
       {"import", "{dir}/none.dxf"},
       1,
       "orvhost: DXF Loader: Error reading file\norvhost: cannot import {dir}/none.dxf: there is no such file\n"},
      {"a folder",
       {"import", "{dir}/folder"},
       1,
       "orvhost: DXF Loader: Error reading file\norvhost: cannot import {dir}/folder: it is a folder, not a file\n"},
      {"an empty file",
       {"import", "{dir}/empty.dxf"},
       1,
       "orvhost: DXF Loader: Error reading file\norvhost: cannot import {dir}/empty.dxf: the file is empty\n"},
      {"text that is no drawing",
       {"import", "{dir}/notes.txt"},
       1,
       "error box: No entities found in this DXF file\norvhost: DXF Loader: Error reading file\n"
       "orvhost: cannot import {dir}/notes.txt: " +
           std::string(kNotDxf)},
      {"an option after the command",
       {"--record", "import", "{dxf}", "-VL", "--svg", "{dir}/a b.svg"},
       2,
       "orvhost: the option --svg stands after the command import: options go before the command, as in\n"
       "  orvhost --addon {addon} --record --svg '{dir}/a b.svg' import {dxf} -VL\n"
       "(orvhost --help tells how to use it)\n"},
      {"JSON into a missing folder",
       {"--quiet", "--svg", "{dir}/out.svg", "--json", "{dir}/none/out.json", "import", "{dxf}"},
       4,
       "orvhost: cannot write {dir}/none/out.json: No such file or directory\n",
       {"out.svg"}},
      {"SVG into a read-only place",
       {"--quiet", "--svg", "/proc/out.svg", "import", "{dxf}"},
       4,
       "orvhost: cannot write /proc/out.svg: No such file or directory\n"},
      {"a successful import",
       {"--json", "{dir}/out.json", "import", "{dxf}", "-X"},
       0,
       "orvhost: imported {dxf} in {time} s: 1 line, 0 polylines, 0 filled, 1 circle, 0 arcs, 0 texts\n",
       {"out.json"}},
      {"an import that leaves references out",
       {"import", "{dir}/refs.dxf", "-X"},
       0,
       "message box: DXF Loader / 1 block reference was not drawn: /   block not in the drawing: NONE (1)\n"
       "orvhost: imported {dir}/refs.dxf in {time} s: 1 line, 0 polylines, 0 filled, 0 circles, 0 arcs, 0 texts; "
       "1 block reference was not drawn: block not in the drawing: NONE (1)\n"},
      {"a quiet import", {"--quiet", "import", "{dxf}"}, 0, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    auto filledIn = [&](const std::string& text) {
      return replaced(replaced(replaced(text, "{dxf}", drawing), "{dir}", files.path()), "{addon}",
                      DRAWPORT_ADDON_PATH);
    };
    std::vector<std::string> arguments;
    for (const std::string& argument : test.arguments) arguments.push_back(filledIn(argument));
    const ProgramRun run = orvhost(arguments);
    EXPECT_EQ(run.exitCode, test.exitCode);
    EXPECT_EQ(withTimeLeftOut(run.err), filledIn(test.err));
    EXPECT_EQ(run.out, "");
    std::vector<std::string> left = inputs;
    left.insert(left.end(), test.leaves.begin(), test.leaves.end());
    EXPECT_THAT(namesIn(files.path()), ::testing::UnorderedElementsAreArray(left));
    for (const char* output : {"out.json", "out.svg"}) std::remove(path(output).c_str());
  }
}

TEST_F(OrvhostCliTest, VersionNamesTheAddOnAndTheHost) {
  const ProgramRun run = orvhost({"--host-version", "750123", "--version"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_THAT(run.out,
              ::testing::MatchesRegex("orvhost: the stand-in for Orvex version 750123, (32|64)-bit\n"
                                      "DXF Loader [0-9][0-9.]+ .*, for the .* generation: .*libdrawport.so\n"));
}

TEST_F(OrvhostCliTest, RecordShowsTheRecordedMacro) {
  const std::string drawing = files.write("plan.dxf", kLineAndCircle);
  const ProgramRun run = orvhost({"--quiet", "--record", "import", drawing, "-VL", "-VC"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "recorded: DXF Loader: -F[" + drawing + "] -VL -VC\n");
  EXPECT_EQ(run.out, "");
}

TEST_F(OrvhostCliTest, WordsAfterTheCommandBelongToItEvenWithADash) {
  const std::string drawing = files.write("plan.dxf", kLineAndCircle);

  // -VC is a flag of the instruction string, not an option of orvhost.
  const ProgramRun circlesOnly = orvhost({"--json", path("out.json"), "import", drawing, "-VC"});
  EXPECT_EQ(circlesOnly.exitCode, 0) << circlesOnly.err;
  const std::string json = readFile(path("out.json")).value_or("");
  EXPECT_THAT(json, HasSubstr("\"type\":\"circle\""));
  EXPECT_THAT(json, Not(HasSubstr("\"type\":\"line\"")));

  // The macro text may start with a dash too.
  const ProgramRun macro = orvhost({"--record", "macro", "DXF Loader", "-F[" + drawing + "] -VL"});
  EXPECT_EQ(macro.exitCode, 0) << macro.err;
  EXPECT_EQ(macro.err, "recorded: DXF Loader: -F[" + drawing + "] -VL\n");

  // --help after the command word is the macro's text, not a request for help.
  const ProgramRun help = orvhost({"macro", "No Such", "--help"});
  EXPECT_EQ(help.exitCode, 1);
  EXPECT_EQ(help.out, "");
  EXPECT_EQ(help.err, "orvhost: no macro command is registered as \"No Such\"\n");
}

TEST_F(OrvhostCliTest, HelpTellsHowToUseItAndTheScriptActions) {
  const ProgramRun run = runProgram(DRAWPORT_ORVHOST_PATH, {"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_THAT(run.out, StartsWith("usage: orvhost [OPTIONS] COMMAND ARGS...\n"));
  for (const char* documented : {"--dialog-svg PATH", "--show-each", "Dialog scripts:", "toggle LABEL on|off",
                                 "browse-cancel", "select-zone", "pick N | pick ROW", "show-each on|off",
                                 "orvhost import plan.dxf -X", "orvhost: DXF Loader: Error reading file"})
    EXPECT_THAT(run.out, HasSubstr(documented));
}

TEST_F(OrvhostCliTest, SvgShowsTheImportOnTheFramesBackground) {
  const std::string drawing = files.write(
      "plan.dxf",
      dxfFile(entitiesSection("  0\nSOLID\n  8\n0\n 62\n4\n 10\n0\n 20\n0\n 11\n4\n 21\n0\n"
                              " 12\n0\n 22\n4\n 13\n4\n 23\n4\n"
                              "  0\nARC\n  8\n0\n 62\n1\n 10\n10\n 20\n0\n 40\n3\n 50\n0\n 51\n90\n"
                              "  0\nTEXT\n  8\n0\n 10\n0\n 20\n-3\n 40\n1\n  1\na<b & \"c\"\n")));
  const ProgramRun run = orvhost({"--background", "0", "--svg", path("out.svg"), "import", drawing});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const XmlElement svg = parsed(readFile(path("out.svg")).value_or(""));
  EXPECT_EQ(svg.name, "svg");
  const auto rects = elementsNamed(svg, "rect");
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(attributeOf(rects[0], "fill"), "#000000");
  const auto polygons = elementsNamed(svg, "polygon");
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(attributeOf(polygons[0], "fill"), "#00ffff");
  const auto paths = elementsNamed(svg, "path");
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_THAT(attributeOf(paths[0], "d"), HasSubstr(" A"));
  EXPECT_EQ(attributeOf(paths[0], "stroke"), "#ff0000");
  const auto texts = elementsNamed(svg, "text");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->text, "a<b & \"c\"");
}

TEST_F(OrvhostCliTest, DialogPlaysTheScriptFromStandardInputAndDrawsTheDialog) {
  const std::string drawing = files.write("plan.dxf", kLineAndCircle);
  const ProgramRun run = orvhost({"--show-each", "--dialog-svg", path("dialog.svg"), "dialog", "-"},
                                 "toggle Arcs off\nbrowse " + drawing + "\nok\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("> menu\ndialog \"Load DXF File\"\n"));
  EXPECT_THAT(run.out, HasSubstr("> ok\nno dialog open\n"));
  const XmlElement svg = parsed(readFile(path("dialog.svg")).value_or(""));
  std::vector<std::string> texts;
  for (const XmlElement* text : elementsNamed(svg, "text")) texts.push_back(text->text);
  EXPECT_THAT(texts, ::testing::Contains("Load DXF File (closed)"));
  EXPECT_THAT(texts, ::testing::Contains(drawing));
}

// --- The frame as a picture, drawn from frames built in the host directly.

class OrvhostFrameSvgTest : public ::testing::Test {
 protected:
  orvhost::Frame& frame() { return session_.host().frame(); }
  orvhost::FrameObject& object(int32_t id) { return *frame().find(id); }
  int32_t line(double x1, double y1, double x2, double y2) {
    return frame().addLine(2, {x1, y1, 0}, {x2, y2, 0});
  }
  int32_t polyline(int dim, std::vector<orvhost::Point3> points) {
    std::vector<double> x, y, z;
    for (const orvhost::Point3& p : points) x.push_back(p.x), y.push_back(p.y), z.push_back(p.z);
    return frame().addPolyline(dim, x.data(), y.data(), z.data(), static_cast<int32_t>(points.size()));
  }
  std::string svgText() {
    std::ostringstream out;
    orvhost::writeFrameSvg(out, session_.host());
    return out.str();
  }
  // The picture of the frame as it is now; stays valid until the next call.
  const XmlElement& svg() {
    picture_ = parsed(svgText());
    return picture_;
  }
  // The drawn objects' elements, in order.
  static std::vector<const XmlElement*> shapes(const XmlElement& svg) {
    std::vector<const XmlElement*> found;
    const auto group = elementsNamed(svg, "g");
    if (group.empty()) return found;
    for (const XmlElement& child : group[0]->children) found.push_back(&child);
    return found;
  }

  orvhost::Session session_;
  XmlElement picture_;
};

TEST_F(OrvhostFrameSvgTest, HostColoursShowInTheColoursTheirNamesSay) {
  const struct {
    std::optional<int16_t> colour;
    const char* rgb;
  } kColours[] = {{0, "#000000"}, {1, "#ff0000"}, {2, "#00ff00"}, {3, "#0000ff"}, {4, "#00ffff"},
                  {5, "#ffff00"}, {7, "#ffffff"}, {8, "#404040"}, {14, "#ff00ff"}};
  for (const auto& colour : kColours) object(line(0, 0, 1, 1)).color = colour.colour;
  const XmlElement& picture = svg();
  const auto drawn = shapes(picture);
  ASSERT_EQ(drawn.size(), std::size(kColours));
  for (size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(attributeOf(drawn[i], "stroke"), kColours[i].rgb) << i;
}

TEST_F(OrvhostFrameSvgTest, UnsetAndUnknownColoursStayVisible) {
  for (std::optional<int16_t> colour : {std::optional<int16_t>(), std::optional<int16_t>(99),
                                        std::optional<int16_t>(-1), std::optional<int16_t>(16)})
    object(line(0, 0, 1, 1)).color = colour;
  for (int16_t background : {0, 7}) {
    session_.host().config().backgroundColor = background;
    const XmlElement& picture = svg();
    const std::string backgroundRgb = attributeOf(elementsNamed(picture, "rect")[0], "fill");
    for (const XmlElement* drawn : shapes(picture)) {
      const std::string stroke = attributeOf(drawn, "stroke");
      EXPECT_THAT(stroke, ::testing::MatchesRegex("#[0-9a-f]{6}"));
      EXPECT_NE(stroke, backgroundRgb);
      EXPECT_NE(stroke, "#000000");
      EXPECT_NE(stroke, "#ffffff");
    }
  }
}

TEST_F(OrvhostFrameSvgTest, BackgroundFillsThePictureInTheFramesBackgroundColour) {
  line(0, 0, 10, 10);
  for (const auto& [colour, rgb] : {std::pair<int16_t, const char*>{0, "#000000"}, {7, "#ffffff"}, {3, "#0000ff"}}) {
    session_.host().config().backgroundColor = colour;
    const XmlElement& picture = svg();
    const XmlElement* background = elementsNamed(picture, "rect")[0];
    EXPECT_EQ(attributeOf(background, "fill"), rgb);
    EXPECT_EQ(attributeOf(background, "width"), attributeOf(&picture, "width"));
    EXPECT_EQ(attributeOf(background, "height"), attributeOf(&picture, "height"));
  }
}

TEST_F(OrvhostFrameSvgTest, YPointsUpAndTheViewFitsTheDrawingWithAMargin) {
  for (const auto& [from, to] : {std::pair{0.0, 10.0}, std::pair{-1e308, 1e308}, std::pair{1e15, 1e15 + 2}}) {
    SCOPED_TRACE(from);
    frame().clear();
    line(from, from, to, to);
    const XmlElement& picture = svg();
    const double width = numberOf(&picture, "width"), height = numberOf(&picture, "height");
    const XmlElement* drawn = shapes(picture).at(0);
    const double x1 = numberOf(drawn, "x1"), y1 = numberOf(drawn, "y1");
    const double x2 = numberOf(drawn, "x2"), y2 = numberOf(drawn, "y2");
    EXPECT_LT(x1, x2);
    EXPECT_GT(y1, y2) << "a line going up in the drawing goes up in the picture";
    for (double inside : {x1, x2}) EXPECT_TRUE(inside > 0 && inside < width) << inside;
    for (double inside : {y1, y2}) EXPECT_TRUE(inside > 0 && inside < height) << inside;
    EXPECT_GT(x2 - x1, 0.8 * width) << "the view is fitted to the drawing";
  }
}

TEST_F(OrvhostFrameSvgTest, PolylinesStandAtTheirAnchorAndThreeDIsProjectedOntoXY) {
  line(10, 10, 12, 11);
  object(polyline(2, {{0, 0, 0}, {2, 1, 0}})).anchor = orvhost::Point3{10, 10, 0};
  object(polyline(3, {{10, 10, 5}, {12, 11, -3}}));
  object(polyline(3, {{0, 0, 0}, {2, 1, 4}})).anchor = orvhost::Point3{10, 10, 7};
  const auto drawn = shapes(svg());
  ASSERT_EQ(drawn.size(), 4u);
  const std::string linePoints = attributeOf(drawn[0], "x1") + "," + attributeOf(drawn[0], "y1") + " " +
                                 attributeOf(drawn[0], "x2") + "," + attributeOf(drawn[0], "y2");
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(attributeOf(drawn[i], "points"), linePoints) << i;
}

TEST_F(OrvhostFrameSvgTest, FilledPolylinesAreFilledWithTheirFillColour) {
  orvhost::FrameObject& withFill = object(polyline(2, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
  withFill.filled = true, withFill.color = 1, withFill.fillColor = 5;
  orvhost::FrameObject& withoutFill = object(polyline(2, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
  withoutFill.filled = true, withoutFill.color = 3;
  object(polyline(2, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}})).color = 2;
  const auto drawn = shapes(svg());
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0]->name + " " + attributeOf(drawn[0], "fill") + " " + attributeOf(drawn[0], "stroke"),
            "polygon #ffff00 #ff0000");
  EXPECT_EQ(drawn[1]->name + " " + attributeOf(drawn[1], "fill") + " " + attributeOf(drawn[1], "stroke"),
            "polygon #0000ff #0000ff");
  EXPECT_EQ(drawn[2]->name + " " + attributeOf(drawn[2], "fill") + " " + attributeOf(drawn[2], "stroke"),
            "polyline <no fill> #00ff00");
  EXPECT_EQ(attributeOf(elementsNamed(svg(), "g")[0], "fill"), "none");
}

TEST_F(OrvhostFrameSvgTest, ArcsRunCounterClockwiseFromStartToEnd) {
  const double kDegree = 3.14159265358979323846 / 180;
  const struct {
    double start, end;
    const char* element;
    const char* flags;  // large-arc and sweep flags of the path
  } kArcs[] = {
      {0, 90, "path", "0 0,0"}, {45, 315, "path", "0 1,0"}, {300, 30, "path", "0 0,0"},
      {90, 0, "path", "0 1,0"}, {0, 360, "circle", ""},     {10, 370, "circle", ""},
  };
  for (const auto& arc : kArcs) {
    SCOPED_TRACE(std::to_string(arc.start) + ".." + std::to_string(arc.end));
    frame().clear();
    frame().addArc(0, 0, 0, 1, arc.start, arc.end);
    // A chord from the start point to the end point, drawn in the same view.
    line(std::cos(arc.start * kDegree), std::sin(arc.start * kDegree), std::cos(arc.end * kDegree),
         std::sin(arc.end * kDegree));
    // Two dots that keep the view the same for every arc.
    frame().addCircle(0, -1.5, -1.5, 0.01);
    frame().addCircle(0, 1.5, 1.5, 0.01);
    const auto drawn = shapes(svg());
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0]->name, arc.element);
    if (drawn[0]->name != "path") continue;
    const std::string expected = "M" + attributeOf(drawn[1], "x1") + "," + attributeOf(drawn[1], "y1") + " A";
    const std::string d = attributeOf(drawn[0], "d");
    EXPECT_THAT(d, StartsWith(expected));
    EXPECT_THAT(d, ::testing::EndsWith(arc.flags + std::string(" ") + attributeOf(drawn[1], "x2") + "," +
                                       attributeOf(drawn[1], "y2")));
  }
}

TEST_F(OrvhostFrameSvgTest, TextsStandAtTheirPositionWithTheirHeightAndAngle) {
  line(0, 0, 10, 0);
  object(frame().addText(0, 0, 0, 0, 2, "Hi")).angle = 30;
  object(frame().addText(0, 0, 0, 0, 1, "Flat"));
  const auto drawn = shapes(svg());
  ASSERT_EQ(drawn.size(), 3u);
  const double x = numberOf(drawn[0], "x1"), y = numberOf(drawn[0], "y1");
  const double tenUnits = numberOf(drawn[0], "x2") - x;
  EXPECT_EQ(numberOf(drawn[1], "x"), x);
  EXPECT_EQ(numberOf(drawn[1], "y"), y);
  EXPECT_NEAR(numberOf(drawn[1], "font-size"), tenUnits / 5, 1e-3);
  EXPECT_EQ(attributeOf(drawn[1], "transform"),
            "rotate(-30 " + attributeOf(drawn[1], "x") + " " + attributeOf(drawn[1], "y") + ")");
  EXPECT_EQ(attributeOf(drawn[2], "transform"), "<no transform>");
}

TEST_F(OrvhostFrameSvgTest, ObjectsThatCannotBeDrawnAreLeftOut) {
  const struct {
    const char* what;
    void (*add)(orvhost::Frame&);
  } kCases[] = {
      {"a line to NaN", [](orvhost::Frame& f) { f.addLine(2, {0, 0, 0}, {kNaN, 1, 0}); }},
      {"a line to infinity", [](orvhost::Frame& f) { f.addLine(3, {0, 0, 0}, {1, kInfinity, 0}); }},
      {"a polyline beyond the doubles' range",
       [](orvhost::Frame& f) {
         const double x[] = {1e308, 1.7e308}, y[] = {0, 0};
         f.find(f.addPolyline(2, x, y, nullptr, 2))->anchor = orvhost::Point3{1e308, 0, 0};
       }},
      {"a polyline with a NaN anchor",
       [](orvhost::Frame& f) {
         const double x[] = {0, 1}, y[] = {0, 1};
         f.find(f.addPolyline(2, x, y, nullptr, 2))->anchor = orvhost::Point3{kNaN, 0, 0};
       }},
      {"a polyline without points", [](orvhost::Frame& f) { f.addPolyline(2, nullptr, nullptr, nullptr, 0); }},
      {"a circle of infinite radius", [](orvhost::Frame& f) { f.addCircle(0, 0, 0, kInfinity); }},
      {"a circle of radius 0", [](orvhost::Frame& f) { f.addCircle(0, 0, 0, 0); }},
      {"a circle of negative radius", [](orvhost::Frame& f) { f.addCircle(0, 0, 0, -1); }},
      {"a circle reaching beyond the doubles' range", [](orvhost::Frame& f) { f.addCircle(0, 1.7e308, 0, 1e308); }},
      {"an arc of NaN angle", [](orvhost::Frame& f) { f.addArc(0, 0, 0, 1, kNaN, 90); }},
      {"an arc of infinite end angle", [](orvhost::Frame& f) { f.addArc(0, 0, 0, 1, 0, -kInfinity); }},
      {"a text at infinity", [](orvhost::Frame& f) { f.addText(0, kInfinity, 0, 0, 1, "x"); }},
      {"a text of height 0", [](orvhost::Frame& f) { f.addText(0, 0, 0, 0, 0, "x"); }},
      {"a text of NaN angle", [](orvhost::Frame& f) { f.find(f.addText(0, 0, 0, 0, 1, "x"))->angle = kNaN; }},
      {"an empty text", [](orvhost::Frame& f) { f.addText(0, 0, 0, 0, 1, ""); }},
  };
  for (const auto& test : kCases) {
    SCOPED_TRACE(test.what);
    frame().clear();
    test.add(frame());
    line(0, 0, 1, 1);
    const std::string text = svgText();
    const XmlElement picture = parsed(text);
    const auto drawn = shapes(picture);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0]->name, "line");
    EXPECT_THAT(text, Not(::testing::ContainsRegex("nan|inf")));
  }
}

TEST_F(OrvhostFrameSvgTest, TextsOfAnyBytesAreWrittenAsWellFormedXml) {
  const struct {
    const char* what;
    std::string bytes;
    std::string shown;
  } kTexts[] = {
      {"markup characters", "<a href=\"x\">&amp;</a>", "<a href=\"x\">&amp;</a>"},
      {"well-formed UTF-8", "Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80",
       "Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80"},
      {"a Latin-1 byte", "caf\xe9!", "caf\xef\xbf\xbd!"},
      {"a cut sequence at the end", "x\xe2\x82", "x\xef\xbf\xbd\xef\xbf\xbd"},
      {"an overlong form", "\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},
      {"a surrogate", "\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
      {"control characters", "a\x01\x1f" "b", "a\xef\xbf\xbd\xef\xbf\xbd" "b"},
      {"a non-character", "\xef\xbf\xbe", "\xef\xbf\xbd"},
      {"tabs and line ends", "a\tb\r\nc", "a\tb\r\nc"},
  };
  for (const auto& test : kTexts) {
    SCOPED_TRACE(test.what);
    frame().clear();
    frame().addText(0, 0, 0, 0, 1, test.bytes.c_str());
    const auto texts = elementsNamed(svg(), "text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, test.shown);
  }
}

TEST_F(OrvhostFrameSvgTest, AnEmptyFrameIsItsBackgroundAlone) {
  const XmlElement& picture = svg();
  EXPECT_EQ(elementsNamed(picture, "rect").size(), 1u);
  EXPECT_TRUE(shapes(picture).empty());
  EXPECT_GT(numberOf(&picture, "width"), 0);
}

}  // namespace
}  // namespace drawport::testing
