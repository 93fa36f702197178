// Numbers in DXF values and instruction strings: read as the C library reads
// them in the "C" locale, whatever the process locale.
#include "dxf/numbers.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace drawport {
namespace {

double cLibraryReal(const std::string& text) {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(text.c_str(), nullptr, c);
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(NumbersTest, RealsReadTheLongestDecimalPrefix) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"1.5", 1.5},           {"00010", 10},          {"+5", 5},
      {"5e", 5},              {"5e+", 5},             {".5", 0.5},
      {"5.", 5},              {"-.25", -0.25},        {"1e999", inf},
      {"-1e999", -inf},       {"1e-400", 0},          {"nan", 0},
      {"inf", 0},             {"-infinity", 0},       {"0x1p3", 0},
      {"abc", 0},             {"", 0},                {".", 0},
      {"-", 0},               {"  \t7.25", 7.25},     {"\v\f3", 3},
      {"12abc", 12},          {"1,5", 1},             {"1.5e3x", 1500},
      {"4.9e-324", 4.9e-324}, {"1.7976931348623157e308", 1.7976931348623157e308},
      {"0.1", 0.1},           {"123456789012345678901234567890", 1.2345678901234568e29},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_TRUE(sameBits(parseReal(c.text), c.value)) << parseReal(c.text);
  }
  EXPECT_TRUE(std::signbit(parseReal("-0")));
  EXPECT_TRUE(std::signbit(parseReal("-0.0e5")));
}

TEST(NumbersTest, RealsAgreeWithTheCLibraryToTheLastBit) {
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<int> digits(1, 25), exponent(-330, 330), kind(0, 3);
  for (int i = 0; i < 20000; ++i) {
    std::string text = kind(random) == 0 ? "-" : "";
    const int count = digits(random);
    for (int d = 0; d < count; ++d) {
      text += static_cast<char>('0' + random() % 10);
      if (d == count / 3 && kind(random) != 0) text += '.';
    }
    if (kind(random) == 1) text += "e" + std::to_string(exponent(random));
    ASSERT_TRUE(sameBits(parseReal(text), cLibraryReal(text))) << text;
  }
}

TEST(NumbersTest, RealsIgnoreTheTextAfterTheToken) {
  const std::string line = "2.5 junk";
  EXPECT_EQ(parseReal(std::string_view(line).substr(0, 3)), 2.5);
  const char digits[] = {'1', '2', '3'};  // not terminated
  EXPECT_EQ(parseReal(std::string_view(digits, 2)), 12);
}

TEST(NumbersTest, IntegersSaturateAtThe32BitLimits) {
  const struct {
    const char* text;
    int32_t value;
    int stop;  // characters read, as the conversion's end pointer tells
  } cases[] = {
      {"42", 42, 2},
      {" \t-17x", -17, 5},
      {"+7", 7, 2},
      {"x1", 0, 0},
      {"-", 0, 0},
      {"", 0, 0},
      {"2147483647", 2147483647, 10},
      {"2147483648", 2147483647, 10},
      {"99999999999", 2147483647, 11},
      {"-2147483648", -2147483647 - 1, 11},
      {"-99999999999999999999", -2147483647 - 1, 21},
      {"007", 7, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const char* stop = nullptr;
    EXPECT_EQ(parseLong32(c.text, &stop), c.value);
    EXPECT_EQ(stop - c.text, c.stop);
    EXPECT_EQ(parseLong32(std::string_view(c.text)), c.value);
  }
}

}  // namespace
}  // namespace drawport
