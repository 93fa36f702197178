// Notes: the multi-line texts of MTEXT and of MULTILEADER, laid out as MTEXT
// lays them out, one host text per line.
#pragma once

#include <cstdint>
#include <string_view>

#include "entities/full/drawing.h"

namespace drawport::full {

// Where and how a note stands, in world coordinates (before the block
// references that draw it).
struct NoteLayout {
  Vec3 location;   // the attachment point
  Vec3 direction;  // the text's x axis, of any length
  Vec3 normal{0, 0, 1};
  double height = 0;       // of a capital letter
  double spacing = 1;      // the line spacing factor
  int32_t attachment = 1;  // 1 top left ... 9 bottom right
};

// Draws `raw`, a note's text as the file holds it (MTEXT codes and all),
// line by line: baselines 5/3 x height x spacing apart down the text's y
// axis, the whole placed by its attachment point with each line's width
// estimated as the host would need it.
void drawNote(const EntityDraw& e, const NoteLayout& note, std::string_view raw);
// The same for `text` as shown: in UTF-8, its codes read, lines ending at '\n'.
void drawShownNote(const EntityDraw& e, const NoteLayout& note, std::string_view text);

}  // namespace drawport::full
