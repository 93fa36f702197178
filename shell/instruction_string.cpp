#include "shell/instruction_string.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "dxf/numbers.h"
#include "shell/addon.h"
#include "shell/files.h"

namespace drawport {
namespace {

// The -V letters, in the order the writer lists them.
struct KindLetter {
  char letter;
  EntityKind kind;
};
constexpr KindLetter kKindLetters[] = {
    {'L', EntityKind::Lines},  {'A', EntityKind::Arcs},    {'C', EntityKind::Circles}, {'P', EntityKind::Points},
    {'S', EntityKind::Solids}, {'F', EntityKind::Faces3D}, {'T', EntityKind::Text},
};

constexpr int32_t kLowestFont = 1;
constexpr int32_t kHighestFont = 12;

const char kInvalidString[] = "DXF Loader:\nInvalid parameter string. Some default settings may be used.";

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

void showWarning(const char* warning) {
  char message[200];
  std::snprintf(message, sizeof message, "DXF Loader\n%s", warning);
  OrvUtilDialogMessageBox(message, OrvMessageBox_Information);
}

// --- Dash form ---

struct DashFlagsSeen {
  bool anyKind = false;   // some -V flag
  bool allKinds = false;  // -VZ
  bool hide = false;      // -H
};

// Copies the bracketed name that starts at `p` (just after '[') into
// `fileName`: a backslash before '[' or ']' is dropped and the bracket kept.
// Returns the position of the closing bracket, or of the string's end; null
// when the name does not fit.
const char* copyBracketedName(const char* p, char* fileName, size_t fileNameSize) {
  size_t length = 0;
  while (*p && *p != ']') {
    char c = *p++;
    if (c == '\\' && (*p == '[' || *p == ']')) c = *p++;
    if (length + 1 >= fileNameSize) return nullptr;
    fileName[length++] = c;
  }
  fileName[length] = '\0';
  return p;
}

void selectKindByLetter(char letter, ImportSettings& settings, DashFlagsSeen& seen) {
  seen.anyKind = true;
  if (letter == 'Z') {
    seen.allKinds = true;
    return;
  }
  for (const KindLetter& entry : kKindLetters)
    if (entry.letter == letter) settings.kind(entry.kind) = true;
}

// Reads the flags one by one; false when the string is invalid.
bool readDashFlags(const char* text, ImportSettings& settings, char* fileName, size_t fileNameSize,
                   DashFlagsSeen& seen) {
  const char* p = text;
  for (;;) {
    const char* dash = std::strchr(p, '-');
    if (!dash || dash[1] == '\0') return true;
    const char letter = asciiUpper(dash[1]);
    // Each flag's value starts right after its letter; whatever the flag
    // does not read is passed over by the search for the next '-'.
    p = dash + 2;
    switch (letter) {
      case 'F':
        if (*p != '[') return false;
        p = copyBracketedName(p + 1, fileName, fileNameSize);
        if (!p) {
          fileName[0] = '\0';
          return false;
        }
        break;
      case 'H':
        settings.showInvisibleLayers = false;
        seen.hide = true;
        break;
      case 'P':
        if (*p == '1' || *p == '2')
          settings.dimension = *p - '0';
        else
          showWarning("Invalid -P parameter ignored (must be '1' or '2')");
        break;
      case 'T':
        settings.fontNumber = parseLong32(p);
        if (settings.fontNumber < kLowestFont || settings.fontNumber > kHighestFont) {
          showWarning("Invalid -T paramter ignored (must be between 0 and 11)");
          settings.fontNumber = kLowestFont;
        }
        break;
      case 'V': selectKindByLetter(asciiUpper(*p), settings, seen); break;
      case 'X': settings.fullReading = true; break;
      case 'Z':
        settings.zoneNumber = parseLong32(p);
        if (settings.zoneNumber < 1) {
          showWarning("Invalid -Zn parameter ignored (must be >= 1)");
          settings.zoneNumber = 0;
        }
        break;
      default: return false;
    }
  }
}

// Returns false when the string was rejected.
bool parseDashForm(const char* text, ImportSettings& settings, char* fileName, size_t fileNameSize) {
  HostLock lock;
  fileName[0] = '\0';
  settings.fileSize = 0;
  settings.fontNumber = 1;
  settings.dimension = 1;
  settings.zoneNumber = 0;
  settings.setAllSwitches(false);
  settings.fullReading = false;
  DashFlagsSeen seen;
  if (!readDashFlags(text, settings, fileName, fileNameSize, seen)) return false;
  // No kind named, or all of them: everything is imported and shown (in
  // the classic reading, whatever -H says).
  if (!seen.anyKind || seen.allKinds) settings.setAllSwitches(true);
  // The full reading takes -H alone for whether invisible layers are hidden.
  if (settings.fullReading) settings.showInvisibleLayers = !seen.hide;
  return true;
}

// --- Compact form ---

void applyKindBits(int32_t bits, ImportSettings& settings) {
  for (int kind = 0; kind < kEntityKindCount; ++kind) settings.kinds[kind] = (bits >> kind) & 1;
  settings.showInvisibleLayers = (bits >> 7) & 1;
}

// Reads the file name of an 'F' token: after the count's digits, anything up
// to and including the first ':', then exactly `count` characters. Returns
// the position after the name, or null when the name is missing, cut short
// or too long for the file-name buffer.
const char* readCompactName(const char* p, int32_t count, char* fileName, size_t fileNameSize) {
  const char* colon = std::strchr(p, ':');
  if (!colon || count < 1 || static_cast<size_t>(count) >= fileNameSize) return nullptr;
  const char* name = colon + 1;
  if (strnlen(name, static_cast<size_t>(count)) < static_cast<size_t>(count)) return nullptr;
  std::memcpy(fileName, name, static_cast<size_t>(count));
  fileName[count] = '\0';
  return name + count;
}

// Returns false when the string was rejected.
bool parseCompactForm(const char* text, ImportSettings& settings, char* fileName, size_t fileNameSize) {
  fileName[0] = '\0';
  settings.setAllSwitches(false);
  // The compact form predates the full reading and has no word for it.
  settings.fullReading = false;
  settings.fontNumber = 1;
  settings.dimension = 1;
  settings.zoneNumber = 0;
  const char* p = text;
  for (;;) {
    const char letter = *p;
    if (letter == '@') return true;
    if (!letter || !std::strchr("BFTYZ", letter) || p[1] == '\0') return false;
    const char* value = p + 1;
    const int32_t number = parseLong32(value);
    p = value;
    while (isDigit(*p)) ++p;
    switch (letter) {
      case 'B':
        if (number < 0) return false;
        applyKindBits(number, settings);
        break;
      case 'F':
        p = readCompactName(p, number, fileName, fileNameSize);
        if (!p) {
          fileName[0] = '\0';
          return false;
        }
        break;
      case 'T':
        if (number < kLowestFont || number > kHighestFont) return false;
        settings.fontNumber = number;
        break;
      case 'Y':
        if (number != 1 && number != 2) return false;
        settings.dimension = number;
        break;
      case 'Z':
        if (number < 0) return false;
        settings.zoneNumber = number;
        break;
    }
  }
}

// --- Writing ---

// Writes into a bounded buffer like snprintf: counts everything, stores what
// fits with room for the terminator.
class BoundedText {
 public:
  BoundedText(char* out, size_t capacity) : out_(out), capacity_(capacity) {}
  void put(char c) {
    if (out_ && length_ + 1 < capacity_) out_[length_] = c;
    ++length_;
  }
  void put(const char* text) {
    while (*text) put(*text++);
  }
  void putNumber(const char* format, int32_t number) {
    char digits[24];
    std::snprintf(digits, sizeof digits, format, number);
    put(digits);
  }
  size_t finish() {
    if (out_ && capacity_ > 0) out_[length_ < capacity_ ? length_ : capacity_ - 1] = '\0';
    return length_;
  }

 private:
  char* out_;
  size_t capacity_;
  size_t length_ = 0;
};

}  // namespace

void parseInstructionString(const char* text, ImportSettings& settings, char* fileName, size_t fileNameSize) {
  const char* first = text;
  while (*first == ' ' || *first == '\t') ++first;
  const bool dashForm = *first == '-';
  const bool valid = dashForm ? parseDashForm(text, settings, fileName, fileNameSize)
                              : parseCompactForm(text, settings, fileName, fileNameSize);
  if (!valid) {
    // The dash form has left the file size at 0, so the run reads nothing;
    // the compact form keeps the size of the last measurement.
    OrvUtilDialogMessageBox(kInvalidString, OrvMessageBox_Information);
    return;
  }
  settings.fileSize = measureFileForImport(fileName);
}

int32_t measureFileForImport(const char* fileName) {
  FileCloser file(openRegularFile(fileName, "rb"));
  if (!file.get()) return 0;
  const int64_t size = sizeBySeekingToEnd(file.get());
  if (size > std::numeric_limits<int32_t>::max()) {
    OrvUtilDialogErrMsg("File too large");
    return 0;
  }
  return size > 0 ? static_cast<int32_t>(size) : 0;
}

size_t writeBracketedName(const char* fileName, char* out, size_t capacity) {
  BoundedText text(out, capacity);
  text.put('[');
  const char* last = fileName;
  for (const char* p = fileName; *p; ++p) {
    if (*p == '[' || *p == ']') text.put('\\');
    text.put(*p);
    last = p;
  }
  // "\]" would read as an escaped bracket, so a name that ends in a
  // backslash keeps its bracket open: the end of the instruction string then
  // ends the name.
  if (*last != '\\') text.put(']');
  return text.finish();
}

size_t writeInstructionString(const ImportSettings& settings, const char* bracketedName, char* out, size_t capacity) {
  char flagText[96];
  BoundedText flags(flagText, sizeof flagText);
  // With every kind on, no -V flag is written: the parser then imports every
  // kind and, in the classic reading, shows invisible layers. So when
  // invisible layers are to be hidden, the kinds are listed even when all
  // are on (the full reading would read -H alone the same way; the listed
  // kinds keep the string the same for both readings).
  if (!settings.allKindsSelected() || !settings.showInvisibleLayers) {
    for (const KindLetter& entry : kKindLetters) {
      if (!settings.selects(entry.kind)) continue;
      flags.put(" -V");
      flags.put(entry.letter);
    }
  }
  if (settings.fontNumber > 1) flags.putNumber(" -T%d", settings.fontNumber);
  if (settings.zoneNumber > 0) flags.putNumber(" -Z%d", settings.zoneNumber);
  if (settings.dimension == 2) flags.put(" -P2");
  if (!settings.showInvisibleLayers) flags.put(" -H");
  if (settings.fullReading) flags.put(" -X");
  flags.finish();

  BoundedText text(out, capacity);
  const size_t nameLength = std::strlen(bracketedName);
  const bool nameOpen = nameLength > 0 && bracketedName[nameLength - 1] != ']';
  if (nameOpen) {
    // A name without its closing bracket must end the string: the flags come
    // first, the blank that leads them moved before -F.
    if (flagText[0] != '\0') {
      text.put(flagText + 1);
      text.put(' ');
    }
    text.put("-F");
    text.put(bracketedName);
  } else {
    text.put("-F");
    text.put(bracketedName);
    text.put(flagText);
  }
  return text.finish();
}

}  // namespace drawport
