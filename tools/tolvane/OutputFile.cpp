#include "tools/tolvane/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "tools/tolvane/Messages.h"

namespace tolv::tolvane {
namespace {

constexpr std::string_view kStandardInputName = "-";

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The mode a new file gets: the replaced file's, else what the umask leaves of rw-rw-rw-.
mode_t NewFileMode(const struct stat* replaced) {
  if (replaced != nullptr) return replaced->st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// shown: the name the user gave, which messages use.
std::string WriteInPlace(const std::string& target, const std::string& shown, const ContentWriter& write) {
  errno = 0;
  std::ofstream file(target, std::ios::binary | std::ios::trunc);
  if (!file) return CannotDo("write", shown, errno);
  const bool made = write(file);
  file.flush();
  const int error = errno;
  file.close();
  if (!made || !file) return CannotDo("write", shown, error);
  return {};
}

std::string WriteAndRename(const std::string& target, const std::string& shown, const struct stat* replaced,
                           const ContentWriter& write) {
  const std::filesystem::path path(target);
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string temporary = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) return CannotDo("write", shown, errno);
  const int modeError = fchmod(descriptor, NewFileMode(replaced)) == 0 ? 0 : errno;
  close(descriptor);
  std::string problem = modeError != 0 ? CannotDo("write", shown, modeError) : WriteInPlace(temporary, shown, write);
  if (problem.empty() && std::rename(temporary.c_str(), target.c_str()) != 0) problem = CannotDo("write", shown, errno);
  if (!problem.empty()) std::remove(temporary.c_str());
  return problem;
}

}  // namespace

std::string OutputIsInput(const std::string& output, const std::string& input) {
  if (output == kStandardOutputName || input.empty()) return {};
  struct stat outputStatus {
  }, inputStatus{};
  if (stat(output.c_str(), &outputStatus) != 0) return {};  // a new file is no input
  const int inputFound =
      input == kStandardInputName ? fstat(STDIN_FILENO, &inputStatus) : stat(input.c_str(), &inputStatus);
  // Only a regular file can be lost: a terminal or /dev/null may be both input and output.
  if (inputFound != 0 || !S_ISREG(inputStatus.st_mode) || !SameFile(outputStatus, inputStatus)) return {};
  return "will not write " + Quoted(output) + ": it is the input" +
         (input == kStandardInputName ? std::string(" (standard input)") : " " + Quoted(input));
}

std::string WriteOutput(const std::string& target, std::ostream& standardOutput, const ContentWriter& write) {
  if (target == kStandardOutputName) {
    errno = 0;
    if (write(standardOutput) && standardOutput.flush()) return {};
    return std::string("cannot write standard output") + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
  }
  std::error_code error;
  // Through a link, the file it names is replaced, and the link stays.
  std::string resolved = target;
  if (std::filesystem::is_symlink(target, error)) {
    const std::filesystem::path linked = std::filesystem::weakly_canonical(target, error);
    if (!error) resolved = linked.string();
  }
  struct stat status {};
  const bool exists = stat(resolved.c_str(), &status) == 0;
  if (exists && S_ISDIR(status.st_mode)) return CannotDo("write", target, EISDIR);
  if (exists && !S_ISREG(status.st_mode)) return WriteInPlace(target, target, write);
  return WriteAndRename(resolved, target, exists ? &status : nullptr, write);
}

}  // namespace tolv::tolvane
