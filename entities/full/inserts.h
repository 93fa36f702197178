// Block references of the full reading, beside their converters.
#pragma once

#include <cstdint>

#include "entities/full/full_run.h"

namespace drawport::full {

// The host objects one drawing of block `index` creates, its own references
// included (at most one more than the bound on host objects).
int64_t objectsOfBlock(FullRun& run, int32_t index);

// When the drawing's entities draw nothing: the named blocks (not the
// anonymous ones, not the layouts) where they stand.
void drawNamedBlocks(FullRun& run);

}  // namespace drawport::full
