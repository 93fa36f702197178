// Block references of the full reading, beside their converters.
#pragma once

#include <cstdint>

#include "entities/full/full_run.h"

namespace drawport::full {

struct EntityDraw;

// What one drawing of a block takes, its own references included: the host
// objects it creates, the polyline points and text bytes it hands the host,
// and the entities and cells it visits, each at most one more than its
// bound.
struct DrawCost {
  int64_t objects = 0;
  int64_t points = 0;
  int64_t textBytes = 0;
  int64_t visits = 0;
};
DrawCost costOfBlock(FullRun& run, int32_t index);

// Block `block` (an index of the block store; -1 for none, counted as a
// missing block) drawn as an INSERT draws it: its base point at `position`
// (world coordinates), scaled by `scale`, turned by `rotation` radians about
// `normal`. MULTILEADER draws its block note so.
void drawBlockReference(const EntityDraw& e, int32_t block, const Vec3& position, const Vec3& scale, double rotation,
                        const Vec3& normal);

// When the drawing's entities draw nothing: the named blocks (not the
// anonymous ones, not the layouts) where they stand.
void drawNamedBlocks(FullRun& run);

}  // namespace drawport::full
