// The heap of the test-only add-on: its allocation function can be told to
// fail its Nth call, so that tests reach every out-of-memory path.
#include <cstdint>
#include <cstdlib>

#include "shell/heap.h"

namespace {
int64_t gCalls = 0;
int64_t gFailingCall = 0;
}  // namespace

namespace drawport {

void* heapResize(void* block, std::size_t bytes) {
  if (++gCalls == gFailingCall) return nullptr;
  return std::realloc(block, bytes ? bytes : 1);
}

void heapFree(void* block) { std::free(block); }

}  // namespace drawport

// The Nth allocation from now on fails (0: none does).
extern "C" __attribute__((visibility("default"))) void DrawportTestFailAllocation(int32_t call) {
  gCalls = 0;
  gFailingCall = call;
}
