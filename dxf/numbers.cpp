#include "dxf/numbers.h"

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
    if (negative) return magnitude >= kMagnitudeLimit ? std::numeric_limits<int32_t>::min()
                                                      : static_cast<int32_t>(-magnitude);
    return magnitude > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                            : static_cast<int32_t>(magnitude);
  }
};

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
  size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  DigitRun digits;
  for (; i < text.size() && isDigit(text[i]); ++i) digits.add(text[i]);
  return digits.value(negative);
}

double parseReal(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end && isCSpace(*p)) ++p;
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  // Only a decimal number counts; "inf", "nan" and the like read as 0.
  const bool startsDecimal =
      p < end && (isDigit(*p) || (*p == '.' && p + 1 < end && isDigit(p[1])));
  if (!startsDecimal) return 0.0;
  double value = 0.0;
  const auto [stop, error] = std::from_chars(p, end, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) value = convertOutOfRange(p, stop);
  return negative ? -value : value;
}

}  // namespace drawport
