// The instruction string: the parser of both forms with its warnings, the
// writer of the dash form, and the two as mirror images.
#include "shell/instruction_string.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "host/host.h"
#include "shell/addon.h"
#include "support/addon_fixture.h"
#include "support/frame_text.h"

namespace drawport::testing {
namespace {

// The settings in one line: the file name, the selected kinds as the -V
// letters in the order Text, Lines, Arcs, Circles, Points, Solids, 3D faces,
// whether invisible layers are shown, then font, dimension, zone and size.
std::string render(const ImportSettings& settings, const char* fileName) {
  static const char kLetters[] = "TLACPSF";
  std::string kinds;
  for (int kind = 0; kind < kEntityKindCount; ++kind)
    if (settings.kinds[kind]) kinds += kLetters[kind];
  return std::string("name=") + fileName + " kinds=" + kinds + " show=" + (settings.showInvisibleLayers ? "1" : "0") +
         " font=" + std::to_string(settings.fontNumber) + " dim=" + std::to_string(settings.dimension) +
         " zone=" + std::to_string(settings.zoneNumber) + " size=" + std::to_string(settings.fileSize);
}

// Runs the parser in this process against the stand-in host.
class InstructionStringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orvhost::Host::get().reset({});
    addOn().id = OrvUtilAddOnRegister(ORV_ADDON_INTERFACE_NUMBER, kAddOnName, "test", "test");
    fileName_.assign(kHostStringLength, '\0');
  }

  // Parses `text` starting from `settings`; returns the rendered settings
  // followed by the messages shown.
  std::string parse(const std::string& text, ImportSettings settings = {}) {
    parseInstructionString(text.c_str(), settings, fileName_.data(), fileName_.size());
    last_ = settings;
    const auto& host = orvhost::Host::get();
    EXPECT_EQ(host.lockStartDepth(), 0) << "the dash form's lock is finished";
    return render(settings, fileName_.data()) + "\n" + renderMessages(host);
  }

  const char* fileName() const { return fileName_.data(); }
  TempDir files;
  ImportSettings last_;

 private:
  std::vector<char> fileName_;
};

struct ParseCase {
  const char* text;
  const char* expected;
};

const char kInvalid[] = "box: DXF Loader:\\nInvalid parameter string. Some default settings may be used.\n";

TEST_F(InstructionStringTest, DashFormSetsEverySettingAndWarnsAboutBadValues) {
  const ParseCase cases[] = {
      {"-F[C:\\dxf\\plan.dxf]", "name=C:\\dxf\\plan.dxf kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      // The all-kinds default shows invisible layers, -H or not.
      {"-F[C:\\dxf\\plan.dxf] -H", "name=C:\\dxf\\plan.dxf kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      {"-F[C:\\dxf\\plan.dxf] -VL", "name=C:\\dxf\\plan.dxf kinds=L show=0 font=1 dim=1 zone=0 size=0\n"},
      {"-F[C:\\dxf\\plan.dxf] -VL -H", "name=C:\\dxf\\plan.dxf kinds=L show=0 font=1 dim=1 zone=0 size=0\n"},
      // A -V flag that names no kind still turns the default off.
      {"-F[C:\\dxf\\plan.dxf] -VX", "name=C:\\dxf\\plan.dxf kinds= show=0 font=1 dim=1 zone=0 size=0\n"},
      {"-F[x.dxf] -VL -VZ -H", "name=x.dxf kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      {"-F[C:\\dxf\\a\\[1\\].dxf]", "name=C:\\dxf\\a[1].dxf kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      {"-F[C:\\my-files\\plan.dxf]", "name=C:\\my-files\\plan.dxf kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      {"-F[a\\b\\\\c]", "name=a\\b\\\\c kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      {"-F[unclosed", "name=unclosed kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      {"-f[x.dxf] -vl -p2", "name=x.dxf kinds=L show=0 font=1 dim=2 zone=0 size=0\n"},
      {"-F[C:\\dxf\\plan.dxf] -VL -VA -T3 -Z2 -P2 -H",
       "name=C:\\dxf\\plan.dxf kinds=LA show=0 font=3 dim=2 zone=2 size=0\n"},
      {"-F[x]-VC-VT-T12-Z7", "name=x kinds=TC show=0 font=12 dim=1 zone=7 size=0\n"},
      {" \t-F[x] -VS", "name=x kinds=S show=0 font=1 dim=1 zone=0 size=0\n"},
      {"-F[x] -T13",
       "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"
       "box: DXF Loader\\nInvalid -T paramter ignored (must be between 0 and 11)\n"},
      {"-F[x] -T0",
       "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"
       "box: DXF Loader\\nInvalid -T paramter ignored (must be between 0 and 11)\n"},
      {"-F[x] -Tx",
       "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"
       "box: DXF Loader\\nInvalid -T paramter ignored (must be between 0 and 11)\n"},
      {"-F[x] -Z0",
       "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"
       "box: DXF Loader\\nInvalid -Zn parameter ignored (must be >= 1)\n"},
      {"-F[x] -P2 -P3",
       "name=x kinds=TLACPSF show=1 font=1 dim=2 zone=0 size=0\n"
       "box: DXF Loader\\nInvalid -P parameter ignored (must be '1' or '2')\n"},
      {"-F[x] -Z99999999999", "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=2147483647 size=0\n"},
      {"-", "name= kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
      {"-F[x] -", "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\n"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    orvhost::Host::get().reset({});
    addOn().id = OrvUtilAddOnRegister(ORV_ADDON_INTERFACE_NUMBER, kAddOnName, "test", "test");
    EXPECT_EQ(parse(c.text), c.expected);
  }
}

TEST_F(InstructionStringTest, DashFormRejectionLeavesNothingToImport) {
  const ParseCase cases[] = {
      {"-F[x.dxf] -Q", "name=x.dxf kinds= show=0 font=1 dim=1 zone=0 size=0\n"},
      {"-F [x.dxf]", "name= kinds= show=0 font=1 dim=1 zone=0 size=0\n"},
      // The -Zn warning, then the value's '-' starts a flag "3".
      {"-F[x.dxf] -Z-3",
       "name=x.dxf kinds= show=0 font=1 dim=1 zone=0 size=0\n"
       "box: DXF Loader\\nInvalid -Zn parameter ignored (must be >= 1)\n"},
      {"-F[x.dxf] -V-L", "name=x.dxf kinds= show=0 font=1 dim=1 zone=0 size=0\n"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    orvhost::Host::get().reset({});
    addOn().id = OrvUtilAddOnRegister(ORV_ADDON_INTERFACE_NUMBER, kAddOnName, "test", "test");
    ImportSettings earlier;
    earlier.fileSize = 1234;
    EXPECT_EQ(parse(c.text, earlier), c.expected + std::string(kInvalid));
  }
}

// -X chooses the full reading; every dash-form string starts from the
// classic one, and the compact form knows no other.
TEST_F(InstructionStringTest, DashFormReadsFullyWithXAndEveryOtherStringClassically) {
  const struct {
    const char* text;
    bool earlier;  // the switch before the string
    const char* expected;
  } cases[] = {
      {"-F[x] -X", false, "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\nfull=1"},
      {"-f[x] -x", false, "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\nfull=1"},
      {"-F[x]", true, "name=x kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=0\nfull=0"},
      {"-F[x] -VL -H", true, "name=x kinds=L show=0 font=1 dim=1 zone=0 size=0\nfull=0"},
      // What follows the letter up to the next '-' is passed over.
      {"-F[x] -Xtended please -VL", false, "name=x kinds=L show=1 font=1 dim=1 zone=0 size=0\nfull=1"},
      {"-X-F[x]-P2", false, "name=x kinds=TLACPSF show=1 font=1 dim=2 zone=0 size=0\nfull=1"},
      // The all-kinds default leaves the switch as -X set it; with -X, -H
      // alone hides invisible layers.
      {"-F[x] -X -VZ -H", false, "name=x kinds=TLACPSF show=0 font=1 dim=1 zone=0 size=0\nfull=1"},
      {"-F[x] -H -X", false, "name=x kinds=TLACPSF show=0 font=1 dim=1 zone=0 size=0\nfull=1"},
      {"-F[x] -VL -X", false, "name=x kinds=L show=1 font=1 dim=1 zone=0 size=0\nfull=1"},
      {"-F[x] -VL -VA -T3 -Z2 -P2 -H -X", false, "name=x kinds=LA show=0 font=3 dim=2 zone=2 size=0\nfull=1"},
      {"B3F1:xT2Y1Z0@", true, "name=x kinds=TL show=0 font=2 dim=1 zone=0 size=0\nfull=0"},
      {"F1:x@", true, "name=x kinds= show=0 font=1 dim=1 zone=0 size=0\nfull=0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    orvhost::Host::get().reset({});
    addOn().id = OrvUtilAddOnRegister(ORV_ADDON_INTERFACE_NUMBER, kAddOnName, "test", "test");
    ImportSettings earlier;
    earlier.fullReading = c.earlier;
    const std::string parsed = parse(c.text, earlier);
    EXPECT_EQ(parsed + "full=" + (last_.fullReading ? "1" : "0"), c.expected);
  }
}

TEST_F(InstructionStringTest, DashFormRefusesANameTooLongForTheFileNameBuffer) {
  const std::string fits(9999, 'n');
  EXPECT_EQ(parse("-F[" + fits + "]").substr(0, 15), "name=nnnnnnnnnn");
  EXPECT_EQ(std::string(fileName()), fits);
  // Escapes are dropped before the length counts.
  EXPECT_EQ(parse("-F[\\[" + std::string(9998, 'n') + "]").substr(0, 6), "name=[");
  EXPECT_EQ(parse("-F[" + fits + "n] -VL"), "name= kinds= show=0 font=1 dim=1 zone=0 size=0\n" + std::string(kInvalid));
}

TEST_F(InstructionStringTest, CompactFormReadsTokensUpToTheAt) {
  const ParseCase cases[] = {
      {"B3F8:plan.dxfT2Y1Z0@", "name=plan.dxf kinds=TL show=0 font=2 dim=1 zone=0 size=0\n"},
      {"B255F5:a@b:cT12Y2Z3@ignored", "name=a@b:c kinds=TLACPSF show=1 font=12 dim=2 zone=3 size=0\n"},
      {"F3:abc@", "name=abc kinds= show=0 font=1 dim=1 zone=0 size=0\n"},
      {"F3  anything here:xyzB@", "name=xyz kinds= show=0 font=1 dim=1 zone=0 size=0\n"},
      {"B384@", "name= kinds= show=1 font=1 dim=1 zone=0 size=0\n"},
      {"Z99999999999@", "name= kinds= show=0 font=1 dim=1 zone=2147483647 size=0\n"},
      {"@", "name= kinds= show=0 font=1 dim=1 zone=0 size=0\n"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    orvhost::Host::get().reset({});
    EXPECT_EQ(parse(c.text), c.expected);
  }
}

TEST_F(InstructionStringTest, CompactFormRejectionKeepsWhatWasReadAndTheEarlierSize) {
  const ParseCase cases[] = {
      {"B3F8:plan.dxfT2", "name=plan.dxf kinds=TL show=0 font=2 dim=1 zone=0 size=77\n"},
      {"", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {" B3@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"B-1@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"B3T13@", "name= kinds=TL show=0 font=1 dim=1 zone=0 size=77\n"},
      {"Y3@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"Z-1@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"Q@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"B3F", "name= kinds=TL show=0 font=1 dim=1 zone=0 size=77\n"},
      {"F0:@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"F9:abc@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"F3abc@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"F10000:x@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
      {"b3@", "name= kinds= show=0 font=1 dim=1 zone=0 size=77\n"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    orvhost::Host::get().reset({});
    ImportSettings earlier;
    earlier.fileSize = 77;
    earlier.fontNumber = 5;
    EXPECT_EQ(parse(c.text, earlier), c.expected + std::string(kInvalid));
  }
}

TEST_F(InstructionStringTest, DashFormRunsInsideItsOwnLockAndCompactFormTakesNone) {
  orvhost::HostConfig config;
  config.journal = true;
  orvhost::Host::get().reset(config);
  addOn().id = OrvUtilAddOnRegister(ORV_ADDON_INTERFACE_NUMBER, kAddOnName, "test", "test");
  parse("-F[x] -T0");
  EXPECT_EQ(orvhost::Host::get().journal().render({"OrvUtilLock", "OrvUtilDialog"}),
            "OrvUtilLockStart(addon#1)\n"
            "OrvUtilDialogMessageBox(\"DXF Loader\\nInvalid -T paramter ignored (must be between 0 and 11)\", 1) -> "
            "true\n"
            "OrvUtilLockFinish(addon#1)\n");
  orvhost::Host::get().journal().clear();
  parse("-F[x] -Q");
  EXPECT_EQ(orvhost::Host::get().journal().render({"OrvUtilLock", "OrvUtilDialog"}),
            "OrvUtilLockStart(addon#1)\n"
            "OrvUtilLockFinish(addon#1)\n"
            "OrvUtilDialogMessageBox(\"DXF Loader:\\nInvalid parameter string. Some default settings may be used.\", "
            "1) -> true\n");
  orvhost::Host::get().journal().clear();
  parse("B3@");
  EXPECT_EQ(orvhost::Host::get().journal().render({"OrvUtilLock"}), "");
}

TEST_F(InstructionStringTest, ParsingMeasuresTheFileItNames) {
  const std::string path = files.write("plan.dxf", std::string(1234, 'x'));
  parse("-F[" + path + "]");
  EXPECT_EQ(last_.fileSize, 1234);
  parse("F" + std::to_string(path.size()) + ":" + path + "@");
  EXPECT_EQ(last_.fileSize, 1234);
  const struct {
    std::string name;
    const char* what;
  } unmeasurable[] = {
      {files.path() + "/missing.dxf", "a missing file"},
      {files.path(), "a directory"},
      {files.write("empty.dxf", ""), "an empty file"},
      {"/dev/null", "a device"},
  };
  for (const auto& entry : unmeasurable) {
    SCOPED_TRACE(entry.what);
    ImportSettings earlier;
    earlier.fileSize = 99;
    parse("-F[" + entry.name + "]", earlier);
    EXPECT_EQ(last_.fileSize, 0);
  }
}

// --- The writer ---

ImportSettings settingsWith(const char* kinds, bool show, int font, int zone, int dimension, bool full = false) {
  ImportSettings settings;
  settings.fullReading = full;
  static const char kLetters[] = "TLACPSF";
  for (int kind = 0; kind < kEntityKindCount; ++kind)
    settings.kinds[kind] = std::string(kinds).find(kLetters[kind]) != std::string::npos;
  settings.showInvisibleLayers = show;
  settings.fontNumber = font;
  settings.zoneNumber = zone;
  settings.dimension = dimension;
  return settings;
}

std::string written(const ImportSettings& settings, const char* fileName) {
  char bracketed[300];
  char text[400];
  const size_t bracketedLength = writeBracketedName(fileName, bracketed, sizeof bracketed);
  const size_t length = writeInstructionString(settings, bracketed, text, sizeof text);
  EXPECT_EQ(bracketedLength, std::string(bracketed).size());
  EXPECT_EQ(length, std::string(text).size());
  return text;
}

TEST(InstructionStringWriterTest, WritesTheFlagsOfTheSettings) {
  const struct {
    ImportSettings settings;
    const char* fileName;
    const char* expected;
  } cases[] = {
      {settingsWith("TLACPSF", true, 1, 0, 1), "C:\\dxf\\plan.dxf", "-F[C:\\dxf\\plan.dxf]"},
      {settingsWith("LACPSF", false, 3, 2, 2), "C:\\dxf\\plan.dxf",
       "-F[C:\\dxf\\plan.dxf] -VL -VA -VC -VP -VS -VF -T3 -Z2 -P2 -H"},
      {settingsWith("SF", true, 1, 0, 1), "C:\\dxf\\plan.dxf", "-F[C:\\dxf\\plan.dxf] -VS -VF"},
      {settingsWith("TLACPSF", true, 1, 0, 1), "a[1].dxf", "-F[a\\[1\\].dxf]"},
      {settingsWith("TACPSF", true, 1, 0, 1), "x", "-F[x] -VA -VC -VP -VS -VF -VT"},
      {settingsWith("LA", true, 3, 2, 2), "C:\\dxf\\plan.dxf", "-F[C:\\dxf\\plan.dxf] -VL -VA -T3 -Z2 -P2"},
      // Hiding invisible layers with every kind on lists the kinds, so that
      // the parser's all-kinds default does not show them again.
      {settingsWith("TLACPSF", false, 1, 0, 1), "x", "-F[x] -VL -VA -VC -VP -VS -VF -VT -H"},
      {settingsWith("", true, 1, 0, 1), "x", "-F[x]"},
      // -X comes after every other flag.
      {settingsWith("TLACPSF", true, 1, 0, 1, true), "C:\\dxf\\plan.dxf", "-F[C:\\dxf\\plan.dxf] -X"},
      {settingsWith("LA", false, 3, 2, 2, true), "C:\\dxf\\plan.dxf",
       "-F[C:\\dxf\\plan.dxf] -VL -VA -T3 -Z2 -P2 -H -X"},
      // A name left open ends the string: -X stays the last flag before -F.
      {settingsWith("LA", false, 3, 2, 2, true), "C:\\dxf\\", "-VL -VA -T3 -Z2 -P2 -H -X -F[C:\\dxf\\"},
      {settingsWith("TLACPSF", true, 1, 0, 1, true), "C:\\dxf\\", "-X -F[C:\\dxf\\"},
      {settingsWith("TLACPSF", true, 1, 0, 1), "C:\\dxf\\", "-F[C:\\dxf\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(written(c.settings, c.fileName), c.expected);
}

TEST(InstructionStringWriterTest, CountsWhatDoesNotFitAndStaysInItsBuffer) {
  const ImportSettings settings = settingsWith("L", false, 3, 0, 1);
  char bracketed[8] = "xxxxxxx";
  EXPECT_EQ(writeBracketedName("abcdef[g]", bracketed, sizeof bracketed), 13u);
  EXPECT_STREQ(bracketed, "[abcdef");
  EXPECT_EQ(writeBracketedName("abc", nullptr, 0), 5u);
  char text[10];
  EXPECT_EQ(writeInstructionString(settings, "[abc]", text, sizeof text), 18u);  // -F[abc] -VL -T3 -H
  EXPECT_STREQ(text, "-F[abc] -");
  EXPECT_EQ(writeInstructionString(settings, "", nullptr, 0), 13u);
  EXPECT_EQ(writeInstructionString(settingsWith("L", false, 3, 0, 1, true), "", nullptr, 0), 16u);
}

TEST_F(InstructionStringTest, WhatTheWriterWritesTheParserReadsBack) {
  const std::string path = files.write("a [b] \\c.dxf", "0\nEOF\n");
  const struct {
    ImportSettings settings;
    const char* readBack;  // without the name
  } cases[] = {
      {settingsWith("TLACPSF", true, 1, 0, 1), "kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=6"},
      {settingsWith("LACPSF", false, 3, 2, 2), "kinds=LACPSF show=0 font=3 dim=2 zone=2 size=6"},
      {settingsWith("TLACPSF", false, 7, 3, 2), "kinds=TLACPSF show=0 font=7 dim=2 zone=3 size=6"},
      {settingsWith("T", false, 12, 9, 1), "kinds=T show=0 font=12 dim=1 zone=9 size=6"},
      // Listed kinds always hide invisible layers, and no kind at all reads
      // as every kind: the dash form has no words for these two.
      {settingsWith("SF", true, 2, 1, 2), "kinds=SF show=0 font=2 dim=2 zone=1 size=6"},
      {settingsWith("", false, 1, 0, 1), "kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=6"},
      {settingsWith("TLACPSF", true, 1, 0, 1, true), "kinds=TLACPSF show=1 font=1 dim=1 zone=0 size=6"},
      {settingsWith("LA", false, 3, 2, 2, true), "kinds=LA show=0 font=3 dim=2 zone=2 size=6"},
      // The full reading reads the hide toggle back whatever kinds are on.
      {settingsWith("SF", true, 2, 1, 2, true), "kinds=SF show=1 font=2 dim=2 zone=1 size=6"},
      {settingsWith("TLACPSF", false, 1, 0, 1, true), "kinds=TLACPSF show=0 font=1 dim=1 zone=0 size=6"},
  };
  for (const auto& c : cases) {
    const std::string text = written(c.settings, path.c_str());
    SCOPED_TRACE(text);
    orvhost::Host::get().reset({});
    addOn().id = OrvUtilAddOnRegister(ORV_ADDON_INTERFACE_NUMBER, kAddOnName, "test", "test");
    EXPECT_EQ(parse(text), "name=" + path + " " + c.readBack + "\n");
    EXPECT_EQ(last_.fullReading, c.settings.fullReading);
  }
}

}  // namespace
}  // namespace drawport::testing
