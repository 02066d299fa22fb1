// The tolvane program as a shell runs it: what only a real process shows (a full device as
// standard output, a memory limit, an installation moved elsewhere).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;  // the sanitizers reserve far more address space than a limit allows
#else
constexpr bool kSanitized = false;
#endif

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Runs script with sh in dir, where T is the program, D the folder, S the recordings.
Outcome RunScript(const std::filesystem::path& dir, const std::string& script) {
  std::ofstream(dir / "run.sh") << "T='" TOLV_TOLVANE_PROGRAM "'; D='" << dir.string()
                                << "'; S='" TOLV_SAMPLES_DIR "'; CMAKE='" TOLV_CMAKE "'; BUILD='" TOLV_BUILD_DIR "'\n"
                                << script << '\n';
  const std::string command =
      "cd '" + dir.string() + "' && sh run.sh >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
  const int result = std::system(command.c_str());
  Outcome o;
  o.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  o.out = ReadFile(dir / "out");
  o.err = ReadFile(dir / "err");
  return o;
}

// A video PES of unbounded length on PID 0x100 that a block (8192 packets, 1.5 MB) continues
// with counters in sequence, so many blocks in a row are one endless PES; made by the shell.
constexpr const char* kMakeBlock = R"sh(
  fill() { head -c "$1" /dev/zero | tr '\000' '\377'; }
  { printf '\107\101\000\037\000\000\001\340\000\000\200\000\000'; fill 175; } >"$D/start.ts"
  for cc in 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15; do
    printf "\\107\\001\\000\\$(printf '%03o' $((16 + cc)))"; fill 184
  done >"$D/block.ts"
  for i in 1 2 3 4 5 6 7 8 9; do cat "$D/block.ts" "$D/block.ts" >"$D/twice.ts"; mv "$D/twice.ts" "$D/block.ts"; done
  ard="$S/de_ard_text_subtitleedit.ts"
)sh";

TEST(TolvaneProcess, BehavesAsACarefulUnixTool) {
  struct Case {
    const char* name;
    std::string script;
    int status;
    std::string err;  // a part of standard error; empty: nothing on it
    std::string out;  // a part of standard output
    bool limitsMemory = false;
  };
  const Case cases[] = {
      {"help to a full device", R"("$T" --help >/dev/full)", 2,
       "tolvane: cannot write standard output: No space left on device\n", ""},
      {"page file to a full device", R"("$T" save -o /dev/full)", 2,
       "tolvane: cannot write '/dev/full': No space left on device\n", ""},
      {"PNG on a full standard output", R"("$T" png 100 -o - >/dev/full)", 2,
       "tolvane: cannot write standard output: No space left on device\n", ""},
      {"PNG to standard output", R"("$T" png 100 -o - | head -c 4 | tail -c 3)", 0, "", "PNG"},
      // Endless input in a pipe: read as it comes, in bounded memory.
      {"a gigabyte of zeros under 128 MiB", R"(ulimit -v 131072; head -c 1000000000 /dev/zero | "$T" pages -)", 0,
       "no transport stream packets in standard input (no sync bytes 188 bytes apart)\n", "", true},
      {"450 MB of packets with teletext under 128 MiB", std::string(kMakeBlock) + R"(
       ulimit -v 131072
       { cat "$ard" "$D/start.ts"; for i in $(seq 300); do cat "$D/block.ts"; done; cat "$ard"; } | "$T" pages - | wc -l)",
       0, "", "143", true},
      {"a 150 MB file under 128 MiB", std::string(kMakeBlock) + R"(
       { cat "$ard" "$D/start.ts"; for i in $(seq 100); do cat "$D/block.ts"; done; } >"$D/big.ts"
       ulimit -v 131072
       "$T" pages "$D/big.ts" | wc -l; rm "$D/big.ts")",
       0, "", "143", true},
      // Installed, then moved: the font is found beside the program.
      {"installed and moved", R"("$CMAKE" --install "$BUILD" --prefix "$D/a" >/dev/null && mv "$D/a" "$D/moved" &&
         "$D/moved/bin/tolvane" png 100 -o "$D/p.png" && head -c 4 "$D/p.png" | tail -c 3 &&
         test -f "$D/moved/share/tolvane/tolv.fon")",
       0, "", "PNG"},
      {"a font the environment names that is missing",
       R"(TOLVANE_FONT="$D/none.fon" "$T" png 100 -o "$D/q.png"; status=$?; test ! -e "$D/q.png" && exit $status)", 2,
       "tolvane: cannot find the teletext fonts (tolv.fon) in '", ""},
  };
  for (const Case& c : cases) {
    if (c.limitsMemory && kSanitized) continue;
    // Of this process alone: builds side by side run the test at the same time.
    const std::filesystem::path dir = ::testing::TempDir() + "tolvane_process." + std::to_string(getpid());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const Outcome o = RunScript(dir, c.script);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    if (c.err.empty()) {
      EXPECT_EQ(o.err, "") << c.name;
    } else {
      EXPECT_NE(o.err.find(c.err), std::string::npos) << c.name << ": " << o.err;
      EXPECT_EQ(o.err.find("libpng"), std::string::npos) << c.name << ": " << o.err;
    }
    EXPECT_NE(o.out.find(c.out), std::string::npos) << c.name << ": " << o.out;
    std::filesystem::remove_all(dir);
  }
}

}  // namespace
