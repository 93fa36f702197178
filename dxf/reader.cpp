#include "dxf/reader.h"

#include <cstring>

#include "dxf/numbers.h"
#include "orv/liborv.h"

namespace drawport {
namespace {

constexpr size_t kMaxLineCharacters = DxfReader::kLineLimit - 1;

bool endsToken(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0'; }
bool endsValue(char c) { return c == '\n' || c == '\r' || c == '\0'; }

const char* skipBlanks(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  return p;
}

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

DxfReader::DxfReader(std::FILE* file, int32_t fileSize) : file_(file), fileSize_(fileSize) {}

bool DxfReader::refill() {
  if (blockAtEnd_) return false;
  // Keep the unread bytes: the line in hand continues in the next block.
  // The bytes before them (the previous token among them) are overwritten
  // only when there is a line to return.
  if (begin_ > 0 && begin_ < end_) std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
  blockPosition_ += static_cast<int64_t>(begin_);
  end_ -= begin_;
  begin_ = 0;
  const size_t wanted = kBlockSize - end_;
  const size_t got = std::fread(buffer_ + end_, 1, wanted, file_);
  end_ += got;
  if (got < wanted) blockAtEnd_ = true;  // end of file, or a read error
  return got > 0;
}

bool DxfReader::nextLine(const char*& line, size_t& length) {
  for (;;) {
    const size_t available = end_ - begin_;
    const size_t window = available < kMaxLineCharacters ? available : kMaxLineCharacters;
    const char* start = buffer_ + begin_;
    if (const void* newline = std::memchr(start, '\n', window)) {
      length = static_cast<size_t>(static_cast<const char*>(newline) - start) + 1;
    } else if (available >= kMaxLineCharacters) {
      length = kMaxLineCharacters;  // a long line: the rest comes back as the next line
    } else if (!refill()) {
      // fgets would have read on to the end of the file.
      streamAtEnd_ = true;
      if (available == 0) return false;
      length = available;
    } else {
      continue;
    }
    line = buffer_ + begin_;
    begin_ += length;
    return true;
  }
}

void DxfReader::checkProgress() {
  const int64_t position = blockPosition_ + static_cast<int64_t>(begin_);
  const double share = fileSize_ > 0 ? static_cast<double>(position) * 100.0 / fileSize_ : 0.0;
  const int32_t percent = share >= 100.0 ? 100 : share > 0.0 ? static_cast<int32_t>(share) : 0;
  if (!OrvUtilDialogCheckPercentDone(percent)) cancelled_ = true;
}

void DxfReader::readToken() {
  if (linesSinceCheck_++ == kLinesPerProgressCheck) {
    linesSinceCheck_ = 0;
    checkProgress();
  }
  const char* line;
  size_t length;
  if (!nextLine(line, length)) {
    endOfFile_ = true;
    return;
  }
  const char* const end = line + length;
  const char* start = skipBlanks(line, end);
  const char* stop = start;
  while (stop < end && !endsToken(*stop)) ++stop;
  token_ = std::string_view(start, static_cast<size_t>(stop - start));
}

void DxfReader::readValue() {
  const char* line;
  size_t length;
  if (!nextLine(line, length)) {
    endOfFile_ = true;
    return;
  }
  const char* const end = line + length;
  const char* start = skipBlanks(line, end);
  const char* stop = start;
  while (stop < end && !endsValue(*stop)) ++stop;
  token_ = std::string_view(start, static_cast<size_t>(stop - start));
}

int32_t DxfReader::codeNumber() const { return parseLong32(token_); }

double DxfReader::realNumber() const { return parseReal(token_); }

void DxfReader::rewind() {
  std::rewind(file_);
  blockPosition_ = 0;
  begin_ = end_ = 0;
  blockAtEnd_ = false;
  streamAtEnd_ = false;
  endOfFile_ = false;
}

bool namesEqualIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  return true;
}

}  // namespace drawport
