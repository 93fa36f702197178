#include "dxf/full/pair_reader.h"

#include "dxf/numbers.h"

namespace drawport::full {

int32_t parseGroupCode(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
  if (i >= line.size() || !isDigit(line[i])) return PairReader::kNoCode;
  return parseLong32(line);
}

bool PairReader::next() {
  in_.readWholeLine();
  if (in_.endOfFile()) return false;
  code_ = parseGroupCode(in_.token());
  in_.readWholeLine();
  return !in_.endOfFile();
}

std::string_view PairReader::keyword() const {
  std::string_view text = value();
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace drawport::full
