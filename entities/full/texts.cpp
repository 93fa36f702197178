#include "entities/full/texts.h"

namespace drawport::full {
namespace {

constexpr double kCharacterAdvance = 0.6;

}  // namespace

std::string_view plainText(FullRun&, std::string_view raw, TextKind) { return raw; }

double estimatedWidth(std::string_view text, double height) {
  size_t characters = 0;
  for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
  return kCharacterAdvance * height * static_cast<double>(characters);
}

}  // namespace drawport::full
