// The line and group-pair reader: every line of a DXF file is read here, so
// that progress, the user's stop request and the end of the file are noticed
// in one place.
//
// A DXF file is a sequence of group pairs (a code line, then a value line).
// The reader reads one line at a time; its callers decide what a line is.
// The token reader cuts a line to its first word (codes, keywords, numbers);
// the value reader keeps the whole line (layer names, text strings).
//
// Lines are read as the C library's fgets does with a limit of 2000: at most
// 1999 characters, up to and including a line feed; a longer line comes back
// in pieces. A line's text ends at its first NUL byte. The reader buffers the
// file in blocks of its own and allocates nothing while reading.
#pragma once

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "shell/heap.h"

namespace drawport {

// The size of the processor's cache lines. While a drawing's file is read
// ahead, what one thread writes often stands on lines apart from what the
// other uses: a line written on one core is taken from the other core's
// cache at the next touch there.
inline constexpr size_t kCacheLineBytes = 64;

class DxfReader {
 public:
  static constexpr size_t kLineLimit = 2000;  // characters read per line, terminator included
  static constexpr int32_t kLinesPerProgressCheck = 1500;

  // Reads `file` (open, owned by the caller) of `fileSize` bytes, the divisor
  // of the percent-done figure.
  DxfReader(std::FILE* file, int32_t fileSize);
  DxfReader(const DxfReader&) = delete;
  DxfReader& operator=(const DxfReader&) = delete;

  // ReadToken: reads the next line; the current token becomes its first
  // word. Every 1501st token read of a pass first asks the host's
  // percent-done dialog, which may set the cancel flag. A failed read sets
  // the end-of-file flag and leaves the previous token in place.
  void readToken();
  // ReadValue: reads the next line; the current token becomes the line after
  // its leading blanks and tabs, up to its line end. No counting.
  void readValue();
  // ReadLine for reading by group pairs: reads the next line, counted like
  // ReadToken; the current token becomes the line after its leading blanks
  // and tabs, up to its line end. A line longer than the limit is cut to it
  // and the rest of the line passed over, so that the next read is the next
  // line of the file.
  void readWholeLine();
  // Reads a group pair for reading by pairs: the code line, whose group code
  // goes to `code` (kNoCode when it holds no number), then the value line,
  // which becomes the current token as written, its leading blanks kept, up
  // to its line end (a text's blanks are part of it). Both lines
  // count towards the percent-done check. False when the file ends before
  // the value line.
  static constexpr int32_t kNoCode = INT32_MIN;
  bool readPair(int32_t& code);
  // Asks the host's percent-done dialog now, with the file position reached:
  // long work between two lines (drawing a large block many times) keeps the
  // dialog alive and the user's stop request heard.
  void checkProgressNow() { checkProgress(); }
  // The same with a position the caller names: what the drawing has reached
  // while the file is read ahead of it.
  void checkProgressAt(int64_t position) { checkPercent(percentAt(position)); }
  // Asks the host's percent-done dialog with `percent`, which may set the
  // cancel flag.
  void checkPercent(int32_t percent);

  // Reading ahead of the drawing, on a thread of its own that must not call
  // the host: while `checks` is set, each percent-done check due is kept
  // there, for the drawing to make when it reaches that point (null: checks
  // are made at once again). The cancel flag is then the drawing's alone.
  void deferChecksTo(HeapVector<int32_t>* checks) { deferredChecks_ = checks; }
  // The position of the first unread byte.
  int64_t position() const { return blockPosition_ + static_cast<int64_t>(begin_); }
  // Whether the file's end was met, for putting back where the drawing
  // stopped when the reading had gone further.
  struct EndState {
    bool endOfFile = false;
    bool streamAtEnd = false;
  };
  EndState endState() const { return {endOfFile_, streamAtEnd_}; }
  void restoreEndState(const EndState& state) {
    endOfFile_ = state.endOfFile;
    streamAtEnd_ = state.streamAtEnd;
  }

  // The current token: valid until the next read.
  std::string_view token() const { return token_; }
  // Keyword test: byte for byte, case included.
  bool tokenIs(std::string_view keyword) const { return token_ == keyword; }
  // The token's decimal integer (0 when it does not start with a number).
  int32_t codeNumber() const;
  // The token's decimal real (0.0 when it does not start with a number).
  double realNumber() const;

  // Shorthands for a group's value line.
  double readReal() {
    readToken();
    return realNumber();
  }
  int32_t readInteger() {
    readToken();
    return codeNumber();
  }

  bool endOfFile() const { return endOfFile_; }
  bool cancelled() const { return cancelled_; }
  // The stream itself has met its end, as fgets would have told it.
  bool streamAtEnd() const { return streamAtEnd_; }
  // Reading must stop for good (the run ran out of memory): every reading
  // loop ends as it would at the end of the file.
  void halt() { endOfFile_ = true; }

  // A pass starts: the progress line counter starts again.
  void startPass() { linesSinceCheck_ = 0; }
  // Back to the start of the file for a second pass; clears the end-of-file
  // flag (not the cancel flag).
  void rewind();

 private:
  // The next line as fgets would give it: false when nothing is left.
  bool nextLine(const char*& line, size_t& length);
  bool refill();
  void checkProgress();
  int32_t percentAt(int64_t position) const;
  // Reads the next line, making the current token its text from the first
  // character (that is not a blank or tab, when `kSkipsBlanks`) up to the
  // first that `kEnds`;
  // false when nothing is left.
  template <bool (*kEnds)(char), bool kSkipsBlanks>
  bool readLine();
  // readWholeLine, keeping the line's leading blanks or not.
  template <bool kSkipsBlanks>
  void readCountedLine();
  // Passes over the rest of a line that came back cut at the line limit.
  void skipRestOfLine();
  // The common pair of a short code line and a value line that both stand
  // whole in the buffer, read in one look; false (nothing read) otherwise.
  bool readShortPair(int32_t& code);
  void countLine() {
    if (linesSinceCheck_++ == kLinesPerProgressCheck) {
      linesSinceCheck_ = 0;
      checkProgress();
    }
  }

  static constexpr size_t kBlockSize = 1 << 16;

  // The group codes of the code lines met, by the lines' text: a file
  // writes the same few code lines over and over.
  struct CodeLines {
    static constexpr int kSlotBits = 8;
    struct Slot {
      uint64_t text;
      int32_t code;
      bool used;
    };
    Slot slots[1 << kSlotBits] = {};
    // The code of a line of `length` (at most seven) characters, its bytes
    // in `text` (little-endian, zeros past its end).
    int32_t codeOf(uint64_t text, size_t length);
    // A line not met before: its code, read and kept in `slot`.
    int32_t learn(Slot& slot, uint64_t text, size_t length);
  };
  CodeLines codeLines_;

  std::FILE* file_;
  int32_t fileSize_;
  HeapVector<int32_t>* deferredChecks_ = nullptr;
  std::string_view token_;
  bool endOfFile_ = false;
  bool streamAtEnd_ = false;
  bool blockAtEnd_ = false;  // the last block read reached the end of the file
  bool lineCut_ = false;     // the last line read was a piece of a longer line
  int32_t linesSinceCheck_ = 0;
  int64_t blockPosition_ = 0;  // file position of buffer_[0]
  size_t begin_ = 0;           // first unread byte
  size_t end_ = 0;             // end of the bytes read
  char buffer_[kBlockSize];
  char heldLine_[kLineLimit];  // the token of a cut line, while its rest is passed over
  // The user's stop request, on a cache line of its own: while the file is
  // read ahead, the drawing asks it for every entity, and the reading
  // thread writes the fields above for every line.
  alignas(kCacheLineBytes) bool cancelled_ = false;
};

// A group code as written on a code line: optional blanks, an optional sign,
// digits; kNoCode when there are no digits, saturated beyond 32 bits.
int32_t parseGroupCode(std::string_view line);

// Names equal without regard to the case of letters a to z: same length,
// and equal position by position after upper-casing.
bool namesEqualIgnoreCase(std::string_view a, std::string_view b);

}  // namespace drawport
