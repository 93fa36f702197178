// End-to-end tests: the real built add-on, freshly loaded into the stand-in
// host for every test, judged by what the host saw.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/session.h"

namespace drawport::testing {

// A folder of files for one test, removed with it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  // Writes `content` to `name` in the folder; returns its path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// The DXF text of a drawing: sections joined by the helpers below.
std::string dxfFile(const std::string& sections);
std::string entitiesSection(const std::string& entities);
// A LINE entity from (x1, y1) to (x2, y2), with extra groups appended.
std::string lineEntity(double x1, double y1, double x2, double y2, const std::string& extra = "");

class AddOnTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // The host's configuration, to change before start().
  orvhost::HostConfig config;

  // Loads a fresh copy of the add-on (the shipped one, or the test-only one
  // whose heap can fail) and calls its entry point.
  void start(bool faultyHeap = false);
  orvhost::Session& session() { return *session_; }
  orvhost::Host& host() { return orvhost::Host::get(); }
  bool olderGeneration() const;

  // The macro command "DXF Loader" with `text`.
  orvhost::MacroOutcome macro(const std::string& text);
  // Writes `dxf` to a file and imports it with "-F[file]" and `flags`.
  orvhost::MacroOutcome importText(const std::string& dxf, const std::string& flags = "");
  std::string instructionFor(const std::string& path, const std::string& flags = "") const;
  // The test-only add-on's heap fails its Nth allocation from now on.
  void failAllocation(int call);
  // The test-only add-on reads files of `bytes` and more ahead of their
  // drawing (0: every file).
  void readAheadFrom(int64_t bytes);
  // When what follows from a record alone is worked out ahead of its
  // drawing: 0 while the drawing is behind, 1 always, 2 never.
  void prepareAhead(int32_t when);
  // The test-only add-on's imports hand the host at most `most` polyline
  // points (0: the add-on's own bound).
  void mostPolylinePoints(int64_t most);
  // The test-only add-on's imports do at most `most` steps of work (0: the
  // add-on's own bound).
  void mostWork(int64_t most);

  // Renderings of what the host saw, one item per line.
  std::string messages() const;
  std::string objects() const;
  std::string journal(std::initializer_list<std::string_view> prefixes = {}) const;

  TempDir files;

 private:
  // Calls the test-only add-on's switch `name` with `value`.
  void callTestSwitch(const char* name, int64_t value);

  std::unique_ptr<orvhost::Session> session_;
};

}  // namespace drawport::testing
