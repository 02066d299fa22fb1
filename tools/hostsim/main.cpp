// hostsim: the host simulator. Loads plugins\tolv.dll from the working directory as the host
// does and feeds it a recording; a script drives it for tests and demos (Script.h).
//
//   hostsim [RECORDING] [--script FILE [--repeat N]] [--fast | --speed X] [--loop] [--log FILE]
//           [--stay] [--hidden]
//
// --repeat runs the script's steps N times over (an "exit" step ends them all).
//
// Exit status: the number of failed script steps (at most 100); 101 for a usage error or a bad
// script, 102 when the plug-in cannot be loaded, 103 when the recording cannot be read.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "tools/hostsim/Feed.h"
#include "tools/hostsim/Host.h"
#include "tools/hostsim/HostLog.h"
#include "tools/hostsim/PngEncoder.h"
#include "tools/hostsim/Script.h"
#include "tools/hostsim/ScriptRunner.h"

namespace {

using namespace tolv::hostsim;

constexpr int kUsageError = 101;
constexpr int kPluginError = 102;
constexpr int kRecordingError = 103;

constexpr char kUsage[] =
    "usage: hostsim [RECORDING] [--script FILE [--repeat N]] [--fast | --speed X] [--loop] [--log FILE] [--stay]\n"
    "               [--hidden]\n";

struct Arguments {
  std::string Recording;
  std::string Script;
  std::string Log;
  Pacing Pace;
  int Passes = 1;
  bool Stay = false;
  bool Hidden = false;
};

std::optional<Arguments> ParseArguments(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const bool hasValue = i + 1 < argc;
    if (word == "--script" && hasValue) {
      args.Script = argv[++i];
    } else if (word == "--log" && hasValue) {
      args.Log = argv[++i];
    } else if (word == "--speed" && hasValue) {
      char* end = nullptr;
      args.Pace.Speed = std::strtod(argv[++i], &end);
      if (*end != '\0' || !(args.Pace.Speed > 0)) return std::nullopt;
    } else if (word == "--repeat" && hasValue) {
      char* end = nullptr;
      const long passes = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || passes < 1 || passes > 1'000'000) return std::nullopt;
      args.Passes = static_cast<int>(passes);
    } else if (word == "--fast") {
      args.Pace.Fast = true;
    } else if (word == "--loop") {
      args.Pace.Loop = true;
    } else if (word == "--stay") {
      args.Stay = true;
    } else if (word == "--hidden") {
      args.Hidden = true;
    } else if (!word.starts_with("--") && args.Recording.empty()) {
      args.Recording = word;
    } else {
      return std::nullopt;
    }
  }
  return args;
}

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  text = content.str();
  return true;
}

int Run(const Arguments& args) {
  std::vector<Step> steps;
  if (!args.Script.empty()) {
    std::string text;
    if (!ReadText(args.Script, text)) {
      std::fprintf(stderr, "hostsim: cannot read the script %s\n", args.Script.c_str());
      return kUsageError;
    }
    ParsedScript script = ParseScript(text);
    for (const std::string& error : script.Errors)
      std::fprintf(stderr, "hostsim: %s: %s\n", args.Script.c_str(), error.c_str());
    if (!script.Errors.empty()) return kUsageError;
    steps = std::move(script.Steps);
  }

  std::vector<std::uint8_t> bytes;
  auto format = tolv::recordings::RecordingFormat::kTransportStream;
  if (!args.Recording.empty()) {
    tolv::recordings::InputBytes input = tolv::recordings::ReadWholeInput(args.Recording, std::cin);
    if (!input.Error.empty()) {
      std::fprintf(stderr, "hostsim: %s\n", input.Error.c_str());
      return kRecordingError;
    }
    bytes = std::move(input).TakeBytes();
    format = tolv::recordings::FormatOfInputName(args.Recording);
  }
  RecordingFeeds feeds(std::move(bytes), format);

  HostLog log;
  HostOptions options;
  options.Pace = args.Pace;
  options.ShowWindow = !args.Hidden;
  int exitCode = 0;
  {
    Host host(feeds, options, log);
    std::string error;
    if (!host.Start(error)) {
      std::fprintf(stderr, "hostsim: %s\n", error.c_str());
      exitCode = kPluginError;
    } else {
      ScriptRunner runner(host, log, std::move(steps), !args.Stay, args.Passes);
      if (!args.Script.empty()) host.SetTickHandler([&runner] { runner.Tick(); });
      MSG message;
      while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      host.AwaitPluginWindows();
      exitCode = args.Script.empty() ? 0 : runner.ExitCode();
    }
  }
  if (!args.Log.empty()) {
    const std::string text = log.Text();
    WriteFileBytes(args.Log, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  }
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Arguments> args = ParseArguments(argc, argv);
  if (!args) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  return Run(*args);
}
