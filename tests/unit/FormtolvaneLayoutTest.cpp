// The viewer window's layout: controls, menus, event bindings and what disabled entries do.
#include "viewer/Formtolvane.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <typeinfo>

#include "ui/Application.h"
#include "ui/headless/Driver.h"

namespace tolv {
namespace {

using ui::headless::Click;
using ui::headless::PressKey;
using Headless = ui::headless::HeadlessBackend;

// Outlives the window, so its destruction can be observed.
std::vector<std::string> calls;

// The layout with every handler name the viewer uses published as a recorder, so each binding
// can be followed from a user's action to the handler name and the sender.
class RecordingFormTolv : public TFormTolv {
 protected:
  void PublishHandlers(ui::HandlerTable& table) override {
    for (const char* name :
         {"FormCreate",           "FormDestroy",           "Timer1Timer",          "PaintBox1Paint",
          "mnPauseClick",         "SpeedButtonPauseClick", "mnRevealClick",        "SpeedButtonRevealClick",
          "mnClearMemClick",      "mnPrinterSetupClick",   "mnCloseAppClick",      "mnAboutClick",
          "SpeedButton4Click",    "mnCopyAsTextClick",     "mnCopyAsGraphicClick", "mnSaveActClick",
          "mnSaveSubpagesClick",  "mnSaveAllPagesClick",   "mnPrintActClick",      "mnPrintSubpagesClick",
          "mnPrintAllPagesClick", "mnPrintBackgroundClick"}) {
      table.Add(name,
                ui::TNotifyEvent([name](ui::Component& s) { calls.push_back(std::string(name) + ":" + s.Name()); }));
    }
    table.Add("FormKeyDown", ui::TKeyEvent([](ui::Component& s, std::uint16_t& key, ui::TShiftState) {
                calls.push_back("FormKeyDown:" + s.Name() + ":" + std::to_string(key));
              }));
    table.Add("PaintBox1MouseDown", ui::TMouseEvent([](ui::Component& s, ui::TMouseButton, ui::TShiftState, int, int) {
                calls.push_back("PaintBox1MouseDown:" + s.Name());
              }));
    table.Add("FormClose", ui::TCloseEvent([](ui::Component& s, ui::TCloseAction& action) {
                calls.push_back("FormClose:" + s.Name());
                action = ui::caFree;
              }));
  }
};

class FormtolvaneLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    form = ui::Application().NewForm<RecordingFormTolv>();
    form->Show();
  }
  ui::headless::Session session;
  TFormTolv* form = nullptr;
};

std::string KindOf(const ui::Component& c) {
  // Most derived first: a BitBtn is a Button, a TabSheet a WinControl.
  if (dynamic_cast<const ui::TabSheet*>(&c)) return "TabSheet";
  if (dynamic_cast<const ui::PageControl*>(&c)) return "PageControl";
  if (dynamic_cast<const ui::Panel*>(&c)) return "Panel";
  if (dynamic_cast<const ui::ScrollBox*>(&c)) return "ScrollBox";
  if (dynamic_cast<const ui::Bevel*>(&c)) return "Bevel";
  if (dynamic_cast<const ui::SpeedButton*>(&c)) return "SpeedButton";
  if (dynamic_cast<const ui::StatusBar*>(&c)) return "StatusBar";
  if (dynamic_cast<const ui::PaintBox*>(&c)) return "PaintBox";
  if (dynamic_cast<const ui::CheckBox*>(&c)) return "CheckBox";
  if (dynamic_cast<const ui::Label*>(&c)) return "Label";
  if (dynamic_cast<const ui::StaticText*>(&c)) return "StaticText";
  if (dynamic_cast<const ui::Memo*>(&c)) return "Memo";
  return typeid(c).name();
}

// Client area of the window: 915 x 530 less the sizeable frame, the caption and the menu bar.
constexpr int kClientW = 915 - 2 * Headless::kSizeableBorder;
constexpr int kClientH = 530 - 2 * Headless::kSizeableBorder - Headless::kCaptionHeight - Headless::kMenuBarHeight;
constexpr int kPageW = kClientW - Headless::kTabStrip.Left - Headless::kTabStrip.Right;
constexpr int kPageH = kClientH - 27 - 19 - Headless::kTabStrip.Top - Headless::kTabStrip.Bottom;

struct ControlRow {
  const char* name;
  const char* kind;
  const char* parent;
  const char* caption;
  ui::TRect bounds;
  bool enabled;
};

// Checked for every control: kind, container, caption, bounds (relative to the container's
// client area) and whether a user can operate it.
const ControlRow kControls[] = {
    {"Panel1", "Panel", "FormTolv", "", {0, 0, kClientW, 27}, true},
    {"PanelSearch", "Panel", "Panel1", "", {4, 3, 85, 20}, true},
    {"PanelShow", "Panel", "Panel1", "", {92, 3, 109, 20}, true},
    {"Bevel1", "Bevel", "Panel1", "", {216, 1, 6, 25}, true},
    {"SpeedButtonOpen", "SpeedButton", "Panel1", "", {224, 1, 25, 25}, false},
    // Enabled: save and print the page on show (the design had them disabled).
    {"SpeedButtonSaveAs", "SpeedButton", "Panel1", "", {249, 1, 25, 25}, true},
    {"SpeedButtonPrint", "SpeedButton", "Panel1", "", {274, 1, 25, 25}, true},
    {"Bevel2", "Bevel", "Panel1", "", {307, 1, 6, 25}, true},
    {"SpeedButtonReveal", "SpeedButton", "Panel1", "", {316, 1, 25, 25}, true},
    {"SpeedButtonSetClock", "SpeedButton", "Panel1", "", {341, 1, 25, 25}, false},
    {"Bevel3", "Bevel", "Panel1", "", {374, 1, 6, 25}, true},
    {"SpeedButtonDelAll", "SpeedButton", "Panel1", "", {383, 1, 25, 25}, true},
    {"Bevel4", "Bevel", "Panel1", "", {416, 1, 6, 25}, true},
    {"SpeedButtonPause", "SpeedButton", "Panel1", "", {425, 1, 25, 25}, true},
    {"Bevel5", "Bevel", "Panel1", "", {458, 1, 6, 25}, true},
    {"SpeedButton4", "SpeedButton", "Panel1", "Alles Speichern", {488, 2, 89, 22}, true},
    {"StatusBar1", "StatusBar", "FormTolv", "", {0, kClientH - 19, kClientW, 19}, true},
    {"PageControl1", "PageControl", "FormTolv", "", {0, 27, kClientW, kClientH - 27 - 19}, true},
    {"TabSheet4", "TabSheet", "PageControl1", "VT", {0, 0, kPageW, kPageH}, true},
    {"TabSheet1", "TabSheet", "PageControl1", "Attr.", {0, 0, kPageW, kPageH}, false},
    {"TabSheet2", "TabSheet", "PageControl1", "MOT", {0, 0, kPageW, kPageH}, true},
    {"TabSheet3", "TabSheet", "PageControl1", "Log", {0, 0, kPageW, kPageH}, true},
    {"ScrollBox1", "ScrollBox", "TabSheet4", "", {0, 0, kPageW, kPageH}, true},
    {"PaintBox1", "PaintBox", "ScrollBox1", "", {0, 0, 733, 385}, true},
    {"PanelDebugInfo", "Panel", "ScrollBox1", "", {kPageW - 4 - 161, 0, 161, kPageH - 4}, true},
    {"CheckBoxLOP", "CheckBox", "PanelDebugInfo", "LOP", {8, 8, 145, 17}, false},
    {"Label1", "Label", "PanelDebugInfo", "Level:", {8, 32, 40, 13}, true},
    {"StaticTextLevel", "StaticText", "PanelDebugInfo", "-", {56, 31, 40, 17}, true},
    {"CheckBoxErasePage", "CheckBox", "PanelDebugInfo", "Erase Page", {8, 56, 145, 17}, false},
    {"CheckBoxNewsflash", "CheckBox", "PanelDebugInfo", "Newsflash", {8, 76, 145, 17}, false},
    {"CheckBoxSubtitle", "CheckBox", "PanelDebugInfo", "Subtitle", {8, 96, 145, 17}, false},
    {"CheckBoxSuppressHeader", "CheckBox", "PanelDebugInfo", "Suppress Header", {8, 116, 145, 17}, false},
    {"CheckBoxUpdateIndicator", "CheckBox", "PanelDebugInfo", "Update Indicator", {8, 136, 145, 17}, false},
    {"CheckBoxInterruptedSequence", "CheckBox", "PanelDebugInfo", "Interrupted Sequence", {8, 156, 145, 17}, false},
    {"CheckBoxInhibitDisplay", "CheckBox", "PanelDebugInfo", "Inhibit Display", {8, 176, 145, 17}, false},
    {"CheckBoxModeParSer", "CheckBox", "PanelDebugInfo", "Mode: 0=parallel, 1=serial", {8, 196, 145, 17}, false},
    {"Label2", "Label", "PanelDebugInfo", "CharSet:", {8, 224, 44, 13}, true},
    {"StaticTextCharSet", "StaticText", "PanelDebugInfo", "-", {56, 223, 40, 17}, true},
    {"MemoDebugLog", "Memo", "TabSheet3", "", {0, 0, 553, kPageH}, true},
};

TEST_F(FormtolvaneLayout, EveryControlHasItsKindPlaceCaptionBoundsAndState) {
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    auto* control = dynamic_cast<ui::Control*>(form->FindComponent(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(KindOf(*control), row.kind);
    ASSERT_NE(control->Parent(), nullptr);
    EXPECT_EQ(control->Parent()->Name(), row.parent);
    EXPECT_EQ(control->Caption(), row.caption);
    EXPECT_EQ(control->Bounds(), row.bounds);
    EXPECT_EQ(control->Enabled(), row.enabled);
    EXPECT_TRUE(control->Visible());  // FormCreate hides what the user must not see
  }
}

TEST_F(FormtolvaneLayout, TheWindowItselfAsDesigned) {
  EXPECT_EQ(form->Caption(), "FormTolv");
  EXPECT_EQ(form->Bounds(), (ui::TRect{216, 98, 915, 530}));
  EXPECT_EQ(form->Color(), ui::clBtnFace);
  EXPECT_EQ(form->Font(), ui::TFont{});  // MS Sans Serif, 8 pt
  EXPECT_TRUE(form->KeyPreview());
  EXPECT_EQ(form->Menu(), form->MainMenu1);
  EXPECT_EQ(form->Timer1->Interval(), 100u);
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet4);
  EXPECT_TRUE(form->ScrollBox1->TracksThumb());
  EXPECT_TRUE(form->MemoDebugLog->ReadOnly());
  EXPECT_TRUE(form->MemoDebugLog->Lines().empty());
}

TEST_F(FormtolvaneLayout, StatusPanelsAreBoldLeftAlignedAndSunkenTheSearchPanelRed) {
  for (ui::Panel* panel : {form->PanelSearch, form->PanelShow}) {
    EXPECT_TRUE(panel->Font().Bold);
    EXPECT_EQ(panel->Alignment(), ui::TextAlign::Left);
    EXPECT_EQ(panel->BevelInner(), ui::BevelCut::Lowered);
    EXPECT_EQ(panel->BevelOuter(), ui::BevelCut::None);
  }
  EXPECT_EQ(form->PanelSearch->Color(), ui::clRed);
  EXPECT_EQ(form->PanelShow->Color(), ui::clBtnFace);
  EXPECT_EQ(form->Panel1->BevelOuter(), ui::BevelCut::Lowered);
  EXPECT_EQ(form->PanelDebugInfo->BevelOuter(), ui::BevelCut::None);
}

TEST_F(FormtolvaneLayout, ToolbarButtonsCarryTwoStateGlyphsAndOnlyPauseAndRevealToggle) {
  for (ui::SpeedButton* button :
       {form->SpeedButtonOpen, form->SpeedButtonSaveAs, form->SpeedButtonPrint, form->SpeedButtonReveal,
        form->SpeedButtonSetClock, form->SpeedButtonDelAll, form->SpeedButtonPause}) {
    SCOPED_TRACE(button->Name());
    EXPECT_EQ(button->NumGlyphs(), 2);
    EXPECT_EQ(button->Glyph().Width, 32);
    EXPECT_EQ(button->Glyph().Height, 16);
    EXPECT_EQ(button->IsToggle(), button == form->SpeedButtonReveal || button == form->SpeedButtonPause);
    EXPECT_FALSE(button->Down());
  }
  EXPECT_NE(form->SpeedButtonPause->Glyph(), form->SpeedButtonReveal->Glyph());
}

void CollectInOrder(const std::vector<ui::MenuItem*>& items, std::vector<const ui::MenuItem*>& out) {
  for (const ui::MenuItem* item : items) {
    out.push_back(item);
    CollectInOrder(item->Items(), out);
  }
}

// The menu table is the menu's one description; the window must hold exactly what it says.
TEST_F(FormtolvaneLayout, MainMenuHoldsEveryEntryOfItsTableInOrder) {
  std::vector<const ui::MenuItem*> items;
  CollectInOrder(form->MainMenu1->Items(), items);
  const std::span<const MenuEntry> menu = FormTolvMenu();
  ASSERT_EQ(items.size(), menu.size());
  std::set<ui::TShortCut> shortcuts;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuEntry& row = menu[i];
    const ui::MenuItem& item = *items[i];
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(&item, form->*row.Field);
    EXPECT_EQ(item.Name(), row.Name);
    EXPECT_EQ(item.Parent(), row.Parent != nullptr ? form->*row.Parent : nullptr);
    EXPECT_EQ(item.Caption(), row.Caption);
    EXPECT_EQ(item.ShortCut(), row.ShortCut);
    EXPECT_EQ(item.Enabled(), row.Enabled);
    EXPECT_EQ(item.IsCheckItem(), row.CheckItem);
    EXPECT_EQ(item.OnClick.HandlerName(), row.Handler != nullptr ? row.Handler : "");
    EXPECT_TRUE(item.Visible());
    EXPECT_FALSE(item.Checked());
    // No two items share a shortcut: the second could never be chosen by its keys.
    if (row.ShortCut != ui::scNone) {
      EXPECT_TRUE(shortcuts.insert(row.ShortCut).second);
    }
  }
  EXPECT_EQ(ui::ShortCutToText(form->mnClearMem->ShortCut()), "Strg+L");
}

TEST_F(FormtolvaneLayout, EveryBoundNameIsAViewerHandlerOfTheRightSignature) {
  EXPECT_TRUE(form->UnresolvedHandlers().empty());
  EXPECT_EQ(calls, (std::vector<std::string>{"FormCreate:FormTolv"}));
}

struct ActionRow {
  const char* action;
  std::function<bool(TFormTolv&)> perform;
  const char* call;  // handler:sender
};

TEST_F(FormtolvaneLayout, UserActionsReachTheirHandlers) {
  auto click = [](const char* what) { return [what](TFormTolv& f) { return Click(f, what); }; };
  auto ctrl = [](char key) {
    return [key](TFormTolv& f) { return PressKey(f, static_cast<std::uint16_t>(key), ui::ssCtrl); };
  };
  const ActionRow actions[] = {
      {"Druckereinrichtung", click("Druckereinrichtung..."), "mnPrinterSetupClick:mnPrinterSetup"},
      {"Beenden", click("Beenden"), "mnCloseAppClick:mnCloseApp"},
      {"Info", click("Info über Tol-Vane DVB..."), "mnAboutClick:mnAbout"},
      {"Rätseltaste", click("Rätseltaste"), "mnRevealClick:mnReveal"},
      {"Speicher löschen", click("Speicher löschen..."), "mnClearMemClick:mnClearMem"},
      {"Pause", click("Pause (SPACE)"), "mnPauseClick:mnPause"},
      {"reveal button", click("SpeedButtonReveal"), "SpeedButtonRevealClick:SpeedButtonReveal"},
      {"delete button", click("SpeedButtonDelAll"), "mnClearMemClick:SpeedButtonDelAll"},
      {"pause button", click("SpeedButtonPause"), "SpeedButtonPauseClick:SpeedButtonPause"},
      {"page file button", click("Alles Speichern"), "SpeedButton4Click:SpeedButton4"},
      {"Seite als Text kopieren", click("Seite als Text kopieren"), "mnCopyAsTextClick:mnCopyAsText"},
      {"Seite als Grafik kopieren", click("Seite als Grafik kopieren"), "mnCopyAsGraphicClick:mnCopyAsGraphic"},
      {"Ctrl+C", ctrl('C'), "mnCopyAsTextClick:mnCopyAsText"},
      {"Ctrl+S", ctrl('S'), "mnSaveActClick:mnSaveAct"},
      {"alle Unterseiten speichern", click("mnSaveSubpages"), "mnSaveSubpagesClick:mnSaveSubpages"},
      {"alle Seiten speichern", click("mnSaveAllPages"), "mnSaveAllPagesClick:mnSaveAllPages"},
      {"save button", click("SpeedButtonSaveAs"), "mnSaveActClick:SpeedButtonSaveAs"},
      {"Ctrl+P", ctrl('P'), "mnPrintActClick:mnPrintAct"},
      {"alle Unterseiten drucken", click("mnPrintSubpages"), "mnPrintSubpagesClick:mnPrintSubpages"},
      {"alle Seiten drucken", click("mnPrintAllPages"), "mnPrintAllPagesClick:mnPrintAllPages"},
      {"print button", click("SpeedButtonPrint"), "mnPrintActClick:SpeedButtonPrint"},
      {"Hintergrund drucken", click("Hintergrund drucken"), "mnPrintBackgroundClick:mnPrintBackground"},
      {"Ctrl+R", ctrl('R'), "mnRevealClick:mnReveal"},
      {"Ctrl+L", ctrl('L'), "mnClearMemClick:mnClearMem"},
      {"Space", [](TFormTolv& f) { return !PressKey(f, ui::vk::Space); }, "FormKeyDown:FormTolv:32"},
      {"Enter", [](TFormTolv& f) { return !PressKey(f, ui::vk::Return); }, "FormKeyDown:FormTolv:13"},
      {"timer",
       [](TFormTolv& f) {
         ui::headless::TickTimers(f);
         return true;
       },
       "Timer1Timer:Timer1"},
      {"paint",
       [](TFormTolv& f) {
         ui::headless::Paint(*f.PaintBox1);
         return true;
       },
       "PaintBox1Paint:PaintBox1"},
      {"right click", [](TFormTolv& f) { return ui::headless::MouseDown(*f.PaintBox1, ui::mbRight, {}, 100, 50); },
       "PaintBox1MouseDown:PaintBox1"},
  };
  for (const ActionRow& row : actions) {
    SCOPED_TRACE(row.action);
    calls.clear();
    EXPECT_TRUE(row.perform(*form));
    EXPECT_EQ(calls, (std::vector<std::string>{row.call}));
  }
}

TEST_F(FormtolvaneLayout, DisabledItemsButtonsAndTheirShortcutsDoNothing) {
  calls.clear();
  for (const MenuEntry& row : FormTolvMenu()) {
    if (!row.Enabled) {
      EXPECT_FALSE(Click(*form, row.Name)) << row.Name;
    }
  }
  for (const char* button : {"SpeedButtonOpen", "SpeedButtonSetClock"}) {
    EXPECT_FALSE(Click(*form, button)) << button;
  }
  EXPECT_TRUE(calls.empty());
  // The shortcuts of disabled items run nothing; the key goes on to the key handler as any key.
  for (const MenuEntry& row : FormTolvMenu()) {
    if (row.Enabled || row.ShortCut == ui::scNone) continue;
    const auto key = static_cast<std::uint16_t>(row.ShortCut & 0xFFu);
    calls.clear();
    EXPECT_FALSE(PressKey(*form, key, ui::ssCtrl)) << row.Name;
    EXPECT_EQ(calls, (std::vector<std::string>{"FormKeyDown:FormTolv:" + std::to_string(key)})) << row.Name;
  }
}

TEST_F(FormtolvaneLayout, HidingTheDesignOnlyPartsLeavesTheVtPageAlone) {
  EXPECT_TRUE(ui::headless::SelectTab(*form, "MOT"));
  EXPECT_FALSE(ui::headless::SelectTab(*form, "Attr."));  // disabled from the design on
  form->PageControl1->SetActivePage(form->TabSheet4);
  // What the window's creation hides.
  form->PanelDebugInfo->SetVisible(false);
  for (ui::TabSheet* tab : {form->TabSheet1, form->TabSheet2, form->TabSheet3}) tab->SetTabVisible(false);
  form->SpeedButton4->SetVisible(false);

  EXPECT_EQ(form->PageControl1->VisibleTabs(), (std::vector<ui::TabSheet*>{form->TabSheet4}));
  EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet4);
  for (const char* tab : {"Attr.", "MOT", "Log"}) EXPECT_FALSE(ui::headless::SelectTab(*form, tab)) << tab;
  EXPECT_FALSE(form->CheckBoxLOP->Showing());
  EXPECT_FALSE(form->StaticTextCharSet->Showing());
  EXPECT_TRUE(form->PaintBox1->Showing());
  calls.clear();
  EXPECT_FALSE(Click(*form, "Alles Speichern"));
  EXPECT_TRUE(calls.empty());
}

TEST_F(FormtolvaneLayout, ClosingWithFreeFreesTheWindowAfterTheEvent) {
  calls.clear();
  ui::headless::CloseBox(*form);
  EXPECT_EQ(calls, (std::vector<std::string>{"FormClose:FormTolv", "FormDestroy:FormTolv"}));
  EXPECT_EQ(ui::Application().FormCount(), 0u);
}

}  // namespace
}  // namespace tolv
