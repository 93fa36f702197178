// What every fuzz target shares: a fresh stand-in host session per input
// with the add-on started in it, the host's rules checked after the input,
// the input's bytes taken apart, and a folder of files for the run.
//
// The add-on is linked into the target, so its module state (the import
// settings, the layer colour counter) goes on from input to input as it does
// in one long host session; the host itself starts afresh for each input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/host.h"
#include "host/session.h"

namespace drawport::fuzz {

// Starts a fresh host with `config` and calls the add-on's entry point, as the
// host does at start-up; then counts the process's open descriptors. The
// session ends with finish().
class FuzzSession {
 public:
  explicit FuzzSession(orvhost::HostConfig config);
  FuzzSession(const FuzzSession&) = delete;
  FuzzSession& operator=(const FuzzSession&) = delete;

  orvhost::Session& session() { return session_; }
  orvhost::Host& host() { return orvhost::Host::get(); }

  // The checks after the input, then the host's quit notice and the checks
  // at the end of a session. Any broken rule aborts with the list: locks
  // balanced, no dialog or percent-done dialog left open, no host string held
  // beyond the add-on's three long-lived ones (and none after the quit
  // notice), no descriptor left open, no id the host did not give.
  void finish();

 private:
  orvhost::Session session_;
  int descriptorsAtStart_ = 0;
};

// Aborts the input as a finding, naming what went wrong.
[[noreturn]] void fail(const std::string& what);

// The number of open descriptors of this process.
int openDescriptors();

// Takes an input apart: fixed bytes first, then texts, then the rest.
class InputBytes {
 public:
  InputBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  // The next byte, 0 once the input is used up.
  uint8_t byte();
  // The text up to the next NUL byte (or the end), the NUL passed over.
  std::string text();
  // Everything not yet taken.
  std::string_view rest();

 private:
  const uint8_t* data_;
  size_t size_;
  size_t used_ = 0;
};

// A folder of files for the whole fuzzing run, removed at exit.
const std::string& scratchFolder();
// Writes `content` to `path`; aborts when it cannot.
void writeFile(const std::string& path, std::string_view content);

}  // namespace drawport::fuzz
