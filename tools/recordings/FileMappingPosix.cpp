#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "tools/recordings/FileMapping.h"

namespace tolv::recordings {
namespace {
constexpr off_t kPopulateAtMost = off_t{1} << 30;
}  // namespace

std::unique_ptr<FileMapping> FileMapping::Map(const std::string& name) {
  const int descriptor = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat status {};
  void* address = MAP_FAILED;
  if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
      static_cast<std::uintmax_t>(status.st_size) <= SIZE_MAX) {
    int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
    // The readers go through it all from the start: mapped at once, unless it would crowd memory.
    if (status.st_size <= kPopulateAtMost) flags |= MAP_POPULATE;
#endif
    address = mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, flags, descriptor, 0);
  }
  close(descriptor);  // the mapping keeps the file
  if (address == MAP_FAILED) return nullptr;
  return std::unique_ptr<FileMapping>(
      new FileMapping(static_cast<const std::uint8_t*>(address), static_cast<std::size_t>(status.st_size)));
}

FileMapping::~FileMapping() { munmap(const_cast<std::uint8_t*>(address_), size_); }

}  // namespace tolv::recordings
