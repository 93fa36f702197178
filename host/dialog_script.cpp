#include "host/dialog_script.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace orvhost {
namespace {

constexpr const char* kLoaderName = "DXF Loader";
constexpr const char* kLoadDialogTitle = "Load DXF File";
constexpr const char* kImportFailedText = "Error reading DXF File";
constexpr const char* kFileLabel = "File:";
constexpr const char* kZoneLabel = "Attach Imported Items to Zone:";
constexpr const char* kBrowseLabel = "...";
constexpr const char* kSelectZoneLabel = "Select Zone...";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view withoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view trimmed(std::string_view text) {
  text = withoutLeadingBlanks(text);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Labels as the user reads them: the 32-bit build's leading blanks and the
// builds' differing letter case do not matter.
bool sameLabel(std::string_view label, std::string_view wanted) {
  return equalIgnoringCase(withoutLeadingBlanks(label), withoutLeadingBlanks(wanted));
}

bool endsWithWord(std::string_view text, std::string_view word) {
  return text.size() > word.size() && text[text.size() - word.size() - 1] == ' ' &&
         equalIgnoringCase(text.substr(text.size() - word.size()), word);
}

// A whole positive number of decimal digits, or none.
std::optional<int32_t> positiveNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int32_t value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value > 0 ? std::optional<int32_t>(value) : std::nullopt;
}

// A name in a script: a quoted text ("..." with \" and \\) or the bare words
// as they stand. False, with `error` set, for a quote left open or text
// after the closing quote.
bool readName(std::string_view text, std::string& name, std::string& error) {
  text = trimmed(text);
  if (text.empty() || text.front() != '"') {
    name.assign(text);
    return true;
  }
  name.clear();
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      name += text[++i];
    } else if (text[i] == '"') {
      if (i + 1 != text.size()) {
        error = "text after the closing quote";
        return false;
      }
      return true;
    } else {
      name += text[i];
    }
  }
  error = "a quote left open";
  return false;
}

std::string quoted(std::string_view text) { return quoteString(text); }

// --- What the user sees.

bool isOpenDialog(const Control& control) { return control.kind == ControlKind::Dialog && control.open; }

// The label standing nearest to `control` in its dialog: what a user reads
// as the name of a text field or an option menu.
const Control* nearestLabel(const ToolkitModel& toolkit, const Control& control) {
  const Control* nearest = nullptr;
  double best = std::numeric_limits<double>::infinity();
  for (const Control* other : toolkit.childrenOf(control.parent)) {
    if (other->kind != ControlKind::Label) continue;
    const double dx = static_cast<double>(other->x) - control.x, dy = static_cast<double>(other->y) - control.y;
    const double distance = dx * dx + dy * dy;
    if (distance < best) best = distance, nearest = other;
  }
  return nearest;
}

std::string itemText(const std::vector<std::string>& items, int32_t number) {
  if (number < 1 || static_cast<size_t>(number) > items.size()) return "none";
  return quoted(items[static_cast<size_t>(number) - 1]);
}

std::string describeControl(const ToolkitModel& toolkit, const Control& control) {
  std::string line = std::string("  ") + controlKindName(control.kind);
  auto labelledBy = [&] {
    const Control* label = nearestLabel(toolkit, control);
    return label ? " for " + quoted(label->label) : std::string();
  };
  switch (control.kind) {
    case ControlKind::Toggle:
      line += " " + quoted(control.label) + (control.value ? " = on" : " = off");
      break;
    case ControlKind::TextField:
      line += labelledBy() + " = " + quoted(control.text);
      break;
    case ControlKind::OptionMenu:
      line += labelledBy() + " = " + itemText(control.items, control.value) + " (entry " +
              std::to_string(control.value) + " of " + std::to_string(control.items.size()) + ")";
      break;
    case ControlKind::RadioBox: {
      line += " (";
      for (size_t i = 0; i < control.items.size(); ++i) line += (i ? ", " : "") + quoted(control.items[i]);
      line += ") = " + itemText(control.items, control.value);
      break;
    }
    case ControlKind::List:
      line += ", " + std::to_string(control.items.size()) + " rows";
      break;
    case ControlKind::Dialog:
    case ControlKind::Frame:
    case ControlKind::Label:
    case ControlKind::Button:
      line += " " + quoted(control.label);
      break;
  }
  if (!control.sensitive) line += ", insensitive";
  line += "\n";
  if (control.kind == ControlKind::List)
    for (size_t row = 1; row <= control.items.size(); ++row)
      line += "    " + std::to_string(row) + " " + quoted(control.items[row - 1]) +
              (static_cast<size_t>(control.value) == row ? " selected" : "") + "\n";
  return line;
}

std::string describeMessage(const Message& message) {
  return std::string(message.kind == Message::Kind::Error ? "error box " : "message box ") + quoted(message.text) +
         "\n";
}

// --- The player.

class Player {
 public:
  Player(Session& session, std::ostream& out, DialogScriptOptions options)
      : session_(session), out_(out), showEach_(options.showEach) {}

  DialogScriptOutcome play(std::istream& script);

 private:
  using Action = std::string (Player::*)(std::string_view argument);
  struct ActionEntry {
    std::string_view word;
    Action run;
  };
  static const ActionEntry kActions[];

  // Each action returns what kept it from being done; empty when done.
  std::string toggle(std::string_view argument);
  std::string font(std::string_view argument);
  std::string dimension(std::string_view argument);
  std::string typeFile(std::string_view argument) { return typeInto(kFileLabel, argument); }
  std::string typeZone(std::string_view argument) { return typeInto(kZoneLabel, argument); }
  std::string browse(std::string_view argument) { return browseAnswering(std::string(argument)); }
  std::string browseCancel(std::string_view argument);
  std::string ok(std::string_view argument) { return pressDialogButton(argument, Session::DialogButton::Ok); }
  std::string cancel(std::string_view argument) { return pressDialogButton(argument, Session::DialogButton::Cancel); }
  std::string help(std::string_view argument) { return pressDialogButton(argument, Session::DialogButton::Help); }
  std::string selectZone(std::string_view argument);
  std::string press(std::string_view argument);
  std::string pick(std::string_view argument);
  std::string menu(std::string_view argument);
  std::string show(std::string_view argument);
  std::string setShowEach(std::string_view argument);

  std::string typeInto(std::string_view fieldLabel, std::string_view text);
  std::string browseAnswering(std::optional<std::string> answer);
  std::string pressButton(std::string_view label);
  std::string pressDialogButton(std::string_view argument, Session::DialogButton button);

  // The topmost open dialog: the one over which no other dialog is open.
  const Control* topDialog() const;
  // The control of `kind` in the topmost dialog for which `matches` holds,
  // or null with `error` saying why (no dialog open, no such control, out of
  // reach under another dialog, insensitive). `what` names the control for
  // the error.
  template <class Matches>
  const Control* reachable(ControlKind kind, Matches matches, const std::string& what, std::string& error) const;

  void printView();

  ToolkitModel& toolkit() const { return session_.host().toolkit(); }

  Session& session_;
  std::ostream& out_;
  bool showEach_;
  size_t messagesShown_ = 0;
  DialogScriptOutcome outcome_;
};

const Player::ActionEntry Player::kActions[] = {
    {"toggle", &Player::toggle},
    {"font", &Player::font},
    {"dimension", &Player::dimension},
    {"file", &Player::typeFile},
    {"zone", &Player::typeZone},
    {"browse", &Player::browse},
    {"browse-cancel", &Player::browseCancel},
    {"ok", &Player::ok},
    {"cancel", &Player::cancel},
    {"help", &Player::help},
    {"select-zone", &Player::selectZone},
    {"press", &Player::press},
    {"pick", &Player::pick},
    {"menu", &Player::menu},
    {"show", &Player::show},
    {"show-each", &Player::setShowEach},
};

std::string nothingExpected(std::string_view action, std::string_view argument) {
  return trimmed(argument).empty() ? std::string() : std::string(action) + " takes nothing after it";
}

std::optional<bool> onOff(std::string_view word) {
  if (equalIgnoringCase(word, "on")) return true;
  if (equalIgnoringCase(word, "off")) return false;
  return std::nullopt;
}

const Control* Player::topDialog() const {
  const Control* top = nullptr;
  for (const Control& dialog : toolkit().controls()) {
    if (!isOpenDialog(dialog)) continue;
    bool covered = false;
    for (const Control& other : toolkit().controls())
      covered = covered || (isOpenDialog(other) && other.parent == dialog.handle);
    if (!covered) top = &dialog;
  }
  return top;
}

template <class Matches>
const Control* Player::reachable(ControlKind kind, Matches matches, const std::string& what,
                                 std::string& error) const {
  const Control* top = topDialog();
  if (!top) {
    error = "no dialog is open";
    return nullptr;
  }
  for (const Control* control : toolkit().childrenOf(top->handle)) {
    if (control->kind != kind || !matches(*control)) continue;
    if (!control->sensitive) {
      error = "the " + what + " is insensitive";
      return nullptr;
    }
    return control;
  }
  for (const Control& dialog : toolkit().controls()) {
    if (!isOpenDialog(dialog) || dialog.handle == top->handle) continue;
    for (const Control* control : toolkit().childrenOf(dialog.handle))
      if (control->kind == kind && matches(*control)) {
        error = "the " + what + " of " + quoted(dialog.label) + " cannot be reached while " + quoted(top->label) +
                " is open";
        return nullptr;
      }
  }
  error = quoted(top->label) + " has no " + what;
  return nullptr;
}

std::string Player::toggle(std::string_view argument) {
  const std::string_view text = trimmed(argument);
  const size_t split = text.find_last_of(" \t");
  const std::optional<bool> state = split == std::string_view::npos ? std::nullopt : onOff(text.substr(split + 1));
  if (!state) return "toggle needs a label and on or off";
  std::string label, error;
  if (!readName(text.substr(0, split), label, error)) return error;
  const Control* found =
      reachable(ControlKind::Toggle, [&](const Control& c) { return sameLabel(c.label, label); },
                "toggle " + quoted(label), error);
  if (!found) return error;
  session_.setToggle(found->handle, *state);
  return {};
}

std::string Player::font(std::string_view argument) {
  std::string entry, error;
  if (!readName(argument, entry, error)) return error;
  const Control* menu = reachable(ControlKind::OptionMenu, [](const Control&) { return true; }, "option menu", error);
  if (!menu) return error;
  std::optional<int32_t> number = positiveNumber(entry);
  for (size_t i = 0; !number && i < menu->items.size(); ++i)
    if (equalIgnoringCase(menu->items[i], entry)) number = static_cast<int32_t>(i + 1);
  if (!number || static_cast<size_t>(*number) > menu->items.size())
    return "the option menu has no entry " + quoted(entry);
  session_.chooseOption(menu->handle, *number);
  return {};
}

std::string Player::dimension(std::string_view argument) {
  std::string choice, error;
  if (!readName(argument, choice, error)) return error;
  const Control* box = reachable(ControlKind::RadioBox, [](const Control&) { return true; }, "radio box", error);
  if (!box) return error;
  for (size_t i = 0; i < box->items.size(); ++i) {
    if (!equalIgnoringCase(box->items[i], choice) && !endsWithWord(box->items[i], choice)) continue;
    session_.chooseRadio(box->handle, static_cast<int32_t>(i + 1));
    return {};
  }
  return "the radio box has no button " + quoted(choice);
}

std::string Player::typeInto(std::string_view fieldLabel, std::string_view text) {
  std::string error;
  const Control* field = reachable(
      ControlKind::TextField,
      [&](const Control& c) {
        const Control* label = nearestLabel(toolkit(), c);
        return label && sameLabel(label->label, fieldLabel);
      },
      "text field for " + quoted(fieldLabel), error);
  if (!field) return error;
  session_.typeText(field->handle, std::string(text));
  return {};
}

std::string Player::browseCancel(std::string_view argument) {
  if (std::string error = nothingExpected("browse-cancel", argument); !error.empty()) return error;
  return browseAnswering(std::nullopt);
}

// The file selection dialog gives `answer` for this press only.
std::string Player::browseAnswering(std::optional<std::string> answer) {
  HostConfig& config = session_.host().config();
  std::optional<std::string> before = config.fileDialogAnswer;
  config.fileDialogAnswer = std::move(answer);
  std::string error = pressButton(kBrowseLabel);
  session_.host().config().fileDialogAnswer = std::move(before);
  return error;
}

std::string Player::pressButton(std::string_view label) {
  std::string error;
  const Control* button =
      reachable(ControlKind::Button, [&](const Control& c) { return sameLabel(c.label, label); },
                "button " + quoted(label), error);
  if (!button) return error;
  session_.pressButton(button->handle);
  return {};
}

std::string Player::selectZone(std::string_view argument) {
  if (std::string error = nothingExpected("select-zone", argument); !error.empty()) return error;
  return pressButton(kSelectZoneLabel);
}

std::string Player::press(std::string_view argument) {
  std::string label, error;
  if (!readName(argument, label, error)) return error;
  if (label.empty()) return "press needs a button label";
  return pressButton(label);
}

std::string Player::pressDialogButton(std::string_view argument, Session::DialogButton button) {
  static const char* const kWords[] = {"ok", "cancel", "help"};
  if (std::string error = nothingExpected(kWords[static_cast<int>(button)], argument); !error.empty()) return error;
  const Control* top = topDialog();
  if (!top) return "no dialog is open";
  const int32_t dialog = top->handle;
  const bool importsOnOk = button == Session::DialogButton::Ok && top->label == kLoadDialogTitle;
  const size_t messagesBefore = session_.host().messages().size();
  session_.pressDialogButton(dialog, button);
  // The OK action closes the dialog exactly when it went on to the import.
  if (importsOnOk && !toolkit().find(dialog)->open) {
    const std::vector<Message>& messages = session_.host().messages();
    bool failed = false;
    for (size_t i = messagesBefore; i < messages.size(); ++i)
      failed = failed || (messages[i].kind == Message::Kind::Error && messages[i].text == kImportFailedText);
    outcome_.importResult = !failed;
  }
  return {};
}

std::string Player::pick(std::string_view argument) {
  std::string row, error;
  if (!readName(argument, row, error)) return error;
  const Control* list = reachable(ControlKind::List, [](const Control&) { return true; }, "list", error);
  if (!list) return error;
  std::optional<int32_t> number = positiveNumber(row);
  // A row by its text, or by the start of it up to the zone name in
  // parentheses: "Zone #2" picks "Zone #2 (outlet)".
  for (size_t i = 0; !number && i < list->items.size(); ++i)
    if (list->items[i] == row) number = static_cast<int32_t>(i + 1);
  for (size_t i = 0; !number && i < list->items.size(); ++i)
    if (list->items[i].compare(0, row.size() + 2, row + " (") == 0) number = static_cast<int32_t>(i + 1);
  if (!number || static_cast<size_t>(*number) > list->items.size()) return "the list has no row " + quoted(row);
  session_.selectRow(list->handle, *number);
  return {};
}

std::string Player::menu(std::string_view argument) {
  if (std::string error = nothingExpected("menu", argument); !error.empty()) return error;
  if (const Control* top = topDialog())
    return "the import menu cannot be reached while " + quoted(top->label) + " is open";
  if (!session_.chooseImportLoader(kLoaderName)) return std::string("no import loader ") + quoted(kLoaderName);
  return {};
}

std::string Player::show(std::string_view argument) {
  if (std::string error = nothingExpected("show", argument); !error.empty()) return error;
  printView();
  return {};
}

std::string Player::setShowEach(std::string_view argument) {
  const std::optional<bool> state = onOff(trimmed(argument));
  if (!state) return "show-each needs on or off";
  showEach_ = *state;
  return {};
}

void Player::printView() {
  out_ << describeOpenDialogs(toolkit());
  const std::vector<Message>& messages = session_.host().messages();
  for (; messagesShown_ < messages.size(); ++messagesShown_) out_ << describeMessage(messages[messagesShown_]);
}

DialogScriptOutcome Player::play(std::istream& script) {
  if (!session_.chooseImportLoader(kLoaderName)) {
    outcome_.ok = false;
    outcome_.error = std::string("no import loader ") + quoted(kLoaderName);
    return outcome_;
  }
  if (showEach_) {
    out_ << "> menu\n";
    printView();
  }
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    // Scripts written with CRLF line ends read the same.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string_view text = withoutLeadingBlanks(line);
    if (text.empty() || text.front() == '#') continue;
    const size_t wordEnd = std::min(text.find_first_of(" \t"), text.size());
    const std::string_view word = text.substr(0, wordEnd);
    // The argument starts after one blank: "file" takes the rest verbatim.
    const std::string_view argument = text.substr(std::min(wordEnd + 1, text.size()));
    const ActionEntry* entry = nullptr;
    for (const ActionEntry& candidate : kActions)
      if (candidate.word == word) entry = &candidate;
    std::string error = entry ? (this->*entry->run)(argument) : "unknown action " + quoted(word);
    if (!error.empty()) {
      outcome_.ok = false;
      outcome_.error = "line " + std::to_string(number) + ": " + error;
      return outcome_;
    }
    if (showEach_ && entry->run != &Player::show) {
      out_ << "> " << text << "\n";
      printView();
    }
  }
  return outcome_;
}

}  // namespace

std::string describeOpenDialogs(const ToolkitModel& toolkit) {
  std::string view;
  for (const Control& dialog : toolkit.controls()) {
    if (!isOpenDialog(dialog)) continue;
    view += "dialog " + quoted(dialog.label) + "\n";
    for (const Control* control : toolkit.childrenOf(dialog.handle)) view += describeControl(toolkit, *control);
  }
  return view.empty() ? "no dialog open\n" : view;
}

DialogScriptOutcome runDialogScript(Session& session, std::istream& script, std::ostream& out,
                                    DialogScriptOptions options) {
  return Player(session, out, options).play(script);
}

}  // namespace orvhost
