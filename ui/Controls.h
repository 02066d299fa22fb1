// The controls a form is built from. Each holds its own properties; see Component.h for how a
// back end mirrors them.
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/PixelImage.h"

namespace tolv::ui {

class Canvas;  // the drawing surface; a back end supplies one per paint box

enum class BevelCut : std::uint8_t { None, Lowered, Raised };
enum class BevelShape : std::uint8_t { Box, LeftLine, TopLine };

// A rectangular area with optional bevels and a one-line caption.
class Panel : public WinControl {
 public:
  Panel(Form* owner, std::string name, WinControl* parent) : WinControl(owner, std::move(name), parent) {}

  BevelCut BevelInner() const { return bevelInner_; }
  BevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevels(BevelCut inner, BevelCut outer);
  TextAlign Alignment() const { return alignment_; }
  void SetAlignment(TextAlign alignment) { alignment_ = alignment; }
  TInsets AlignMargins() const override;

 private:
  BevelCut bevelInner_ = BevelCut::None;
  BevelCut bevelOuter_ = BevelCut::Raised;
  TextAlign alignment_ = TextAlign::Center;
};

// A drawn line or frame that separates controls.
class Bevel : public Control {
 public:
  Bevel(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}
  BevelShape Shape() const { return shape_; }
  void SetShape(BevelShape shape) { shape_ = shape; }

 private:
  BevelShape shape_ = BevelShape::Box;
};

// A toolbar button with a glyph; a toggle button stays down until clicked again.
class SpeedButton : public Control {
 public:
  SpeedButton(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}

  bool IsToggle() const { return toggle_; }
  void SetToggle(bool toggle) { toggle_ = toggle; }
  bool Down() const { return down_; }
  void SetDown(bool down);
  const PixelImage& Glyph() const { return glyph_; }
  int NumGlyphs() const { return numGlyphs_; }
  void SetGlyph(PixelImage glyph, int numGlyphs);
  void Click() override;

 private:
  bool toggle_ = false;
  bool down_ = false;
  PixelImage glyph_;
  int numGlyphs_ = 1;
};

// A push button; one with a modal result ends the modal dialog it sits on with that result.
class Button : public Control {
 public:
  Button(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  // The default button answers the Enter key of its form.
  bool IsDefault() const { return default_; }
  void SetDefault(bool isDefault) { default_ = isDefault; }
  void Click() override;

 private:
  TModalResult modalResult_ = mrNone;
  bool default_ = false;
};

// A push button with a glyph beside its caption.
class BitBtn : public Button {
 public:
  BitBtn(Form* owner, std::string name, WinControl* parent) : Button(owner, std::move(name), parent) {}
  const PixelImage& Glyph() const { return glyph_; }
  void SetGlyph(PixelImage glyph);

 private:
  PixelImage glyph_;
};

class CheckBox : public Control {
 public:
  CheckBox(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  void Click() override;

 private:
  bool checked_ = false;
};

// Text on the parent's face; with WordWrap it breaks at its width.
class Label : public Control {
 public:
  Label(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }

 private:
  bool wordWrap_ = false;
};

// Text in a window of its own (so screen readers find it like any control).
class StaticText : public Control {
 public:
  StaticText(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}
};

class Memo : public Control {
 public:
  Memo(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {
    SetColor(clWindow);
  }
  const std::vector<std::string>& Lines() const { return lines_; }
  void SetLines(std::vector<std::string> lines);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

 private:
  std::vector<std::string> lines_;
  bool readOnly_ = false;
};

class StatusBar : public Control {
 public:
  StatusBar(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}
};

class Image : public Control {
 public:
  Image(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}
  const PixelImage& Picture() const { return picture_; }
  void SetPicture(PixelImage picture);
  // Stretched: the picture fills the control's bounds.
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch) { stretch_ = stretch; }

 private:
  PixelImage picture_;
  bool stretch_ = false;
};

// A container whose children may extend beyond it, reached with scroll bars.
class ScrollBox : public WinControl {
 public:
  ScrollBox(Form* owner, std::string name, WinControl* parent);
  // The content follows the scroll bar's thumb while it is dragged.
  bool TracksThumb() const { return tracksThumb_; }
  void SetTracksThumb(bool tracks) { tracksThumb_ = tracks; }
  TInsets ClientInsets() const override;

 private:
  bool tracksThumb_ = false;
};

// An area the program paints itself, on the canvas the back end supplies.
class PaintBox : public Control {
 public:
  PaintBox(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}

  // Null until the back end has supplied a canvas.
  ui::Canvas* Canvas() const { return canvas_; }
  void SetCanvas(ui::Canvas* canvas) { canvas_ = canvas; }
  // Asks the back end to have the box painted again (OnPaint) soon.
  void Invalidate() { Changed(Property::Invalidated); }
  // Runs OnPaint; the back ends call it when the box must be painted.
  void Paint() { OnPaint(*this); }

  Event<TNotifyEvent> OnPaint;
  void ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) override;

 private:
  ui::Canvas* canvas_ = nullptr;
};

}  // namespace tolv::ui
