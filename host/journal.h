// The journal: one line per host call, in call order, in the form
//   Operation(arg, arg, ...) -> result
// Numbers are written in their shortest round-trip form, the same under any
// locale; strings are quoted with C escapes; arrays as [a,b,...].
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace orvhost {

// Shortest text that reads back as the same double; "nan", "inf", "-inf"
// for the non-finite ones.
std::string formatNumber(double value);
// A C-style quoted string: \" \\ \n \r \t and \xHH for other control bytes
// and bytes above 0x7e; "null" for a null pointer.
std::string quoteString(const char* text);
std::string quoteString(std::string_view text);

class CallLine {
 public:
  // An inactive line formats nothing, so that calls cost nothing while no
  // journal is kept.
  explicit CallLine(std::string_view operation, bool active = true);
  CallLine& integer(int64_t value);
  CallLine& number(double value);
  CallLine& string(const char* text);
  CallLine& numbers(const double* values, int32_t count);
  CallLine& raw(std::string_view text);
  bool active() const { return active_; }
  std::string done() const { return active_ ? line_ + ")" : std::string(); }
  std::string result(std::string_view value) const {
    return active_ ? line_ + ") -> " + std::string(value) : std::string();
  }
  std::string result(int64_t value) const { return active_ ? result(std::string_view(std::to_string(value))) : ""; }

 private:
  void separate();
  std::string line_;
  bool first_ = true;
  bool active_ = true;
};

class Journal {
 public:
  void clear() { lines_.clear(); }
  void add(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& lines() const { return lines_; }
  // The lines whose operation starts with one of `prefixes` (all lines when
  // none is given), one per line.
  std::string render(std::initializer_list<std::string_view> prefixes = {}) const;
  std::string render(const std::vector<std::string>& prefixes) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace orvhost
