#include "shell/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drawport {

std::FILE* openRegularFile(const char* path, const char* mode) {
  if (!path || !*path) return nullptr;
  struct stat status;
  if (::stat(path, &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
  // The name may have changed between the look and the open: open without
  // blocking and look again at what was opened.
  const int descriptor = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return nullptr;
  }
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(descriptor, mode);
  if (!file) ::close(descriptor);
  return file;
}

int64_t sizeBySeekingToEnd(std::FILE* file) {
  if (::fseeko(file, 0, SEEK_END) != 0) return -1;
  const off_t position = ::ftello(file);
  return position < 0 ? -1 : static_cast<int64_t>(position);
}

}  // namespace drawport
