// A text value on its way to the host: first in UTF-8 (the file's encoding
// converted), then with its codes turned into what they stand for. Codes are
// read in UTF-8, where a backslash or a percent sign is never a byte of a
// wider character (as it can be in code page 932).
#include "entities/full/texts.h"

namespace drawport::full {
namespace {

constexpr double kCharacterAdvance = 0.6;

// --- Codes of every text: %%d, %%p, %%c, %%%, %%u/%%o/%%k, %%nnn, \U+XXXX --

struct PercentCode {
  char letter;     // lower case
  uint32_t shown;  // 0: nothing
};
constexpr PercentCode kPercentCodes[] = {
    {'d', 0x00B0},            // degree sign
    {'p', 0x00B1},            // plus-minus sign
    {'c', 0x00D8},            // diameter sign
    {'%', '%'},    {'u', 0},  // underline on/off
    {'o', 0},                 // overline on/off
    {'k', 0},                 // strike-through on/off
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = lowerCase(c);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The text in hand: what has been read of it, and where the shown text goes.
struct CodeReading {
  TextEncoding& encoding;
  std::string_view text;
  HeapVector<char>& out;
  size_t at = 0;

  bool startsWith(std::string_view s) const { return text.substr(at, s.size()) == s; }
  char peek(size_t ahead) const { return at + ahead < text.size() ? text[at + ahead] : '\0'; }
  void copy(size_t count) {
    out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
               text.begin() + static_cast<std::ptrdiff_t>(at + count));
    at += count;
  }
};

// %%nnn: the character of that number in the file's code page (in a
// Unicode file, that code point); control characters show nothing.
void appendNumberedCharacter(CodeReading& r, uint32_t number) {
  if (number < 0x20 || number == 0x7F) return;
  if (number >= 0x80 && number <= 0xFF && !r.encoding.unicode()) {
    const char byte = static_cast<char>(number);
    r.encoding.appendUtf8(std::string_view(&byte, 1), r.out);
    return;
  }
  appendCodePoint(r.out, number);
}

// A %% code at the reading position: true when it was one and is read.
bool readPercentCode(CodeReading& r) {
  if (!r.startsWith("%%")) return false;
  if (isDigit(r.peek(2)) && isDigit(r.peek(3)) && isDigit(r.peek(4))) {
    appendNumberedCharacter(
        r, static_cast<uint32_t>((r.peek(2) - '0') * 100 + (r.peek(3) - '0') * 10 + (r.peek(4) - '0')));
    r.at += 5;
    return true;
  }
  const char letter = lowerCase(r.peek(2));
  for (const PercentCode& code : kPercentCodes) {
    if (code.letter != letter) continue;
    if (code.shown) appendCodePoint(r.out, code.shown);
    r.at += 3;
    return true;
  }
  return false;
}

// The four hex digits of \U+XXXX at `from`, or -1.
int32_t unicodeAt(const CodeReading& r, size_t from) {
  if (r.text.substr(from, 3) != "\\U+" || from + 7 > r.text.size()) return -1;
  int32_t code = 0;
  for (size_t i = from + 3; i < from + 7; ++i) {
    const int digit = hexValue(r.text[i]);
    if (digit < 0) return -1;
    code = code * 16 + digit;
  }
  return code;
}

// \U+XXXX at the reading position (a pair of them for a character beyond
// U+FFFF): true when it was one and is read.
bool readUnicodeCode(CodeReading& r) {
  const int32_t code = unicodeAt(r, r.at);
  if (code < 0) return false;
  r.at += 7;
  const int32_t low = unicodeAt(r, r.at);
  if (code >= 0xD800 && code <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
    r.at += 7;
    appendCodePoint(r.out,
                    0x10000 + ((static_cast<uint32_t>(code) - 0xD800) << 10) + (static_cast<uint32_t>(low) - 0xDC00));
  } else if (code != 0) {
    appendCodePoint(r.out, static_cast<uint32_t>(code));  // a lone surrogate shows U+FFFD
  }
  return true;
}

void readSingleLine(CodeReading& r) {
  while (r.at < r.text.size()) {
    if (readPercentCode(r) || readUnicodeCode(r)) continue;
    r.copy(1);
  }
}

// --- MTEXT's formatting codes --------------------------------------------

enum class MTextCode : uint8_t {
  NewLine,     // \P paragraph, \N column
  Space,       // \~ non-breaking space
  Literal,     // \\ \{ \}
  Nothing,     // switches: \L \l \O \o \K \k, \X
  Formatting,  // \F...; and the like: up to and including the ';'
  Stacked,     // \Sa^b; \Sa/b; \Sa#b;
};
struct MTextBackslash {
  char letter;
  MTextCode code;
};
constexpr MTextBackslash kMTextBackslashes[] = {
    {'P', MTextCode::NewLine},    {'N', MTextCode::NewLine},    {'~', MTextCode::Space},
    {'\\', MTextCode::Literal},   {'{', MTextCode::Literal},    {'}', MTextCode::Literal},
    {'L', MTextCode::Nothing},    {'l', MTextCode::Nothing},    {'O', MTextCode::Nothing},
    {'o', MTextCode::Nothing},    {'K', MTextCode::Nothing},    {'k', MTextCode::Nothing},
    {'X', MTextCode::Nothing},    {'F', MTextCode::Formatting}, {'f', MTextCode::Formatting},
    {'H', MTextCode::Formatting}, {'W', MTextCode::Formatting}, {'Q', MTextCode::Formatting},
    {'T', MTextCode::Formatting}, {'A', MTextCode::Formatting}, {'C', MTextCode::Formatting},
    {'c', MTextCode::Formatting}, {'p', MTextCode::Formatting}, {'S', MTextCode::Stacked},
};

// ^I tab, ^J line feed, ^M carriage return; any other caret is itself.
struct MTextCaret {
  char letter;
  const char* shown;
};
constexpr MTextCaret kMTextCarets[] = {{'I', " "}, {'J', "\n"}, {'M', ""}};

// The end of a code's value: its ';', or the end of the text.
size_t valueEnd(const CodeReading& r, size_t from) {
  for (size_t i = from; i < r.text.size(); ++i) {
    if (r.text[i] == '\\' && i + 1 < r.text.size()) {
      ++i;  // an escaped character inside a stack
      continue;
    }
    if (r.text[i] == ';') return i;
  }
  return r.text.size();
}

// \Sa^b; as "a/b" (only the part there is when the other is empty).
void appendStacked(CodeReading& r, size_t from, size_t end) {
  size_t split = end;
  for (size_t i = from; i < end && split == end; ++i) {
    if (r.text[i] == '\\')
      ++i;
    else if (r.text[i] == '^' || r.text[i] == '/' || r.text[i] == '#')
      split = i;
  }
  auto appendPart = [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      if (r.text[i] == '\\' && i + 1 < last) ++i;
      r.out.push_back(r.text[i]);
    }
  };
  const bool upper = split > from, lower = split < end && split + 1 < end;
  appendPart(from, split);
  if (upper && lower) r.out.push_back('/');
  if (lower) appendPart(split + 1, end);
}

void readMTextBackslash(CodeReading& r) {
  const char letter = r.peek(1);
  for (const MTextBackslash& entry : kMTextBackslashes) {
    if (entry.letter != letter) continue;
    switch (entry.code) {
      case MTextCode::NewLine: r.out.push_back('\n'); break;
      case MTextCode::Space: r.out.push_back(' '); break;
      case MTextCode::Literal: r.out.push_back(letter); break;
      case MTextCode::Nothing: break;
      case MTextCode::Formatting:
      case MTextCode::Stacked: {
        const size_t end = valueEnd(r, r.at + 2);
        if (entry.code == MTextCode::Stacked) appendStacked(r, r.at + 2, end);
        r.at = end < r.text.size() ? end + 1 : end;
        return;
      }
    }
    r.at += 2;
    return;
  }
  r.copy(letter ? 2 : 1);  // not a code: shown as written
}

void readMTextCaret(CodeReading& r) {
  const char letter = r.peek(1);
  for (const MTextCaret& entry : kMTextCarets) {
    if (entry.letter != letter) continue;
    for (const char* c = entry.shown; *c; ++c) r.out.push_back(*c);
    r.at += 2;
    return;
  }
  r.copy(1);
}

void readMultiLine(CodeReading& r) {
  while (r.at < r.text.size()) {
    if (readPercentCode(r) || readUnicodeCode(r)) continue;
    switch (r.text[r.at]) {
      case '\\': readMTextBackslash(r); break;
      case '^': readMTextCaret(r); break;
      case '{':
      case '}': ++r.at; break;  // grouping: shows nothing
      default: r.copy(1);
    }
  }
}

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Whether a text holds anything a code could start with.
bool mayHoldCodes(std::string_view text, TextKind kind) {
  for (char c : text)
    if (c == '%' || c == '\\' || (kind == TextKind::MultiLine && (c == '^' || c == '{' || c == '}'))) return true;
  return false;
}

std::string_view viewOf(const HeapVector<char>& bytes) { return std::string_view(bytes.data(), bytes.size()); }

}  // namespace

std::string_view plainText(FullRun& run, std::string_view raw, TextKind kind) {
  return plainText(run.texts, run.header, raw, kind);
}

std::string_view plainText(TextWork& work, const HeaderExtras& header, std::string_view raw, TextKind kind) {
  if (!work.encoding.chosen()) work.encoding.choose(header.version, header.codePage);
  std::string_view text = raw;
  if (!isAscii(raw)) {
    work.decoded.clear();
    work.encoding.appendUtf8(raw, work.decoded);
    text = viewOf(work.decoded);
  }
  if (!mayHoldCodes(text, kind)) return text;
  work.shown.clear();
  CodeReading reading{work.encoding, text, work.shown};
  if (kind == TextKind::MultiLine)
    readMultiLine(reading);
  else
    readSingleLine(reading);
  return viewOf(work.shown);
}

double estimatedWidth(std::string_view text, double height) {
  size_t characters = 0;
  for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
  return kCharacterAdvance * height * static_cast<double>(characters);
}

}  // namespace drawport::full
