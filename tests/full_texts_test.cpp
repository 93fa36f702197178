// Texts in the full reading: the special codes of TEXT, the formatting codes
// of MTEXT and its layout by attachment point, and the encodings of the
// file (UTF-8 from R2007 on, the code page before) converted to UTF-8.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

class FullTextsTest : public EntityTest {
 protected:
  void SetUp() override { start(); }

  // The strings the host was given, in order, joined by " | ".
  std::string shownTexts(const std::string& dxf) {
    const orvhost::MacroOutcome outcome = importText(dxf, "-X");
    EXPECT_TRUE(outcome.result) << messages();
    std::string shown;
    const orvhost::Frame& frame = host().frame();
    for (const orvhost::FrameObject& object : frame.objects()) {
      if (!object.isText()) continue;
      shown += (shown.empty() ? "" : " | ") + frame.text(object);
    }
    return shown;
  }
};

// A text as written in the file (bytes), and what the host shows.
struct ShownCase {
  const char* what;
  std::string entities;
  const char* shown;
  std::string header = "";
};
void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.what; }

class Shown : public FullTextsTest, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(Shown, AsACadProgramShowsIt) {
  const ShownCase& c = GetParam();
  EXPECT_EQ(shownTexts(dxfFile(c.header + entitiesSection(c.entities))), c.shown);
}

std::string text(const std::string& string) { return entity("TEXT", {{10, 0}, {20, 0}, {40, 1}, {1, string}}); }
std::string mtext(const std::string& string) { return entity("MTEXT", {{10, 0}, {20, 0}, {40, 1}, {1, string}}); }

INSTANTIATE_TEST_SUITE_P(
    TextCodes, Shown,
    ::testing::Values(ShownCase{"%%d", text("45%%d"), u8"45°"}, ShownCase{"%%D", text("45%%D"), u8"45°"},
                      ShownCase{"%%p", text("%%p0.1"), u8"±0.1"}, ShownCase{"%%P", text("%%P0.1"), u8"±0.1"},
                      ShownCase{"%%c", text("%%c20"), u8"Ø20"}, ShownCase{"%%C", text("%%C20"), u8"Ø20"},
                      ShownCase{"%%%", text("100%%%"), "100%"}, ShownCase{"%%u", text("%%uA%%U"), "A"},
                      ShownCase{"%%o", text("%%oA%%O"), "A"}, ShownCase{"%%k", text("%%kA%%K"), "A"},
                      ShownCase{"%%nnn", text("%%065%%066"), "AB"},
                      ShownCase{"%%nnn above 127, in the code page", text("%%177"), u8"±"},
                      ShownCase{"%%nnn of a control character", text("A%%010B"), "AB"},
                      ShownCase{"\\U+XXXX", text("80\\U+00b0C"), u8"80°C"},
                      ShownCase{"\\U+XXXX twice for a character beyond U+FFFF", text("\\U+D83D\\U+DE00"),
                                u8"\U0001F600"},
                      ShownCase{"not codes", text("100% %%x \\U+00 \\P"), "100% %%x \\U+00 \\P"}));

INSTANTIATE_TEST_SUITE_P(
    MTextCodes, Shown,
    ::testing::Values(ShownCase{"\\P", mtext("A\\PB"), "A | B"}, ShownCase{"\\N", mtext("A\\NB"), "A | B"},
                      ShownCase{"^J", mtext("A^JB"), "A | B"}, ShownCase{"\\~", mtext("A\\~B"), "A B"},
                      ShownCase{"\\\\", mtext("A\\\\B"), "A\\B"}, ShownCase{"\\{ \\}", mtext("\\{A\\}"), "{A}"},
                      ShownCase{"{ }", mtext("{A}B"), "AB"}, ShownCase{"\\L \\l", mtext("\\LA\\l"), "A"},
                      ShownCase{"\\O \\o", mtext("\\OA\\o"), "A"}, ShownCase{"\\K \\k", mtext("\\KA\\k"), "A"},
                      ShownCase{"\\X", mtext("A\\XB"), "AB"}, ShownCase{"\\F", mtext("\\FArial;A"), "A"},
                      ShownCase{"\\f", mtext("\\fArial|b1|i0|c0|p34;A"), "A"},
                      ShownCase{"\\H", mtext("\\H2.5x;A"), "A"}, ShownCase{"\\W", mtext("\\W0.8;A"), "A"},
                      ShownCase{"\\Q", mtext("\\Q15;A"), "A"}, ShownCase{"\\T", mtext("\\T1.1;A"), "A"},
                      ShownCase{"\\A", mtext("\\A1;A"), "A"}, ShownCase{"\\C", mtext("\\C1;A"), "A"},
                      ShownCase{"\\c", mtext("\\c255;A"), "A"}, ShownCase{"\\p", mtext("\\pxi-3,l3,t4;A"), "A"},
                      ShownCase{"\\S a/b", mtext("\\S1/2;"), "1/2"}, ShownCase{"\\S a^b", mtext("\\S3^4;"), "3/4"},
                      ShownCase{"\\S a#b", mtext("\\S5#8;"), "5/8"},
                      ShownCase{"\\S with one part", mtext("x\\S2^;"), "x2"}, ShownCase{"^I", mtext("A^IB"), "A B"},
                      ShownCase{"^M", mtext("A^MB"), "AB"}, ShownCase{"%% codes", mtext("%%d%%p%%c"), u8"°±Ø"},
                      ShownCase{"\\U+XXXX", mtext("\\U+00B0"), u8"°"}, ShownCase{"not a code", mtext("\\ZA"), "\\ZA"},
                      ShownCase{"a line of blanks is not drawn", mtext("A\\P  \\PB"), "A | B"},
                      ShownCase{"the 3 groups, then the 1, with a code cut between them",
                                entity("MTEXT", {{10, 0}, {20, 0}, {40, 1}, {3, "AB"}, {3, "C\\"}, {1, "PD"}}),
                                "ABC | D"}));

std::string codePageHeader(const char* version, const char* codePage) {
  return headerSection(std::string("  9\n$ACADVER\n  1\n") + version + "\n  9\n$DWGCODEPAGE\n  3\n" + codePage + "\n");
}

const char* const kReplacement = u8"\uFFFD";

INSTANTIATE_TEST_SUITE_P(
    Encodings, Shown,
    ::testing::Values(
        ShownCase{"no header: ANSI_1252",
                  text("Stra\xdf"
                       "e"),
                  u8"Straße"},
        ShownCase{"code page 1251", text("\xcf\xf0\xe8\xec\xe5\xf7\xe0\xed\xe8\xff"), u8"Примечания",
                  codePageHeader("AC1018", "ANSI_1251")},
        ShownCase{"code page names without regard to case", text("\xcf"), u8"П", codePageHeader("AC1018", "ansi_1251")},
        ShownCase{"%%nnn in code page 1251", text("%%192"), u8"А", codePageHeader("AC1018", "ANSI_1251")},
        ShownCase{"code page 932", text("\x93\xfa\x96\x7b"), u8"日本", codePageHeader("AC1015", "ANSI_932")},
        // 0x95 0x5C is one character; its second byte is a backslash.
        ShownCase{"code page 932: a backslash byte inside a character is no code", mtext("\x95\x5cP"), u8"表P",
                  codePageHeader("AC1015", "ANSI_932")},
        ShownCase{"code page 932: a character cut off at the end", text("A\x93"), "A\xef\xbf\xbd",
                  codePageHeader("AC1015", "ANSI_932")},
        ShownCase{"a byte code page 1252 does not hold",
                  text("A\x81"
                       "B"),
                  "A\xef\xbf\xbd"
                  "B",
                  codePageHeader("AC1018", "ANSI_1252")},
        ShownCase{"an unknown code page is read as ANSI_1252", text("caf\xe9"), u8"café",
                  codePageHeader("AC1018", "ANSI_9999")},
        ShownCase{"R2007: UTF-8, whatever the code page says",
                  text("Stra\xc3\x9f"
                       "e"),
                  u8"Straße", codePageHeader("AC1021", "ANSI_1251")},
        ShownCase{"R2007: a byte that is no UTF-8",
                  text("A\xff"
                       "B"),
                  "A\xef\xbf\xbd"
                  "B",
                  codePageHeader("AC1021", "ANSI_1252")},
        ShownCase{"R2007: %%nnn is the code point", text("%%176"), u8"°", codePageHeader("AC1024", "ANSI_1252")}));

// The layer table's names are matched as the file writes them, before any
// conversion.
TEST_F(FullTextsTest, LayerNamesAreMatchedAsBytes) {
  const std::string name = "\xd1\xd2\xc5\xcd\xc0";  // СТЕНА in code page 1251
  const std::string dxf = dxfFile(codePageHeader("AC1018", "ANSI_1251") + layerTables(layer(name, 1)) +
                                  entitiesSection(entity("TEXT", {{8, name}, {10, 0}, {20, 0}, {40, 1}, {1, "A"}})));
  EXPECT_EQ(imported(dxf, "-X"), "text (0,0) h1 a0 \"A\" c1\n");
}

// MTEXT "AB\PCD", height 1: the lines are 5/3 apart, all of them 8/3 high;
// each line 0.6 x 2 = 1.2 wide.
std::string note(std::initializer_list<Group> extra) {
  return entity("MTEXT", {{10, 10}, {20, 20}, {30, 0}, {40, 1}, {1, "AB\\PCD"}}) + groups(extra);
}

class FullTexts : public FullTextsTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(FullTexts, AreLaidOutAsACadProgramLaysThemOut) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Attachments, FullTexts,
    ::testing::Values(DrawingCase{"1 top left", note({{71, 1}}), "-X",
                                  "text (10,19) h1 a0 \"AB\" c0\ntext (10,17.333333333) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"2 top centre", note({{71, 2}}), "-X",
                                  "text (9.4,19) h1 a0 \"AB\" c0\ntext (9.4,17.333333333) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"3 top right", note({{71, 3}}), "-X",
                                  "text (8.8,19) h1 a0 \"AB\" c0\ntext (8.8,17.333333333) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"4 middle left", note({{71, 4}}), "-X",
                                  "text (10,20.333333333) h1 a0 \"AB\" c0\ntext (10,18.666666667) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"5 middle centre", note({{71, 5}}), "-X",
                                  "text (9.4,20.333333333) h1 a0 \"AB\" c0\ntext (9.4,18.666666667) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"6 middle right", note({{71, 6}}), "-X",
                                  "text (8.8,20.333333333) h1 a0 \"AB\" c0\ntext (8.8,18.666666667) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"7 bottom left", note({{71, 7}}), "-X",
                                  "text (10,21.666666667) h1 a0 \"AB\" c0\ntext (10,20) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"8 bottom centre", note({{71, 8}}), "-X",
                                  "text (9.4,21.666666667) h1 a0 \"AB\" c0\ntext (9.4,20) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"9 bottom right", note({{71, 9}}), "-X",
                                  "text (8.8,21.666666667) h1 a0 \"AB\" c0\ntext (8.8,20) h1 a0 \"CD\" c0\n"},
                      DrawingCase{"a centred line is centred by its own width",
                                  entity("MTEXT", {{10, 0}, {20, 0}, {40, 1}, {71, 2}, {1, "ABCD\\PEF"}}), "-X",
                                  "text (-1.2,-1) h1 a0 \"ABCD\" c0\ntext (-0.6,-2.666666667) h1 a0 \"EF\" c0\n"}));

INSTANTIATE_TEST_SUITE_P(
    Placement, FullTexts,
    ::testing::Values(
        DrawingCase{"turned by 50, in degrees", note({{71, 1}, {50, 90}}), "-X",
                    "text (11,20) h1 a90 \"AB\" c0\ntext (12.666666667,20) h1 a90 \"CD\" c0\n"},
        DrawingCase{"the direction 11/21/31 wins over 50", note({{71, 1}, {50, 45}, {11, 0}, {21, 5}, {31, 0}}), "-X",
                    "text (11,20) h1 a90 \"AB\" c0\ntext (12.666666667,20) h1 a90 \"CD\" c0\n"},
        DrawingCase{"line spacing factor 44", note({{71, 1}, {44, 2}}), "-X",
                    "text (10,19) h1 a0 \"AB\" c0\ntext (10,15.666666667) h1 a0 \"CD\" c0\n"},
        DrawingCase{"long lines are not wrapped by the box width 41",
                    entity("MTEXT", {{10, 0}, {20, 0}, {40, 1}, {41, 2}, {1, "ONE TWO THREE"}}), "-X",
                    "text (0,-1) h1 a0 \"ONE TWO THREE\" c0\n"},
        DrawingCase{"in the mirrored plane the lines run leftwards", note({{71, 1}, {210, 0}, {220, 0}, {230, -1}}),
                    "-X", "text (10,19) h1 a180 \"AB\" c0\ntext (10,17.333333333) h1 a180 \"CD\" c0\n"},
        DrawingCase{"drawn by a block reference: scaled and moved",
                    entity("INSERT", {{2, "NOTE"}, {10, 100}, {20, 0}, {41, 2}, {42, 2}, {43, 2}}), "-X",
                    "text (100,-2) h2 a0 \"AB\" c0\ntext (100,-5.333333333) h2 a0 \"CD\" c0\n",
                    "  0\nSECTION\n  2\nBLOCKS\n" + entity("BLOCK", {{2, "NOTE"}, {10, 0}, {20, 0}, {30, 0}}) +
                        entity("MTEXT", {{10, 0}, {20, 0}, {40, 1}, {1, "AB\\PCD"}}) + entity("ENDBLK") +
                        "  0\nENDSEC\n"},
        DrawingCase{"under the Text switch", note({}) + entity("CIRCLE", {{10, 0}, {20, 0}, {40, 1}}), "-VC -X",
                    "circle (0,0) r1 c0\n"}));

}  // namespace
}  // namespace drawport::testing
