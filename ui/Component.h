// The base of everything a form owns (controls, menu items, timers, dialogs), and the peer
// through which a back end mirrors it.
//
// The framework's objects hold every property; they are the truth in both back ends. A back end
// that shows real windows attaches one peer to each component when the form is built and is
// told through Changed() which property to copy to its window. The headless back end attaches
// peers only where it needs them (a paint box's canvas).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Events.h"

namespace tolv::ui {

class Form;

enum class Property : std::uint8_t {
  Caption,
  Color,
  Font,
  Bounds,
  Visible,
  Enabled,
  Checked,      // check box, menu item
  Down,         // speed button
  ActivePage,   // page control
  TabVisible,   // tab sheet
  Lines,        // memo
  Picture,      // image, glyphs
  Shortcut,     // menu item
  Interval,     // timer: interval or enabled state
  Invalidated,  // paint box: its picture must be painted again
  Raised,       // form: shown again while on screen: restored if minimised, and brought to the front
};

class ComponentPeer {
 public:
  virtual ~ComponentPeer() = default;
  virtual void Changed(Property property) = 0;
};

class Component {
 public:
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  virtual ~Component() = default;

  const std::string& Name() const { return name_; }
  Form& OwnerForm() const { return *owner_; }
  ComponentPeer* Peer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<ComponentPeer> peer) { peer_ = std::move(peer); }
  void DetachPeer() { peer_.reset(); }

  // Resolves the names this component's events are bound to; see Events.h.
  virtual void ResolveEvents(const HandlerTable& /*table*/, std::vector<std::string>& /*unresolved*/) {}

 protected:
  Component(Form* owner, std::string name) : owner_(owner), name_(std::move(name)) {}
  void Changed(Property property) {
    if (peer_ != nullptr) peer_->Changed(property);
  }

 private:
  Form* owner_;
  std::string name_;
  std::unique_ptr<ComponentPeer> peer_;
};

}  // namespace tolv::ui
