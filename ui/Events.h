// Events and their binding by name.
//
// A layout binds each event to the name of a handler method ("mnClearMemClick"), as a form
// resource does. Each form publishes its handler methods in a HandlerTable; when the form has
// been built, every bound name is looked up there. A name without a published method of the
// right signature leaves the event silent and is listed by Form::UnresolvedHandlers().
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "ui/Types.h"

namespace tolv::ui {

class Component;

using TNotifyEvent = std::function<void(Component& sender)>;
// key may be set to 0 by the handler to consume the key.
using TKeyEvent = std::function<void(Component& sender, std::uint16_t& key, TShiftState shift)>;
using TMouseEvent = std::function<void(Component& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TCloseEvent = std::function<void(Component& sender, TCloseAction& action)>;

using Handler = std::variant<TNotifyEvent, TKeyEvent, TMouseEvent, TCloseEvent>;

class HandlerTable {
 public:
  void Add(std::string name, Handler handler) { handlers_.insert_or_assign(std::move(name), std::move(handler)); }
  const Handler* Find(std::string_view name) const {
    auto found = handlers_.find(name);
    return found == handlers_.end() ? nullptr : &found->second;
  }

 private:
  std::map<std::string, Handler, std::less<>> handlers_;
};

template <class Fn>
class Event {
 public:
  // Binds the event to a handler method by name; the form resolves it once it is built.
  void Bind(std::string handlerName) {
    name_ = std::move(handlerName);
    handler_ = nullptr;
  }
  // Binds a handler directly, without a name.
  void Set(Fn handler) { handler_ = std::move(handler); }
  const std::string& HandlerName() const { return name_; }
  explicit operator bool() const { return static_cast<bool>(handler_); }

  // Looks the bound name up; false (and the name added to unresolved) when no published
  // method of this event's signature has that name.
  bool Resolve(const HandlerTable& table, std::vector<std::string>& unresolved) {
    if (name_.empty()) return true;
    const Handler* found = table.Find(name_);
    const Fn* handler = found == nullptr ? nullptr : std::get_if<Fn>(found);
    if (handler == nullptr) {
      unresolved.push_back(name_);
      return false;
    }
    handler_ = *handler;
    return true;
  }

  template <class... Args>
  void operator()(Args&&... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }

 private:
  std::string name_;
  Fn handler_;
};

}  // namespace tolv::ui
