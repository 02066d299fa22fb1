// A whole regular file mapped read-only into memory, unmapped with the object: the readers then
// run over the page cache itself, with no copy and no fresh pages for the system to clear.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tolv::recordings {

class FileMapping {
 public:
  // Null where the system maps no files, and for what is no regular file or is empty (a pipe, a
  // directory, a device) or cannot be opened: the caller then reads it, and reports the error.
  static std::unique_ptr<FileMapping> Map(const std::string& name);

  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping();  // NOLINT(performance-trivially-destructible): trivial only where nothing is mapped

  std::span<const std::uint8_t> Bytes() const { return {address_, size_}; }

 private:
  FileMapping(const std::uint8_t* address, std::size_t size) : address_(address), size_(size) {}

  const std::uint8_t* address_;
  std::size_t size_;
};

}  // namespace tolv::recordings
