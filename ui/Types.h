// The small value types of the window framework: colours, rectangles, fonts, keys, shortcuts,
// modifier states and the results of closing and of modal dialogs.
//
// Texts (captions, lines) are UTF-8 throughout the framework; the Win32 back end converts them
// to Windows-1252 at the "A" functions (see ui/TextEncoding.h).
#pragma once

#include <cstdint>
#include <string>

namespace tolv::ui {

// 0x00BBGGRR. A value with the top bit set names a system colour by its Win32 index.
using TColor = std::uint32_t;
inline constexpr TColor kSystemColorFlag = 0x80000000u;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15u;
inline constexpr TColor clWindow = kSystemColorFlag | 5u;
inline constexpr TColor clWindowText = kSystemColorFlag | 8u;
inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clRed = 0x0000FFu;
inline constexpr TColor clLime = 0x00FF00u;
inline constexpr TColor clBlue = 0xFF0000u;
inline constexpr TColor clNavy = 0x800000u;
inline constexpr TColor clYellow = 0x00FFFFu;
inline constexpr TColor clGray = 0x808080u;
inline constexpr TColor clSilver = 0xC0C0C0u;
inline constexpr TColor clWhite = 0xFFFFFFu;
inline constexpr TColor clFuchsia = 0xFF00FFu;

constexpr bool IsSystemColor(TColor color) { return (color & kSystemColorFlag) != 0; }

// Position relative to the parent's client area, and size, in pixels.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  constexpr int Right() const { return Left + Width; }
  constexpr int Bottom() const { return Top + Height; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TInsets {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TInsets&, const TInsets&) = default;
};

struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;  // points
  TColor Color = clWindowText;
  bool Bold = false;
  bool Underline = false;
  friend bool operator==(const TFont&, const TFont&) = default;
};

enum class Align : std::uint8_t { None, Top, Bottom, Left, Right, Client };
enum class TextAlign : std::uint8_t { Left, Center, Right };
enum class Cursor : std::uint8_t { Default, HandPoint };

// Modifier keys and mouse buttons held during a key or mouse event.
enum TShiftFlag : std::uint8_t {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
  ssDouble = 0x40,
};

class TShiftState {
 public:
  constexpr TShiftState() = default;
  constexpr TShiftState(TShiftFlag flag) : bits_(flag) {}  // a set of one flag
  constexpr bool Contains(TShiftFlag flag) const { return (bits_ & flag) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TShiftState operator|(TShiftState other) const { return TShiftState(bits_ | other.bits_); }
  constexpr std::uint8_t Bits() const { return bits_; }
  friend constexpr bool operator==(TShiftState, TShiftState) = default;

 private:
  constexpr explicit TShiftState(unsigned bits) : bits_(static_cast<std::uint8_t>(bits)) {}
  std::uint8_t bits_ = 0;
};

constexpr TShiftState operator|(TShiftFlag a, TShiftFlag b) { return TShiftState(a) | TShiftState(b); }

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// What a form's close handler asks for: keep the form, hide it, or free it once the close is
// complete.
enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

// The result of a modal dialog or a message box; the values of the Win32 IDOK and IDCANCEL.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;

// Win32 virtual-key codes of the keys the program acts on.
namespace vk {
inline constexpr std::uint16_t Return = 13;
inline constexpr std::uint16_t Escape = 27;
inline constexpr std::uint16_t Space = 32;
inline constexpr std::uint16_t Left = 37;
inline constexpr std::uint16_t Up = 38;
inline constexpr std::uint16_t Right = 39;
inline constexpr std::uint16_t Down = 40;
inline constexpr std::uint16_t Digit0 = 48;   // '0'..'9' are 48..57
inline constexpr std::uint16_t LetterA = 65;  // 'A'..'Z' are 65..90
inline constexpr std::uint16_t Numpad0 = 96;  // keypad 0..9 are 96..105
}  // namespace vk

// A menu shortcut: the virtual key in the low byte, modifiers in the high bits.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

constexpr TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
  unsigned sc = key & 0xFFu;
  if (shift.Contains(ssShift)) sc |= scShift;
  if (shift.Contains(ssCtrl)) sc |= scCtrl;
  if (shift.Contains(ssAlt)) sc |= scAlt;
  return static_cast<TShortCut>(sc);
}
constexpr TShortCut CtrlKey(char letter) { return ShortCut(static_cast<std::uint16_t>(letter), ssCtrl); }

// The shortcut as a German menu shows it ("Strg+R"); empty for scNone.
std::string ShortCutToText(TShortCut shortcut);

}  // namespace tolv::ui
