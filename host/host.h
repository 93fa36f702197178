// The headless stand-in for the Orvex host.
//
// One Host per process (the host interface is a set of C functions, so its
// state is global). It keeps the frame (every geometry and text an add-on
// created, with its attributes), the messages shown, the macro commands
// recorded, the dialogs and controls of both toolkits, an optional journal of
// every host call in order, and the violations of the host's rules that the
// add-on committed. Its configuration stands for the state of a real host: its
// version, data set, frame, macro recording, and the user's answers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "host/frame.h"
#include "host/journal.h"
#include "host/toolkit_model.h"
#include "orv/liborv.h"

namespace orvhost {

// The host generation an add-on was written for, told by its entry point.
enum class Generation {
  Unknown,
  Older,  // InitOrvAddOn: 32-bit hosts, Panekit dialogs, 16-bit zone counts
  Later,  // InitOrvAddOn113: 64-bit hosts, OrvGUI dialogs, 32-bit zone counts
};

const char* generationName(Generation generation);

struct HostConfig {
  int32_t version = 740400;
  bool datasetAvailable = true;
  bool datasetInfoFails = false;  // OrvUtilDataSetGetInfo answers false
  // The data set's zones; nullopt is a zone without a name.
  std::vector<std::optional<std::string>> zones{std::nullopt};
  OrvColorIndex_t backgroundColor = 7;
  int32_t plotType = 4;
  bool macroRecording = false;
  // The percent-done dialog answers "stop" from this check on (1-based,
  // counted over the session); 0 never.
  int64_t stopFromCheck = 0;
  // The file selection dialog's answer; nullopt means the user cancels.
  std::optional<std::string> fileDialogAnswer;
  // OrvUtilStringAlloc fails for this label, and at this call (1-based).
  std::optional<std::string> failStringAllocLabel;
  int64_t failStringAllocCall = 0;
  // Keep a journal of every call (tests and --journal); off, the host formats
  // nothing on the import's hot path.
  bool journal = false;
  // Called at the start of every host operation with its name, for faults
  // that must strike between two calls (a file removed, say).
  std::function<void(std::string_view operation)> onCall;
};

struct Message {
  enum class Kind { Error, Box };
  Kind kind;
  std::string text;
};

struct RecordedMacro {
  std::string operation;  // the recording call used
  std::string addOn;
  std::string command;
};

struct Registration {
  OrvAddOnID_t id = nullptr;
  std::string name, version, author;
};

struct ImportLoader {
  std::string name;
  OrvDataSetLoaderCallback_t instructionCallback = nullptr;
  OrvDataSetLoaderSelectedCallback_t selectionCallback = nullptr;
  OrvDataSetLoaderOverrideCallback_t overrideCallback = nullptr;
};

// A host string handed to the add-on, by request or as an answer.
struct HostString {
  std::string label;
  int32_t length = 0;
};

class Host {
 public:
  static Host& get();

  // Back to a fresh host with this configuration: empty frame, journal,
  // messages, registrations, dialogs and string records.
  void reset(HostConfig config);

  HostConfig& config() { return config_; }
  const HostConfig& config() const { return config_; }
  Generation generation() const { return generation_; }
  void setGeneration(Generation generation) { generation_ = generation; }

  Frame& frame() { return frame_; }
  const Frame& frame() const { return frame_; }
  Journal& journal() { return journal_; }
  ToolkitModel& toolkit() { return toolkit_; }

  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<RecordedMacro>& macros() const { return macros_; }
  const std::vector<std::string>& violations() const { return violations_; }
  int viewFits() const { return viewFits_; }
  const std::vector<Registration>& registrations() const { return registrations_; }
  const std::vector<ImportLoader>& loaders() const { return loaders_; }
  const std::map<std::string, OrvMacroCommandCallback_t>& macroCommands() const { return macroCommands_; }
  const std::vector<OrvStateChangeCallback_t>& stateChangeListeners() const { return stateListeners_; }
  const std::unordered_map<const void*, HostString>& heldStrings() const { return strings_; }
  int lockStartDepth() const { return lockDepth_; }
  int lockOnDepth() const { return lockOnDepth_; }
  bool percentDoneShown() const { return percentDoneShown_; }
  bool drawingSuspended() const { return drawingSuspended_; }
  int64_t percentDoneChecks() const { return percentChecks_; }

  // Where messages go as they appear (orvhost prints them); may be empty.
  std::function<void(const Message&)> onMessage;
  // Progress as the percent-done dialog would show it; may be empty.
  std::function<void(int percent)> onProgress;

  void violation(std::string text);

  // --- The host's side of the C interface (called by host/liborv.cpp) ---
  void enter(std::string_view operation) {
    // The host's operations are for its own thread alone.
    if (std::this_thread::get_id() != thread_)
      violation(std::string(operation) + " called from a thread other than the host's");
    if (config_.onCall) config_.onCall(operation);
  }
  OrvAddOnID_t registerAddOn(int32_t interfaceNumber, const char* name, const char* version, const char* author);
  void addLoader(ImportLoader loader) { loaders_.push_back(std::move(loader)); }
  void addMacroCommand(const char* name, OrvMacroCommandCallback_t callback);
  void addStateChangeListener(OrvStateChangeCallback_t callback) { stateListeners_.push_back(callback); }

  void lockOn() { ++lockOnDepth_; }
  void lockOff();
  void lockStart(OrvAddOnID_t addOn);
  void lockFinish(OrvAddOnID_t addOn);

  void showMessage(Message::Kind kind, const char* text);

  char* allocateString(int32_t length, const char* label);
  // A copy of `text` handed to the add-on, which must release it.
  char* handOutString(std::string_view text, const char* label);
  void releaseString(char** string);
  // The host takes back a string the add-on handed to it (the macro error text).
  std::string takeBackString(char* string);

  bool launchPercentDone(const char* label);
  bool checkPercentDone(int32_t percent);
  void dropPercentDone();
  void drawGraphics(bool on);
  void viewFit() { ++viewFits_; }
  void recordMacro(const char* operation, const char* addOn, const char* command);

  // Checks made at the end of each call into the add-on and at the end of a
  // session.
  void checkAfterCallback(std::string_view callback);
  void checkAtSessionEnd();

 private:
  HostConfig config_;
  Generation generation_ = Generation::Unknown;
  Frame frame_;
  Journal journal_;
  ToolkitModel toolkit_;
  std::vector<Message> messages_;
  std::vector<RecordedMacro> macros_;
  std::vector<std::string> violations_;
  std::thread::id thread_ = std::this_thread::get_id();  // the thread that reset it last
  std::vector<Registration> registrations_;
  std::vector<ImportLoader> loaders_;
  std::map<std::string, OrvMacroCommandCallback_t> macroCommands_;
  std::vector<OrvStateChangeCallback_t> stateListeners_;
  std::unordered_map<const void*, HostString> strings_;
  int64_t stringAllocCalls_ = 0;
  int lockOnDepth_ = 0;
  int lockDepth_ = 0;
  bool percentDoneShown_ = false;
  bool drawingSuspended_ = false;
  int64_t percentChecks_ = 0;
  int viewFits_ = 0;
};

}  // namespace orvhost
