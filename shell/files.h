// Opening the DXF file.
#pragma once

#include <cstdint>
#include <cstdio>

namespace drawport {

// Opens `path` with the standard buffered file functions in `mode` ("r" or
// "rb") when it names a regular file, else returns null. Directories, FIFOs
// and devices are never read: opening a FIFO would block the host for good.
std::FILE* openRegularFile(const char* path, const char* mode);

// The size of an open file, by seeking to its end; -1 when it cannot be
// told. Leaves the position at the end.
int64_t sizeBySeekingToEnd(std::FILE* file);

// Closes a file at the end of its scope, exactly once.
class FileCloser {
 public:
  explicit FileCloser(std::FILE* file) : file_(file) {}
  ~FileCloser() { close(); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;
  std::FILE* get() const { return file_; }
  void close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
  }

 private:
  std::FILE* file_;
};

}  // namespace drawport
