// The add-on's face towards the host: registration under "DXF Loader", the
// callbacks it hands the host, and the long-lived host strings.
#pragma once

#include <cstdint>

#include "orv/liborv.h"

namespace drawport {

// The name the add-on gives itself everywhere it names itself to the host.
inline constexpr const char* kAddOnName = "DXF Loader";
inline constexpr int32_t kMinimumHostVersion = 740400;
// Length of each long-lived host string, terminator included.
inline constexpr int32_t kHostStringLength = 10000;

// Module state from the entry point to the host's quit notice.
struct AddOnState {
  OrvAddOnID_t id = nullptr;
  char* fileName = nullptr;      // "DXF filename": the import settings' file name
  char* lastFileName = nullptr;  // "DXF last filename": the file browser's default
  char* scratch = nullptr;       // "DXF scratch buffer": short formatted texts
  // The three strings exist: registration completed and no quit notice came.
  bool stringsAvailable() const { return fileName && lastFileName && scratch; }
};

AddOnState& addOn();

// The exported entry point's work: registers the add-on and its callbacks.
void startAddOn();

// Brackets a callback in the host's lock for this add-on.
class HostLock {
 public:
  HostLock() { OrvUtilLockStart(addOn().id); }
  ~HostLock() { OrvUtilLockFinish(addOn().id); }
  HostLock(const HostLock&) = delete;
  HostLock& operator=(const HostLock&) = delete;
};

}  // namespace drawport
