#include "shell/heap.h"

#include <cstdlib>

namespace drawport {

void* heapResize(void* block, std::size_t bytes) { return std::realloc(block, bytes ? bytes : 1); }

void heapFree(void* block) { std::free(block); }

}  // namespace drawport
