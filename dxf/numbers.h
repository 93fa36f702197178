// Decimal numbers as the add-on reads them, independent of the process
// locale.
#pragma once

#include <cstdint>
#include <string_view>

namespace drawport {

// White space as the C library's "C" locale knows it.
inline bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal integer the way the standard string-to-long conversion
// does with a 32-bit long: leading white space skipped, an optional sign,
// then digits up to the first other character. Saturates at the 32-bit
// limits. No digits read as 0, and *stop (when given) is then `text`
// itself; otherwise it is the first character after the digits.
int32_t parseLong32(const char* text, const char** stop = nullptr);
// The same for a text that need not be terminated.
int32_t parseLong32(std::string_view text);

// Reads the longest decimal prefix of `text` (after white space: optional
// sign, digits, point, digits, exponent) as the C library's string-to-double
// conversion does in the "C" locale: correctly rounded, +-infinity on
// overflow. 0.0 when the text does not start with a decimal number; "nan",
// "inf" and hexadecimal forms are not decimal numbers.
double parseReal(std::string_view text);

}  // namespace drawport
