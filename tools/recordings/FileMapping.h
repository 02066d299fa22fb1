// A whole regular file mapped read-only into memory, unmapped with the object: the readers then
// run over the page cache itself, with no copy and no fresh pages for the system to clear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tolv::recordings {

class FileMapping {
 public:
  // Null where the system maps no files, and for what is no regular file or is empty (a pipe, a
  // directory, a device) or cannot be opened: the caller then reads it, and reports the error.
  // whole: the pages are mapped at once (the file stays resident while mapped); else each page as
  // it is first touched, and a reader going through it in order says what it is done with.
  static std::unique_ptr<FileMapping> Map(const std::string& name, bool whole = true);

  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping();  // NOLINT(performance-trivially-destructible): trivial only where nothing is mapped

  std::span<const std::uint8_t> Bytes() const { return {address_, size_}; }

  // Bytes before upTo are done with for now: their pages leave the resident set (the page cache
  // keeps them, and a later touch maps them again), so a long file costs no more than a window.
  void Release(std::size_t upTo) const;

  // Whether another program shortened the file under the mapping and a page past its new end was
  // touched. Such a touch ends a process with SIGBUS; here the pages from there on read as zeros
  // instead, and this says so, so that a reader can fail with a reason.
  bool Shrank() const;

 private:
  FileMapping(const std::uint8_t* address, std::size_t size, std::size_t guard)
      : address_(address), size_(size), guard_(guard) {}

  const std::uint8_t* address_;
  std::size_t size_;
  std::size_t guard_;  // its entry among the mappings the SIGBUS handler knows
};

}  // namespace tolv::recordings
