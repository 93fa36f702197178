#include "dxf/reader.h"

#include <endian.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstring>

#include "dxf/numbers.h"
#include "orv/liborv.h"

namespace drawport {
namespace {

constexpr size_t kMaxLineCharacters = DxfReader::kLineLimit - 1;

// What ends a token (a blank, a tab, a line end or the end of the line's
// text) and what ends a value (a line end or the end of the text), looked up
// in one table: these tests run for every character of the file.
enum : unsigned char { kEndsValue = 1, kEndsToken = 2 };
struct CharacterClasses {
  unsigned char of[256] = {};
  constexpr CharacterClasses() {
    of[static_cast<unsigned char>('\n')] = of[static_cast<unsigned char>('\r')] = of[0] = kEndsValue | kEndsToken;
    of[static_cast<unsigned char>(' ')] = of[static_cast<unsigned char>('\t')] = kEndsToken;
  }
};
constexpr CharacterClasses kClasses;

bool endsToken(char c) { return kClasses.of[static_cast<unsigned char>(c)] & kEndsToken; }
bool endsValue(char c) { return kClasses.of[static_cast<unsigned char>(c)] & kEndsValue; }

// The first byte from `p` on (before `limit`) that ends a value: a line
// feed, a carriage return or a NUL, found eight bytes at a time.
constexpr uint64_t kOnes = 0x0101010101010101;
// The lowest byte marked in the result is the word's first zero byte (bytes
// after it may be marked wrongly).
uint64_t zeroBytes(uint64_t v) { return (v - kOnes) & ~v & 0x8080808080808080; }

// The reading of pairs makes every one of these calls for every pair: they
// are made in place.
#define DRAWPORT_IN_PLACE __attribute__((always_inline)) inline

DRAWPORT_IN_PLACE const char* findValueEnd(const char* p, const char* limit) {
#if defined(__SSE2__)
  // Sixteen bytes at once where the processor has the instructions for it
  // (every x86-64, and the 32-bit build asks for them).
  const __m128i feeds = _mm_set1_epi8('\n'), returns = _mm_set1_epi8('\r'), zeros = _mm_setzero_si128();
  while (limit - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i ends = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, feeds), _mm_cmpeq_epi8(bytes, returns)),
                                      _mm_cmpeq_epi8(bytes, zeros));
    const unsigned marked = static_cast<unsigned>(_mm_movemask_epi8(ends));
    if (marked) return p + __builtin_ctz(marked);
    p += 16;
  }
#endif
  if (htole64(1) == 1) {
    while (limit - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, sizeof word);
      const uint64_t ends = zeroBytes(word ^ (kOnes * '\n')) | zeroBytes(word ^ (kOnes * '\r')) | zeroBytes(word);
      if (ends) return p + lowestByteSet(ends);
      p += 8;
    }
  }
  while (p < limit && !endsValue(*p)) ++p;
  return p;
}

DRAWPORT_IN_PLACE const char* skipBlanks(const char* p, const char* end) {
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

int32_t DxfReader::percentAt(int64_t position) const {
  const double share = fileSize_ > 0 ? static_cast<double>(position) * 100.0 / fileSize_ : 0.0;
  return share >= 100.0 ? 100 : share > 0.0 ? static_cast<int32_t>(share) : 0;
}

void DxfReader::checkPercent(int32_t percent) {
  if (!OrvUtilDialogCheckPercentDone(percent)) cancelled_ = true;
}

void DxfReader::checkProgress() {
  const int32_t percent = percentAt(position());
  if (deferredChecks_)
    deferredChecks_->push_back(percent);
  else
    checkPercent(percent);
}

template <bool (*kEnds)(char), bool kSkipsBlanks>
bool DxfReader::readLine() {
  // Usually the whole line is in the buffer: cut the token out of it while
  // finding the line's end, in one look at its characters.
  const char* const line = buffer_ + begin_;
  const char* const limit = end_ - begin_ > kMaxLineCharacters ? line + kMaxLineCharacters : buffer_ + end_;
  const char* start = kSkipsBlanks ? skipBlanks(line, limit) : line;
  const char* stop = start;
  while (stop < limit && !kEnds(*stop)) ++stop;
  const char* lineEnd = nullptr;
  if (stop < limit) {
    // Most lines end right after their token, or after a CR.
    if (*stop == '\n')
      lineEnd = stop;
    else if (*stop == '\r' && stop + 1 < limit && stop[1] == '\n')
      lineEnd = stop + 1;
    else
      lineEnd = static_cast<const char*>(std::memchr(stop, '\n', static_cast<size_t>(limit - stop)));
  }
  if (lineEnd) {
    token_ = std::string_view(start, static_cast<size_t>(stop - start));
    begin_ = static_cast<size_t>(lineEnd + 1 - buffer_);
    lineCut_ = false;
    return true;
  }
  // A line that goes on past what the buffer holds, or past the line limit.
  const char* whole;
  size_t length;
  if (!nextLine(whole, length)) return false;
  const char* const end = whole + length;
  lineCut_ = length == kMaxLineCharacters && whole[length - 1] != '\n';
  start = kSkipsBlanks ? skipBlanks(whole, end) : whole;
  stop = start;
  while (stop < end && !kEnds(*stop)) ++stop;
  token_ = std::string_view(start, static_cast<size_t>(stop - start));
  return true;
}

void DxfReader::readToken() {
  if (linesSinceCheck_++ == kLinesPerProgressCheck) {
    linesSinceCheck_ = 0;
    checkProgress();
  }
  if (!readLine<endsToken, true>()) endOfFile_ = true;
}

void DxfReader::readValue() {
  if (!readLine<endsValue, true>()) endOfFile_ = true;
}

template <bool kSkipsBlanks>
void DxfReader::readCountedLine() {
  countLine();
  if (!readLine<endsValue, kSkipsBlanks>()) {
    endOfFile_ = true;
    return;
  }
  if (lineCut_) skipRestOfLine();
}

void DxfReader::readWholeLine() { readCountedLine<true>(); }

DRAWPORT_IN_PLACE int32_t DxfReader::CodeLines::codeOf(uint64_t text, size_t length) {
  // A multiplicative hash of the line's bytes picks the slot.
  Slot& slot = slots[(text * 0x9E3779B97F4A7C15ULL) >> (64 - kSlotBits)];
  if (slot.used && slot.text == text) return slot.code;
  return learn(slot, text, length);
}

int32_t DxfReader::CodeLines::learn(Slot& slot, uint64_t text, size_t length) {
  char line[8];
  std::memcpy(line, &text, sizeof line);
  // As a value line is read: from its first non-blank to its first line
  // end or NUL.
  const char* const start = skipBlanks(line, line + length);
  const int32_t code =
      parseGroupCode(std::string_view(start, static_cast<size_t>(findValueEnd(start, line + length) - start)));
  slot = {text, code, true};
  return code;
}

DRAWPORT_IN_PLACE bool DxfReader::readShortPair(int32_t& code) {
  const char* p = buffer_ + begin_;
  const char* const end = buffer_ + end_;
  if (htole64(1) != 1 || end - p < 16) return false;
  // The code line: up to seven characters and its line feed, in one word.
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  const uint64_t feeds = zeroBytes(word ^ (kOnes * '\n'));
  if (!feeds) return false;
  const size_t feed = static_cast<size_t>(lowestByteSet(feeds));
  const uint64_t text = feed == 0 ? 0 : word & (~uint64_t{0} >> (64 - 8 * feed));
  code = codeLines_.codeOf(text, feed);
  // The value line, whole within the line limit.
  const char* const line = p + feed + 1;
  const char* const limit =
      end - line > static_cast<std::ptrdiff_t>(kMaxLineCharacters) ? line + kMaxLineCharacters : end;
  // The value as written: its blanks are part of a text.
  const char* const start = line;
  const char* const stop = findValueEnd(start, limit);
  const char* lineEnd;
  if (stop < limit && *stop == '\n')
    lineEnd = stop;
  else if (stop + 1 < limit && *stop == '\r' && stop[1] == '\n')
    lineEnd = stop + 1;
  else
    return false;
  countLine();
  countLine();
  token_ = std::string_view(start, static_cast<size_t>(stop - start));
  begin_ = static_cast<size_t>(lineEnd + 1 - buffer_);
  return true;
}

bool DxfReader::readPair(int32_t& code) {
  if (!endOfFile_ && readShortPair(code)) return true;
  readWholeLine();
  if (endOfFile_) return false;
  code = parseGroupCode(token_);
  readCountedLine<false>();
  return !endOfFile_;
}

int32_t parseGroupCode(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
  if (i >= line.size() || !isDigit(line[i])) return DxfReader::kNoCode;
  return parseLong32(line);
}

void DxfReader::skipRestOfLine() {
  // Reading on may move the buffer's bytes: the token is kept apart first.
  std::memcpy(heldLine_, token_.data(), token_.size());
  token_ = std::string_view(heldLine_, token_.size());
  const char* piece;
  size_t length;
  while (nextLine(piece, length))
    if (piece[length - 1] == '\n') break;
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
