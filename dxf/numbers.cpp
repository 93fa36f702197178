#include "dxf/numbers.h"

#include <endian.h>
#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace drawport {
namespace {

constexpr int64_t kMagnitudeLimit = int64_t{1} << 31;

// Accumulates decimal digits, saturating once past what a 32-bit long holds.
struct DigitRun {
  int64_t magnitude = 0;
  void add(char digit) {
    if (magnitude <= kMagnitudeLimit) magnitude = magnitude * 10 + (digit - '0');
  }
  int32_t value(bool negative) const {
    if (negative)
      return magnitude >= kMagnitudeLimit ? std::numeric_limits<int32_t>::min() : static_cast<int32_t>(-magnitude);
    return magnitude > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                           : static_cast<int32_t>(magnitude);
  }
};

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;
constexpr uint64_t kLargestExactInteger = uint64_t{1} << 53;
constexpr int kMostDigits = 19;  // what a 64-bit integer holds of any digits

// Eight ASCII digits at once: the digits as one little-endian 64-bit word.
uint64_t loadEight(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

constexpr uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// Adds the digits that start at `p` to `value` (wrapping past 64 bits; the
// caller counts digits and gives up long before); returns the end of the
// digits. Up to eight digits are taken at once.
__attribute__((always_inline)) inline const char* accumulateDigits(const char* p, const char* end, uint64_t& value) {
  if (htole64(1) == 1) {
    while (end - p >= 8) {
      const uint64_t word = loadEight(p);
      const int digits = leadingDigits(word);
      if (digits == 8) {
        value = value * 100000000 + valueOfEightDigits(word);
        p += 8;
        continue;
      }
      if (digits > 0) value = value * kPowersOfTen[digits] + valueOfLeadingDigits(word, digits);
      return p + digits;
    }
  }
  for (; p < end && isDigit(*p); ++p) value = value * 10 + static_cast<uint64_t>(*p - '0');
  return p;
}

// The numbers drawings are made of: at most 19 significant digits and a
// small exponent. When both the digits and the power of ten are exact
// doubles, one multiplication or division rounds the value correctly; false
// when the number needs the full conversion.
bool convertShortDecimal(const char* p, const char* end, double& value) {
  uint64_t digits = 0;
  while (p < end && *p == '0') ++p;
  const char* const integerStart = p;
  p = accumulateDigits(p, end, digits);
  std::ptrdiff_t significant = p - integerStart;
  int exponent = 0;
  if (p < end && *p == '.') {
    const char* const fractionStart = ++p;
    if (significant == 0)
      while (p < end && *p == '0') ++p;  // zeros before the first significant digit
    const char* const significantStart = p;
    p = accumulateDigits(p, end, digits);
    significant += p - significantStart;
    exponent = -static_cast<int>(std::min<std::ptrdiff_t>(p - fractionStart, 100000));
  }
  if (significant > kMostDigits) return false;
  if (p + 1 < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    const bool negative = *q == '-';
    if (*q == '-' || *q == '+') ++q;
    if (q < end && isDigit(*q)) {
      int written = 0;
      for (; q < end && isDigit(*q); ++q) {
        if (written > 1000) return false;
        written = written * 10 + (*q - '0');
      }
      exponent += negative ? -written : written;
    }
  }
  if (digits == 0) {
    value = 0.0;
    return true;
  }
  if (digits > kLargestExactInteger || exponent < -kLargestExactPower || exponent > kLargestExactPower) return false;
  const double exact = static_cast<double>(digits);
  value = exponent >= 0 ? exact * kExactPowersOfTen[exponent] : exact / kExactPowersOfTen[-exponent];
  return true;
}

locale_t cLocale() {
  static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

// The rare numbers beyond the double range: the C library decides, in the
// "C" locale, what an out-of-range decimal becomes (infinity, or a value
// rounded towards zero).
double convertOutOfRange(const char* begin, const char* end) {
  char buffer[2048];
  const size_t length = std::min(static_cast<size_t>(end - begin), sizeof buffer - 1);
  std::memcpy(buffer, begin, length);
  buffer[length] = '\0';
  locale_t locale = cLocale();
  return locale ? strtod_l(buffer, nullptr, locale) : strtod(buffer, nullptr);
}

}  // namespace

int32_t parseLong32(const char* text, const char** stop) {
  const char* p = text;
  while (isCSpace(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (!isDigit(*p)) {
    if (stop) *stop = text;
    return 0;
  }
  DigitRun digits;
  for (; isDigit(*p); ++p) digits.add(*p);
  if (stop) *stop = p;
  return digits.value(negative);
}

int32_t parseLong32(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  // Group codes: a few digits and nothing else.
  if (text.size() <= 9) {
    int32_t value = 0;
    const char* q = p;
    while (q < end && isDigit(*q)) value = value * 10 + (*q++ - '0');
    if (q == end && q != p) return value;
  }
  while (p < end && isCSpace(*p)) ++p;
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  DigitRun digits;
  for (; p < end && isDigit(*p); ++p) digits.add(*p);
  return digits.value(negative);
}

double parseReal(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end && isCSpace(*p)) ++p;
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  // Only a decimal number counts; "inf", "nan" and the like read as 0.
  const bool startsDecimal = p < end && (isDigit(*p) || (*p == '.' && p + 1 < end && isDigit(p[1])));
  if (!startsDecimal) return 0.0;
  double value = 0.0;
  if (!convertShortDecimal(p, end, value)) {
    const auto [stop, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) value = convertOutOfRange(p, stop);
  }
  return negative ? -value : value;
}

}  // namespace drawport
