// plain_pass FILE [--mapped]: the plainest pass over a recording that still looks at every
// 188-byte transport stream packet: one byte of each is touched, nothing else is done. The file
// is read in 64 KiB pieces (as tolvane reads a pipe), or, with --mapped, mapped whole and populated
// at once (as tolvane and the libzvbi harness read a file). bench/compare times it beside the
// decoders: how close they come to the speed of the memory and the system's reads.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kPacketSize = 188;
constexpr std::size_t kPiece = std::size_t{1} << 16;

bool ReadPass(int file, std::uint64_t& sum, std::uint64_t& size) {
  std::vector<std::uint8_t> piece(kPiece);
  std::size_t next = 0;  // where the next packet starts, from the start of this piece
  for (;;) {
    const ssize_t got = read(file, piece.data(), piece.size());
    if (got < 0) return false;
    if (got == 0) return true;
    const auto length = static_cast<std::size_t>(got);
    for (; next < length; next += kPacketSize) sum += piece[next];
    next -= length;
    size += length;
  }
}

bool MappedPass(int file, std::uint64_t& sum, std::uint64_t& size) {
  struct stat status {};
  if (fstat(file, &status) != 0 || status.st_size <= 0) return false;
  size = static_cast<std::uint64_t>(status.st_size);
  int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
  flags |= MAP_POPULATE;
#endif
  void* address = mmap(nullptr, size, PROT_READ, flags, file, 0);
  if (address == MAP_FAILED) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(address);
  for (std::uint64_t at = 0; at < size; at += kPacketSize) sum += bytes[at];
  munmap(address, size);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool mapped = argc == 3 && std::strcmp(argv[2], "--mapped") == 0;
  if (argc != 2 && !mapped) {
    std::fprintf(stderr, "usage: plain_pass FILE [--mapped]\n");
    return 2;
  }
  const int file = open(argv[1], O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    std::fprintf(stderr, "plain_pass: cannot open '%s': %s\n", argv[1], std::strerror(errno));
    return 2;
  }
  std::uint64_t sum = 0, size = 0;
  const bool done = mapped ? MappedPass(file, sum, size) : ReadPass(file, sum, size);
  close(file);
  if (!done) {
    std::fprintf(stderr, "plain_pass: cannot read '%s'\n", argv[1]);
    return 2;
  }
  // The sum keeps the touches from being optimised away.
  std::printf("%llu bytes, %llu packets, sum %llu\n", static_cast<unsigned long long>(size),
              static_cast<unsigned long long>((size + kPacketSize - 1) / kPacketSize),
              static_cast<unsigned long long>(sum));
  return 0;
}
