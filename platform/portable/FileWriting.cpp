// The portable writer: a new file opened exclusively beside the target, renamed onto it once
// written. (On Windows the plug-in has a writer of its own; this one serves the tests there.)
#include "platform/FileWriting.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace tolv::platform {
namespace {

std::atomic<unsigned> temporaries{0};

}  // namespace

std::string WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) noexcept {
  try {
    std::string temporary;
    int file = -1;
    for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
      temporary = path + "." + std::to_string(getpid()) + "-" + std::to_string(temporaries++) + ".tmp";
      file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0644);
      if (file < 0 && errno != EEXIST) break;
    }
    if (file < 0) return std::strerror(errno);
    std::size_t written = 0;
    int error = 0;
    while (written < bytes.size() && error == 0) {
      const auto step = write(file, bytes.data() + written, static_cast<unsigned>(bytes.size() - written));
      if (step < 0 && errno != EINTR) error = errno;
      if (step > 0) written += static_cast<std::size_t>(step);
    }
    if (close(file) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
      std::remove(temporary.c_str());
      return std::strerror(error);
    }
    return {};
  } catch (...) {
    return "not enough memory";
  }
}

}  // namespace tolv::platform
