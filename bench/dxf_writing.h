// What every generated drawing is written with: a portable random number
// source, a buffered output that counts bytes and lines, and numbers
// formatted the several ways CAD programs write them.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace drawport_bench {

// xoshiro256**, seeded through splitmix64: the same numbers on every
// platform and library, unlike the standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) {
    for (uint64_t& word : state_) {
      seed += 0x9e3779b97f4a7c15ULL;
      uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
      word = z ^ (z >> 31);
    }
  }
  uint64_t next() {
    const uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
  }
  // 0 <= result < 1.
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  double between(double low, double high) { return low + (high - low) * unit(); }
  // 0 <= result < n.
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(((next() >> 32) * n) >> 32); }
  int between(int low, int high) { return low + static_cast<int>(below(static_cast<uint32_t>(high - low + 1))); }
  bool percent(uint32_t p) { return below(100) < p; }

 private:
  static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t state_[4];
};

// Buffered output that counts bytes and lines.
class Output {
 public:
  Output(std::FILE* file, bool crlf) : file_(file), eol_(crlf ? "\r\n" : "\n") { buffer_.reserve(kFlushAt + 4096); }

  void line(std::string_view text) {
    buffer_.insert(buffer_.end(), text.begin(), text.end());
    buffer_.insert(buffer_.end(), eol_.begin(), eol_.end());
    bytes_ += text.size() + eol_.size();
    ++lines_;
    if (buffer_.size() >= kFlushAt) flush();
  }
  // Group codes right-aligned in three columns, as CAD programs write them.
  void code(int code) {
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%3d", code);
    line(std::string_view(text, static_cast<size_t>(length)));
  }
  void pair(int groupCode, std::string_view value) {
    code(groupCode);
    line(value);
  }
  // Whole-number groups (62, 66, 70, ...) right-aligned in six columns.
  void integer(int groupCode, int value) {
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%6d", value);
    pair(groupCode, std::string_view(text, static_cast<size_t>(length)));
  }
  // 32-bit whole-number groups (90-99, 420, 1071) right-aligned in nine
  // columns.
  void longInteger(int groupCode, long long value) {
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%9lld", value);
    pair(groupCode, std::string_view(text, static_cast<size_t>(length)));
  }
  // A handle or a reference to one: upper-case hexadecimal.
  void handle(int groupCode, uint64_t value) {
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    pair(groupCode, std::string_view(text, static_cast<size_t>(length)));
  }
  bool flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
    buffer_.clear();
    return !failed_;
  }
  uint64_t bytes() const { return bytes_; }
  uint64_t lines() const { return lines_; }
  size_t eolSize() const { return eol_.size(); }

 private:
  static constexpr size_t kFlushAt = size_t{1} << 20;
  std::FILE* file_;
  std::string eol_;
  std::vector<char> buffer_;
  uint64_t bytes_ = 0;
  uint64_t lines_ = 0;
  bool failed_ = false;
};

// Formats reals the several ways exporters do: up to 16 significant digits,
// fewer digits, fixed decimals, whole numbers with or without ".0", and
// exponents.
class Numbers {
 public:
  explicit Numbers(Random& random) : random_(random) {}

  std::string_view any(double value) {
    const uint32_t roll = random_.below(100);
    if (roll < 45) return general(value, 16, true);
    if (roll < 70) {
      const int digits = random_.between(6, 15);
      return general(value, digits, random_.percent(50));
    }
    if (roll < 82) return fixed(value, random_.between(3, 6));
    if (roll < 95) return general(std::round(value * 2.0) / 2.0, 16, random_.percent(70));
    return scientific(value, random_.between(6, 15));
  }
  // A z value or elevation: mostly zero, sometimes the rounding noise CAD
  // programs leave behind, sometimes a real elevation.
  std::string_view elevation() {
    const uint32_t roll = random_.below(100);
    if (roll < 80) return "0.0";
    if (roll < 84) return scientific(random_.between(-9.0, 9.0) * 1e-15, 15);
    return any(random_.between(-50.0, 1200.0));
  }
  std::string_view general(double value, int digits, bool pointZero) {
    auto [end, error] = std::to_chars(text_, text_ + sizeof text_ - 3, value, std::chars_format::general, digits);
    if (error != std::errc()) return "0.0";
    std::string_view written(text_, static_cast<size_t>(end - text_));
    if (written.find_first_of(".e") == std::string_view::npos && pointZero) {
      end[0] = '.';
      end[1] = '0';
      end += 2;
    }
    uppercaseExponent(end);
    return std::string_view(text_, static_cast<size_t>(end - text_));
  }

 private:
  std::string_view fixed(double value, int decimals) {
    auto [end, error] = std::to_chars(text_, text_ + sizeof text_, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return "0.0";
    return std::string_view(text_, static_cast<size_t>(end - text_));
  }
  std::string_view scientific(double value, int digits) {
    auto [end, error] = std::to_chars(text_, text_ + sizeof text_, value, std::chars_format::scientific, digits - 1);
    if (error != std::errc()) return "0.0";
    uppercaseExponent(end);
    return std::string_view(text_, static_cast<size_t>(end - text_));
  }
  void uppercaseExponent(char* end) {
    for (char* p = text_; p < end; ++p)
      if (*p == 'e') *p = 'E';
  }

  Random& random_;
  char text_[96];
};

struct Box {
  double minX, minY, maxX, maxY;
  double clampX(double x) const { return std::min(std::max(x, minX), maxX); }
  double clampY(double y) const { return std::min(std::max(y, minY), maxY); }
};

}  // namespace drawport_bench
