// The line reader: tokens and values as the DXF file's lines give them,
// progress and the user's stop request, the end of the file.
#include "dxf/reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "host/host.h"
#include "host/journal.h"

namespace drawport {
namespace {

// `count` ordinary pairs.
std::string repeatedPairs(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += " 10\n" + std::to_string(i) + ".25\n";
  return text;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orvhost::HostConfig config;
    config.journal = true;
    orvhost::Host::get().reset(config);
    OrvUtilDialogLaunchPercentDone("Reading DXF file...", OrvTrue);
  }

  // A reader over `content`, measured as `size` bytes (default: its length).
  DxfReader& open(const std::string& content, int32_t size = -1) {
    content_ = content;
    file_.reset(fmemopen(content_.data(), content_.size(), "r"));
    reader_ = std::make_unique<DxfReader>(file_.get(), size < 0 ? static_cast<int32_t>(content_.size()) : size);
    return *reader_;
  }

  // Every token up to the end of the file, each quoted on a line of its own.
  std::string tokens(const std::string& content) {
    DxfReader& in = open(content);
    std::string out;
    for (in.readToken(); !in.endOfFile(); in.readToken()) out += orvhost::quoteString(in.token()) + "\n";
    return out;
  }

 private:
  std::string content_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::unique_ptr<DxfReader> reader_;
};

TEST_F(ReaderTest, TokensAreTheFirstWordOfEachLine) {
  const struct {
    const char* what;
    std::string content;
    std::string tokens;
  } cases[] = {
      {"blanks before a code", "  0\n", "\"0\"\n"},
      {"CR LF line ends", "  0\r\nSECTION\r\n", "\"0\"\n\"SECTION\"\n"},
      {"blanks after a keyword", "SECTION   \n", "\"SECTION\"\n"},
      {"a keyword and a number", "$EXTMIN 5\n", "\"$EXTMIN\"\n"},
      {"tabs", "\t\tTAB\tX\n", "\"TAB\"\n"},
      {"a blank line", "\n   \nX\n", "\"\"\n\"\"\n\"X\"\n"},
      {"no line end at the end", "0\nEOF", "\"0\"\n\"EOF\"\n"},
      {"a NUL ends the line's text", std::string("AB\0CD\nEF\n", 9), "\"AB\"\n\"EF\"\n"},
      {"CR alone ends no line", "0\rSECTION\r2\r", "\"0\"\n"},
      {"lower case stays", "section\n", "\"section\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(tokens(c.content), c.tokens);
  }
}

// Reading by pairs: each pair as "code=value" on a line of its own. Short
// pairs are read in one look at the buffer, others line by line; both must
// agree.
std::string pairsOf(DxfReader& in) {
  std::string out;
  for (int32_t code = 0; in.readPair(code);)
    out += (code == DxfReader::kNoCode ? std::string("none") : std::to_string(code)) + "=" +
           orvhost::quoteString(in.token()) + "\n";
  return out;
}

TEST_F(ReaderTest, PairsAreACodeLineAndAWholeValueLine) {
  const std::string long2500(2500, 'v');
  const struct {
    const char* what;
    std::string content;
    std::string pairs;
  } cases[] = {
      {"right-aligned codes", "  0\nLINE\n 10\n1.5\n", "0=\"LINE\"\n10=\"1.5\"\n"},
      {"CR LF, the blanks of a value kept", "8\r\n WALL  \r\n", "8=\" WALL  \"\n"},
      {"codes with a sign, zeros, blanks after", "+10\na\n010\nb\n 20  \nc\n", "10=\"a\"\n10=\"b\"\n20=\"c\"\n"},
      {"a code line of no number", "x\nLINE\n\nv\n", "none=\"LINE\"\nnone=\"v\"\n"},
      {"a code of nine digits and one of ten", "123456789\na\n1234567890\nb\n", "123456789=\"a\"\n1234567890=\"b\"\n"},
      {"a value never taken for a code", "1\n0\n0\nEOF\n", "1=\"0\"\n0=\"EOF\"\n"},
      {"a value cut at 1999 characters, the next pair whole", "1\n" + long2500 + "\n2\nnext\n",
       "1=\"" + std::string(1999, 'v') + "\"\n2=\"next\"\n"},
      {"a NUL ends a value", std::string("1\nab\0cd\n2\ne\n", 12), "1=\"ab\"\n2=\"e\"\n"},
      {"a value line missing at the end", "0\nEOF\n5\n", "0=\"EOF\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(pairsOf(open(c.content)), c.pairs);
    // The same pairs far into a file, past the first read block.
    const std::string padding = repeatedPairs(8000);
    DxfReader& in = open(padding + c.content);
    for (int i = 0, code = 0; i < 8000; ++i) in.readPair(code);
    EXPECT_EQ(pairsOf(in), c.pairs);
  }
}

// A value's end (line feed, CR LF, NUL, a CR within the line) is looked for
// many bytes at a time: wherever it falls, the value is the same. The first
// pair is read line by line, the second in one look; pairs follow, so that
// the end falls within a look of many bytes.
TEST_F(ReaderTest, AValueEndsAtItsFirstLineEndOrNulWhereverItFalls) {
  for (const std::string& end :
       {std::string("\n"), std::string("\r\n"), std::string("\0rest\n", 6), std::string("\rrest\n")})
    for (size_t length = 0; length <= 40; ++length) {
      SCOPED_TRACE(orvhost::quoteString(end) + " after " + std::to_string(length));
      const std::string value(length, 'v'), pair = "1\n" + value + end;
      EXPECT_EQ(pairsOf(open(pair + pair + "2\ne\n" + repeatedPairs(2))),
                "1=\"" + value + "\"\n1=\"" + value + "\"\n2=\"e\"\n10=\"0.25\"\n10=\"1.25\"\n");
    }
}

TEST_F(ReaderTest, LinesOfMoreThan1999CharactersComeInPieces) {
  const std::string a1999(1999, 'a');
  const struct {
    size_t length;
    std::string tokens;
  } cases[] = {
      {1998, "\"" + std::string(1998, 'a') + "\"\n\"b\"\n"},
      // The line end is the 2000th character: it comes back as an empty line.
      {1999, "\"" + a1999 + "\"\n\"\"\n\"b\"\n"},
      {2000, "\"" + a1999 + "\"\n\"a\"\n\"b\"\n"},
      {2001, "\"" + a1999 + "\"\n\"aa\"\n\"b\"\n"},
      {4000, "\"" + a1999 + "\"\n\"" + a1999 + "\"\n\"aa\"\n\"b\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    EXPECT_EQ(tokens(std::string(c.length, 'a') + "\nb\n"), c.tokens);
  }
}

TEST_F(ReaderTest, LinesSpanningTheReadBlocksComeWhole) {
  std::string content;
  std::string expected;
  for (int i = 0; i < 30000; ++i) {
    const std::string word = std::to_string(i * 7919 % 100003);
    content += "  " + word + std::string(i % 5, ' ') + "\r\n";
    expected += "\"" + word + "\"\n";
  }
  EXPECT_EQ(tokens(content), expected);
}

TEST_F(ReaderTest, ValuesKeepTheWholeLineAfterLeadingBlanks) {
  DxfReader& in = open("  two  words  \r\n\t tab first\nlast");
  in.readValue();
  EXPECT_EQ(in.token(), "two  words  ");
  in.readValue();
  EXPECT_EQ(in.token(), "tab first");
  in.readToken();
  EXPECT_EQ(in.token(), "last");
}

TEST_F(ReaderTest, AFailedReadKeepsThePreviousTokenAndSetsTheEndOfFile) {
  DxfReader& in = open("  62\n256\n");
  in.readToken();
  in.readToken();
  EXPECT_FALSE(in.endOfFile());
  EXPECT_FALSE(in.streamAtEnd());
  in.readToken();
  EXPECT_TRUE(in.endOfFile());
  EXPECT_TRUE(in.streamAtEnd());
  EXPECT_EQ(in.token(), "256");
  EXPECT_EQ(in.codeNumber(), 256);
  in.readValue();
  EXPECT_EQ(in.token(), "256");
}

TEST_F(ReaderTest, TheStreamMeetsItsEndWithALastLineWithoutLineEnd) {
  DxfReader& in = open("0\nEOF");
  in.readToken();
  EXPECT_FALSE(in.streamAtEnd());
  in.readToken();
  EXPECT_EQ(in.token(), "EOF");
  EXPECT_TRUE(in.streamAtEnd());
  EXPECT_FALSE(in.endOfFile());
}

TEST_F(ReaderTest, RewindingReadsFromTheStartAgain) {
  DxfReader& in = open("A\nB\n");
  in.readToken();
  in.readToken();
  in.readToken();
  ASSERT_TRUE(in.endOfFile());
  in.rewind();
  EXPECT_FALSE(in.endOfFile());
  in.readToken();
  EXPECT_EQ(in.token(), "A");
}

std::string progressChecks() { return orvhost::Host::get().journal().render({"OrvUtilDialogCheckPercentDone"}); }

TEST_F(ReaderTest, EveryTokenRead1501stAsksForProgressAtThePositionBeforeIt) {
  // 3003 lines of two bytes: the checks come with tokens 1501 and 3002, at
  // byte positions 3000 and 6002 of 6006.
  std::string content;
  for (int i = 0; i < 3003; ++i) content += "x\n";
  DxfReader& in = open(content);
  for (int i = 0; i < 1500; ++i) in.readToken();
  EXPECT_EQ(progressChecks(), "");
  in.readToken();
  EXPECT_EQ(progressChecks(), "OrvUtilDialogCheckPercentDone(49) -> true\n");
  for (int i = 0; i < 1501; ++i) in.readToken();
  EXPECT_EQ(progressChecks(),
            "OrvUtilDialogCheckPercentDone(49) -> true\n"
            "OrvUtilDialogCheckPercentDone(99) -> true\n");
  EXPECT_FALSE(in.cancelled());
}

TEST_F(ReaderTest, BothLinesOfAPairCountTowardsProgress) {
  // 1501 pairs of four bytes: the checks come with lines 1501 and 3002, in
  // pairs 751 and 1501, at the positions where those pairs start.
  std::string content;
  for (int i = 0; i < 1501; ++i) content += "1\nx\n";
  DxfReader& in = open(content);
  int32_t code = 0;
  for (int i = 0; i < 750; ++i) in.readPair(code);
  EXPECT_EQ(progressChecks(), "");
  in.readPair(code);
  EXPECT_EQ(progressChecks(), "OrvUtilDialogCheckPercentDone(49) -> true\n");
  for (int i = 0; i < 750; ++i) in.readPair(code);
  EXPECT_EQ(progressChecks(),
            "OrvUtilDialogCheckPercentDone(49) -> true\n"
            "OrvUtilDialogCheckPercentDone(99) -> true\n");
}

TEST_F(ReaderTest, ValueReadsAreNotCountedTowardsProgress) {
  std::string content;
  for (int i = 0; i < 4000; ++i) content += "x\n";
  DxfReader& in = open(content);
  for (int i = 0; i < 1500; ++i) {
    in.readToken();
    in.readValue();
  }
  EXPECT_EQ(progressChecks(), "");
  in.readToken();
  EXPECT_EQ(progressChecks(), "OrvUtilDialogCheckPercentDone(75) -> true\n");
}

TEST_F(ReaderTest, AStartedPassCountsFromZeroAgain) {
  std::string content;
  for (int i = 0; i < 2000; ++i) content += "x\n";
  DxfReader& in = open(content);
  for (int i = 0; i < 1000; ++i) in.readToken();
  in.startPass();
  for (int i = 0; i < 1000; ++i) in.readToken();
  EXPECT_EQ(progressChecks(), "");
}

TEST_F(ReaderTest, ProgressBeyondTheMeasuredSizeIsClampedTo100) {
  std::string content;
  for (int i = 0; i < 1600; ++i) content += "x\n";
  DxfReader& in = open(content, 100);
  for (int i = 0; i < 1501; ++i) in.readToken();
  EXPECT_EQ(progressChecks(), "OrvUtilDialogCheckPercentDone(100) -> true\n");
}

TEST_F(ReaderTest, AStopRequestSetsTheCancelFlagAndReadingGoesOn) {
  orvhost::Host::get().config().stopFromCheck = 1;
  std::string content;
  for (int i = 0; i < 1600; ++i) content += std::to_string(i) + "\n";
  DxfReader& in = open(content);
  for (int i = 0; i < 1501; ++i) in.readToken();
  EXPECT_TRUE(in.cancelled());
  in.readToken();
  EXPECT_EQ(in.token(), "1501");
}

TEST(NamesEqualIgnoreCaseTest, ComparesLengthsThenLettersUpperCased) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"Walls", "WALLS", true}, {"walls", "WALL", false}, {"", "", true},
      {"a-1", "A-1", true},     {"\xe4", "\xc4", false},  {"A_B", "a_b", true},
  };
  for (const auto& c : cases) EXPECT_EQ(namesEqualIgnoreCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

}  // namespace
}  // namespace drawport
