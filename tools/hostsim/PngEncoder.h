// A PNG writer without a compression library: 8-bit RGB, every row unfiltered, the zlib stream
// made of stored (uncompressed) deflate blocks. Big files, but any PNG reader takes them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolv::hostsim {

// CRC-32 as PNG chunks use it (ISO 3309: reflected polynomial 0xEDB88320, inverted).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
// The zlib stream's checksum (RFC 1950).
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// rgb holds height rows of width pixels, 3 bytes each (red, green, blue). Empty when the sizes do
// not fit the pixels or a side is 0.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb);

bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace tolv::hostsim
