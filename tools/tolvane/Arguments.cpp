#include "tools/tolvane/Arguments.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

#include "render/PagePng.h"
#include "tools/recordings/Recording.h"
#include "tools/recordings/TeletextPid.h"
#include "tools/tolvane/Messages.h"

namespace tolv::tolvane {
namespace {

constexpr unsigned kFirstPage = 100;
constexpr unsigned kLastPage = 899;

std::optional<Command> CommandNamed(const std::string& name) {
  if (name == "pages") return Command::kPages;
  if (name == "save") return Command::kSave;
  if (name == "cells") return Command::kCells;
  if (name == "show") return Command::kShow;
  if (name == "text") return Command::kText;
  if (name == "png") return Command::kPng;
  if (name == "pids") return Command::kPids;
  return std::nullopt;
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// An argument of digits alone is a page number or subcode, never an input's name.
bool IsNumber(const std::string& arg) {
  return !arg.empty() && std::all_of(arg.begin(), arg.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A word that starts with a digit and names no file is meant as a number: "0x100" and "1e2" are
// refused as pages rather than opened as inputs.
bool LooksLikeNumber(const std::string& arg) {
  if (IsNumber(arg)) return true;
  std::error_code error;
  return !arg.empty() && arg[0] >= '0' && arg[0] <= '9' && !std::filesystem::exists(arg, error);
}

bool WritesFile(Command command) { return command == Command::kSave || command == Command::kPng; }
bool WantsPage(Command command) {
  return command == Command::kCells || command == Command::kShow || command == Command::kText ||
         command == Command::kPng;
}

// Splits "--name=value" into its parts; other arguments come back whole with no value.
std::pair<std::string, std::optional<std::string>> SplitOption(const std::string& arg) {
  const std::size_t equals = arg.find('=');
  if (arg.rfind("--", 0) != 0 || equals == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, equals), arg.substr(equals + 1)};
}

class Parser {
 public:
  explicit Parser(std::span<const std::string> args) : args_(args) {}

  ParsedArguments Parse() {
    if (ReadCommand() && !result_.invocation.help && !result_.invocation.version && !result_.invocation.usage &&
        ReadOptions()) {
      CheckPositionals();
    }
    return result_;
  }

 private:
  bool Fail(std::string message) {
    result_.error = std::move(message);
    return false;
  }

  bool ReadCommand() {
    Invocation& inv = result_.invocation;
    if (args_.empty()) {
      inv.usage = true;
      return true;
    }
    if (IsHelp(args_[0])) {
      inv.help = true;
      return true;
    }
    if (args_[0] == "--version") {
      inv.version = true;
      return true;
    }
    const std::optional<Command> command = CommandNamed(args_[0]);
    if (!command) return Fail("unknown command " + Quoted(args_[0]) + " (try 'tolvane --help')");
    inv.command = *command;
    inv.help = std::any_of(args_.begin() + 1, std::find(args_.begin() + 1, args_.end(), "--"), IsHelp);
    return true;
  }

  // The value of an option: after '=' or in the next argument.
  std::optional<std::string> OptionValue(const std::string& name, const std::optional<std::string>& inlineValue,
                                         std::size_t& i) {
    if (inlineValue) return inlineValue;
    if (i + 1 < args_.size()) return args_[++i];
    Fail("option " + name + " needs a value");
    return std::nullopt;
  }

  bool ReadOptions() {
    Invocation& inv = result_.invocation;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args_.size(); ++i) {
      const std::string& arg = args_[i];
      if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
        positionals_.push_back(arg);
        continue;
      }
      const auto [name, inlineValue] = SplitOption(arg);
      if (arg.rfind("-o=", 0) == 0) return Fail("write '-o FILE' or '--output=FILE', not " + Quoted(arg));
      // -o and --output are one option; what is no option at all is refused below.
      const bool known = name == "-o" || name == "--output" || name == "--pid" || name == "--t42" ||
                         name == "--reveal" || name == "--color" || name == "--scale";
      if (known && !given_.insert(name == "-o" ? "--output" : name).second) {
        return Fail("option " + name + " given twice");
      }
      if (name == "--") {
        optionsEnded = true;
      } else if (name == "--pid") {
        const std::optional<std::string> value = OptionValue(name, inlineValue, i);
        if (!value) return false;
        const std::optional<unsigned> pid = ParseNumber(*value, recordings::kMaxPid, true);
        if (!pid) return Fail("invalid PID " + Quoted(*value) + " (0 to 8191, or 0x0 to 0x1FFF)");
        inv.pid = static_cast<std::uint16_t>(*pid);
      } else if ((name == "-o" || name == "--output") && WritesFile(inv.command)) {
        const std::optional<std::string> value = OptionValue(name, inlineValue, i);
        if (!value) return false;
        inv.output = *value;
      } else if (name == "--t42" && !inlineValue) {
        inv.t42 = true;
      } else if (name == "--reveal" && WantsPage(inv.command) && inv.command != Command::kCells && !inlineValue) {
        inv.reveal = true;
      } else if (name == "--color" && inv.command == Command::kShow) {
        const std::string value = inlineValue.value_or("always");
        if (value == "auto") {
          inv.color = ColorChoice::kAuto;
        } else if (value == "always") {
          inv.color = ColorChoice::kAlways;
        } else if (value == "never") {
          inv.color = ColorChoice::kNever;
        } else {
          return Fail("invalid colour choice " + Quoted(value) + " (auto, always or never)");
        }
      } else if (name == "--scale" && inv.command == Command::kPng) {
        const std::optional<std::string> value = OptionValue(name, inlineValue, i);
        if (!value) return false;
        const std::optional<unsigned> scale = ParseNumber(*value, kMaxPngScale, false);
        if (!scale || *scale == 0) return Fail("invalid scale " + Quoted(*value) + " (1 to 16)");
        inv.scale = static_cast<int>(*scale);
      } else {
        return Fail("unknown option " + Quoted(arg) + " for " + args_[0] + " (try 'tolvane " + args_[0] + " --help')");
      }
    }
    return true;
  }

  bool CheckPositionals() {
    Invocation& inv = result_.invocation;
    const bool wantsPage = WantsPage(inv.command);
    // INPUT may be left out: the embedded demo stream is read then.
    std::size_t next = 0;
    const bool numberFirst =
        !positionals_.empty() && (wantsPage ? LooksLikeNumber(positionals_[0]) : IsNumber(positionals_[0]));
    if (!positionals_.empty() && !numberFirst) inv.input = positionals_[next++];
    const std::size_t most = next + (wantsPage ? 2 : 0);
    if (positionals_.size() > most) return Fail("unexpected argument " + Quoted(positionals_[most]));
    if (inv.pid && inv.t42) return Fail("--pid does not apply to T42 input (--t42)");
    if (inv.pid && !inv.input.empty() &&
        recordings::FormatOfInputName(inv.input) == recordings::RecordingFormat::kT42) {
      return Fail("--pid does not apply to the T42 input " + Quoted(inv.input));
    }
    if (WritesFile(inv.command) && inv.output.empty()) return Fail(args_[0] + " needs -o FILE");
    if (!wantsPage) return true;
    if (positionals_.size() == next) {
      return Fail(inv.input.empty() ? "missing PAGE" : "missing PAGE (" + Quoted(inv.input) + " was taken as INPUT)");
    }
    const std::optional<unsigned> page = ParseNumber(positionals_[next], kLastPage, false);
    if (!page || *page < kFirstPage) {
      return Fail("page " + Quoted(positionals_[next]) + " is not a page number from 100 to 899");
    }
    inv.page = *page;
    if (positionals_.size() == ++next) return true;
    const std::optional<unsigned> subcode = ParseNumber(positionals_[next], 0xFFFF, false);
    if (!subcode) return Fail("subcode " + Quoted(positionals_[next]) + " is not a number from 0 to 65535");
    inv.subcode = static_cast<std::uint16_t>(*subcode);
    return true;
  }

  std::span<const std::string> args_;
  std::vector<std::string> positionals_;
  std::set<std::string> given_;  // the options seen so far
  ParsedArguments result_;
};

}  // namespace

std::optional<unsigned> ParseNumber(const std::string& text, unsigned limit, bool allowHex) {
  const bool hex = allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty()) return std::nullopt;
  unsigned long long value = 0;
  for (char c : digits) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + digit;
    if (value > limit) return std::nullopt;
  }
  return static_cast<unsigned>(value);
}

ParsedArguments ParseArguments(std::span<const std::string> args) { return Parser(args).Parse(); }

}  // namespace tolv::tolvane
