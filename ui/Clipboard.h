// The system clipboard: what a copy command puts there. One copy replaces everything the
// clipboard held before, in every format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Backend.h"

namespace tolv::ui {

struct ClipboardContent {
  std::string Text;               // UTF-8, lines joined by CR LF; empty: no text
  std::vector<std::uint8_t> Dib;  // a packed device-independent bitmap (ui/Dib.h); empty: none
  friend bool operator==(const ClipboardContent&, const ClipboardContent&) = default;
};

// Puts content on the clipboard for owner (the window the copy command belongs to). False when
// the clipboard could not be had or the memory not be allocated: the clipboard then holds
// whatever it held, or nothing.
inline bool PutOnClipboard(Form* owner, const ClipboardContent& content) {
  return CurrentBackend().PutOnClipboard(owner, content);
}

}  // namespace tolv::ui
