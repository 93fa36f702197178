// The host takes the user's locale; an import reads numbers the same in a
// locale whose decimal mark is a comma.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>

#include "support/addon_fixture.h"

namespace drawport::testing {
namespace {

class CommaLocaleTest : public AddOnTest {
 protected:
  void SetUp() override {
    ::setenv("LOCPATH", DRAWPORT_LOCALE_DIR, 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "no de_DE.UTF-8 locale in " DRAWPORT_LOCALE_DIR;
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  }
  void TearDown() override {
    AddOnTest::TearDown();
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
  }
};

TEST_F(CommaLocaleTest, NumbersReadWithADecimalPointWhateverTheLocale) {
  start();
  const std::string circle = "  0\nCIRCLE\n 10\n1.5\n 20\n-2.25e1\n 40\n0.125\n";
  const std::string text = "  0\nTEXT\n 10\n0,5\n 20\n3.75\n 40\n2.5\n 50\n12.5\n  1\nx\n";
  ASSERT_EQ(importText(dxfFile(entitiesSection(circle + text)), "-P2 -T3").result, true);
  // "0,5" is 0 and a comma, as it is in the "C" locale.
  EXPECT_EQ(objects(), "circle (1.5,-22.5) r0.125 c0\ntext (0,3.75) h2.5 a12.5 f1 \"x\" c0\n");
}

}  // namespace
}  // namespace drawport::testing
