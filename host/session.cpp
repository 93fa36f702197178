#include "host/session.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace orvhost {
namespace {

// The entry points of the two host generations.
constexpr const char* kOlderEntryPoint = "InitOrvAddOn";
constexpr const char* kLaterEntryPoint = "InitOrvAddOn113";

bool copyFile(const std::string& from, int toDescriptor) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    for (ssize_t written = 0; written < got;) {
      const ssize_t put = ::write(toDescriptor, buffer.data() + written, static_cast<size_t>(got - written));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        ok = false;
        break;
      }
      written += put;
    }
    if (!ok) break;
  }
  ::close(in);
  return ok;
}

// Comments (999 groups) may come before a drawing's first section; the
// window covers any sensible amount of them.
constexpr size_t kDrawingStartWindow = 64 * 1024;

std::string_view trimmed(std::string_view line) {
  const size_t begin = line.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  return line.substr(begin, line.find_last_not_of(" \t\r") - begin + 1);
}

// Whether `start` holds a line "0" followed by a line "SECTION" (blanks
// around either allowed), as every section of a DXF drawing opens.
bool opensASection(std::string_view start) {
  std::string_view previous;
  while (!start.empty()) {
    const size_t end = start.find('\n');
    if (end == std::string_view::npos) break;  // a cut last line proves nothing
    const std::string_view line = trimmed(start.substr(0, end));
    if (previous == "0" && line == "SECTION") return true;
    previous = line;
    start.remove_prefix(end + 1);
  }
  return false;
}

std::string temporaryDirectory() {
  const char* directory = std::getenv("TMPDIR");
  return directory && *directory ? directory : "/tmp";
}

}  // namespace

int elfClassOf(const std::string& path) {
  unsigned char header[5] = {};
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  const size_t got = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  if (got != sizeof header || std::memcmp(header, "\x7f" "ELF", 4) != 0) return 0;
  return header[4] == 1 ? 32 : header[4] == 2 ? 64 : 0;
}

std::optional<std::string> drawingFileProblem(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0)
    return errno == ENOENT ? "there is no such file" : std::string("it cannot be read: ") + std::strerror(errno);
  if (S_ISDIR(status.st_mode)) return std::string("it is a folder, not a file");
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::string("it cannot be read: ") + std::strerror(errno);
  std::vector<char> start(kDrawingStartWindow);
  const size_t got = std::fread(start.data(), 1, start.size(), file);
  std::fclose(file);
  if (got == 0) return std::string("the file is empty");
  std::string_view text(start.data(), got);
  if (text.substr(0, 18) == "AutoCAD Binary DXF") return std::nullopt;
  if (text.substr(0, 3) == "\xef\xbb\xbf") text.remove_prefix(3);
  if (!opensASection(text))
    return std::string("it is not a DXF drawing (no line \"0\" followed by \"SECTION\" near its start)");
  return std::nullopt;
}

std::unique_ptr<AddOnLibrary> AddOnLibrary::load(const std::string& path, bool privateCopy, std::string* error) {
  std::string loadPath = path;
  std::string copyPath;
  if (privateCopy) {
    std::string pattern = temporaryDirectory() + "/orvhost-addon-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) {
      if (error) *error = "cannot make a private copy of " + path + ": " + std::strerror(errno);
      return nullptr;
    }
    copyPath = name.data();
    const bool copied = copyFile(path, descriptor);
    ::close(descriptor);
    if (!copied) {
      ::unlink(copyPath.c_str());
      if (error) *error = "cannot read " + path;
      return nullptr;
    }
    loadPath = copyPath;
  }
  void* handle = ::dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  // The mapping keeps the copy alive; its name is no longer needed.
  if (!copyPath.empty()) ::unlink(copyPath.c_str());
  if (!handle) {
    if (error) *error = std::string("cannot load the add-on: ") + ::dlerror();
    return nullptr;
  }
  std::unique_ptr<AddOnLibrary> library(new AddOnLibrary);
  library->handle_ = handle;
  if (void* later = ::dlsym(handle, kLaterEntryPoint)) {
    library->entryPoint_ = reinterpret_cast<void (*)()>(later);
    library->generation_ = Generation::Later;
  } else if (void* older = ::dlsym(handle, kOlderEntryPoint)) {
    library->entryPoint_ = reinterpret_cast<void (*)()>(older);
    library->generation_ = Generation::Older;
  } else {
    if (error) *error = path + " has no entry point (" + kOlderEntryPoint + " or " + kLaterEntryPoint + ")";
    return nullptr;
  }
  return library;
}

AddOnLibrary::~AddOnLibrary() {
  if (handle_) ::dlclose(handle_);
}

void* AddOnLibrary::symbol(const char* name) const { return ::dlsym(handle_, name); }

Session::Session(HostConfig config) { Host::get().reset(std::move(config)); }

Session::~Session() {
  if (library_ && !ended_) end();
}

bool Session::load(const std::string& path, bool privateCopy, std::string* error) {
  library_ = AddOnLibrary::load(path, privateCopy, error);
  if (!library_) return false;
  host().setGeneration(library_->generation());
  return true;
}

void Session::start() {
  if (!library_) return;
  library_->callEntryPoint();
  if (host().lockOnDepth() != 0) host().violation("OrvUtilLockOn left on after the entry point");
  if (host().lockStartDepth() != 0) host().violation("a lock left started after the entry point");
}

void Session::afterCallback(const std::string& what) { host().checkAfterCallback(what); }

MacroOutcome Session::runMacro(const std::string& name, const std::string& text) {
  MacroOutcome outcome;
  const auto& commands = host().macroCommands();
  const auto found = commands.find(name);
  if (found == commands.end() || !found->second) return outcome;
  char* errorText = nullptr;
  outcome.result = found->second(text.c_str(), &errorText) != 0;
  if (errorText) outcome.errorText = host().takeBackString(errorText);
  afterCallback("the macro command \"" + name + "\"");
  return outcome;
}

bool Session::chooseImportLoader(const std::string& name) {
  for (const ImportLoader& loader : host().loaders()) {
    if (loader.name != name || !loader.selectionCallback) continue;
    loader.selectionCallback();
    afterCallback("the import loader's selection");
    return true;
  }
  return false;
}

std::optional<bool> Session::readDataSetWith(const std::string& name) {
  for (const ImportLoader& loader : host().loaders()) {
    if (loader.name != name || !loader.instructionCallback) continue;
    const bool read = loader.instructionCallback(nullptr) != 0;
    afterCallback("the import loader's instructions");
    return read;
  }
  return std::nullopt;
}

void Session::stateChange(int32_t code) {
  // Listeners may register nothing new while being told; copy the list anyway.
  const auto listeners = host().stateChangeListeners();
  for (OrvStateChangeCallback_t listener : listeners) {
    if (!listener) continue;
    listener(code, 0);
    afterCallback("state change " + std::to_string(code));
  }
}

void Session::end() {
  if (ended_) return;
  ended_ = true;
  if (!library_) return;
  stateChange(ORV_STATE_CHANGE_QUIT);
  host().checkAtSessionEnd();
}

int32_t Session::openDialog(const std::string& title) const {
  for (const Control& control : Host::get().toolkit().controls())
    if (control.kind == ControlKind::Dialog && control.open && control.label == title) return control.handle;
  return -1;
}

int32_t Session::findControl(int32_t dialog, ControlKind kind, const std::string& label, int index) const {
  int seen = 0;
  for (const Control* control : Host::get().toolkit().childrenOf(dialog)) {
    if (control->kind != kind) continue;
    if (!label.empty() ? control->label == label : seen++ == index) return control->handle;
  }
  return -1;
}

const Control* Session::usable(int32_t handle, ControlKind kind) const {
  const ToolkitModel& toolkit = Host::get().toolkit();
  const Control* control = toolkit.find(handle);
  if (!control || control->kind != kind) return nullptr;
  const Control* dialog = kind == ControlKind::Dialog ? control : toolkit.find(control->parent);
  if (!dialog || !dialog->open) return nullptr;
  // The topmost open dialog is the only one the user can reach.
  for (const Control& other : toolkit.controls())
    if (other.kind == ControlKind::Dialog && other.open && other.parent == dialog->handle) return nullptr;
  if (!control->sensitive) return nullptr;
  return control;
}

bool Session::setToggle(int32_t toggle, bool on) {
  const Control* control = usable(toggle, ControlKind::Toggle);
  if (!control) return false;
  host().toolkit().find(toggle)->value = on ? 1 : 0;
  if (control->valueCallback) control->valueCallback(on ? 1 : 0);
  afterCallback("toggle \"" + control->label + "\"");
  return true;
}

bool Session::chooseOption(int32_t menu, int32_t entry) {
  const Control* control = usable(menu, ControlKind::OptionMenu);
  if (!control || entry < 1 || static_cast<size_t>(entry) > control->items.size()) return false;
  host().toolkit().find(menu)->value = entry;
  if (control->valueCallback) control->valueCallback(entry);
  afterCallback("option menu entry " + std::to_string(entry));
  return true;
}

bool Session::chooseRadio(int32_t box, int32_t button) {
  const Control* control = usable(box, ControlKind::RadioBox);
  if (!control || button < 1 || static_cast<size_t>(button) > control->items.size()) return false;
  host().toolkit().find(box)->value = button;
  if (control->valueCallback) control->valueCallback(button);
  afterCallback("radio button " + std::to_string(button));
  return true;
}

bool Session::typeText(int32_t field, const std::string& text, bool* taken) {
  const Control* control = usable(field, ControlKind::TextField);
  if (!control) return false;
  host().toolkit().find(field)->text = text;
  const bool answer = control->textCallback ? control->textCallback(text.c_str()) != 0 : true;
  if (taken) *taken = answer;
  afterCallback("text field input");
  return true;
}

bool Session::pressButton(int32_t button) {
  const Control* control = usable(button, ControlKind::Button);
  if (!control) return false;
  const std::string label = control->label;
  if (control->buttonCallback) control->buttonCallback();
  afterCallback("button \"" + label + "\"");
  return true;
}

bool Session::selectRow(int32_t list, int32_t row) {
  const Control* control = usable(list, ControlKind::List);
  if (!control || row < 1 || static_cast<size_t>(row) > control->items.size()) return false;
  host().toolkit().find(list)->value = row;
  if (control->valueCallback) control->valueCallback(row);
  afterCallback("list row " + std::to_string(row));
  return true;
}

bool Session::pressDialogButton(int32_t dialog, DialogButton button) {
  const Control* control = usable(dialog, ControlKind::Dialog);
  if (!control) return false;
  const DialogCallbacks callbacks = control->dialog;
  const std::string title = control->label;
  void (*callback)() = button == DialogButton::Ok       ? callbacks.ok
                       : button == DialogButton::Cancel ? callbacks.cancel
                                                        : callbacks.help;
  if (callback) callback();
  static const char* const kNames[] = {"OK", "Cancel", "Help"};
  afterCallback(std::string(kNames[static_cast<int>(button)]) + " of \"" + title + "\"");
  return true;
}

}  // namespace orvhost
