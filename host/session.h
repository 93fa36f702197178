// A session of the stand-in host with one add-on: loading it, calling its
// entry point as the host does at start-up, driving its registered callbacks
// (macro commands, the import menu, state changes) and acting as the user in
// its dialogs. Every call into the add-on is followed by the host's checks.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "host/host.h"

namespace orvhost {

// A loaded add-on shared library.
class AddOnLibrary {
 public:
  // Loads the library at `path`. With `privateCopy` a fresh copy of the file
  // is loaded, so that no module state is shared with any earlier load in
  // this process. On failure returns null and says why in `error`.
  static std::unique_ptr<AddOnLibrary> load(const std::string& path, bool privateCopy, std::string* error);
  ~AddOnLibrary();
  AddOnLibrary(const AddOnLibrary&) = delete;
  AddOnLibrary& operator=(const AddOnLibrary&) = delete;

  Generation generation() const { return generation_; }
  void callEntryPoint() const { entryPoint_(); }
  // Another symbol of the library (test-only add-ons export fault switches).
  void* symbol(const char* name) const;

 private:
  AddOnLibrary() = default;
  void* handle_ = nullptr;
  void (*entryPoint_)() = nullptr;
  Generation generation_ = Generation::Unknown;
};

// Reads the ELF class of a file: 32 or 64, or 0 when it is no ELF file.
int elfClassOf(const std::string& path);

// Why the file at `path` holds no drawing to import, in words for the user:
// it is missing or unreadable, a folder, empty, or text without the pair of
// lines "0" and "SECTION" that opens a DXF drawing's first section near its
// start. None when it may be a drawing (a binary DXF file counts as one: the
// add-on says itself what it makes of it). Reads at most the first 64 KiB.
std::optional<std::string> drawingFileProblem(const std::string& path);

struct MacroOutcome {
  std::optional<bool> result;  // none when no command is registered under the name
  std::optional<std::string> errorText;
};

class Session {
 public:
  // Resets the host to a fresh state with `config`.
  explicit Session(HostConfig config = {});
  ~Session();

  Host& host() { return Host::get(); }

  bool load(const std::string& path, bool privateCopy, std::string* error);
  const AddOnLibrary* library() const { return library_.get(); }
  // The host starts the add-on: calls its entry point once.
  void start();

  // The host's macro language addresses the add-on's command `name`.
  MacroOutcome runMacro(const std::string& name, const std::string& text);
  // The user chooses the loader `name` in the import menu; false when none is
  // registered under that name.
  bool chooseImportLoader(const std::string& name);
  // The host asks the loader `name` to read a data set; none when no loader
  // is registered under that name.
  std::optional<bool> readDataSetWith(const std::string& name);
  void stateChange(int32_t code);
  // The host quits: state change 15 to every listener, then the end-of-session
  // checks. Called by the destructor when not called before.
  void end();

  // --- The user in a dialog. Each returns false (and does nothing) when the
  // control is missing, of another kind, insensitive, or not in an open
  // dialog. ---
  // The open dialog titled `title`, or -1.
  int32_t openDialog(const std::string& title) const;
  // The control of `kind` in `dialog` whose label is `label`, or -1; an empty
  // label takes the `index`-th control of that kind (from 0).
  int32_t findControl(int32_t dialog, ControlKind kind, const std::string& label, int index = 0) const;
  bool setToggle(int32_t toggle, bool on);
  bool chooseOption(int32_t menu, int32_t entry);
  bool chooseRadio(int32_t box, int32_t button);
  // Types `text` into a field; `taken` receives the callback's answer.
  bool typeText(int32_t field, const std::string& text, bool* taken = nullptr);
  bool pressButton(int32_t button);
  bool selectRow(int32_t list, int32_t row);
  enum class DialogButton { Ok, Cancel, Help };
  bool pressDialogButton(int32_t dialog, DialogButton button);

 private:
  const Control* usable(int32_t handle, ControlKind kind) const;
  void afterCallback(const std::string& what);

  std::unique_ptr<AddOnLibrary> library_;
  bool ended_ = false;
};

}  // namespace orvhost
