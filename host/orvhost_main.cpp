// orvhost: the headless stand-in for the Orvex host, on the command line.
// Loads an add-on, calls its entry point as the host does at start-up, runs
// one command, tells the add-on the host quits, and writes what happened.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
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
constexpr int kExitNotWritten = 4;

const char kHelp[] = R"(usage: orvhost [OPTIONS] COMMAND ARGS...

Loads a drawport add-on into a headless stand-in for the Orvex host, calls its
entry point as the host does at start-up, runs COMMAND, then tells the add-on
that the host quits (state change 15) and writes the outputs asked for.
Options come before COMMAND; everything after it belongs to the command, even
words that start with '-'. An option of orvhost's among the command's words
is a usage error that shows where it goes.

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
  --quiet                 import: leave out the line that tells what the import
                          drew
  --version               show the add-on's version and the host's, and quit
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
An import that cannot read FILE says why after the add-on's own messages:
  orvhost: cannot import plan.dxf: there is no such file
A successful import tells, on one line, what it drew, what it left out and
how long it took (--quiet leaves the line out):
  orvhost: imported plan.dxf in 0.04 s: 12 lines, 3 polylines, 1 filled,
  2 circles, 0 arcs, 4 texts

Outputs are written whole or not at all: each into a new file beside it that
replaces it once complete.

Exit status: 0 when the command returned true, 1 when it returned false, no
handler is registered under NAME, or FILE is missing, a folder, empty or no
DXF drawing; 2 for a usage error, 3 when the add-on cannot be loaded or has no
entry point, 4 when an output cannot be written.
)";

struct Options {
  std::string addon;
  std::string json, svg, dialogSvg, journal;
  bool showEach = false;
  bool quiet = false;
  bool version = false;
  orvhost::HostConfig config;
  std::vector<std::string> leading;  // the words before the command, as given
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

// --- The options: each with whether a value follows it and what it sets.
struct OptionSpec {
  const char* name;
  bool takesValue;
  void (*apply)(Options& options, const std::string& name, const char* value);
};

const OptionSpec kOptions[] = {
    {"--addon", true, [](Options& o, const std::string&, const char* v) { o.addon = v; }},
    {"--json", true, [](Options& o, const std::string&, const char* v) { o.json = v; }},
    {"--svg", true, [](Options& o, const std::string&, const char* v) { o.svg = v; }},
    {"--dialog-svg", true, [](Options& o, const std::string&, const char* v) { o.dialogSvg = v; }},
    {"--show-each", false, [](Options& o, const std::string&, const char*) { o.showEach = true; }},
    {"--journal", true, [](Options& o, const std::string&, const char* v) { o.journal = v; }},
    {"--background", true,
     [](Options& o, const std::string& n, const char* v) {
       o.config.backgroundColor = static_cast<OrvColorIndex_t>(numberArgument(n, v));
     }},
    {"--plot-type", true,
     [](Options& o, const std::string& n, const char* v) {
       o.config.plotType = static_cast<int32_t>(numberArgument(n, v));
     }},
    {"--zones", true, [](Options& o, const std::string&, const char* v) { o.config.zones = zonesArgument(v); }},
    {"--no-dataset", false, [](Options& o, const std::string&, const char*) { o.config.datasetAvailable = false; }},
    {"--record", false, [](Options& o, const std::string&, const char*) { o.config.macroRecording = true; }},
    {"--host-version", true,
     [](Options& o, const std::string& n, const char* v) {
       o.config.version = static_cast<int32_t>(numberArgument(n, v));
     }},
    {"--stop-after", true,
     [](Options& o, const std::string& n, const char* v) { o.config.stopFromCheck = numberArgument(n, v); }},
    {"--file-answer", true,
     [](Options& o, const std::string&, const char* v) { o.config.fileDialogAnswer = std::string(v); }},
    {"--fail-string-alloc", true,
     [](Options& o, const std::string&, const char* v) { o.config.failStringAllocLabel = std::string(v); }},
    {"--quiet", false, [](Options& o, const std::string&, const char*) { o.quiet = true; }},
    {"--version", false, [](Options& o, const std::string&, const char*) { o.version = true; }},
    {"--help", false,
     [](Options&, const std::string&, const char*) {
       std::cout << kHelp;
       std::exit(kExitTrue);
     }},
};

const OptionSpec* findOption(const std::string& word) {
  for (const OptionSpec& option : kOptions)
    if (word == option.name) return &option;
  return nullptr;
}

// --- The commands: how many words follow each, and how many of them are
// taken as they stand whatever they read (a macro's TEXT may be "--help").
struct CommandSpec {
  const char* name;
  size_t fewestWords, mostWords;
  size_t verbatimWords;
  const char* wrongCount;
};

constexpr size_t kAnyNumber = static_cast<size_t>(-1);

const CommandSpec kCommands[] = {
    {"import", 1, kAnyNumber, 0, "import needs a FILE"},
    {"macro", 2, 2, 2, "macro needs NAME and TEXT"},
    {"dialog", 1, 1, 0, "dialog needs a SCRIPT"},
    {"register", 0, 0, 0, "register takes nothing after it"},
};

// A word as a shell reads it back, quoted when it has to be.
std::string shellWord(const std::string& word) {
  static const char kPlain[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./:=,+@%";
  if (!word.empty() && word.find_first_not_of(kPlain) == std::string::npos) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// An option of orvhost among the command's words is a slip that would reach
// the add-on as a flag it does not know: names the first one, with the
// command line that does what was meant.
void refuseOptionsAfterCommand(const Options& options, const CommandSpec& command) {
  const std::vector<std::string>& words = options.command;
  std::vector<std::string> moved, kept;
  for (size_t i = 0; i < words.size(); ++i) {
    const OptionSpec* option = i > command.verbatimWords ? findOption(words[i]) : nullptr;
    if (!option) {
      kept.push_back(words[i]);
      continue;
    }
    moved.push_back(words[i]);
    if (option->takesValue && i + 1 < words.size()) moved.push_back(words[++i]);
  }
  if (moved.empty()) return;
  std::string fixed = "orvhost";
  for (const std::vector<std::string>& part : {options.leading, moved, kept})
    for (const std::string& word : part) fixed += " " + shellWord(word);
  usageError("the option " + moved[0] + " stands after the command " + words[0] +
             ": options go before the command, as in\n  " + fixed);
}

Options parseOptions(int argc, char** argv) {
  Options options;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.empty() || word[0] != '-') break;
    const OptionSpec* option = findOption(word);
    if (!option) usageError("unknown option " + word);
    const char* value = nullptr;
    if (option->takesValue) {
      if (i + 1 >= argc) usageError(word + " needs a value");
      value = argv[++i];
    }
    option->apply(options, word, value);
  }
  options.leading.assign(argv + 1, argv + i);
  options.command.assign(argv + i, argv + argc);
  if (options.command.empty() && !options.version) usageError("no command");
  options.config.journal = !options.journal.empty();
  if (options.addon.empty()) options.addon = ownFolder() + "/../addons/64/libdrawport.so";
  return options;
}

// The command's entry, once its words are right.
void checkCommand(const Options& options) {
  if (options.command.empty()) return;
  const std::string& verb = options.command[0];
  for (const CommandSpec& command : kCommands) {
    if (verb != command.name) continue;
    refuseOptionsAfterCommand(options, command);
    const size_t words = options.command.size() - 1;
    if (words < command.fewestWords || words > command.mostWords) usageError(command.wrongCount);
    return;
  }
  usageError("unknown command " + verb);
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

// Writes an output whole or not at all: into a new file beside it that
// replaces it once complete, so that a failure leaves nothing half-written.
// What is no plain file (a device such as /dev/stdout, a pipe, a link) is
// written as it stands.
template <class Write>
bool writeOutput(const std::string& path, Write write) {
  if (path.empty()) return true;
  struct stat existing;
  const bool inPlace = ::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode);
  const std::string written = inPlace ? path : path + ".orvhost-" + std::to_string(::getpid());
  errno = 0;
  std::ofstream out(written, std::ios::binary);
  if (out) write(out);
  out.close();
  int error = errno;
  bool ok = !out.fail();
  if (ok && !inPlace && std::rename(written.c_str(), path.c_str()) != 0) ok = false, error = errno;
  if (ok) return true;
  if (!inPlace) std::remove(written.c_str());
  std::cerr << "orvhost: cannot write " << path << (error ? std::string(": ") + std::strerror(error) : "") << "\n";
  return false;
}

// --- What an import did, on one line.

// The host's objects as a reader counts them: filled polylines apart.
std::string objectCounts(const orvhost::Frame& frame) {
  static const char* const kNames[][2] = {{"line", "lines"},     {"polyline", "polylines"}, {"filled", "filled"},
                                          {"circle", "circles"}, {"arc", "arcs"},           {"text", "texts"}};
  auto slotOf = [](const orvhost::FrameObject& object) -> size_t {
    switch (object.kind) {
      case orvhost::ObjectKind::Line: return 0;
      case orvhost::ObjectKind::Polyline: return object.filled ? 2 : 1;
      case orvhost::ObjectKind::Circle: return 3;
      case orvhost::ObjectKind::Arc: return 4;
      case orvhost::ObjectKind::Text: return 5;
    }
    return 0;
  };
  uint64_t counts[std::size(kNames)] = {};
  for (const orvhost::FrameObject& object : frame.objects()) ++counts[slotOf(object)];
  std::string text;
  for (size_t i = 0; i < std::size(kNames); ++i)
    text += (i ? ", " : "") + std::to_string(counts[i]) + " " + kNames[i][counts[i] == 1 ? 0 : 1];
  return text;
}

// The boxes shown from message `from` on, each as one run of text without the
// add-on's title line: what was left out and why.
std::string boxesShown(const std::vector<orvhost::Message>& messages, size_t from, const std::string& title) {
  std::string text;
  for (size_t m = from; m < messages.size(); ++m) {
    std::istringstream lines(messages[m].text);
    std::string line, box;
    for (bool first = true; std::getline(lines, line); first = false) {
      const size_t begin = line.find_first_not_of(" \t");
      if (begin == std::string::npos || (first && line.compare(0, title.size(), title) == 0)) continue;
      line = line.substr(begin);
      if (!box.empty()) box += box.back() == ':' ? " " : "; ";
      box += line;
    }
    if (!box.empty()) text += "; " + box;
  }
  return text;
}

std::string importSummary(const orvhost::Host& host, const std::string& file, double seconds, size_t firstMessage) {
  char time[32];
  std::snprintf(time, sizeof time, "%.2f", seconds);
  return "orvhost: imported " + file + " in " + time + " s: " + objectCounts(host.frame()) +
         boxesShown(host.messages(), firstMessage, "DXF Loader");
}

int showVersions(const Options& options) {
  std::cout << "orvhost: the stand-in for Orvex version " << options.config.version << ", " << sizeof(void*) * 8
            << "-bit\n";
  orvhost::Session session(options.config);
  orvhost::Host& host = session.host();
  host.onMessage = showMessage;
  std::string error;
  if (!session.load(options.addon, false, &error)) {
    std::cerr << "orvhost: " << error << "\n";
    return kExitNoAddOn;
  }
  session.start();
  for (const orvhost::Registration& addOn : host.registrations())
    std::cout << addOn.name << " " << addOn.version << ", for the " << orvhost::generationName(host.generation())
              << " generation: " << options.addon << "\n";
  if (host.registrations().empty()) std::cerr << "orvhost: " << options.addon << " registers no add-on\n";
  return host.registrations().empty() ? kExitFalse : kExitTrue;
}

}  // namespace

int main(int argc, char** argv) {
  // Like a desktop application, the host takes the user's locale.
  std::setlocale(LC_ALL, "");
  Options options = parseOptions(argc, argv);
  checkCommand(options);
  runInHostOfItsKind(options, argv);
  if (options.version) return showVersions(options);

  const std::vector<std::string>& command = options.command;
  const std::string& verb = command[0];
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
  std::optional<std::string> fileProblem;
  std::string summary;
  if (verb == "import" || verb == "macro") {
    const std::string name = verb == "import" ? "DXF Loader" : command[1];
    const std::string text = verb == "import" ? instructionForImport(command) : command[2];
    const size_t firstMessage = host.messages().size();
    const auto started = std::chrono::steady_clock::now();
    const orvhost::MacroOutcome macro = session.runMacro(name, text);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    if (terminal && host.percentDoneChecks() > 0) std::cerr << "\n";
    if (!macro.result) std::cerr << "orvhost: no macro command is registered as \"" << name << "\"\n";
    if (macro.result == false && macro.errorText) std::cerr << "orvhost: " << name << ": " << *macro.errorText << "\n";
    outcome.result = macro.result;
    outcome.errorText = macro.errorText;
    // The add-on has its say first, so that every output shows what it did
    // with the file; then the host tells plainly why there was nothing to read.
    if (verb == "import") fileProblem = orvhost::drawingFileProblem(command[1]);
    if (fileProblem) std::cerr << "orvhost: cannot import " << command[1] << ": " << *fileProblem << "\n";
    if (verb == "import" && !fileProblem && macro.result == true && !options.quiet)
      summary = importSummary(host, command[1], took.count(), firstMessage);
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
    if (terminal && host.percentDoneChecks() > 0) std::cerr << "\n";
  }
  bool written =
      writeOutput(options.dialogSvg, [&](std::ostream& out) { orvhost::writeDialogSvg(out, host.toolkit()); });

  session.end();
  for (const orvhost::RecordedMacro& macro : host.macros())
    std::cerr << "recorded: " << macro.addOn << ": " << macro.command << "\n";
  for (const std::string& violation : host.violations()) std::cerr << "violation: " << violation << "\n";
  if (!summary.empty()) std::cerr << summary << "\n";

  written =
      writeOutput(options.json, [&](std::ostream& out) { orvhost::writeSessionJson(out, host, outcome); }) && written;
  written = writeOutput(options.svg, [&](std::ostream& out) { orvhost::writeFrameSvg(out, host); }) && written;
  written = writeOutput(options.journal, [&](std::ostream& out) { out << host.journal().render(); }) && written;
  if (!written) return kExitNotWritten;
  if (verb == "register") return kExitTrue;
  return outcome.result.value_or(false) && !fileProblem ? kExitTrue : kExitFalse;
}
