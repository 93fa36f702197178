#include "host/host.h"

#include <cstdlib>
#include <cstring>

namespace orvhost {

const char* generationName(Generation generation) {
  switch (generation) {
    case Generation::Older: return "older (32-bit)";
    case Generation::Later: return "later (64-bit)";
    case Generation::Unknown: break;
  }
  return "unknown";
}

Host& Host::get() {
  // Never destroyed: a host quits without tearing its frame down piece by
  // piece.
  static Host* host = new Host;
  return *host;
}

void Host::reset(HostConfig config) {
  // Strings still held belong to an add-on that is gone; free them so that a
  // leak checker blames the add-on's run, not the host.
  for (auto& [address, record] : strings_) std::free(const_cast<void*>(address));
  strings_.clear();
  config_ = std::move(config);
  thread_ = std::this_thread::get_id();
  generation_ = Generation::Unknown;
  frame_.clear();
  journal_.clear();
  toolkit_.clear();
  messages_.clear();
  macros_.clear();
  violations_.clear();
  registrations_.clear();
  loaders_.clear();
  macroCommands_.clear();
  stateListeners_.clear();
  stringAllocCalls_ = 0;
  lockOnDepth_ = 0;
  lockDepth_ = 0;
  percentDoneShown_ = false;
  drawingSuspended_ = false;
  percentChecks_ = 0;
  viewFits_ = 0;
}

void Host::violation(std::string text) { violations_.push_back(std::move(text)); }

OrvAddOnID_t Host::registerAddOn(int32_t interfaceNumber, const char* name, const char* version,
                                 const char* author) {
  if (interfaceNumber != ORV_ADDON_INTERFACE_NUMBER)
    violation("add-on registered with interface number " + std::to_string(interfaceNumber));
  Registration registration;
  // Add-on ids are opaque to add-ons; the host numbers them from 1.
  registration.id = reinterpret_cast<OrvAddOnID_t>(static_cast<uintptr_t>(registrations_.size() + 1));
  registration.name = name ? name : "";
  registration.version = version ? version : "";
  registration.author = author ? author : "";
  registrations_.push_back(registration);
  return registration.id;
}

void Host::addMacroCommand(const char* name, OrvMacroCommandCallback_t callback) {
  macroCommands_[name ? name : ""] = callback;
}

void Host::lockOff() {
  if (lockOnDepth_ == 0) {
    violation("OrvUtilLockOff without OrvUtilLockOn");
    return;
  }
  --lockOnDepth_;
}

void Host::lockStart(OrvAddOnID_t addOn) {
  const auto number = reinterpret_cast<uintptr_t>(addOn);
  if (number < 1 || number > registrations_.size())
    violation("OrvUtilLockStart with an add-on id the host did not give");
  ++lockDepth_;
}

void Host::lockFinish(OrvAddOnID_t addOn) {
  const auto number = reinterpret_cast<uintptr_t>(addOn);
  if (number < 1 || number > registrations_.size())
    violation("OrvUtilLockFinish with an add-on id the host did not give");
  if (lockDepth_ == 0) {
    violation("OrvUtilLockFinish without OrvUtilLockStart");
    return;
  }
  --lockDepth_;
}

void Host::showMessage(Message::Kind kind, const char* text) {
  if (!text) {
    violation(std::string(kind == Message::Kind::Error ? "OrvUtilDialogErrMsg" : "OrvUtilDialogMessageBox") +
              " with a null text");
    text = "";
  }
  messages_.push_back({kind, text});
  if (onMessage) onMessage(messages_.back());
}

char* Host::allocateString(int32_t length, const char* label) {
  ++stringAllocCalls_;
  const std::string name = label ? label : "";
  const bool failLabel = config_.failStringAllocLabel && *config_.failStringAllocLabel == name;
  const bool failCall = config_.failStringAllocCall != 0 && config_.failStringAllocCall == stringAllocCalls_;
  if (failLabel || failCall || length < 1) return nullptr;
  // Exactly `length` bytes, so that a write past them is caught by the
  // memory checkers.
  char* string = static_cast<char*>(std::malloc(static_cast<std::size_t>(length)));
  if (!string) return nullptr;
  strings_[string] = {name, length};
  return string;
}

char* Host::handOutString(std::string_view text, const char* label) {
  const std::size_t size = text.size() + 1;
  char* string = static_cast<char*>(std::malloc(size));
  if (!string) return nullptr;
  std::memcpy(string, text.data(), text.size());
  string[text.size()] = '\0';
  strings_[string] = {label, static_cast<int32_t>(size)};
  return string;
}

void Host::releaseString(char** string) {
  if (!string) {
    violation("OrvUtilStringDealloc with a null address");
    return;
  }
  if (!*string) return;  // releasing a null string is allowed and does nothing
  auto found = strings_.find(*string);
  if (found == strings_.end()) {
    violation("OrvUtilStringDealloc of a string the host did not give, or gave and took back");
    *string = nullptr;
    return;
  }
  strings_.erase(found);
  std::free(*string);
  *string = nullptr;
}

std::string Host::takeBackString(char* string) {
  if (!string) return {};
  auto found = strings_.find(string);
  if (found == strings_.end()) {
    violation("an add-on handed the host a string the host did not give");
    return {};
  }
  std::string text(string, strnlen(string, static_cast<std::size_t>(found->second.length)));
  strings_.erase(found);
  std::free(string);
  return text;
}

bool Host::launchPercentDone(const char* label) {
  (void)label;
  if (percentDoneShown_) violation("percent-done dialog launched while it was shown");
  percentDoneShown_ = true;
  return true;
}

bool Host::checkPercentDone(int32_t percent) {
  if (!percentDoneShown_) violation("percent-done dialog checked while it was not shown");
  if (percent < 0 || percent > 100) violation("percent-done figure " + std::to_string(percent) + " out of 0..100");
  ++percentChecks_;
  if (onProgress) onProgress(percent);
  return !(config_.stopFromCheck > 0 && percentChecks_ >= config_.stopFromCheck);
}

void Host::dropPercentDone() {
  if (!percentDoneShown_) violation("percent-done dialog dropped while it was not shown");
  percentDoneShown_ = false;
}

void Host::drawGraphics(bool on) {
  if (on == !drawingSuspended_)
    violation(on ? "drawing resumed while it was not suspended" : "drawing suspended twice");
  drawingSuspended_ = !on;
}

void Host::recordMacro(const char* operation, const char* addOn, const char* command) {
  if (!config_.macroRecording) violation(std::string(operation) + " while macro recording is off");
  macros_.push_back({operation, addOn ? addOn : "", command ? command : ""});
}

void Host::checkAfterCallback(std::string_view callback) {
  const std::string where = " after " + std::string(callback);
  // A dialog keeps the lock its opener started for as long as it is open.
  const int expectedDepth = toolkit_.openDialogs();
  if (lockDepth_ != expectedDepth)
    violation("lock depth " + std::to_string(lockDepth_) + " with " + std::to_string(expectedDepth) +
              " dialogs open" + where);
  if (lockOnDepth_ != 0) violation("OrvUtilLockOn left on" + where);
  if (percentDoneShown_) violation("percent-done dialog left shown" + where);
  if (drawingSuspended_) violation("drawing left suspended" + where);
}

void Host::checkAtSessionEnd() {
  // An add-on that registered a state-change listener was told to release
  // its strings; one whose registration failed never can be.
  if (stateListeners_.empty()) return;
  for (const auto& [address, record] : strings_)
    violation("host string \"" + record.label + "\" of " + std::to_string(record.length) +
              " characters never released");
}

}  // namespace orvhost
