#include "tools/hostsim/HostLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace tolv::hostsim {

std::int64_t NowMicroseconds() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<std::int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const auto ticks = static_cast<std::int64_t>(now.QuadPart);
  return ticks / frequency * 1'000'000 + ticks % frequency * 1'000'000 / frequency;
}

HostLog::HostLog() : start_(NowMicroseconds()) {}

void HostLog::Add(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  const std::int64_t micros = NowMicroseconds() - start_;
  char line[1100];
  std::snprintf(line, sizeof line, "%6lld.%03lld %s", static_cast<long long>(micros / 1'000'000),
                static_cast<long long>(micros / 1000 % 1000), text);
  const std::lock_guard<std::mutex> lock(mutex_);
  lines_.emplace_back(line);
}

std::vector<std::string> HostLog::Lines() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

bool HostLog::AnyLineContains(const std::string& text) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  for (const std::string& line : lines_) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

std::string HostLog::Text() const {
  std::string text;
  for (const std::string& line : Lines()) text += line + "\n";
  return text;
}

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  char hex[4];
  for (const std::uint8_t b : bytes) {
    std::snprintf(hex, sizeof hex, text.empty() ? "%02X" : " %02X", b);
    text += hex;
  }
  return text;
}

}  // namespace tolv::hostsim
