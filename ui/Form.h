// A top-level window: it owns every component built on it, binds their events by name to its
// handler methods, previews keys, runs its menu's Ctrl shortcuts, and closes, frees itself or
// runs modally.
//
// Life of a form: the derived constructor builds the layout; TApplication then attaches the
// back end's peers, resolves the event bindings and runs OnCreate (Loaded). Closing runs
// OnClose, whose action may free the form: it is then released and freed by the application
// once the current event is over, running OnDestroy before the derived members go.
#pragma once

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Control.h"

namespace tolv::ui {

class Button;
class MainMenu;

enum class BorderStyle : std::uint8_t { Sizeable, Dialog };
enum class FormPosition : std::uint8_t { Designed, ScreenCenter };

class Form : public WinControl {
 public:
  ~Form() override = default;

  // Builds a component on this form; the form owns it. For controls, parent is the container.
  template <class T, class... Args>
  T* Make(std::string name, Args&&... args) {
    auto component = std::make_unique<T>(this, std::move(name), std::forward<Args>(args)...);
    T* raw = component.get();
    components_.push_back(std::move(component));
    if (loaded_) AttachPeer(*raw);
    return raw;
  }
  const std::vector<std::unique_ptr<Component>>& Components() const { return components_; }
  Component* FindComponent(std::string_view name) const;

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool preview) { keyPreview_ = preview; }
  MainMenu* Menu() const { return menu_; }
  void SetMenu(MainMenu* menu) { menu_ = menu; }
  ui::BorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(ui::BorderStyle style) { borderStyle_ = style; }
  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { position_ = position; }
  // Sets the outer size that gives this client area with the back end's frame.
  void SetClientSize(int width, int height);
  TInsets ClientInsets() const override;

  Event<TNotifyEvent> OnCreate;
  Event<TCloseEvent> OnClose;
  Event<TNotifyEvent> OnDestroy;
  Event<TKeyEvent> OnKeyDown;
  void ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) override;
  // The bound handler names no published method answered, in binding order.
  const std::vector<std::string>& UnresolvedHandlers() const { return unresolved_; }

  void Show();
  void Hide() { SetVisible(false); }
  // Runs the form as a modal dialog until a button with a modal result or Close ends it;
  // returns that result (mrCancel for Close).
  TModalResult ShowModal();
  bool InModalLoop() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  // The close box: a modal form ends with mrCancel (unless a result is already set); any other
  // form runs OnClose and hides, frees itself or stays as the handler's action says.
  void Close();
  // Frees the form once the current event is over.
  void Release();

  // Every key pressed while the form is active, in this order: a menu shortcut of an item the
  // user can choose runs that item; the form's OnKeyDown with key preview (a key set to 0 is
  // consumed); Enter clicks the default button. True when the key was used up.
  bool DispatchKeyDown(std::uint16_t& key, TShiftState shift);

  // Called by TApplication when the derived form is complete.
  void Loaded();
  // Called by TApplication just before the form is deleted.
  void BeforeDestruction();

 protected:
  explicit Form(std::string name);
  // Each form lists its handler methods here, with Publish.
  virtual void PublishHandlers(HandlerTable& /*table*/) {}

  template <class F, class... Args>
  void Publish(HandlerTable& table, std::string name, void (F::*method)(Args...)) {
    F* self = static_cast<F*>(this);
    table.Add(std::move(name), std::function<void(Args...)>(
                                   [self, method](Args... args) { (self->*method)(std::forward<Args>(args)...); }));
  }

 private:
  void AttachPeer(Component& component);
  void EndModal();
  Button* DefaultButton() const;

  std::vector<std::unique_ptr<Component>> components_;
  std::vector<std::string> unresolved_;
  MainMenu* menu_ = nullptr;
  bool keyPreview_ = false;
  ui::BorderStyle borderStyle_ = ui::BorderStyle::Sizeable;
  FormPosition position_ = FormPosition::Designed;
  bool loaded_ = false;
  bool destroyed_ = false;
  bool modal_ = false;
  TModalResult modalResult_ = mrNone;
};

}  // namespace tolv::ui
