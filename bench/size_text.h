// Sizes as people write them on the command line: "100MB", "2 MiB", "500000".
#pragma once

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace drawport_bench {

// A whole or decimal number with an optional unit: B, KB, MB, GB (powers of
// 1000) or KiB, MiB, GiB (powers of 1024), letters in any case. False for
// anything else or for a size beyond 2^62 bytes.
inline bool parseSize(const char* text, uint64_t& bytes) {
  if (!text || !std::isdigit(static_cast<unsigned char>(*text))) return false;
  errno = 0;
  char* end = nullptr;
  const double number = std::strtod(text, &end);
  if (errno == ERANGE) return false;
  while (*end == ' ') ++end;
  std::string unit;
  for (; *end; ++end) unit += static_cast<char>(std::toupper(static_cast<unsigned char>(*end)));
  double scale = 0;
  if (unit.empty() || unit == "B") scale = 1;
  else if (unit == "KB" || unit == "K") scale = 1e3;
  else if (unit == "MB" || unit == "M") scale = 1e6;
  else if (unit == "GB" || unit == "G") scale = 1e9;
  else if (unit == "KIB") scale = 1024.0;
  else if (unit == "MIB") scale = 1024.0 * 1024.0;
  else if (unit == "GIB") scale = 1024.0 * 1024.0 * 1024.0;
  else return false;
  const double value = number * scale;
  if (!(value >= 0) || value > 4.6e18) return false;
  bytes = static_cast<uint64_t>(value);
  return true;
}

}  // namespace drawport_bench
