#include "tools/recordings/Recording.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <memory>
#include <new>

#include "tools/recordings/T42Reader.h"
#include "tools/recordings/TeletextPid.h"

namespace tolv::recordings {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Problem(std::string_view what, const std::string& name, int error) {
  std::string line = std::string(what) + " '" + name + "'";
  if (error != 0) line += std::string(": ") + std::strerror(error);
  return line;
}

// The size of a regular file, as room to read it into at once; 0 for anything else.
std::size_t SizeHint(const std::string& name) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(name, error)) return 0;
  const std::uintmax_t size = std::filesystem::file_size(name, error);
  return error ? 0 : static_cast<std::size_t>(size);
}

void ReadFile(const std::string& name, std::vector<std::uint8_t>& bytes, std::string& error) {
  errno = 0;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
  if (!file) {
    error = Problem("cannot open", name, errno);
    return;
  }
  bytes.reserve(SizeHint(name));
  std::uint8_t chunk[kReadChunk];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) break;
  }
  // A directory opens but cannot be read; the error shows only here.
  if (std::ferror(file.get())) error = Problem("cannot read", name, errno);
}

void ReadStream(std::istream& stream, std::vector<std::uint8_t>& bytes, std::string& error) {
  char chunk[kReadChunk];
  while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
    const auto* read = reinterpret_cast<const std::uint8_t*>(chunk);
    bytes.insert(bytes.end(), read, read + stream.gcount());
  }
  if (stream.bad()) error = "cannot read standard input";
}

}  // namespace

RecordingFormat FormatOfInputName(std::string_view name) {
  constexpr std::string_view kT42Suffix = ".t42";
  if (name.size() < kT42Suffix.size()) return RecordingFormat::kTransportStream;
  const std::string_view suffix = name.substr(name.size() - kT42Suffix.size());
  const bool isT42 = std::equal(suffix.begin(), suffix.end(), kT42Suffix.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
  return isT42 ? RecordingFormat::kT42 : RecordingFormat::kTransportStream;
}

InputBytes ReadWholeInput(const std::string& name, std::istream& standardInput) {
  InputBytes input;
  try {
    if (name == kStandardInputName) {
      ReadStream(standardInput, input.read_, input.Error);
    } else if (!(input.mapping_ = FileMapping::Map(name))) {
      ReadFile(name, input.read_, input.Error);
    }
  } catch (const std::bad_alloc&) {
    input.read_ = {};
    input.Error = "not enough memory to read '" + name + "'";
  }
  return input;
}

RecordingSummary ReadRecording(std::span<const std::uint8_t> bytes, RecordingFormat format,
                               std::optional<std::uint16_t> pid, const DataSink& sink) {
  RecordingSummary summary;
  if (format == RecordingFormat::kT42) {
    summary.T42Units = ReadT42(bytes, sink);
    return summary;
  }
  summary.Pid = pid ? pid : ChooseTeletextPid(bytes);
  if (summary.Pid) summary.Ts = ReadTransportStream(bytes, *summary.Pid, sink);
  return summary;
}

}  // namespace tolv::recordings
