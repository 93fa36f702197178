#include "support/addon_fixture.h"

#include <gmock/gmock.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "support/frame_text.h"

namespace drawport::testing {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/drawport-test-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data())) path_ = name.data();
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  const std::string command = "rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", path_.c_str());
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
  const std::string path = path_ + "/" + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

std::string dxfFile(const std::string& sections) { return sections + "  0\nEOF\n"; }

std::string entitiesSection(const std::string& entities) {
  return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n";
}

std::string lineEntity(double x1, double y1, double x2, double y2, const std::string& extra) {
  auto number = [](double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return std::string(text);
  };
  return "  0\nLINE\n  8\n0\n 10\n" + number(x1) + "\n 20\n" + number(y1) + "\n 30\n0.0\n 11\n" + number(x2) +
         "\n 21\n" + number(y2) + "\n 31\n0.0\n" + extra;
}

void AddOnTest::TearDown() {
  if (!session_) return;
  session_->end();
  EXPECT_THAT(host().violations(), ::testing::IsEmpty()) << "the add-on broke the host's rules";
  session_.reset();
}

void AddOnTest::start(bool faultyHeap) {
  config.journal = true;
  session_ = std::make_unique<orvhost::Session>(config);
  std::string error;
  const char* path = faultyHeap ? DRAWPORT_FAULTY_ADDON_PATH : DRAWPORT_ADDON_PATH;
  ASSERT_TRUE(session_->load(path, true, &error)) << error;
  session_->start();
}

bool AddOnTest::olderGeneration() const { return orvhost::Host::get().generation() == orvhost::Generation::Older; }

orvhost::MacroOutcome AddOnTest::macro(const std::string& text) { return session_->runMacro("DXF Loader", text); }

std::string AddOnTest::instructionFor(const std::string& path, const std::string& flags) const {
  std::string text = "-F[";
  for (char c : path) {
    if (c == '[' || c == ']') text += '\\';
    text += c;
  }
  text += ']';
  if (!flags.empty()) text += " " + flags;
  return text;
}

orvhost::MacroOutcome AddOnTest::importText(const std::string& dxf, const std::string& flags) {
  return macro(instructionFor(files.write("drawing.dxf", dxf), flags));
}

void AddOnTest::callTestSwitch(const char* name, int64_t value) {
  auto set = reinterpret_cast<void (*)(int64_t)>(session_->library()->symbol(name));
  ASSERT_NE(set, nullptr) << "start(true) loads the test-only add-on, which has " << name;
  set(value);
}

void AddOnTest::failAllocation(int call) { callTestSwitch("DrawportTestFailAllocation", call); }

void AddOnTest::readAheadFrom(int64_t bytes) { callTestSwitch("DrawportTestReadAheadFrom", bytes); }

void AddOnTest::prepareAhead(int32_t when) { callTestSwitch("DrawportTestPrepareAhead", when); }

void AddOnTest::mostPolylinePoints(int64_t most) { callTestSwitch("DrawportTestMostPolylinePoints", most); }

void AddOnTest::mostWork(int64_t most) { callTestSwitch("DrawportTestMostWork", most); }

std::string AddOnTest::messages() const { return renderMessages(orvhost::Host::get()); }

std::string AddOnTest::objects() const { return renderObjects(orvhost::Host::get().frame()); }

std::string AddOnTest::journal(std::initializer_list<std::string_view> prefixes) const {
  return orvhost::Host::get().journal().render(prefixes);
}

}  // namespace drawport::testing
