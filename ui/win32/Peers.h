// The peers of each kind of component, made by the Win32 back end. Each returns null for a
// component of a kind it does not make.
#pragma once

#include <memory>

#include "ui/win32/WindowPeer.h"

namespace tolv::ui::win32 {

// Panels, bevels, labels, static texts, memos, status bars, images.
std::unique_ptr<WindowPeer> NewControlPeer(Control& control);
// Buttons, bit buttons, speed buttons, check boxes.
std::unique_ptr<WindowPeer> NewButtonPeer(Control& control);
// Scroll boxes and paint boxes.
std::unique_ptr<WindowPeer> NewContainerPeer(Control& control);
// Page controls and their tab sheets.
std::unique_ptr<WindowPeer> NewPageControlPeer(Control& control);
// Main menus, menu items and timers, which live in their form's window.
std::unique_ptr<ComponentPeer> NewFormPartPeer(Component& component);

}  // namespace tolv::ui::win32
