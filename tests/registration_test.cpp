// The add-on's start in the host: registration, the version check, its host
// strings and its callbacks, in both host generations.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"

namespace drawport::testing {
namespace {

class RegistrationTest : public AddOnTest {};

TEST_F(RegistrationTest, RegistersAsDxfLoaderWithItsGenerationsVersion) {
  start();
  const std::string expected =
      olderGeneration()
          ? "OrvUtilLockOn()\n"
            "OrvUtilAddOnRegister(100, \"DXF Loader\", \"1.91 (10.0-2-24) Dec  9 2003\", \"Brindle Engineering, "
            "Inc.\") -> addon#1\n"
          : "OrvUtilLockOn()\n"
            "OrvUtilAddOnRegister(100, \"DXF Loader\", \"12.2.0.9077 (12.2.0.9077) Apr 14 2010\", \"Orvex, "
            "Inc.\") -> addon#1\n";
  EXPECT_EQ(journal({"OrvUtilLockOn", "OrvUtilAddOnRegister"}), expected);
  EXPECT_EQ(journal({"OrvUtilGetOrvexVersion", "OrvUtilMacroAdd", "OrvUtilStringAlloc", "OrvUtilImportAddLoader",
                     "OrvUtilStateChange", "OrvUtilLockOff"}),
            "OrvUtilGetOrvexVersion() -> 740400\n"
            "OrvUtilMacroAddCommandCallback(\"DXF Loader\", callback) -> true\n"
            "OrvUtilStringAlloc(10000, \"DXF filename\") -> string\n"
            "OrvUtilStringAlloc(10000, \"DXF last filename\") -> string\n"
            "OrvUtilStringAlloc(10000, \"DXF scratch buffer\") -> string\n"
            "OrvUtilImportAddLoader(callback, \"DXF Loader\", callback, null) -> true\n"
            "OrvUtilStateChangeAddCallback(callback)\n"
            "OrvUtilLockOff()\n");
  EXPECT_EQ(messages(), "");
}

}  // namespace
}  // namespace drawport::testing
