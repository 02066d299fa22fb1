// The host simulator's script: one command a line, run step by step on the host's window thread.
//
//   wait MS                      let MS milliseconds pass
//   menu CODE                    the host's menu entry CODE: On_Menu_Select(CODE), any code
//   key KEY...                   each key pressed and released in the viewer's focused window;
//                                KEY: 0-9, A-Z, a name (Enter, Escape, Space, Tab, Back, PageUp,
//                                PageDown, Home, End, Left, Right, Up, Down, Insert, Delete, Add,
//                                Subtract, Plus, Minus, F1-F12) or a number (0x21), after
//                                optional shift+ and ctrl+ prefixes
//   channel PID [thread]         the user switches channel: the host stops the plug-in's filter,
//                                calls On_Filter_Close, then On_Channel_Change (on a thread of its
//                                own with "thread")
//   filter-close                 On_Filter_Close alone
//   channel-change PID [thread]  On_Channel_Change alone, the filter left as it is
//   close                        WM_CLOSE to the viewer window
//   exit                         the host quits: On_Exit, filters stopped, the script ends
//   unload                       On_Exit, and the DLL unloaded straight after without a message
//                                dispatched in between, as a host may do in its own shutdown; logs
//                                what is left of the plug-in seen from outside (its mutexes, window
//                                classes and font faces, the process's handles)
//   load                         the DLL loaded again and started, as at the host's start
//   wait-caption TEXT [MS]       until a control of the plug-in's windows has a caption
//                                containing TEXT (5000 ms by default)
//   wait-idle [MS]               until no filter is delivering: each one stopped or through the
//                                whole recording (5000 ms by default)
//   wait-closed [MS]             until the plug-in has no window left (5000 ms by default)
//   expect-log TEXT              a line of the host's log contains TEXT
//   expect-handles               the plug-in's live handle counts are those it had right after
//                                On_Start; logged with the process's threads and private memory
//                                (only a build of the plug-in that reports its counts has them)
//   click TEXT                   BM_CLICK to the first button of the plug-in's windows whose
//                                caption is TEXT, hidden or not (what no user of the host can
//                                do to a hidden one)
//   menu-item TEXT               chooses the item of the viewer's menu bar whose caption (before
//                                its shortcut) is TEXT; an item that is disabled fails the step;
//                                "SUBMENU > TEXT" looks in that submenu only ("Drucken > alle
//                                Seiten...")
//   save-dialog FILE TYPE        until a save dialog is open (5000 ms), then names FILE and the
//                                TYPE-th file type (from 1) in it and saves
//   dialog FILE [cancel]         until a dialog box is open (5000 ms): its caption and texts,
//                                one a line, into FILE, then its default button (OK, Yes,
//                                Print), or with "cancel" its Cancel button
//   clipboard-text FILE          the clipboard's Unicode text (CF_UNICODETEXT) as UTF-8 into FILE,
//                                line ends as they are
//   clipboard-png FILE           the clipboard's device-independent bitmap (CF_DIB) as a PNG file
//   png FILE [CLASS]             the viewer's paint box (a child of window class CLASS,
//                                TolvPaintBox by default) as a PNG file; CLASS "viewer": the
//                                viewer window's whole client area
//   controls FILE                the plug-in's windows and their controls: class, caption,
//                                visible, enabled
//   log FILE                     the host's log so far
//   latency FILE MS              for MS milliseconds (or until the filter is through the
//                                recording), page after page: types a page that the running
//                                filter has not yet delivered complete, notes when the data
//                                callback that completes it came, and waits until the viewer
//                                shows it (" Zeige: P", then the paint box's pixels read);
//                                appends "PAGE CALL MICROSECONDS" a sample to FILE and prints
//                                the count, median and 99th percentile
//
// Numbers are decimal or 0x hexadecimal; TEXT and FILE may be "quoted" (\" and \\ inside); a
// relative FILE is taken from the folder the script started in;
// # starts a comment. FILE "-" is standard output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolv::hostsim {

enum class Command : std::uint8_t {
  kWait,
  kMenu,
  kKey,
  kChannel,
  kFilterClose,
  kChannelChange,
  kClose,
  kExit,
  kWaitCaption,
  kWaitIdle,
  kWaitClosed,
  kExpectLog,
  kExpectHandles,
  kClick,
  kPng,
  kControls,
  kLog,
  kLatency,
  kMenuItem,
  kClipboardText,
  kClipboardPng,
  kUnload,
  kLoad,
  kSaveDialog,
  kDialog,
};

struct Key {
  std::uint8_t VirtualKey = 0;
  bool Shift = false;
  bool Control = false;
  bool operator==(const Key&) const = default;
};

inline constexpr std::int64_t kDefaultTimeoutMs = 5000;

struct Step {
  Command Kind = Command::kWait;
  int Line = 0;
  std::int64_t Number = 0;  // milliseconds, menu code, PID, time-out or file type
  std::string Text;         // caption text, file name, window class
  std::string Extra;        // png: the paint box's window class; dialog: "cancel" or empty
  bool OnThread = false;    // channel, channel-change
  std::vector<Key> Keys;
};

struct ParsedScript {
  std::vector<Step> Steps;
  std::vector<std::string> Errors;  // "line N: ..." for each line that is not a command
};

ParsedScript ParseScript(std::string_view text);

// One key as the script writes it; false for an unknown name.
bool ParseKey(std::string_view word, Key& key);

}  // namespace tolv::hostsim
