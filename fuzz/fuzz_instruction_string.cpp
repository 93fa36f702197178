// The instruction-string parser, both forms, with any bytes as the string
// (up to its first NUL byte, as the host hands it over).
//
// After each input: the dash form's lock is finished, the file name is
// terminated within its host string, the settings are in their ranges, and
// a dash-form string that was taken reads back the same after the add-on's
// own writer has written it again, the reading (-X) included.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/session_checks.h"
#include "shell/addon.h"
#include "shell/import_settings.h"
#include "shell/instruction_string.h"

namespace drawport::fuzz {
namespace {

constexpr const char kInvalidString[] = "DXF Loader:\nInvalid parameter string. Some default settings may be used.";

std::string describe(const ImportSettings& settings, const char* fileName) {
  std::string kinds;
  for (bool selected : settings.kinds) kinds += selected ? '1' : '0';
  return "name=[" + std::string(fileName) + "] kinds=" + kinds +
         " show=" + std::to_string(settings.showInvisibleLayers) + " font=" + std::to_string(settings.fontNumber) +
         " dim=" + std::to_string(settings.dimension) + " zone=" + std::to_string(settings.zoneNumber) +
         " full=" + std::to_string(settings.fullReading);
}

void checkRanges(const ImportSettings& settings) {
  if (settings.fontNumber < 1 || settings.fontNumber > 12)
    fail("font number " + std::to_string(settings.fontNumber) + " outside 1..12");
  if (settings.dimension != 1 && settings.dimension != 2)
    fail("dimension " + std::to_string(settings.dimension) + " is neither 1 nor 2");
  if (settings.zoneNumber < 0) fail("zone number " + std::to_string(settings.zoneNumber) + " below 0");
  if (settings.fileSize < 0) fail("file size " + std::to_string(settings.fileSize) + " below 0");
}

bool rejected(const orvhost::Host& host) {
  for (const orvhost::Message& message : host.messages())
    if (message.text == kInvalidString) return true;
  return false;
}

// What the Load DXF File dialog writes for these settings is read back as
// the same settings. No kind selected has no dash form of its own (no -V
// flag means every kind), and the dialog refuses it.
void checkReadsBack(const ImportSettings& settings, const char* fileName) {
  if (settings.noKindSelected()) return;
  std::vector<char> bracketed(writeBracketedName(fileName, nullptr, 0) + 1);
  writeBracketedName(fileName, bracketed.data(), bracketed.size());
  std::vector<char> written(writeInstructionString(settings, bracketed.data(), nullptr, 0) + 1);
  writeInstructionString(settings, bracketed.data(), written.data(), written.size());

  ImportSettings again = settings;
  std::vector<char> nameAgain(kHostStringLength, 'x');
  parseInstructionString(written.data(), again, nameAgain.data(), nameAgain.size());
  const std::string before = describe(settings, fileName);
  const std::string after = describe(again, nameAgain.data());
  if (before != after)
    fail("the written string " + std::string(written.data()) + " reads back as\n  " + after + "\ninstead of\n  " +
         before);
}

}  // namespace
}  // namespace drawport::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace drawport;
  using namespace drawport::fuzz;
  const std::string text(reinterpret_cast<const char*>(data), size);
  FuzzSession fuzz({});
  AddOnState& state = addOn();
  if (!state.stringsAvailable()) fail("the add-on holds no strings after its entry point");
  // No terminator anywhere: the parser must write its own.
  std::memset(state.fileName, 'x', kHostStringLength);
  ImportSettings& settings = importSettings();
  parseInstructionString(text.c_str(), settings, state.fileName, kHostStringLength);
  if (::strnlen(state.fileName, kHostStringLength) == kHostStringLength)
    fail("the file name is not terminated within its host string");
  checkRanges(settings);

  const char* first = text.c_str();
  while (*first == ' ' || *first == '\t') ++first;
  if (*first == '-' && !rejected(fuzz.host())) checkReadsBack(settings, state.fileName);
  fuzz.finish();
  return 0;
}
