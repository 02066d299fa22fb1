#include "tools/hostsim/Script.h"

#include <array>
#include <charconv>
#include <optional>
#include <utility>

namespace tolv::hostsim {
namespace {

constexpr std::string_view kPaintBoxClass = "TolvPaintBox";

struct KeyName {
  std::string_view Name;
  std::uint8_t VirtualKey;
};

// Windows' virtual-key codes of the keys a viewer uses.
constexpr std::array<KeyName, 19> kKeyNames = {{
    {"back", 0x08},   {"tab", 0x09},      {"enter", 0x0D}, {"escape", 0x1B}, {"space", 0x20},
    {"pageup", 0x21}, {"pagedown", 0x22}, {"end", 0x23},   {"home", 0x24},   {"left", 0x25},
    {"up", 0x26},     {"right", 0x27},    {"down", 0x28},  {"insert", 0x2D}, {"delete", 0x2E},
    {"add", 0x6B},    {"subtract", 0x6D}, {"plus", 0xBB},  {"minus", 0xBD},
}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::optional<std::int64_t> ParseNumber(std::string_view word) {
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && Lower(word[1]) == 'x') {
    word.remove_prefix(2);
    base = 16;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (error != std::errc() || end != word.data() + word.size() || word.empty() || value < 0) return std::nullopt;
  return value;
}

// Splits a line into words: blanks separate, double quotes group (with \" and \\), # ends the
// line outside quotes. False for an unterminated quote.
bool SplitWords(std::string_view line, std::vector<std::string>& words) {
  std::size_t at = 0;
  while (at < line.size()) {
    const char c = line[at];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++at;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      std::string word;
      for (++at;; ++at) {
        if (at >= line.size()) return false;
        if (line[at] == '"') break;
        if (line[at] == '\\' && at + 1 < line.size()) ++at;
        word += line[at];
      }
      words.push_back(std::move(word));
      ++at;
    } else {
      const std::size_t end = line.find_first_of(" \t\r#", at);
      words.emplace_back(line.substr(at, end == std::string_view::npos ? line.size() - at : end - at));
      at = end == std::string_view::npos ? line.size() : end;
    }
  }
  return true;
}

struct CommandName {
  std::string_view Name;
  Command Kind;
};

constexpr std::array<CommandName, 25> kCommands = {{
    {"wait", Command::kWait},
    {"menu", Command::kMenu},
    {"key", Command::kKey},
    {"channel", Command::kChannel},
    {"filter-close", Command::kFilterClose},
    {"channel-change", Command::kChannelChange},
    {"close", Command::kClose},
    {"exit", Command::kExit},
    {"wait-caption", Command::kWaitCaption},
    {"wait-idle", Command::kWaitIdle},
    {"wait-closed", Command::kWaitClosed},
    {"expect-log", Command::kExpectLog},
    {"expect-handles", Command::kExpectHandles},
    {"click", Command::kClick},
    {"png", Command::kPng},
    {"controls", Command::kControls},
    {"log", Command::kLog},
    {"latency", Command::kLatency},
    {"menu-item", Command::kMenuItem},
    {"clipboard-text", Command::kClipboardText},
    {"clipboard-png", Command::kClipboardPng},
    {"unload", Command::kUnload},
    {"load", Command::kLoad},
    {"save-dialog", Command::kSaveDialog},
    {"dialog", Command::kDialog},
}};

// Fills step from the words after the command; an error text, or empty when they fit.
std::string ReadArguments(const std::vector<std::string>& args, Step& step) {
  const auto count = [&](std::size_t least, std::size_t most) { return args.size() >= least && args.size() <= most; };
  const auto number = [&](std::size_t i) -> bool {
    const std::optional<std::int64_t> value = ParseNumber(args[i]);
    if (value) step.Number = *value;
    return value.has_value();
  };
  switch (step.Kind) {
    case Command::kWait:
    case Command::kMenu:
      if (!count(1, 1) || !number(0)) return "wants one number";
      return {};
    case Command::kKey:
      if (args.empty()) return "wants at least one key";
      for (const std::string& word : args) {
        Key key;
        if (!ParseKey(word, key)) return "unknown key '" + word + "'";
        step.Keys.push_back(key);
      }
      return {};
    case Command::kChannel:
    case Command::kChannelChange:
      if (!count(1, 2) || !number(0) || step.Number > 0x1FFF) return "wants a PID (0 to 0x1FFF) and maybe 'thread'";
      if (args.size() == 2) {
        if (args[1] != "thread") return "wants 'thread' after the PID, or nothing";
        step.OnThread = true;
      }
      return {};
    case Command::kFilterClose:
    case Command::kClose:
    case Command::kExit:
    case Command::kUnload:
    case Command::kLoad:
    case Command::kExpectHandles:
      if (!args.empty()) return "takes no arguments";
      return {};
    case Command::kWaitCaption:
      step.Number = kDefaultTimeoutMs;
      if (!count(1, 2) || (args.size() == 2 && !number(1))) return "wants a text and maybe a time-out in ms";
      step.Text = args[0];
      return {};
    case Command::kWaitIdle:
    case Command::kWaitClosed:
      step.Number = kDefaultTimeoutMs;
      if (!count(0, 1) || (args.size() == 1 && !number(0))) return "wants maybe a time-out in ms";
      return {};
    case Command::kExpectLog:
    case Command::kClick:
    case Command::kMenuItem:
    case Command::kControls:
    case Command::kClipboardText:
    case Command::kClipboardPng:
    case Command::kLog:
      if (!count(1, 1) || args[0].empty()) return "wants one text or file name";
      step.Text = args[0];
      return {};
    case Command::kDialog:
      if (!count(1, 2) || args[0].empty() || (args.size() == 2 && args[1] != "cancel")) {
        return "wants a file name and maybe 'cancel'";
      }
      step.Text = args[0];
      step.Extra = args.size() == 2 ? args[1] : "";
      return {};
    case Command::kSaveDialog:
      if (!count(2, 2) || args[0].empty() || !number(1) || step.Number < 1)
        return "wants a file name and a type from 1";
      step.Text = args[0];
      return {};
    case Command::kLatency:
      if (!count(2, 2) || args[0].empty() || !number(1)) return "wants a file name and a time in ms";
      step.Text = args[0];
      return {};
    case Command::kPng:
      if (!count(1, 2) || args[0].empty()) return "wants a file name and maybe a window class";
      step.Text = args[0];
      step.Extra = args.size() == 2 ? args[1] : std::string(kPaintBoxClass);
      return {};
  }
  return "unknown command";
}

}  // namespace

bool ParseKey(std::string_view word, Key& key) {
  key = {};
  for (;;) {
    if (word.size() > 6 && SameIgnoringCase(word.substr(0, 6), "shift+")) {
      key.Shift = true;
      word.remove_prefix(6);
    } else if (word.size() > 5 && SameIgnoringCase(word.substr(0, 5), "ctrl+")) {
      key.Control = true;
      word.remove_prefix(5);
    } else {
      break;
    }
  }
  if (word.size() == 1) {
    const char c = word[0];
    if (c >= '0' && c <= '9') {
      key.VirtualKey = static_cast<std::uint8_t>(c);
      return true;
    }
    if (Lower(c) >= 'a' && Lower(c) <= 'z') {
      key.VirtualKey = static_cast<std::uint8_t>(Lower(c) - 'a' + 'A');
      return true;
    }
  }
  for (const KeyName& name : kKeyNames) {
    if (SameIgnoringCase(word, name.Name)) {
      key.VirtualKey = name.VirtualKey;
      return true;
    }
  }
  if (word.size() >= 2 && Lower(word[0]) == 'f' && word[1] != '0') {
    const std::optional<std::int64_t> n = ParseNumber(word.substr(1));
    if (n && *n >= 1 && *n <= 12) {
      key.VirtualKey = static_cast<std::uint8_t>(0x70 + *n - 1);
      return true;
    }
  }
  const std::optional<std::int64_t> code = ParseNumber(word);
  if (code && *code >= 1 && *code <= 0xFE) {
    key.VirtualKey = static_cast<std::uint8_t>(*code);
    return true;
  }
  return false;
}

ParsedScript ParseScript(std::string_view text) {
  ParsedScript script;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    std::vector<std::string> words;
    if (!SplitWords(line, words)) {
      script.Errors.push_back(where + "a quote is not closed");
      continue;
    }
    if (words.empty()) continue;
    const CommandName* command = nullptr;
    for (const CommandName& candidate : kCommands) {
      if (candidate.Name == words[0]) command = &candidate;
    }
    if (command == nullptr) {
      script.Errors.push_back(where + "unknown command '" + words[0] + "'");
      continue;
    }
    Step step;
    step.Kind = command->Kind;
    step.Line = lineNumber;
    const std::vector<std::string> args(words.begin() + 1, words.end());
    const std::string problem = ReadArguments(args, step);
    if (!problem.empty()) {
      script.Errors.push_back(where);
      script.Errors.back() += words[0] + " ";
      script.Errors.back() += problem;
      continue;
    }
    script.Steps.push_back(std::move(step));
  }
  return script;
}

}  // namespace tolv::hostsim
