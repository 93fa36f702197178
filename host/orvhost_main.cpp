// orvhost: the headless stand-in for the Orvex host, on the command line.
// Loads an add-on, calls its entry point as the host does at start-up, runs
// one command, tells the add-on the host quits, and writes what happened.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "host/dialog_script.h"
#include "host/dialog_svg.h"
#include "host/frame_json.h"
#include "host/frame_svg.h"
#include "host/session.h"

namespace {

constexpr int kExitTrue = 0;
constexpr int kExitFalse = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoAddOn = 3;

const char kHelp[] = R"(usage: orvhost [OPTIONS] COMMAND ARGS...

Loads a drawport add-on into a headless stand-in for the Orvex host, calls its
entry point as the host does at start-up, runs COMMAND, then tells the add-on
that the host quits (state change 15) and writes the outputs asked for.
Options come before COMMAND; everything after it belongs to the command, even
words that start with '-'.

Commands:
  import FILE [FLAG...]   import FILE: the macro command "DXF Loader" with the
                          instruction string -F[FILE] FLAG... (a backslash is
                          written before each [ and ] of FILE), e.g.
                            orvhost import plan.dxf -VL -VC -P2
                          -X reads the drawing in full, as today's CAD
                          programs show it (colours, object coordinate
                          systems, bulges, LWPOLYLINE, blocks, curves, MTEXT,
                          HATCH); without it the drawing is read classically:
                            orvhost import plan.dxf -X
  macro NAME TEXT         hand TEXT to the macro command registered as NAME,
                          as the host's macro language would
  dialog SCRIPT           choose "DXF Loader" in the import menu, then play the
                          user actions of the file SCRIPT ('-': standard input);
                          see "Dialog scripts" below. Exit status 0 when an
                          import ran and succeeded, 1 when it failed or none
                          ran, 2 when an action could not be done
  register                only start the add-on and quit

Options:
  --addon PATH            the add-on to load (default: the 64-bit build next to
                          this program, ../addons/64/libdrawport.so). A 32-bit
                          add-on is run by orvhost32 from this program's folder.
  --json PATH             write the frame and the outcome as JSON
  --svg PATH              draw the frame as SVG
  --dialog-svg PATH       draw the dialogs as they stand at the end of a dialog
                          session, in their layout units (also after a script
                          error)
  --show-each             dialog: print each action and then what the user
                          sees (as the action show-each on)
  --journal PATH          write every host call the add-on made, one a line
  --background N          the frame's background colour (default 7, white)
  --plot-type N           the frame's plot type (default 4); 4 fits the view
                          after an import
  --zones LIST            a data set with these zones: names separated by
                          commas, an empty name a zone without one ('-': no
                          zones; default: one zone without a name)
  --no-dataset            the host has no data set
  --record                macro recording is on; recorded commands are shown
  --host-version N        the host's version number (default 740400)
  --stop-after N          the user presses Stop at the Nth percent-done check
  --file-answer NAME      what the file selection dialog answers (default:
                          the user cancels it)
  --fail-string-alloc L   host strings requested under the label L are refused
  --help                  show this text

Dialog scripts: one action a line; blank lines and lines starting with # are
ignored. Controls are found in the topmost open dialog by their label,
ignoring leading blanks and letter case. An action that cannot be done (no
dialog open, a control missing, insensitive or under another dialog, a
malformed line) stops the script: "orvhost: line N: ...", exit status 2.
  toggle LABEL on|off     set a toggle: toggle Lines off, toggle "3D Faces" on,
                          toggle "Hide invisible layers" on
  font ENTRY|N            choose a font menu entry by text or number: font Times
  dimension 2D|3D         choose "Import as 2D" or "Import as 3D"
  file TEXT               type TEXT, the rest of the line as it stands after one
                          blank, into the field labelled "File:"
  zone TEXT               type TEXT into the zone field
  browse PATH             press "..."; the file selection dialog answers PATH
  browse-cancel           press "..."; the user cancels the file selection
  ok | cancel | help      press OK, Cancel or Help of the topmost dialog
  select-zone             press "Select Zone..."
  press LABEL             press the button labelled LABEL
  pick N | pick ROW       select row N (from 1) of the list, or the row reading
                          ROW; pick "Zone #2" also picks the row that reads
                          Zone #2 (NAME)
  menu                    choose "DXF Loader" in the import menu again (no
                          dialog may be open)
  show                    print the open dialogs, one control a line (kind,
                          label, value or text, ", insensitive"), list rows
                          with the selected one marked, and the message and
                          error boxes shown since the last show
  show-each on|off        print each action and then what the user sees
A LABEL, ENTRY or ROW is a quoted text ("..." with \" and \\) or the words as
they stand.

Error boxes and message boxes are shown on standard error as they appear; the
percent-done dialog shows as a progress line when standard error is a
terminal.

A macro command that fails shows the text it hands back on standard error:
  orvhost: DXF Loader: Error reading file

Exit status: 0 when the command returned true, 1 when it returned false or no
handler is registered under NAME, 2 for a usage error, 3 when the add-on
cannot be loaded or has no entry point.
)";

struct Options {
  std::string addon;
  std::string json, svg, dialogSvg, journal;
  bool showEach = false;
  orvhost::HostConfig config;
  std::vector<std::string> command;
};

[[noreturn]] void usageError(const std::string& what) {
  std::cerr << "orvhost: " << what << "\n(orvhost --help tells how to use it)\n";
  std::exit(kExitUsage);
}

long numberArgument(const std::string& option, const char* text) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (!*text || *end || errno == ERANGE) usageError(option + " takes a whole number, not \"" + text + "\"");
  return value;
}

std::vector<std::optional<std::string>> zonesArgument(const std::string& list) {
  std::vector<std::optional<std::string>> zones;
  if (list == "-") return zones;
  std::string name;
  for (size_t i = 0; i <= list.size(); ++i) {
    if (i == list.size() || list[i] == ',') {
      zones.push_back(name.empty() ? std::nullopt : std::optional<std::string>(name));
      name.clear();
    } else {
      name += list[i];
    }
  }
  return zones;
}

std::string ownFolder() {
  std::vector<char> path(4096);
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return ".";
  std::string self(path.data(), static_cast<size_t>(length));
  const size_t slash = self.rfind('/');
  return slash == std::string::npos ? "." : self.substr(0, slash);
}

Options parseOptions(int argc, char** argv) {
  Options options;
  int i = 1;
  auto value = [&](const std::string& option) -> const char* {
    if (i + 1 >= argc) usageError(option + " needs a value");
    return argv[++i];
  };
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.empty() || arg[0] != '-') break;
    if (arg == "--help") {
      std::cout << kHelp;
      std::exit(kExitTrue);
    } else if (arg == "--addon") {
      options.addon = value(arg);
    } else if (arg == "--json") {
      options.json = value(arg);
    } else if (arg == "--svg") {
      options.svg = value(arg);
    } else if (arg == "--dialog-svg") {
      options.dialogSvg = value(arg);
    } else if (arg == "--show-each") {
      options.showEach = true;
    } else if (arg == "--journal") {
      options.journal = value(arg);
    } else if (arg == "--background") {
      options.config.backgroundColor = static_cast<OrvColorIndex_t>(numberArgument(arg, value(arg)));
    } else if (arg == "--plot-type") {
      options.config.plotType = static_cast<int32_t>(numberArgument(arg, value(arg)));
    } else if (arg == "--zones") {
      options.config.zones = zonesArgument(value(arg));
    } else if (arg == "--no-dataset") {
      options.config.datasetAvailable = false;
    } else if (arg == "--record") {
      options.config.macroRecording = true;
    } else if (arg == "--host-version") {
      options.config.version = static_cast<int32_t>(numberArgument(arg, value(arg)));
    } else if (arg == "--stop-after") {
      options.config.stopFromCheck = numberArgument(arg, value(arg));
    } else if (arg == "--file-answer") {
      options.config.fileDialogAnswer = std::string(value(arg));
    } else if (arg == "--fail-string-alloc") {
      options.config.failStringAllocLabel = std::string(value(arg));
    } else {
      usageError("unknown option " + arg);
    }
  }
  if (i >= argc) usageError("no command");
  options.command.assign(argv + i, argv + argc);
  options.config.journal = !options.journal.empty();
  if (options.addon.empty()) options.addon = ownFolder() + "/../addons/64/libdrawport.so";
  return options;
}

// A 32-bit add-on needs a 32-bit host process, and a 64-bit one a 64-bit
// process: hand the whole command line to the host program of that kind.
void runInHostOfItsKind(const Options& options, char** argv) {
  const int addOnClass = orvhost::elfClassOf(options.addon);
  const int ownClass = static_cast<int>(sizeof(void*) * 8);
  if (addOnClass == 0 || addOnClass == ownClass) return;
  const std::string host = ownFolder() + (addOnClass == 32 ? "/orvhost32" : "/orvhost");
  std::vector<char*> arguments;
  arguments.push_back(const_cast<char*>(host.c_str()));
  for (char** arg = argv + 1; *arg; ++arg) arguments.push_back(*arg);
  arguments.push_back(nullptr);
  ::execv(host.c_str(), arguments.data());
  if (errno == ENOEXEC && addOnClass == 32) {
    // This kernel runs no 32-bit programs itself: emulate.
    arguments.insert(arguments.begin(), const_cast<char*>("qemu-i386"));
    ::execvp("qemu-i386", arguments.data());
  }
  std::cerr << "orvhost: cannot run " << host << " for the " << addOnClass << "-bit add-on " << options.addon
            << ": " << std::strerror(errno) << "\n";
  std::exit(kExitNoAddOn);
}

std::string instructionForImport(const std::vector<std::string>& command) {
  std::string text = "-F[";
  for (char c : command[1]) {
    if (c == '[' || c == ']') text += '\\';
    text += c;
  }
  text += ']';
  for (size_t i = 2; i < command.size(); ++i) text += " " + command[i];
  return text;
}

void showMessage(const orvhost::Message& message) {
  std::string text = message.text;
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 3)) text.replace(at, 1, " / ");
  std::cerr << (message.kind == orvhost::Message::Kind::Error ? "error box: " : "message box: ") << text << "\n";
}

template <class Write>
bool writeOutput(const std::string& path, Write write) {
  if (path.empty()) return true;
  std::ofstream out(path, std::ios::binary);
  write(out);
  out.flush();
  if (!out) std::cerr << "orvhost: cannot write " << path << "\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  // Like a desktop application, the host takes the user's locale.
  std::setlocale(LC_ALL, "");
  Options options = parseOptions(argc, argv);
  runInHostOfItsKind(options, argv);

  const std::vector<std::string>& command = options.command;
  const std::string& verb = command[0];
  if (verb == "import" && command.size() < 2) usageError("import needs a FILE");
  if (verb == "macro" && command.size() != 3) usageError("macro needs NAME and TEXT");
  if (verb == "dialog" && command.size() != 2) usageError("dialog needs a SCRIPT");
  if (verb != "import" && verb != "macro" && verb != "dialog" && verb != "register")
    usageError("unknown command " + verb);

  orvhost::Session session(options.config);
  orvhost::Host& host = session.host();
  host.onMessage = showMessage;
  const bool terminal = ::isatty(STDERR_FILENO);
  if (terminal) host.onProgress = [](int percent) { std::cerr << "\rReading DXF file... " << percent << "%" << std::flush; };

  std::string error;
  if (!session.load(options.addon, false, &error)) {
    std::cerr << "orvhost: " << error << "\n";
    return kExitNoAddOn;
  }
  session.start();

  orvhost::SessionOutcome outcome;
  std::ostringstream dialogView;
  if (verb == "import" || verb == "macro") {
    const std::string name = verb == "import" ? "DXF Loader" : command[1];
    const std::string text = verb == "import" ? instructionForImport(command) : command[2];
    const orvhost::MacroOutcome macro = session.runMacro(name, text);
    if (!macro.result) std::cerr << "orvhost: no macro command is registered as \"" << name << "\"\n";
    if (macro.result == false && macro.errorText) std::cerr << "orvhost: " << name << ": " << *macro.errorText << "\n";
    outcome.result = macro.result;
    outcome.errorText = macro.errorText;
  } else if (verb == "dialog") {
    std::ifstream file;
    std::istream* script = &std::cin;
    if (command[1] != "-") {
      file.open(command[1]);
      if (!file) usageError("cannot read the script " + command[1]);
      script = &file;
    }
    orvhost::DialogScriptOptions scriptOptions;
    scriptOptions.showEach = options.showEach;
    const orvhost::DialogScriptOutcome played = orvhost::runDialogScript(session, *script, std::cout, scriptOptions);
    std::cout.flush();
    if (!played.ok) {
      std::cerr << "orvhost: " << played.error << "\n";
      // The dialog as the failed action found it tells the script's writer why.
      writeOutput(options.dialogSvg, [&](std::ostream& out) { orvhost::writeDialogSvg(out, host.toolkit()); });
      session.end();
      return kExitUsage;
    }
    outcome.result = played.importResult;
  }
  if (terminal && host.percentDoneChecks() > 0) std::cerr << "\n";
  bool written =
      writeOutput(options.dialogSvg, [&](std::ostream& out) { orvhost::writeDialogSvg(out, host.toolkit()); });

  session.end();
  for (const orvhost::RecordedMacro& macro : host.macros())
    std::cerr << "recorded: " << macro.addOn << ": " << macro.command << "\n";
  for (const std::string& violation : host.violations()) std::cerr << "violation: " << violation << "\n";

  written =
      writeOutput(options.json, [&](std::ostream& out) { orvhost::writeSessionJson(out, host, outcome); }) && written;
  written = writeOutput(options.svg, [&](std::ostream& out) { orvhost::writeFrameSvg(out, host); }) && written;
  written = writeOutput(options.journal, [&](std::ostream& out) { out << host.journal().render(); }) && written;
  if (verb == "register") return kExitTrue;
  return outcome.result.value_or(false) ? kExitTrue : kExitFalse;
}
