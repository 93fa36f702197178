// Reading UTF-8 in the texts the frame holds: the frame keeps a text's bytes
// as the add-on handed them over, and the JSON and SVG writers pass on only
// well-formed sequences.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvhost {

// Length of the well-formed UTF-8 sequence at `p` (of `available` bytes) and
// its code point; 0 when the bytes there start none (a stray continuation
// byte, an overlong form, a surrogate, a cut-off sequence).
inline size_t utf8Sequence(const unsigned char* p, size_t available, uint32_t& code) {
  const unsigned char lead = p[0];
  size_t length;
  uint32_t minimum;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if ((lead & 0xe0) == 0xc0) {
    length = 2, minimum = 0x80, code = lead & 0x1f;
  } else if ((lead & 0xf0) == 0xe0) {
    length = 3, minimum = 0x800, code = lead & 0x0f;
  } else if ((lead & 0xf8) == 0xf0) {
    length = 4, minimum = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (available < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((p[i] & 0xc0) != 0x80) return 0;
    code = (code << 6) | (p[i] & 0x3f);
  }
  if (code < minimum || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
  return length;
}

}  // namespace orvhost
