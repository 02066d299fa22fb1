#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/hostsim/Script.h"

namespace tolv::hostsim {
namespace {

// Each line alone: the step it makes (kind, number, text, extra, thread flag).
TEST(HostsimScript, ReadsEveryCommandWithItsArguments) {
  struct Case {
    const char* line;
    Command kind;
    std::int64_t number;
    std::string text, extra;
    bool onThread;
  };
  const Case cases[] = {
      {"wait 250", Command::kWait, 250, "", "", false},
      {"menu 60001", Command::kMenu, 60001, "", "", false},
      {"menu 0xEA60", Command::kMenu, 60000, "", "", false},
      {"channel 0x0101", Command::kChannel, 0x101, "", "", false},
      {"channel 0 thread", Command::kChannel, 0, "", "", true},
      {"channel-change 257 thread", Command::kChannelChange, 257, "", "", true},
      {"filter-close", Command::kFilterClose, 0, "", "", false},
      {"close", Command::kClose, 0, "", "", false},
      {"exit", Command::kExit, 0, "", "", false},
      {"wait-caption \" Zeige: 100\"", Command::kWaitCaption, kDefaultTimeoutMs, " Zeige: 100", "", false},
      {"wait-caption Seite 800", Command::kWaitCaption, 800, "Seite", "", false},
      {"wait-caption \"say \\\"hi\\\" \\\\ # not a comment\"", Command::kWaitCaption, kDefaultTimeoutMs,
       "say \"hi\" \\ # not a comment", "", false},
      {"wait-idle", Command::kWaitIdle, kDefaultTimeoutMs, "", "", false},
      {"wait-idle 20000  # comment", Command::kWaitIdle, 20000, "", "", false},
      {"wait-closed", Command::kWaitClosed, kDefaultTimeoutMs, "", "", false},
      {"wait-closed 900", Command::kWaitClosed, 900, "", "", false},
      {"expect-handles", Command::kExpectHandles, 0, "", "", false},
      {"expect-log HOST_STOP_FILTER", Command::kExpectLog, 0, "HOST_STOP_FILTER", "", false},
      {"click \"Alles Speichern\"", Command::kClick, 0, "Alles Speichern", "", false},
      {"png page.png", Command::kPng, 0, "page.png", "TolvPaintBox", false},
      {"png \"a b.png\" Static", Command::kPng, 0, "a b.png", "Static", false},
      {"controls -", Command::kControls, 0, "-", "", false},
      {"\tlog  out.txt\r", Command::kLog, 0, "out.txt", "", false},
      {"menu-item \"Seite als Grafik kopieren\"", Command::kMenuItem, 0, "Seite als Grafik kopieren", "", false},
      {"clipboard-text clip.txt", Command::kClipboardText, 0, "clip.txt", "", false},
      {"clipboard-png clip.png", Command::kClipboardPng, 0, "clip.png", "", false},
      {"save-dialog \"saved/seite\" 2", Command::kSaveDialog, 2, "saved/seite", "", false},
      {"dialog fehler.txt", Command::kDialog, 0, "fehler.txt", "", false},
      {"dialog drucken.txt cancel", Command::kDialog, 0, "drucken.txt", "cancel", false},
  };
  for (const Case& c : cases) {
    const ParsedScript script = ParseScript(c.line);
    ASSERT_TRUE(script.Errors.empty()) << c.line << ": " << script.Errors.front();
    ASSERT_EQ(script.Steps.size(), 1u) << c.line;
    const Step& step = script.Steps.front();
    EXPECT_EQ(step.Kind, c.kind) << c.line;
    EXPECT_EQ(step.Number, c.number) << c.line;
    EXPECT_EQ(step.Text, c.text) << c.line;
    EXPECT_EQ(step.Extra, c.extra) << c.line;
    EXPECT_EQ(step.OnThread, c.onThread) << c.line;
  }
}

TEST(HostsimScript, ReadsKeysWithTheirModifiers) {
  struct Case {
    const char* word;
    Key key;
  };
  const Case cases[] = {
      {"0", {0x30, false, false}},
      {"9", {0x39, false, false}},
      {"a", {0x41, false, false}},
      {"shift+z", {0x5A, true, false}},
      {"ctrl+F1", {0x70, false, true}},
      {"F12", {0x7B, false, false}},
      {"Shift+Ctrl+PageUp", {0x21, true, true}},
      {"pagedown", {0x22, false, false}},
      {"Enter", {0x0D, false, false}},
      {"Escape", {0x1B, false, false}},
      {"Plus", {0xBB, false, false}},
      {"0x6B", {0x6B, false, false}},
      {"32", {0x20, false, false}},
  };
  for (const Case& c : cases) {
    Key key;
    ASSERT_TRUE(ParseKey(c.word, key)) << c.word;
    EXPECT_EQ(key, c.key) << c.word;
  }
  for (const char* bad : {"", "shift+", "F0", "F13", "F01", "0x100", "0x0", "PageSideways", "ab", "-1"}) {
    Key key;
    EXPECT_FALSE(ParseKey(bad, key)) << bad;
  }
  const ParsedScript script = ParseScript("key 1 0 shift+A\n");
  ASSERT_EQ(script.Steps.size(), 1u);
  EXPECT_EQ(script.Steps[0].Keys, (std::vector<Key>{{0x31, false, false}, {0x30, false, false}, {0x41, true, false}}));
}

// Every line that is not a command is reported with its number; the good lines still count.
TEST(HostsimScript, ReportsEachBadLineByNumber) {
  const ParsedScript script = ParseScript(
      "# a comment\n"
      "\n"
      "menu 60000\n"
      "jump 3\n"
      "wait\n"
      "wait 1 2\n"
      "wait -5\n"
      "wait 12ms\n"
      "channel 0x2000\n"
      "channel 1 later\n"
      "key shift+Nothing\n"
      "close now\n"
      "png\n"
      "wait-caption \"open\n"
      "expect-handles 0\n"
      "wait-closed soon\n"
      "exit\n");
  EXPECT_EQ(script.Steps.size(), 2u);
  ASSERT_EQ(script.Errors.size(), 13u);
  for (std::size_t i = 0; i < script.Errors.size(); ++i) {
    EXPECT_EQ(script.Errors[i].rfind("line " + std::to_string(i + 4) + ": ", 0), 0u) << script.Errors[i];
  }
  EXPECT_EQ(script.Steps[1].Line, 17);
}

}  // namespace
}  // namespace tolv::hostsim
