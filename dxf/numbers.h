// Decimal numbers as the add-on reads them, independent of the process
// locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace drawport {

// White space as the C library's "C" locale knows it.
inline bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Eight bytes of text at once, as a little-endian 64-bit word (the first
// character in the lowest byte).
//
// The place (0 to 7) of the lowest byte of `word` (not 0) that has a bit set.
// A 32-bit build counts in the word's two halves: it has no instruction for
// 64 bits and would call a library routine for every word.
inline int lowestByteSet(uint64_t word) {
  if constexpr (sizeof(size_t) < sizeof(uint64_t)) {
    const uint32_t low = static_cast<uint32_t>(word);
    return low != 0 ? __builtin_ctz(low) / 8 : 4 + __builtin_ctz(static_cast<uint32_t>(word >> 32)) / 8;
  }
  return __builtin_ctzll(word) / 8;
}
//
// The number of ASCII digits such a word starts with. A byte is a digit when
// its high nibble is 3 and adding 6 keeps it so; a carry out of a byte comes
// only from a byte that is no digit, and only reaches the bytes after it.
inline int leadingDigits(uint64_t word) {
  const uint64_t nibbles = (word & 0xF0F0F0F0F0F0F0F0) | (((word + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4);
  const uint64_t others = nibbles ^ 0x3333333333333333;
  return others == 0 ? 8 : lowestByteSet(others);
}
// The value of a word of eight ASCII digits.
inline uint64_t valueOfEightDigits(uint64_t word) {
  word -= 0x3030303030303030;
  word = (word * 10) + (word >> 8);
  return (((word & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
          (((word >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
         32;
}
// The value of the first `digits` (1 to 8) characters of a word, all ASCII
// digits: they are moved to the word's last places, with '0's before them.
inline uint64_t valueOfLeadingDigits(uint64_t word, int digits) {
  if (digits == 8) return valueOfEightDigits(word);
  return valueOfEightDigits((word << (8 * (8 - digits))) | (0x3030303030303030ULL >> (8 * digits)));
}

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
