// Block references of the full reading, beside their converters.
#pragma once

#include <cstdint>

#include "entities/full/full_run.h"

namespace drawport::full {

struct EntityDraw;

// The host objects one drawing of block `index` creates, its own references
// included (at most one more than the bound on host objects).
int64_t objectsOfBlock(FullRun& run, int32_t index);

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
