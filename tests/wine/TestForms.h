// The two windows of the viewer as the Win32 tests drive them: the viewer's layout with its
// handlers recorded (and its creation doing what the viewer's does: caption, hidden tabs and
// controls, panel texts, page drawing with the real fonts), the real about dialog, and a way to
// act inside a modal loop as its user.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pages/Lop.h"
#include "render/PageDrawing.h"
#include "viewer/FormAbout.h"
#include "viewer/Formtolvane.h"

namespace tolv::wine {

// The handlers each action reached, in order ("mnRevealClick:SpeedButtonReveal"). Outlives the
// forms, so freeing can be observed.
extern std::vector<std::string> journal;
// Timer1 ticks, kept out of the journal.
extern int timerTicks;

// The font file the build wrote, as a Windows path.
std::string BuiltFontFile();
// Where the tests leave their pictures.
std::string ArtefactPath(const std::string& name);

// A page with text, colours, mosaics and double height.
std::unique_ptr<CVTPage> SamplePage();

class ViewerUnderTest : public TFormTolv {
 public:
  ViewerUnderTest() = default;
  RenderWindow& Rendering() { return window_; }

 protected:
  void PublishHandlers(ui::HandlerTable& table) override;

 private:
  void FormCreate(ui::Component& sender);
  void FormDestroy(ui::Component& sender);
  void FormClose(ui::Component& sender, ui::TCloseAction& action);
  void FormKeyDown(ui::Component& sender, std::uint16_t& key, ui::TShiftState shift);
  void PaintBox1Paint(ui::Component& sender);
  void RevealClick(ui::Component& sender);
  void PauseClick(ui::Component& sender);
  void mnAboutClick(ui::Component& sender);

  RenderWindow window_;
  std::unique_ptr<CVTPage> page_;
};

// Runs script once from a timer of this thread, so inside the modal loop that runs next. If the
// about dialog is still open 10 s later, the test fails and the dialog is closed.
void AtNextModalLoop(std::function<void()> script);
// Stops a script or watchdog still waiting (at the end of each test).
void EndModalScripts();

}  // namespace tolv::wine
