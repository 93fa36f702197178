// The hostile drawings dxfgen writes besides its mixes (--mix hostile-NAME):
// files made to ask the full reading for work or memory out of all
// proportion, for timing each and reading its peak memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "bench/drawing_mix.h"

namespace drawport_bench {

// The names of the hostile drawings, "hostile-..." each: index 0 on, null
// past the last.
const char* hostileDrawingName(size_t index);

// Writes the hostile drawing `name` whole, whatever size is asked; false
// when there is none of that name or the file cannot be written.
bool writeHostileDrawing(std::string_view name, const DrawingOptions& options, std::FILE* output,
                         WrittenDrawing& written);

}  // namespace drawport_bench
