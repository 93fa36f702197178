// The encodings of a file's texts: UTF-8 from R2007 (AC1021) on, the code
// page of $DWGCODEPAGE before, and the conversion of either to the UTF-8
// that the full reading hands to the host.
#pragma once

#include <cstdint>
#include <string_view>

#include "shell/heap.h"

namespace drawport::full {

class TextEncoding {
 public:
  TextEncoding() = default;
  ~TextEncoding();
  TextEncoding(const TextEncoding&) = delete;
  TextEncoding& operator=(const TextEncoding&) = delete;

  // Chooses how the file writes its texts from its $ACADVER and
  // $DWGCODEPAGE: UTF-8 from AC1021 on, else the code page, ANSI_1252 when
  // it is absent or unknown.
  void choose(std::string_view version, std::string_view codePage);
  // Chooses as `other` chose (from the same $ACADVER and $DWGCODEPAGE), with
  // a conversion of its own: each thread reads texts with its own.
  void chooseLike(const TextEncoding& other) { choose(other.version_, other.codePage_); }
  bool chosen() const { return kind_ != Kind::Unchosen; }
  // The file's texts are UTF-8.
  bool unicode() const { return kind_ == Kind::Utf8; }

  // Appends `raw`, as the file holds it, to `out` in UTF-8: every byte (or
  // sequence) that cannot be converted becomes U+FFFD.
  void appendUtf8(std::string_view raw, HeapVector<char>& out);

 private:
  enum class Kind { Unchosen, Utf8, Converter, Windows1252 };
  void appendConverted(std::string_view raw, HeapVector<char>& out);

  Kind kind_ = Kind::Unchosen;
  void* converter_ = nullptr;  // the C library's conversion descriptor
  // What it was chosen from, cut to the header's own bounds.
  char version_[16] = "";
  char codePage_[32] = "";
};

// A text's way to the host, with room reused from text to text: the parts
// of an MTEXT joined, the text in UTF-8, the text as shown.
struct TextWork {
  TextEncoding encoding;
  HeapVector<char> joined;
  HeapVector<char> decoded;
  HeapVector<char> shown;
};

// Appends the UTF-8 bytes of `code` (U+FFFD for a surrogate or a code beyond
// U+10FFFF).
void appendCodePoint(HeapVector<char>& out, uint32_t code);

}  // namespace drawport::full
