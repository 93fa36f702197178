// The Load DXF File dialog's OK path: the user opens the dialog from the
// import menu, sets its controls, types arbitrary texts into the file field
// and the zone field, may use the file browser and the Select Zone dialog,
// and presses OK (and Cancel when OK refused).
//
// Input: nine control bytes, then three texts each ended by a NUL byte (the
// file field, the zone field, the file browser's answer), then the content
// of the DXF file that the file field can name.
//
//   byte 0  bit 0 the toggle "Import blocks and newer entities" (the full
//           reading), set at every input: the dialog shows the reading the
//           last import chose, which an input replayed alone would not find
//   byte 1  bits 0-6 the entity toggles (Text, Lines, Arcs, Circles, Points,
//           Solids, 3D Faces), bit 7 the hide toggle
//   byte 2  bit 0 set the toggles of byte 1; bits 1-2 what the file field
//           gets (below); bit 3 press "..." first; bit 4 open Select Zone;
//           bit 5 Select Zone's OK (else Cancel); bit 6 no data set; bit 7
//           macro recording on
//   byte 3  font menu entry (byte % 13; 0 leaves it)
//   byte 4  dimension radio button (byte % 3; 0 leaves it)
//   byte 5  bits 0-2 number of zones (0 to 5), bits 3-5 the Select Zone list
//           row clicked minus one, bit 6 the background colour 0, bit 7 the
//           data set cannot tell its zones
//   byte 6  the add-on's heap fails this allocation (0 none)
//   byte 7  the host's string allocation fails at this call of the session,
//           the entry point's three included (0 none)
//   byte 8  bit 0 type the zone text, bit 1 type the file text, bit 2 the
//           file browser answers (else the user cancels it), bit 3 press
//           Help, bit 4 type the zone text after Select Zone
//
// What the file field gets (byte 2, bits 1-2): 0 the text itself (a text
// starting with '/' is taken inside the scratch folder, so that no input
// reads the machine's own files); 1 the path of the DXF file with the text
// appended; 2 the path of a file named by the text (a '/' in it becomes
// '_'), holding the DXF content; 3 the scratch folder, '/', then the text.
//
// After each input the host's rules are checked (fuzz/session_checks.h); an
// OK that passed its checks must import with the reading the toggle chose
// and reach the named file: the import then ends either well or with a
// message of the load run, never with "Error reading DXF File" alone.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/dialog_handles.h"
#include "fuzz/session_checks.h"
#include "shell/addon.h"
#include "shell/import_settings.h"

extern "C" void DrawportTestFailAllocation(int64_t call);

namespace drawport::fuzz {
namespace {

using orvhost::ControlKind;
using orvhost::Session;

constexpr const char* kToggleLabels[] = {"Text", "Lines", "Arcs", "Circles", "Points", "Solids", "3D Faces"};
constexpr const char* kFullReadingLabel = "Import blocks and newer entities";

// The load run's own reports of a failed import, one of which must come
// before the dialog's "Error reading DXF File".
constexpr const char* kRunFailures[] = {"No entities found in this DXF file",
                                        "The DXF Loader cannot read binary DXF files", "Can't open input file",
                                        "DXF Loader: Out of memory"};

struct DialogInput {
  uint8_t reading, toggles, actions, font, dimension, zones, failingAllocation, failingString, typing;
  std::string fileText, zoneText, browseAnswer;
  std::string_view dxf;

  bool action(int bit) const { return (actions >> bit) & 1; }
  bool typed(int bit) const { return (typing >> bit) & 1; }
  bool fullReading() const { return reading & 1; }
};

DialogInput takeApart(const uint8_t* data, size_t size) {
  InputBytes bytes(data, size);
  DialogInput input;
  input.reading = bytes.byte();
  input.toggles = bytes.byte();
  input.actions = bytes.byte();
  input.font = bytes.byte();
  input.dimension = bytes.byte();
  input.zones = bytes.byte();
  input.failingAllocation = bytes.byte();
  input.failingString = bytes.byte();
  input.typing = bytes.byte();
  input.fileText = bytes.text();
  input.zoneText = bytes.text();
  input.browseAnswer = bytes.text();
  input.dxf = bytes.rest();
  return input;
}

orvhost::HostConfig hostConfig(const DialogInput& input) {
  orvhost::HostConfig config;
  config.datasetAvailable = !input.action(6);
  config.macroRecording = input.action(7);
  config.zones.assign(input.zones & 7u, std::nullopt);
  for (size_t zone = 0; zone < config.zones.size(); zone += 2) config.zones[zone] = "zone " + std::to_string(zone + 1);
  config.backgroundColor = (input.zones & 0x40) ? 0 : 7;
  config.datasetInfoFails = input.zones & 0x80;
  config.failStringAllocCall = input.failingString;
  if (input.typed(2)) config.fileDialogAnswer = input.browseAnswer;
  return config;
}

// The folder of the files named by the file field's text.
const std::string& namedFolder() {
  static const std::string folder = [] {
    const std::string path = scratchFolder() + "/named";
    if (::mkdir(path.c_str(), 0700) != 0) fail("cannot make " + path);
    return path;
  }();
  return folder;
}

// The file field's text, with the file it names written; `written` receives
// the path of a file written for this input alone.
std::string fileFieldText(const DialogInput& input, const std::string& dxfPath, std::string& written) {
  const std::string& folder = scratchFolder();
  switch ((input.actions >> 1) & 3) {
    case 0: return !input.fileText.empty() && input.fileText[0] == '/' ? folder + input.fileText : input.fileText;
    case 1: return dxfPath + input.fileText;
    case 2: {
      std::string name = input.fileText.substr(0, 200);
      for (char& c : name)
        if (c == '/') c = '_';
      if (name.empty() || name == "." || name == "..") name += "_";
      written = namedFolder() + "/" + name;
      writeFile(written, input.dxf);
      return written;
    }
    default: return folder + "/" + input.fileText;
  }
}

class User {
 public:
  explicit User(Session& session) : session_(session) {}

  int32_t loadDialog() const { return session_.openDialog("Load DXF File"); }
  int32_t control(ControlKind kind, const std::string& label, int index = 0) const {
    return session_.findControl(loadDialog(), kind, label, index);
  }

  void setToggles(uint8_t states) {
    for (int kind = 0; kind < 7; ++kind)
      session_.setToggle(control(ControlKind::Toggle, kToggleLabels[kind]), (states >> kind) & 1);
    session_.setToggle(control(ControlKind::Toggle, "Hide Invisible Layers"), states & 0x80);
  }
  bool setFullReading(bool on) { return session_.setToggle(control(ControlKind::Toggle, kFullReadingLabel), on); }
  void typeZone(const std::string& text) { session_.typeText(control(ControlKind::TextField, "", 0), text); }
  void typeFile(const std::string& text) { session_.typeText(control(ControlKind::TextField, "", 1), text); }

  void useSelectZone(int32_t row, bool ok) {
    if (!session_.pressButton(control(ControlKind::Button, "Select Zone..."))) return;
    const int32_t dialog = session_.openDialog("Select Zone");
    if (dialog == -1) return;
    session_.selectRow(session_.findControl(dialog, ControlKind::List, ""), row);
    session_.pressDialogButton(dialog, ok ? Session::DialogButton::Ok : Session::DialogButton::Cancel);
  }

 private:
  Session& session_;
};

// The messages shown from `first` on.
bool shownFrom(const orvhost::Host& host, size_t first, const char* text) {
  for (size_t i = first; i < host.messages().size(); ++i)
    if (host.messages()[i].text == text) return true;
  return false;
}

// The full reading's report of a file without a single section, which
// names the file the import read.
std::string notADrawing() {
  const char* name = drawport::addOn().fileName;
  return std::string(name ? name : "") + " is not a DXF drawing";
}

}  // namespace
}  // namespace drawport::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace drawport::fuzz;
  const DialogInput input = takeApart(data, size);
  static const std::string dxfPath = scratchFolder() + "/drawing.dxf";
  writeFile(dxfPath, input.dxf);
  std::string written;
  const std::string fileText = fileFieldText(input, dxfPath, written);

  // A fresh host has no dialogs: the add-on creates its own again.
  drawport::dialogHandles() = drawport::DialogHandles{};
  FuzzSession fuzz(hostConfig(input));
  Session& session = fuzz.session();
  DrawportTestFailAllocation(input.failingAllocation);
  User user(session);
  if (session.chooseImportLoader("DXF Loader") && user.loadDialog() != -1) {
    const bool readingSet = user.setFullReading(input.fullReading());
    if (input.action(0)) user.setToggles(input.toggles);
    if (input.font % 13) session.chooseOption(user.control(ControlKind::OptionMenu, ""), input.font % 13);
    if (input.dimension % 3) session.chooseRadio(user.control(ControlKind::RadioBox, ""), input.dimension % 3);
    if (input.typed(0) && !input.typed(4)) user.typeZone(input.zoneText);
    if (input.action(4)) user.useSelectZone(((input.zones >> 3) & 7) + 1, input.action(5));
    if (input.typed(0) && input.typed(4)) user.typeZone(input.zoneText);
    if (input.action(3)) session.pressButton(user.control(ControlKind::Button, "..."));
    if (input.typed(1)) user.typeFile(fileText);
    if (input.typed(3)) session.pressDialogButton(user.loadDialog(), Session::DialogButton::Help);

    const int32_t dialog = user.loadDialog();
    const size_t messagesBeforeOk = fuzz.host().messages().size();
    session.pressDialogButton(dialog, Session::DialogButton::Ok);
    if (user.loadDialog() != -1) {
      session.pressDialogButton(dialog, Session::DialogButton::Cancel);
    } else if (readingSet && drawport::importSettings().fullReading != input.fullReading()) {
      fail(std::string("the toggle asked for the ") + (input.fullReading() ? "full" : "classic") +
           " reading, the import took the other");
    } else if (shownFrom(fuzz.host(), messagesBeforeOk, "Error reading DXF File")) {
      bool reported = false;
      for (const char* failure : kRunFailures) reported = reported || shownFrom(fuzz.host(), messagesBeforeOk, failure);
      reported = reported || shownFrom(fuzz.host(), messagesBeforeOk, notADrawing().c_str());
      if (!reported) fail("OK passed its checks, but the import read no file: \"Error reading DXF File\" alone");
    }
  }
  DrawportTestFailAllocation(0);
  fuzz.finish();
  if (!written.empty()) ::unlink(written.c_str());
  return 0;
}
