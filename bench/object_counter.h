// The objects of orvhost's frame, counted in its JSON (--json) as it
// streams past, for the import benchmark.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace drawport_bench {

// Counts the frame's objects in orvhost's JSON as it streams past: each
// object stands on a line of its own that starts with `  {"type":"KIND"`.
// Only the start of each line is kept.
class ObjectCounter {
 public:
  void feed(std::string_view piece) {
    for (char c : piece) {
      if (c == '\n')
        lineEnded();
      else if (start_.size() < kKept)
        start_ += c;
    }
  }
  void finish() { lineEnded(); }
  // False when no frame came through: the count would mean nothing.
  bool sawFrame() const { return sawFrame_; }
  uint64_t total() const {
    uint64_t total = 0;
    for (const auto& kind : kinds_) total += kind.second;
    return total;
  }
  std::string kinds() const {
    std::string text;
    for (const auto& [kind, count] : kinds_) text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    return text;
  }

 private:
  static constexpr size_t kKept = 40;
  void lineEnded() {
    static constexpr std::string_view kFrame = "{\"objects\": [";
    static constexpr std::string_view kStart = "  {\"type\":\"";
    const std::string_view line = start_;
    if (line.substr(0, kFrame.size()) == kFrame) sawFrame_ = true;
    if (line.substr(0, kStart.size()) == kStart) {
      const std::string_view rest = line.substr(kStart.size());
      add(rest.substr(0, rest.find('"')));
    }
    start_.clear();
  }
  void add(std::string_view kind) {
    for (auto& entry : kinds_)
      if (entry.first == kind) {
        ++entry.second;
        return;
      }
    kinds_.emplace_back(std::string(kind), 1);
  }

  std::string start_;
  bool sawFrame_ = false;
  std::vector<std::pair<std::string, uint64_t>> kinds_;
};

}  // namespace drawport_bench
