#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/unit/SamplePaths.h"
#include "tools/tolvane/OutputFile.h"
#include "tools/tolvane/Tolvane.h"

namespace tolv::tolvane {
namespace {

using testing::SamplePath;

struct Outcome {
  int status = -1;
  std::string out, err;
};

Outcome RunCommand(const std::vector<std::string>& args, const std::string& standardInput = "") {
  std::istringstream in(standardInput);
  std::ostringstream out, err;
  Outcome o;
  o.status = RunTolvane(args, in, out, err);
  o.out = out.str();
  o.err = err.str();
  return o;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string TempFile(const std::string& name) { return ::testing::TempDir() + "tolvane_test_" + name; }

// A failure says what went wrong in one line on standard error and prints nothing else.
void ExpectFailure(const Outcome& o, int status, const std::string& problem, const std::string& context) {
  EXPECT_EQ(o.status, status) << context;
  EXPECT_EQ(o.out, "") << context;
  EXPECT_TRUE(o.err.starts_with("tolvane: ")) << context << ": " << o.err;
  EXPECT_NE(o.err.find(problem), std::string::npos) << context << ": " << o.err;
  EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << context << ": exactly one line";
}

TEST(Tolvane, UsageAndInputProblemsExitWithTwo) {
  const std::string ard = SamplePath(testing::kArd), bbc = SamplePath(testing::kBbc);
  struct Case {
    std::vector<std::string> args;
    std::string problem;
  };
  const Case cases[] = {
      {{"print", ard}, "unknown command 'print'"},
      {{"show"}, "missing PAGE"},
      {{"pages", "100"}, "unexpected argument '100'"},  // digits are never an input's name
      {{"pages", ard, ard}, "unexpected argument"},
      {{"show", ard}, "missing PAGE"},
      {{"png", "100"}, "png needs -o FILE"},
      {{"png", "100", "-o", "x.png", "--scale", "0"}, "invalid scale '0'"},
      {{"png", "100", "-o", "x.png", "--scale=17"}, "invalid scale '17'"},
      {{"png", "100", "-o", "/nonexistent/x.png"}, "cannot write '/nonexistent/x.png'"},
      {{"pages", "--scale", "2"}, "unknown option '--scale'"},
      {{"show", ard, "99"}, "page '99' is not a page number from 100 to 899"},
      {{"show", ard, "900"}, "page '900'"},
      {{"cells", ard, "1a0"}, "page '1a0'"},
      {{"cells", ard, "100", "x"}, "subcode 'x'"},
      {{"cells", ard, "100", "65536"}, "subcode '65536'"},
      {{"cells", ard, "100", "0", "1"}, "unexpected argument '1'"},
      {{"save", ard}, "save needs -o FILE"},
      {{"save", ard, "-o"}, "option -o needs a value"},
      {{"pages", ard, "--pid", "0x2000"}, "invalid PID '0x2000'"},
      {{"pages", ard, "--pid=12z"}, "invalid PID '12z'"},
      {{"pages", bbc, "--pid", "5"}, "--pid does not apply to the T42 input"},
      {{"pages", ard, "--reveal"}, "unknown option '--reveal'"},
      {{"show", ard, "100", "-o", "x"}, "unknown option '-o'"},
      {{"pages", "/nonexistent/x.ts"}, "cannot open '/nonexistent/x.ts': No such file or directory"},
      {{"pages", TOLV_SAMPLES_DIR}, "cannot read '" TOLV_SAMPLES_DIR "'"},
      {{"save", ard, "-o", "/nonexistent/out.vtx"}, "cannot write '/nonexistent/out.vtx'"},
  };
  for (const Case& c : cases) {
    std::string context;
    for (const std::string& a : c.args) context += a + ' ';
    ExpectFailure(RunCommand(c.args), kExitFailure, c.problem, context);
  }
}

TEST(Tolvane, APageOrSubcodeNotInTheRecordingExitsWithOne) {
  const std::string bbc = SamplePath(testing::kBbc);
  ExpectFailure(RunCommand({"show", bbc, "888"}), kExitNotInRecording, "page 888 is not in the recording", "888");
  ExpectFailure(RunCommand({"cells", bbc, "151", "2"}), kExitNotInRecording, "page 151 has no subcode 2", "151/2");
  ExpectFailure(RunCommand({"cells", bbc, "151", "16"}), kExitNotInRecording, "page 151 has no subcode 16", "151/16");
}

TEST(Tolvane, EveryCommandHasHelp) {
  for (const std::string& command : std::vector<std::string>{"", "pages", "save", "cells", "show", "png"}) {
    std::vector<std::string> args;
    if (!command.empty()) args.push_back(command);
    args.push_back("--help");
    args.push_back("--no-such-option");  // help wins over a bad command line
    const Outcome o = RunCommand(args);
    EXPECT_EQ(o.status, kExitSuccess) << command;
    EXPECT_EQ(o.err, "") << command;
    EXPECT_NE(o.out.find("usage: tolvane " + command), std::string::npos) << command;
  }
  EXPECT_NE(RunCommand({"show", "--help"}).out.find("double height"), std::string::npos);
}

TEST(Tolvane, PagesListsNumbersAndSubcodesInStorageOrder) {
  EXPECT_EQ(RunCommand({"pages", SamplePath(testing::kAnimalPlanet)}).out, "691 0\n695 0\n");

  const Outcome arte = RunCommand({"pages", SamplePath(testing::kArte)});
  EXPECT_EQ(arte.status, kExitSuccess);
  EXPECT_TRUE(arte.out.starts_with("889 0\n100 0\n101 0\n102 1,2\n")) << "pages 800-899 come first";
  EXPECT_NE(arte.out.find("\n562 1,2,3\n"), std::string::npos);
}

TEST(Tolvane, TheDemoStreamIsReadWhenInputIsLeftOut) {
  EXPECT_EQ(RunCommand({"pages"}).out,
            "100 0\n101 0\n102 0\n103 0\n104 0\n105 0\n106 1,2,3\n107 0\n108 0\n200 0\n300 0\n");
  const Outcome cells = RunCommand({"cells", "106", "2"});
  EXPECT_EQ(cells.status, kExitSuccess) << cells.err;
  EXPECT_TRUE(cells.out.starts_with("{\"page\":106,\"subcode\":2,")) << cells.out.substr(0, 40);
}

// The PNG's size as its IHDR chunk gives it.
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
  auto be32 = [&](std::size_t at) {
    return static_cast<unsigned>(
        static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
        static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]));
  };
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0 || png.compare(12, 4, "IHDR") != 0) return {0, 0};
  return {be32(16), be32(20)};
}

TEST(Tolvane, PngDrawsThePageAreaAtTheChosenScale) {
  const std::string path = TempFile("page.png");
  for (auto [scale, width, height] : {std::tuple{1, 560u, 360u}, {3, 1680u, 1080u}}) {
    std::filesystem::remove(path);
    const Outcome o = RunCommand({"png", "104", "-o", path, "--scale", std::to_string(scale), "--reveal"});
    EXPECT_EQ(o.status, kExitSuccess) << o.err;
    EXPECT_EQ(PngSize(ReadFile(path)), std::pair(width, height));
  }
  ExpectFailure(RunCommand({"png", "109", "-o", path}), kExitNotInRecording, "page 109 is not in the recording", "109");
}

TEST(Tolvane, StandardInputIsATransportStream) {
  const std::string ard = SamplePath(testing::kArd);
  const Outcome fromFile = RunCommand({"pages", ard});
  const Outcome fromStdin = RunCommand({"pages", "-"}, ReadFile(ard));
  EXPECT_EQ(fromStdin.status, kExitSuccess);
  EXPECT_EQ(fromStdin.out, fromFile.out);
  EXPECT_EQ(std::count(fromFile.out.begin(), fromFile.out.end(), '\n'), 143);
}

TEST(Tolvane, InputWithoutTeletextGivesNoPagesAndAnEmptyFile) {
  const std::string output = TempFile("empty.vtx");
  std::ofstream(output) << "old content";
  for (const std::string& input : {std::string("not a recording"), std::string()}) {
    const Outcome pages = RunCommand({"pages", "-"}, input);
    EXPECT_EQ(pages.status, kExitSuccess);
    EXPECT_EQ(pages.out, "");
    EXPECT_EQ(RunCommand({"save", "-", "-o", output}, input).status, kExitSuccess);
    EXPECT_EQ(ReadFile(output), "");
  }
}

// The page file holds one 968-byte record per subpage, in the order pages lists them.
TEST(Tolvane, SaveWritesEveryStoredSubpageInStorageOrder) {
  const std::string arte = SamplePath(testing::kArte), output = TempFile("arte.vtx");
  ASSERT_EQ(RunCommand({"save", arte, "--output", output}).status, kExitSuccess);
  const std::string file = ReadFile(output);
  ASSERT_EQ(file.size(), 104u * 968);

  std::istringstream listing(RunCommand({"pages", arte}).out);
  std::size_t record = 0;
  for (std::string line; std::getline(listing, line);) {
    const unsigned page = static_cast<unsigned>(std::stoul(line.substr(0, 3)));
    std::istringstream subcodes(line.substr(4));
    for (std::string subcode; std::getline(subcodes, subcode, ',');) {
      const std::string_view r(file.data() + 968 * record++, 968);
      EXPECT_EQ(static_cast<unsigned char>(r[0]), page % 100) << line;
      EXPECT_EQ(static_cast<unsigned char>(r[2]) | static_cast<unsigned char>(r[3]) << 8, std::stoul(subcode)) << line;
      EXPECT_EQ(r.substr(965), "VT2");
    }
  }
  EXPECT_EQ(record, 104u);
}

std::vector<std::vector<int>> CellsOf(const std::string& json) {
  std::vector<std::vector<int>> cells;
  const std::regex cell(R"(\[(\d+),(\d+),(\d+),(\d+),(\d+),(\d+)\])");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), cell); it != std::sregex_iterator(); ++it) {
    std::vector<int> fields;
    for (int i = 1; i <= 6; ++i) fields.push_back(std::stoi((*it)[i]));
    cells.push_back(fields);
  }
  return cells;
}

TEST(Tolvane, TextPrintsTheTwentyFourRowsInThePagesOwnLetters) {
  const Outcome english = RunCommand({"text", "107"});
  ASSERT_EQ(english.status, kExitSuccess) << english.err;
  EXPECT_EQ(std::count(english.out.begin(), english.out.end(), '\n'), 24);
  EXPECT_NE(english.out.find("\n Tea, per pound         £1.93m   +½\n"), std::string::npos) << english.out;
  EXPECT_NE(english.out.find("\n ―――"), std::string::npos) << english.out;
  const Outcome french = RunCommand({"text", "108"});
  EXPECT_NE(french.out.find("\n Fête    Noël sur la Côte d'Azur\n"), std::string::npos) << french.out;
  // The quiz hides its answers until revealed.
  EXPECT_NE(RunCommand({"text", "104"}).out, RunCommand({"text", "104", "--reveal"}).out);
  ExpectFailure(RunCommand({"text", "109"}), kExitNotInRecording, "page 109 is not in the recording", "109");
}

TEST(Tolvane, CellsPrintsTheDisplayCellsAsOneLineOfJson) {
  const Outcome o = RunCommand({"cells", SamplePath(testing::kBbc), "100"});
  ASSERT_EQ(o.status, kExitSuccess);
  EXPECT_TRUE(o.out.starts_with(R"({"page":100,"subcode":0,"cells":[[[)"));
  EXPECT_TRUE(o.out.ends_with("]]]}\n"));
  EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1);
  const std::vector<std::vector<int>> cells = CellsOf(o.out);
  ASSERT_EQ(cells.size(), 24u * 40);
  // Row 0, from column 8: the header text, visible white on black, in the English set (0).
  const std::string ceefax = "CEEFAX";
  for (std::size_t i = 0; i < ceefax.size(); ++i) {
    EXPECT_EQ(cells[8 + i], (std::vector<int>{ceefax[i], 0xFFFFFF, 0, 0, 0, 16}));
  }
  // Row 1 draws the logo in mosaics.
  EXPECT_GT(std::count_if(cells.begin() + 40, cells.begin() + 80, [](const auto& c) { return c[4] == 1; }), 20);

  const Outcome subpage = RunCommand({"cells", SamplePath(testing::kArte), "562", "3"});
  EXPECT_TRUE(subpage.out.starts_with(R"({"page":562,"subcode":3,)"));
  EXPECT_TRUE(RunCommand({"cells", SamplePath(testing::kArte), "889"}).out.starts_with(R"({"page":889,)"));
}

std::string Plain(const std::string& terminal) {
  return std::regex_replace(terminal, std::regex("\x1b\\[[0-9;]*m"), "");
}

TEST(Tolvane, ShowDrawsThePageAndRevealsConcealedText) {
  const std::string bbc = SamplePath(testing::kBbc);
  const Outcome hidden = RunCommand({"show", bbc, "519"});
  const Outcome revealed = RunCommand({"show", bbc, "519", "--reveal"});
  ASSERT_EQ(hidden.status, kExitSuccess);
  EXPECT_EQ(std::count(hidden.out.begin(), hidden.out.end(), '\n'), 24);
  EXPECT_NE(Plain(hidden.out).find("CEEFAX 1 519"), std::string::npos);
  // The quiz's answers are concealed.
  EXPECT_EQ(Plain(hidden.out).find("The Rolling Stones"), std::string::npos);
  EXPECT_NE(Plain(revealed.out).find("The Rolling Stones"), std::string::npos);
}

std::string ContextOf(const std::vector<std::string>& args) {
  std::string context;
  for (const std::string& a : args) context += a + ' ';
  return context;
}

// Whichever name, path or link leads to the input, writing there is refused before anything is
// read, and the input keeps its bytes.
TEST(Tolvane, AnOutputThatIsTheInputIsRefused) {
  const std::filesystem::path dir = TempFile("same");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "sub");
  const std::string input = (dir / "victim.ts").string(), original = ReadFile(SamplePath(testing::kArd));
  std::ofstream(input, std::ios::binary) << original;
  std::filesystem::create_hard_link(input, dir / "hard.ts");
  std::filesystem::create_symlink(input, dir / "soft.ts");
  const std::string viaParent = (dir / "sub" / ".." / "victim.ts").string();
  const std::vector<std::string> cases[] = {
      {"save", input, "-o", input},
      {"save", input, "--output=" + viaParent},
      {"png", input, "100", "-o", (dir / "hard.ts").string()},
      {"save", (dir / "soft.ts").string(), "-o", input},
      {"pages", input, "-o", input},  // pages writes no file: -o is unknown to it
  };
  for (const std::vector<std::string>& args : cases) {
    const Outcome o = RunCommand(args);
    const std::string problem = args[0] == "pages" ? "unknown option '-o'" : "it is the input";
    ExpectFailure(o, kExitFailure, problem, ContextOf(args));
    EXPECT_EQ(ReadFile(input), original) << ContextOf(args);
  }
  std::filesystem::remove_all(dir);
}

// A write that fails leaves what the chosen name held, and no temporary file beside it.
TEST(Tolvane, AFailedWriteLeavesTheTargetAsItWas) {
  const std::filesystem::path dir = TempFile("failed");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string target = (dir / "page.png").string();
  std::ofstream(target) << "old";
  std::ostringstream unused;
  const std::string problem = WriteOutput(target, unused, [](std::ostream& file) {
    file << "half a file";
    return false;
  });
  EXPECT_EQ(problem, "cannot write '" + target + "'");
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
  // A whole write replaces it.
  EXPECT_EQ(WriteOutput(target, unused, [](std::ostream& file) { return static_cast<bool>(file << "new"); }), "");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
  std::filesystem::remove_all(dir);
}

// "-o -" is standard output for every command that writes a file, with the same bytes.
TEST(Tolvane, OutputDashIsStandardOutput) {
  const std::string file = TempFile("dash.out");
  const std::vector<std::string> commands[] = {
      {"save", SamplePath(testing::kArte)},
      {"png", "104", "--scale", "2"},
  };
  for (const std::vector<std::string>& command : commands) {
    std::vector<std::string> toFile = command, toOutput = command;
    toFile.insert(toFile.end(), {"-o", file});
    toOutput.insert(toOutput.end(), {"-o", "-"});
    std::filesystem::remove(file);
    ASSERT_EQ(RunCommand(toFile).status, kExitSuccess) << ContextOf(toFile);
    const Outcome o = RunCommand(toOutput);
    EXPECT_EQ(o.status, kExitSuccess) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_GT(o.out.size(), 1000u) << ContextOf(toOutput);
    EXPECT_TRUE(o.out == ReadFile(file)) << ContextOf(toOutput);
    EXPECT_FALSE(std::filesystem::exists("-")) << "no file named '-'";
  }
}

// 188-byte packets behind 4-byte time codes, as .m2ts files hold them.
std::string With192BytePackets(const std::string& stream) {
  std::string out;
  for (std::size_t at = 0; at + 188 <= stream.size(); at += 188) out += std::string(4, '\x01') + stream.substr(at, 188);
  return out;
}

// Every failure is one line in one format, and input without teletext says what it held.
TEST(Tolvane, MessagesSayWhatWasFoundAndWhatIsWrong) {
  const std::string ard = SamplePath(testing::kArd), rai = SamplePath(testing::kRai);
  const std::string bbcBytes = ReadFile(SamplePath(testing::kBbc));
  struct Case {
    std::vector<std::string> args;
    std::string input;  // standard input
    int status;
    std::string problem;  // the one line on standard error
  };
  const Case cases[] = {
      // What the input held when no teletext was found.
      {{"pages", "-"}, "", kExitSuccess, "no teletext: standard input is empty"},
      {{"pages", "-"}, std::string(5000, 'x'), kExitSuccess, "no transport stream packets in standard input"},
      {{"pages", "-"}, bbcBytes, kExitSuccess, "it looks like 42-byte T42 packets: give --t42"},
      {{"cells", "-", "100"}, With192BytePackets(ReadFile(ard)), kExitNotInRecording, "192 bytes apart"},
      {{"pages", rai, "--pid", "0x300"},
       "",
       kExitSuccess,
       "no teletext on PID 0x300 in '" + rai + "'; teletext is on PIDs 0x240, 0x241, 0x242, 0x257"},
      {{"pages", "-"}, std::string(188, '\x47'), kExitSuccess, "1 transport stream packet in standard input, but no"},
      {{"pages", "-", "--t42"}, "short", kExitSuccess, "standard input holds no whole 42-byte T42 packet"},
      {{"pages", rai},
       "",
       kExitSuccess,
       "the input carries teletext on 4 PIDs (0x240, 0x241, 0x242, 0x257); read: 0x240"},
      // Names are printed with their control characters escaped.
      {{"pages", "/nonexistent/a\nb\x1b[2J"}, "", kExitFailure, "cannot open '/nonexistent/a\\nb\\x1B[2J': No such"},
      {{"png", "100", "-o", "/nonexistent/x.png"},
       "",
       kExitFailure,
       "cannot write '/nonexistent/x.png': No such file or directory"},
      {{"png", "100", "-o", "/dev/full"}, "", kExitFailure, "cannot write '/dev/full': No space left on device"},
      {{"save", "-o", TOLV_SAMPLES_DIR}, "", kExitFailure, "cannot write '" TOLV_SAMPLES_DIR "': Is a directory"},
      // Words that look like numbers are numbers.
      {{"cells", "0x100"}, "", kExitFailure, "page '0x100' is not a page number"},
      {{"show", "1e2"}, "", kExitFailure, "page '1e2' is not a page number"},
      {{"cells", "abc"}, "", kExitFailure, "missing PAGE ('abc' was taken as INPUT)"},
      // An option once; -o=FILE is not --output=FILE.
      {{"pages", "--pid", "1", "--pid=2"}, "", kExitFailure, "option --pid given twice"},
      {{"save", "-o", "a", "--output", "b"}, "", kExitFailure, "option --output given twice"},
      {{"png", "100", "--scale", "2", "--scale", "2", "-o", "x"}, "", kExitFailure, "option --scale given twice"},
      {{"save", "-o=x"}, "", kExitFailure, "write '-o FILE' or '--output=FILE', not '-o=x'"},
      {{"show", "100", "--color=sometimes"}, "", kExitFailure, "invalid colour choice 'sometimes'"},
      {{"pages", "--t42", "--pid", "5"}, "", kExitFailure, "--pid does not apply to T42 input"},
  };
  for (const Case& c : cases) {
    const Outcome o = RunCommand(c.args, c.input);
    const std::string context = ContextOf(c.args);
    EXPECT_EQ(o.status, c.status) << context;
    EXPECT_TRUE(o.err.starts_with("tolvane: ")) << context << ": " << o.err;
    EXPECT_NE(o.err.find(c.problem), std::string::npos) << context << ": " << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << context << ": exactly one line: " << o.err;
    if (c.status != kExitSuccess) {
      EXPECT_EQ(o.out, "") << context;
    }
  }
  // T42 read as such from standard input, and the program's name and version.
  EXPECT_TRUE(RunCommand({"pages", "-", "--t42"}, bbcBytes).out.starts_with("100 0,1,2,3,4,5,6,7\n"));
  EXPECT_TRUE(RunCommand({"--version"}).out.starts_with("tolvane 0."));
  const Outcome alone = RunCommand({});
  EXPECT_EQ(alone.status, kExitFailure);
  EXPECT_TRUE(alone.err.find("usage: tolvane COMMAND") != std::string::npos) << alone.err;
}

TEST(Tolvane, PidsListsEachTeletextPidWithItsProgramMapAndVolume) {
  const Outcome o = RunCommand({"pids", SamplePath(testing::kRai)});
  ASSERT_EQ(o.status, kExitSuccess) << o.err;
  EXPECT_EQ(
      o.out,
      "0x240 (576): 804 data units; ita initial page 100, ita subtitles 777, eng subtitles 778 [read by default]\n"
      "0x241 (577): 804 data units; ita initial page 100, ita subtitles 777, eng subtitles 778\n"
      "0x242 (578): 804 data units; ITA initial page 100\n"
      "0x257 (599): 337 data units; ita initial page 100, ita subtitles 777, eng subtitles 778\n");
  // Teletext PES without a program map.
  EXPECT_EQ(RunCommand({"pids", SamplePath(testing::kArd)}).out.find("no program map names it [read by default]\n"),
            RunCommand({"pids", SamplePath(testing::kArd)}).out.size() - 42);
}

// show writes colour codes only when asked, or to a terminal.
TEST(Tolvane, ShowWritesColourOnlyWhenAskedOrToATerminal) {
  for (const auto& [option, coloured] :
       {std::pair{"--color=always", true}, {"--color", true}, {"--color=never", false}, {"--color=auto", false}}) {
    const Outcome o = RunCommand({"show", "100", option});
    EXPECT_EQ(o.status, kExitSuccess) << option;
    EXPECT_EQ(o.out.find('\x1b') != std::string::npos, coloured) << option;
    EXPECT_EQ(Plain(o.out), Plain(RunCommand({"show", "100", "--color=always"}).out)) << option;
  }
}

}  // namespace
}  // namespace tolv::tolvane
