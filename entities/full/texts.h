// Texts as the full reading hands them to the host: in UTF-8, with the
// special codes of DXF texts turned into the characters they stand for.
#pragma once

#include <string_view>

#include "entities/full/full_run.h"

namespace drawport::full {

enum class TextKind {
  SingleLine,  // TEXT, ATTRIB: %% codes and \U+XXXX
  MultiLine,   // MTEXT: its formatting codes too; lines end at \P (as '\n')
};

// The text the host shows for a text value as the file holds it; valid
// until the next call.
std::string_view plainText(FullRun& run, std::string_view raw, TextKind kind);
// The same with the room for the work given, for a file with `header`.
std::string_view plainText(TextWork& work, const HeaderExtras& header, std::string_view raw, TextKind kind);

// The width the host needs for `text` at `height`: 0.6 of the height per
// character.
double estimatedWidth(std::string_view text, double height);

}  // namespace drawport::full
