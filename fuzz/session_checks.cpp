#include "fuzz/session_checks.h"

#include <dirent.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "shell/addon.h"

extern "C" void DrawportTestMostWork(int64_t most);

namespace drawport::fuzz {
namespace {

// The labels of the strings the add-on holds from its entry point to the
// host's quit notice.
constexpr const char* kLongLivedLabels[] = {"DXF filename", "DXF last filename", "DXF scratch buffer"};

bool isLongLived(const std::string& label) {
  for (const char* longLived : kLongLivedLabels)
    if (label == longLived) return true;
  return false;
}

void checkHeldStrings(const orvhost::Host& host, std::vector<std::string>& broken) {
  int longLived = 0;
  for (const auto& [address, record] : host.heldStrings()) {
    if (isLongLived(record.label)) {
      ++longLived;
    } else {
      broken.push_back("host string \"" + record.label + "\" of " + std::to_string(record.length) +
                       " characters still held after the input");
    }
  }
  if (longLived > 3) broken.push_back(std::to_string(longLived) + " long-lived host strings held");
}

// DRAWPORT_FUZZ_JOURNAL=1 keeps the host's journal, printed with a finding.
orvhost::HostConfig withJournal(orvhost::HostConfig config) {
  const char* journal = std::getenv("DRAWPORT_FUZZ_JOURNAL");
  config.journal = journal && *journal == '1';
  return config;
}

}  // namespace

// The full reading's budget of work for each input. The add-on's own budget
// lets a few kilobytes draw millions of objects through blocks, which takes a
// second in a release build and far longer instrumented as here: each input
// gets a budget that an instrumented import spends in well under the
// timeout, so that an input still slow is work the budget does not count.
constexpr int64_t kWorkOfAnInput = int64_t{1} << 21;

FuzzSession::FuzzSession(orvhost::HostConfig config) : session_(withJournal(std::move(config))) {
  DrawportTestMostWork(kWorkOfAnInput);
  descriptorsAtStart_ = openDescriptors();
  host().setGeneration(orvhost::Generation::Later);
  startAddOn();
  if (host().lockOnDepth() != 0) host().violation("OrvUtilLockOn left on after the entry point");
  if (host().lockStartDepth() != 0) host().violation("a lock left started after the entry point");
}

void FuzzSession::finish() {
  orvhost::Host& h = host();
  std::vector<std::string> broken(h.violations().begin(), h.violations().end());
  if (h.lockStartDepth() != 0) broken.push_back("lock depth " + std::to_string(h.lockStartDepth()) + " after the input");
  if (h.lockOnDepth() != 0) broken.push_back("OrvUtilLockOn left on after the input");
  if (h.toolkit().openDialogs() != 0) broken.push_back("a dialog left open after the input");
  if (h.percentDoneShown()) broken.push_back("percent-done dialog left shown after the input");
  if (h.drawingSuspended()) broken.push_back("drawing left suspended after the input");
  checkHeldStrings(h, broken);
  const int descriptors = openDescriptors();
  if (descriptors != descriptorsAtStart_)
    broken.push_back(std::to_string(descriptors - descriptorsAtStart_) + " descriptors left open by the input");
  const size_t violationsBeforeQuit = h.violations().size();
  session_.stateChange(ORV_STATE_CHANGE_QUIT);
  h.checkAtSessionEnd();
  for (size_t i = violationsBeforeQuit; i < h.violations().size(); ++i) broken.push_back(h.violations()[i]);
  // What the host kept of this input goes with it, so that the memory of an
  // input is freed within the input and a leak stands out.
  if (broken.empty()) {
    h.reset({});
    return;
  }
  std::string report;
  for (const std::string& line : broken) report += "  " + line + "\n";
  fail("the add-on broke the host's rules:\n" + report);
}

void fail(const std::string& what) {
  orvhost::Host& host = orvhost::Host::get();
  std::string shown;
  for (const orvhost::Message& message : host.messages())
    shown += std::string(message.kind == orvhost::Message::Kind::Error ? "  error: " : "  box: ") + message.text + "\n";
  std::fprintf(stderr, "\n==fuzz finding== %s\nmessages shown:\n%s", what.c_str(), shown.c_str());
  if (host.config().journal) std::fprintf(stderr, "journal:\n%s\n", host.journal().render().c_str());
  std::fflush(stderr);
  std::abort();
}

int openDescriptors() {
  DIR* directory = ::opendir("/proc/self/fd");
  if (!directory) fail("cannot list /proc/self/fd");
  int count = 0;
  while (const dirent* entry = ::readdir(directory))
    if (entry->d_name[0] != '.') ++count;
  ::closedir(directory);
  return count;
}

uint8_t InputBytes::byte() { return used_ < size_ ? data_[used_++] : 0; }

std::string InputBytes::text() {
  const size_t start = used_;
  while (used_ < size_ && data_[used_] != 0) ++used_;
  std::string taken(reinterpret_cast<const char*>(data_ + start), used_ - start);
  if (used_ < size_) ++used_;
  return taken;
}

std::string_view InputBytes::rest() {
  std::string_view taken(reinterpret_cast<const char*>(data_ + used_), size_ - used_);
  used_ = size_;
  return taken;
}

const std::string& scratchFolder() {
  // Never destroyed: the exit handler that removes the folder needs its name.
  static const std::string& folder = *[] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/drawport-fuzz-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) fail("cannot make a scratch folder under " + pattern);
    return new std::string(name.data());
  }();
  static const bool removedAtExit = std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder(), ignored);
  }) == 0;
  (void)removedAtExit;
  return folder;
}

void writeFile(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) fail("cannot write " + path);
}

}  // namespace drawport::fuzz
