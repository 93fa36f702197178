#include "dxf/full/pair_reader.h"

namespace drawport::full {

std::string_view PairReader::keyword() const {
  std::string_view text = value();
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace drawport::full
