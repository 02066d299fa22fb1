#include "TestForms.h"

#include <algorithm>
#include <utility>

#include <gtest/gtest.h>

#include "WindowProbe.h"
#include "render/RenderingSetup.h"
#include "ui/Application.h"
#include "viewer/Reveal.h"

namespace tolv::wine {

std::vector<std::string> journal;
int timerTicks = 0;

std::string BuiltFontFile() {
  std::string path = TOLV_FONT_FILE;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string ArtefactPath(const std::string& name) { return std::string(TOLV_ARTEFACT_DIR) + "/" + name; }

std::unique_ptr<CVTPage> SamplePage() {
  auto page = CVTPage::New();
  auto put = [&](unsigned r, const std::string& bytes) {
    std::unique_ptr<VtRow> row = NewRow();
    row->fill(0x20);
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 40), row->begin());
    page->StoreRow(r, std::move(row));
  };
  put(0,
      "        \x02"
      "100 Tol-Vane\x07 01.01. 12:00:00");
  put(2, "\x0D\x03 Teletext unter Wine");
  put(5,
      "\x01Rot \x02Gruen \x03Gelb \x04"
      "Blau \x05Magenta \x06"
      "Cyan");
  put(7, "\x04\x1D\x07 Weisse Schrift auf blauem Grund   ");
  put(9, "\x11\x7F\x7F\x23\x2C\x7F \x12\x7F\x35\x6A\x7F \x1A\x13\x7F\x7F\x7F\x7F\x16\x7F\x2F\x7F");
  put(11,
      "\x07Seite \x03"
      "101\x07 Farben  \x03"
      "102\x07 Bild");
  put(13,
      "\x07"
      "Antwort: \x03\x18"
      "42 (verdeckt)");
  put(23,
      "\x01Rot   \x02Gruen   \x03Gelb   \x06"
      "Cyan");
  return page;
}

void ViewerUnderTest::PublishHandlers(ui::HandlerTable& table) {
  Publish(table, "FormCreate", &ViewerUnderTest::FormCreate);
  Publish(table, "FormDestroy", &ViewerUnderTest::FormDestroy);
  Publish(table, "FormClose", &ViewerUnderTest::FormClose);
  Publish(table, "FormKeyDown", &ViewerUnderTest::FormKeyDown);
  Publish(table, "PaintBox1Paint", &ViewerUnderTest::PaintBox1Paint);
  Publish(table, "mnAboutClick", &ViewerUnderTest::mnAboutClick);
  for (const char* name : {"mnRevealClick", "SpeedButtonRevealClick"})
    Publish(table, name, &ViewerUnderTest::RevealClick);
  for (const char* name : {"mnPauseClick", "SpeedButtonPauseClick"}) Publish(table, name, &ViewerUnderTest::PauseClick);
  for (const char* name :
       {"mnClearMemClick", "mnPrinterSetupClick", "mnCloseAppClick", "SpeedButton4Click", "mnCopyAsTextClick",
        "mnCopyAsGraphicClick", "mnSaveActClick", "mnSaveSubpagesClick", "mnSaveAllPagesClick", "mnPrintActClick",
        "mnPrintSubpagesClick", "mnPrintAllPagesClick", "mnPrintBackgroundClick", "Timer1Timer"}) {
    table.Add(name, ui::TNotifyEvent([name](ui::Component& s) {
                // Ticks are counted apart: they come whenever the loop runs, between any two steps.
                if (std::string(name) == "Timer1Timer") {
                  ++timerTicks;
                } else {
                  journal.push_back(std::string(name) + ":" + s.Name());
                }
              }));
  }
  table.Add("PaintBox1MouseDown",
            ui::TMouseEvent([](ui::Component& s, ui::TMouseButton button, ui::TShiftState, int x, int y) {
              journal.push_back("PaintBox1MouseDown:" + s.Name() + ":" + std::to_string(button) + "@" +
                                std::to_string(x) + "," + std::to_string(y));
            }));
}

// What the viewer's own creation handler does to the layout.
void ViewerUnderTest::FormCreate(ui::Component& /*sender*/) {
  SetCaption("Tol-Vane DVB");
  for (ui::TabSheet* sheet : {TabSheet1, TabSheet2, TabSheet3}) sheet->SetTabVisible(false);
  SpeedButton4->SetVisible(false);
  PanelDebugInfo->SetVisible(false);
  PanelSearch->SetCaption(" Suche: 100");
  PanelSearch->SetColor(ui::clLime);
  PanelShow->SetCaption(" Zeige: 100");
  window_.PaintBox = PaintBox1->Canvas();
  window_.PaintBoxWidth = PaintBox1->Width();
  SetUpRendering(window_, BuiltFontFile());
  page_ = SamplePage();
  window_.DisplayPage = page_.get();
  journal.push_back("FormCreate");
}

void ViewerUnderTest::FormDestroy(ui::Component& /*sender*/) {
  RemoveRenderingFonts(BuiltFontFile());
  FreeRenderingBitmap(window_);
  journal.push_back("FormDestroy");
}

void ViewerUnderTest::FormClose(ui::Component& /*sender*/, ui::TCloseAction& action) {
  action = ui::caFree;
  journal.push_back("FormClose");
}

void ViewerUnderTest::FormKeyDown(ui::Component& /*sender*/, std::uint16_t& key, ui::TShiftState /*shift*/) {
  journal.push_back("FormKeyDown:" + std::to_string(key));
}

void ViewerUnderTest::PaintBox1Paint(ui::Component& /*sender*/) { PaintPage(window_, GetReveal()); }

void ViewerUnderTest::RevealClick(ui::Component& sender) {
  journal.push_back("Reveal:" + sender.Name());
  mnReveal->SetChecked(!mnReveal->Checked());
  SpeedButtonReveal->SetDown(mnReveal->Checked());
}

void ViewerUnderTest::PauseClick(ui::Component& sender) {
  journal.push_back("Pause:" + sender.Name());
  if (&sender == mnPause) SpeedButtonPause->SetDown(!SpeedButtonPause->Down());
  mnPause->SetChecked(SpeedButtonPause->Down());
}

void ViewerUnderTest::mnAboutClick(ui::Component& /*sender*/) {
  journal.push_back("mnAboutClick");
  ui::Application().CreateForm(frmAbout);
  frmAbout->ShowModal();
}

namespace {
std::function<void()> pendingScript;
UINT_PTR scriptTimer = 0;
UINT_PTR watchdogTimer = 0;

void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  watchdogTimer = 0;
  if (frmAbout != nullptr && frmAbout->InModalLoop()) {
    ADD_FAILURE() << "the about dialog was still open 10 s after the script ran";
    frmAbout->Close();
  }
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  scriptTimer = 0;
  std::function<void()> script = std::exchange(pendingScript, nullptr);
  if (script) script();
  if (watchdogTimer != 0) KillTimer(nullptr, watchdogTimer);
  watchdogTimer = SetTimer(nullptr, 0, 10000, Watchdog);
}
}  // namespace

void AtNextModalLoop(std::function<void()> script) {
  pendingScript = std::move(script);
  scriptTimer = SetTimer(nullptr, 0, 30, RunScript);
}

void EndModalScripts() {
  pendingScript = nullptr;
  for (UINT_PTR* timer : {&scriptTimer, &watchdogTimer}) {
    if (*timer != 0) KillTimer(nullptr, std::exchange(*timer, 0));
  }
}

}  // namespace tolv::wine
