// Reading by group pairs, the way the full reading reads a file: a code line,
// then a value line, always. A value is never taken for a code, an entity
// name or the end of a section, whatever it reads.
#pragma once

#include <cstdint>
#include <string_view>

#include "dxf/reader.h"

namespace drawport::full {

class PairReader {
 public:
  // A code line that holds no number.
  static constexpr int32_t kNoCode = DxfReader::kNoCode;

  explicit PairReader(DxfReader& in) : in_(in) {}
  PairReader(const PairReader&) = delete;
  PairReader& operator=(const PairReader&) = delete;

  // Reads the next pair: false when the file ended (or reading was halted)
  // before its value line.
  bool next() { return in_.readPair(code_); }

  int32_t code() const { return code_; }
  // The value line as written, up to its line end: a text keeps its blanks
  // (numbers are read past them). Valid until the next read.
  std::string_view value() const { return in_.token(); }
  // The value without the blanks around it: entity, section, table and
  // header variable names, compared as words.
  std::string_view keyword() const;
  // A pair that starts something: code 0 with this keyword.
  bool isMarker(std::string_view name) const { return code_ == 0 && keyword() == name; }

  DxfReader& lines() { return in_; }
  bool cancelled() const { return in_.cancelled(); }

 private:
  DxfReader& in_;
  int32_t code_ = kNoCode;
};

}  // namespace drawport::full
