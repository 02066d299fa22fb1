// Where tolvane's commands write their file: standard output for "-", a device or pipe in place,
// and a regular file only once it is whole, so a failed write never leaves half a file under the
// chosen name and never harms the input.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tolv::tolvane {

inline constexpr std::string_view kStandardOutputName = "-";

// Writes the content; false when it could not be made (the stream's state tells write errors).
using ContentWriter = std::function<bool(std::ostream& stream)>;

// One line naming the problem when output is the same file as input (same device and inode,
// whichever path or link names it, standard input included); empty otherwise.
std::string OutputIsInput(const std::string& output, const std::string& input);

// Writes to standardOutput for "-"; to an existing file that is no regular file (a device, a
// pipe) in place; else to a new file in the target's folder that is renamed onto the target
// (a link's target when it names one) once written, with the mode of the file it replaces.
// Returns empty on success, else one line naming the target and the reason.
std::string WriteOutput(const std::string& target, std::ostream& standardOutput, const ContentWriter& write);

}  // namespace tolv::tolvane
