// The tolvane command as a function, so tests and benchmarks run exactly what the program runs.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace tolv::tolvane {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitNotInRecording = 1;
inline constexpr int kExitFailure = 2;  // usage, input or output

// args: the arguments after the program name; "-" reads standardInput. Never throws.
int RunTolvane(std::span<const std::string> args, std::istream& standardInput, std::ostream& out, std::ostream& err);

}  // namespace tolv::tolvane
