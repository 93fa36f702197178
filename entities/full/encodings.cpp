#include "entities/full/encodings.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>

namespace drawport::full {
namespace {

// The first version whose files are written in UTF-8 (R2007).
constexpr int kFirstUnicodeVersion = 1021;

// The code pages a file may name, and the C library's names for them. A
// name not listed here is read as ANSI_1252: only these converters are
// ever opened for a file.
struct CodePage {
  const char* file;
  const char* library;
};
constexpr CodePage kCodePages[] = {
    {"ANSI_874", "CP874"},
    {"ANSI_932", "CP932"},
    {"ANSI_936", "CP936"},
    {"ANSI_949", "CP949"},
    {"ANSI_950", "CP950"},
    {"ANSI_1250", "CP1250"},
    {"ANSI_1251", "CP1251"},
    {"ANSI_1252", "CP1252"},
    {"ANSI_1253", "CP1253"},
    {"ANSI_1254", "CP1254"},
    {"ANSI_1255", "CP1255"},
    {"ANSI_1256", "CP1256"},
    {"ANSI_1257", "CP1257"},
    {"ANSI_1258", "CP1258"},
    {"ANSI_1361", "JOHAB"},
    {"DOS437", "CP437"},
    {"DOS737", "CP737"},
    {"DOS775", "CP775"},
    {"DOS850", "CP850"},
    {"DOS852", "CP852"},
    {"DOS855", "CP855"},
    {"DOS857", "CP857"},
    {"DOS860", "CP860"},
    {"DOS861", "CP861"},
    {"DOS862", "CP862"},
    {"DOS863", "CP863"},
    {"DOS864", "CP864"},
    {"DOS865", "CP865"},
    {"DOS866", "CP866"},
    {"DOS869", "CP869"},
    {"DOS932", "CP932"},
    {"ISO8859-1", "ISO-8859-1"},
    {"ISO8859-2", "ISO-8859-2"},
    {"ISO8859-3", "ISO-8859-3"},
    {"ISO8859-4", "ISO-8859-4"},
    {"ISO8859-5", "ISO-8859-5"},
    {"ISO8859-6", "ISO-8859-6"},
    {"ISO8859-7", "ISO-8859-7"},
    {"ISO8859-8", "ISO-8859-8"},
    {"ISO8859-9", "ISO-8859-9"},
    {"ISO8859-10", "ISO-8859-10"},
    {"ISO8859-13", "ISO-8859-13"},
    {"ISO8859-15", "ISO-8859-15"},
    {"MACINTOSH", "MACINTOSH"},
    {"MAC-ROMAN", "MACINTOSH"},
    {"BIG5", "BIG5"},
    {"GB2312", "GB2312"},
    {"KSC5601", "EUC-KR"},
    {"JOHAB", "JOHAB"},
};
constexpr const char* kDefaultCodePage = "CP1252";

// Windows-1252's characters 0x80 to 0x9F (0: none), for a C library that
// cannot convert it; the other bytes are the same code points.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr uint32_t kReplacement = 0xFFFD;
constexpr char kReplacementUtf8[3] = {'\xEF', '\xBF', '\xBD'};
// The most bytes one call of the converter is handed.
constexpr size_t kConversionPiece = 4096;

bool sameName(std::string_view a, const char* b) {
  const size_t length = std::strlen(b);
  if (a.size() != length) return false;
  for (size_t i = 0; i < length; ++i) {
    const char c = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (c != b[i]) return false;
  }
  return true;
}

// The number after "AC" in a version such as "AC1021"; 0 when there is none.
int versionNumber(std::string_view version) {
  if (version.size() < 3 || version[0] != 'A' || version[1] != 'C') return 0;
  int number = 0;
  for (size_t i = 2; i < version.size() && version[i] >= '0' && version[i] <= '9' && number < 100000; ++i)
    number = number * 10 + (version[i] - '0');
  return number;
}

const char* libraryName(std::string_view codePage) {
  for (const CodePage& page : kCodePages)
    if (sameName(codePage, page.file)) return page.library;
  return kDefaultCodePage;
}

iconv_t descriptorOf(void* converter) { return static_cast<iconv_t>(converter); }

// The length of the UTF-8 sequence that starts `text` (well formed: no
// overlong forms, no surrogates, nothing beyond U+10FFFF), or 0.
size_t utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const auto follows = [&](size_t i, unsigned char low, unsigned char high) {
    return i < text.size() && byte(i) >= low && byte(i) <= high;
  };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return follows(1, 0x80, 0xBF) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    return follows(1, low, high) && follows(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned char low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    return follows(1, low, high) && follows(2, 0x80, 0xBF) && follows(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

void appendCheckedUtf8(std::string_view raw, HeapVector<char>& out) {
  size_t i = 0;
  while (i < raw.size()) {
    const size_t length = utf8SequenceLength(raw.substr(i));
    if (length == 0) {
      appendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(i),
               raw.begin() + static_cast<std::ptrdiff_t>(i + length));
    i += length;
  }
}

void appendWindows1252(std::string_view raw, HeapVector<char>& out) {
  for (char c : raw) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const uint32_t code = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
    appendCodePoint(out, code == 0 ? kReplacement : code);
  }
}

}  // namespace

void appendCodePoint(HeapVector<char>& out, uint32_t code) {
  if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = kReplacement;
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

TextEncoding::~TextEncoding() {
  if (converter_) iconv_close(descriptorOf(converter_));
}

void TextEncoding::choose(std::string_view version, std::string_view codePage) {
  if (chosen()) return;
  version_[version.copy(version_, sizeof version_ - 1)] = '\0';
  codePage_[codePage.copy(codePage_, sizeof codePage_ - 1)] = '\0';
  if (versionNumber(version) >= kFirstUnicodeVersion) {
    kind_ = Kind::Utf8;
    return;
  }
  iconv_t descriptor = iconv_open("UTF-8", libraryName(codePage));
  if (descriptor == reinterpret_cast<iconv_t>(-1)) descriptor = iconv_open("UTF-8", kDefaultCodePage);
  if (descriptor == reinterpret_cast<iconv_t>(-1)) {
    kind_ = Kind::Windows1252;  // the C library converts nothing here
    return;
  }
  converter_ = descriptor;
  kind_ = Kind::Converter;
}

void TextEncoding::appendUtf8(std::string_view raw, HeapVector<char>& out) {
  switch (kind_) {
    case Kind::Converter: return appendConverted(raw, out);
    case Kind::Windows1252: return appendWindows1252(raw, out);
    case Kind::Utf8:
    case Kind::Unchosen: return appendCheckedUtf8(raw, out);
  }
}

void TextEncoding::appendConverted(std::string_view raw, HeapVector<char>& out) {
  const iconv_t descriptor = descriptorOf(converter_);
  iconv(descriptor, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for each text
  const size_t start = out.size();
  // Every code page here takes at most 4 UTF-8 bytes per byte it reads, and
  // U+FFFD takes 3: room that is never short, made once, so that each byte
  // is handled once however many of them cannot be converted. E2BIG grows
  // it all the same.
  out.resize(start + 4 * raw.size() + 4);
  char* in = const_cast<char*>(raw.data());
  size_t inLeft = raw.size();
  size_t written = start;
  while (inLeft > 0) {
    char* to = out.data() + written;
    size_t toLeft = out.size() - written;
    // The converter is handed the text a piece at a time: what one call
    // costs may grow with what it is handed, and a text of many bytes the
    // code page does not hold takes a call for each of them.
    const size_t piece = inLeft < kConversionPiece ? inLeft : kConversionPiece;
    size_t pieceLeft = piece;
    const size_t result = iconv(descriptor, &in, &pieceLeft, &to, &toLeft);
    const size_t taken = piece - pieceLeft;
    inLeft -= taken;
    written = static_cast<size_t>(to - out.data());
    if (result != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG || out.size() - written < sizeof kReplacementUtf8) {
      out.resize(out.size() * 2);
      continue;
    }
    // A sequence cut off by the end of the piece, not of the text: the next
    // piece starts with it.
    if (errno == EINVAL && taken > 0 && inLeft > pieceLeft) continue;
    // A byte the code page does not hold, or a sequence cut off at the end:
    // U+FFFD in its place, written into the room already there.
    std::memcpy(out.data() + written, kReplacementUtf8, sizeof kReplacementUtf8);
    written += sizeof kReplacementUtf8;
    ++in;
    --inLeft;
  }
  out.resize(written);
}

}  // namespace drawport::full
