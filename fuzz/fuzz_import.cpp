// A whole import through the macro command "DXF Loader": the input's first
// nine bytes choose the reading, the instruction string and the host's
// state, the rest is the DXF file.
//
//   byte 0  the reading: bit 0 the full reading (-X), bit 1 -X written first
//           instead of last (a macro may hold it anywhere; the dialog writes
//           it last), bit 2 the entities read ahead of their drawing
//           whatever the file's size, bit 3 what follows from their
//           records alone worked out ahead for every one read ahead
//           (else for none); the compact form always reads classically
//           and leaves the flags of this byte out
//   byte 1  entity kinds, bit n for the kind switch n (Text, Lines, Arcs,
//           Circles, Points, Solids, 3D Faces); bit 7: no -V flag at all
//   byte 2  bit 0 -P2, bit 1 -H, bit 2 the compact form instead of the dash
//           form, bit 3 macro recording on, bit 4 no data set, bit 5 a plot
//           type other than 4, bit 6 the data set cannot tell its zones,
//           bit 7 -VZ
//   byte 3  font: 0 none, else -T with (byte % 14)
//   byte 4  zone: 0 none, else -Z with the byte
//   byte 5  the frame's background colour (signed)
//   byte 6  the percent-done dialog answers "stop" from this check on (0 never)
//   byte 7  the add-on's heap fails this allocation of the run (0 none)
//   byte 8  the host's string allocation fails at this call of the session,
//           the entry point's three included (0 none)
//
// After each input the host's rules are checked (fuzz/session_checks.h), and
// a failed command hands the host "Error reading file".
#include <cstdint>
#include <string>

#include "dxf/full/read_ahead.h"
#include "fuzz/session_checks.h"

extern "C" void DrawportTestFailAllocation(int64_t call);
extern "C" void DrawportTestReadAheadFrom(int64_t bytes);
extern "C" void DrawportTestPrepareAhead(int64_t when);

namespace drawport::fuzz {
namespace {

constexpr char kKindLetters[] = "TLACPSF";

struct ImportInput {
  uint8_t reading, kinds, flags, font, zone;
  int8_t background;
  uint8_t stopFromCheck, failingAllocation, failingString;
  std::string_view dxf;

  bool flag(int bit) const { return (flags >> bit) & 1; }
  bool fullReading() const { return reading & 1; }
  bool fullReadingFirst() const { return (reading >> 1) & 1; }
  bool readAhead() const { return (reading >> 2) & 1; }
  bool prepareAhead() const { return (reading >> 3) & 1; }
};

ImportInput takeApart(const uint8_t* data, size_t size) {
  InputBytes bytes(data, size);
  ImportInput input;
  input.reading = bytes.byte();
  input.kinds = bytes.byte();
  input.flags = bytes.byte();
  input.font = bytes.byte();
  input.zone = bytes.byte();
  input.background = static_cast<int8_t>(bytes.byte());
  input.stopFromCheck = bytes.byte();
  input.failingAllocation = bytes.byte();
  input.failingString = bytes.byte();
  input.dxf = bytes.rest();
  return input;
}

std::string dashForm(const ImportInput& input, const std::string& path) {
  std::string text = "-F[" + path + "]";
  if (input.fullReading() && input.fullReadingFirst()) text = "-X " + text;
  if (!(input.kinds & 0x80))
    for (int kind = 0; kind < 7; ++kind)
      if ((input.kinds >> kind) & 1) text += std::string(" -V") + kKindLetters[kind];
  if (input.flag(7)) text += " -VZ";
  if (input.font) text += " -T" + std::to_string(input.font % 14);
  if (input.zone) text += " -Z" + std::to_string(input.zone);
  if (input.flag(0)) text += " -P2";
  if (input.flag(1)) text += " -H";
  if (input.fullReading() && !input.fullReadingFirst()) text += " -X";
  return text;
}

// The compact form: bit mask (bit 7 shows invisible layers), name, font,
// dimension, zone.
std::string compactForm(const ImportInput& input, const std::string& path) {
  const int mask = (input.kinds & 0x7f) | (input.flag(1) ? 0 : 0x80);
  const int font = input.font % 14 >= 1 && input.font % 14 <= 12 ? input.font % 14 : 1;
  return "B" + std::to_string(mask) + "F" + std::to_string(path.size()) + ":" + path + "T" + std::to_string(font) +
         "Y" + (input.flag(0) ? "2" : "1") + "Z" + std::to_string(input.zone) + "@";
}

orvhost::HostConfig hostConfig(const ImportInput& input) {
  orvhost::HostConfig config;
  config.macroRecording = input.flag(3);
  config.datasetAvailable = !input.flag(4);
  config.plotType = input.flag(5) ? 1 : 4;
  config.datasetInfoFails = input.flag(6);
  config.backgroundColor = input.background;
  config.stopFromCheck = input.stopFromCheck;
  config.failStringAllocCall = input.failingString;
  return config;
}

}  // namespace
}  // namespace drawport::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace drawport::fuzz;
  const ImportInput input = takeApart(data, size);
  static const std::string path = scratchFolder() + "/drawing.dxf";
  writeFile(path, input.dxf);
  const std::string instruction = input.flag(2) ? compactForm(input, path) : dashForm(input, path);

  FuzzSession fuzz(hostConfig(input));
  const drawport::full::ReadAheadPolicy policy = drawport::full::readAheadPolicy();
  if (input.readAhead()) DrawportTestReadAheadFrom(0);
  // Deterministic either way, unlike the default (while the drawing is behind).
  DrawportTestPrepareAhead(input.prepareAhead() ? 1 : 2);
  DrawportTestFailAllocation(input.failingAllocation);
  const orvhost::MacroOutcome outcome = fuzz.session().runMacro("DXF Loader", instruction);
  DrawportTestFailAllocation(0);
  drawport::full::readAheadPolicy() = policy;
  if (!outcome.result) fail("no macro command \"DXF Loader\" after the entry point");
  // The error text is allocated afresh for each failure; only a failing
  // host allocation leaves it out.
  if (*outcome.result && outcome.errorText) fail("a successful command handed the host an error text");
  if (!*outcome.result && input.failingString == 0 && outcome.errorText != "Error reading file")
    fail("a failed command handed the host \"" + outcome.errorText.value_or("(nothing)") + "\"");
  fuzz.finish();
  return 0;
}
