// The command line of tolvane, checked and taken apart before any input is read.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tolv::tolvane {

enum class Command : std::uint8_t { kNone, kPages, kSave, kCells, kShow, kText, kPng, kPids };

// Colour escape sequences for show: auto writes them only to a terminal.
enum class ColorChoice : std::uint8_t { kAuto, kAlways, kNever };

struct Invocation {
  Command command = Command::kNone;
  bool help = false;
  bool version = false;
  bool usage = false;  // no arguments at all: the usage, as an error
  std::string input;   // empty: the embedded demo stream
  std::optional<std::uint16_t> pid;
  bool t42 = false;    // the input is T42 whatever its name
  std::string output;  // save, png; "-" standard output
  unsigned page = 0;   // as a user types it, 100..899
  std::optional<std::uint16_t> subcode;
  bool reveal = false;                     // show, text, png
  int scale = 1;                           // png
  ColorChoice color = ColorChoice::kAuto;  // show
};

struct ParsedArguments {
  Invocation invocation;
  std::string error;  // empty when the command line is usable
};

// args: the arguments after the program name. --help anywhere asks for help and wins over
// every other problem of the command line. An option given twice is refused.
ParsedArguments ParseArguments(std::span<const std::string> args);

// Decimal, or hexadecimal after "0x"; none when text is no such number or exceeds limit.
std::optional<unsigned> ParseNumber(const std::string& text, unsigned limit, bool allowHex);

}  // namespace tolv::tolvane
