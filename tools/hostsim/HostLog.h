// The host's log: every call it makes into the plug-in, every command it receives, every filter
// it starts and stops. Written from the window thread and the data threads alike.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace tolv::hostsim {

class HostLog {
 public:
  HostLog();

  // One line, printf-style, prefixed with the milliseconds since the log began.
  void Add(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));

  std::vector<std::string> Lines() const;
  bool AnyLineContains(const std::string& text) const;
  std::string Text() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::int64_t start_;
};

std::string HexBytes(std::span<const std::uint8_t> bytes);

// Milliseconds and microseconds on the performance counter, shared by every thread.
std::int64_t NowMicroseconds();

}  // namespace tolv::hostsim
