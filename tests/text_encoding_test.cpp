// A text encoding chosen like another (as the thread that reads a file ahead
// chooses its own) converts every text exactly as the other does.
#include <gtest/gtest.h>

#include <string>

#include "entities/full/encodings.h"

namespace drawport::full {
namespace {

struct ChoiceCase {
  const char* name;
  const char* version;
  const char* codePage;
  std::string raw;
  std::string utf8;
};

std::string converted(TextEncoding& encoding, const std::string& raw) {
  HeapVector<char> out;
  encoding.appendUtf8(raw, out);
  return std::string(out.data(), out.size());
}

TEST(TextEncodingChosenLikeAnother, ConvertsAsTheOther) {
  const ChoiceCase cases[] = {
      {"R2007 and later: UTF-8 whatever the code page", "AC1021", "ANSI_1251", "\xc3\xa9t\xc3\xa9",
       "\xc3\xa9t\xc3\xa9"},
      {"code page 1251", "AC1018", "ANSI_1251", "\xcf\xf0\xe8", "\xd0\x9f\xd1\x80\xd0\xb8"},
      {"code page 932, two bytes a character", "AC1015", "ANSI_932", "\x93\xfa", "\xe6\x97\xa5"},
      {"an unknown code page reads as 1252", "AC1015", "ANSI_9999", "\xdf", "\xc3\x9f"},
      {"no header at all reads as 1252", "", "", "\xe9", "\xc3\xa9"},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.name);
    TextEncoding first;
    first.choose(c.version, c.codePage);
    TextEncoding alike;
    alike.chooseLike(first);
    EXPECT_EQ(alike.unicode(), first.unicode());
    EXPECT_EQ(converted(alike, c.raw), c.utf8);
    EXPECT_EQ(converted(first, c.raw), c.utf8);
  }
}

}  // namespace
}  // namespace drawport::full
