#include "host/journal.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orvhost {

std::string formatNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buffer[40];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string quoteString(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c > 0x7e) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\x%02x", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string quoteString(const char* text) { return text ? quoteString(std::string_view(text)) : "null"; }

CallLine::CallLine(std::string_view operation, bool active) : active_(active) {
  if (!active_) return;
  line_ = operation;
  line_ += '(';
}

void CallLine::separate() {
  if (!first_) line_ += ", ";
  first_ = false;
}

CallLine& CallLine::integer(int64_t value) {
  if (!active_) return *this;
  separate();
  line_ += std::to_string(value);
  return *this;
}

CallLine& CallLine::number(double value) {
  if (!active_) return *this;
  separate();
  line_ += formatNumber(value);
  return *this;
}

CallLine& CallLine::string(const char* text) {
  if (!active_) return *this;
  separate();
  line_ += quoteString(text);
  return *this;
}

CallLine& CallLine::numbers(const double* values, int32_t count) {
  if (!active_) return *this;
  separate();
  line_ += '[';
  for (int32_t i = 0; values && i < count; ++i) {
    if (i) line_ += ',';
    line_ += formatNumber(values[i]);
  }
  line_ += ']';
  return *this;
}

CallLine& CallLine::raw(std::string_view text) {
  if (!active_) return *this;
  separate();
  line_ += text;
  return *this;
}

std::string Journal::render(std::initializer_list<std::string_view> prefixes) const {
  return render(std::vector<std::string>(prefixes.begin(), prefixes.end()));
}

std::string Journal::render(const std::vector<std::string>& prefixes) const {
  std::string out;
  for (const std::string& line : lines_) {
    bool wanted = prefixes.empty();
    for (const std::string& prefix : prefixes) wanted = wanted || line.compare(0, prefix.size(), prefix) == 0;
    if (!wanted) continue;
    out += line;
    out += '\n';
  }
  return out;
}

}  // namespace orvhost
