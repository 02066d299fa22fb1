// The viewer window's layout: every control with its name, kind, caption, bounds, state and
// event binding. What the window does is in its handlers.
#include "viewer/Formtolvane.h"
#include "viewer/Glyphs.h"

namespace tolv {

TFormTolv::TFormTolv() : ui::Form("FormTolv") {
  SetCaption("FormTolv");  // the design caption; FormCreate gives the window its name
  MainMenu1 = Make<ui::MainMenu>("MainMenu1");
  SetMenu(MainMenu1);
  SetBounds(216, 98, 915, 530);
  SetKeyPreview(true);
  OnCreate.Bind("FormCreate");
  OnClose.Bind("FormClose");
  OnDestroy.Bind("FormDestroy");
  OnKeyDown.Bind("FormKeyDown");

  BuildToolbar();
  StatusBar1 = Make<ui::StatusBar>("StatusBar1", this);
  StatusBar1->SetBounds(0, 0, 0, 19);
  StatusBar1->SetAlign(ui::Align::Bottom);
  BuildPages();

  Timer1 = Make<ui::Timer>("Timer1");
  Timer1->SetInterval(100);
  Timer1->OnTimer.Bind("Timer1Timer");
  PrinterSetupDialog = Make<ui::PrinterSetupDialog>("PrinterSetupDialog");
  BuildMenu();
}

void TFormTolv::BuildToolbar() {
  Panel1 = Make<ui::Panel>("Panel1", this);
  Panel1->SetBounds(0, 0, 0, 27);
  Panel1->SetAlign(ui::Align::Top);
  Panel1->SetBevels(ui::BevelCut::None, ui::BevelCut::Lowered);

  PanelSearch = Make<ui::Panel>("PanelSearch", Panel1);
  PanelShow = Make<ui::Panel>("PanelShow", Panel1);
  for (ui::Panel* status : {PanelSearch, PanelShow}) {
    status->SetBevels(ui::BevelCut::Lowered, ui::BevelCut::None);
    status->SetAlignment(ui::TextAlign::Left);
    ui::TFont bold = status->Font();
    bold.Bold = true;
    status->SetFont(bold);
  }
  PanelSearch->SetBounds(4, 3, 85, 20);
  PanelSearch->SetColor(ui::clRed);
  PanelShow->SetBounds(92, 3, 109, 20);

  Bevel1 = AddSeparator("Bevel1", 216);
  SpeedButtonOpen = AddSpeedButton("SpeedButtonOpen", 224, OpenGlyph());
  SpeedButtonSaveAs = AddSpeedButton("SpeedButtonSaveAs", 249, SaveAsGlyph());
  SpeedButtonPrint = AddSpeedButton("SpeedButtonPrint", 274, PrintGlyph());
  Bevel2 = AddSeparator("Bevel2", 307);
  SpeedButtonReveal = AddSpeedButton("SpeedButtonReveal", 316, RevealGlyph());
  SpeedButtonSetClock = AddSpeedButton("SpeedButtonSetClock", 341, SetClockGlyph());
  Bevel3 = AddSeparator("Bevel3", 374);
  SpeedButtonDelAll = AddSpeedButton("SpeedButtonDelAll", 383, DelAllGlyph());
  Bevel4 = AddSeparator("Bevel4", 416);
  SpeedButtonPause = AddSpeedButton("SpeedButtonPause", 425, PauseGlyph());
  Bevel5 = AddSeparator("Bevel5", 458);

  // The buttons without a command stay disabled.
  for (ui::SpeedButton* idle : {SpeedButtonOpen, SpeedButtonSetClock}) idle->SetEnabled(false);
  SpeedButtonSaveAs->OnClick.Bind("mnSaveActClick");
  SpeedButtonPrint->OnClick.Bind("mnPrintActClick");
  SpeedButtonReveal->SetToggle(true);
  SpeedButtonReveal->OnClick.Bind("SpeedButtonRevealClick");
  SpeedButtonDelAll->OnClick.Bind("mnClearMemClick");
  SpeedButtonPause->SetToggle(true);
  SpeedButtonPause->OnClick.Bind("SpeedButtonPauseClick");

  SpeedButton4 = Make<ui::SpeedButton>("SpeedButton4", Panel1);
  SpeedButton4->SetBounds(488, 2, 89, 22);
  SpeedButton4->SetCaption("Alles Speichern");
  SpeedButton4->OnClick.Bind("SpeedButton4Click");
}

ui::SpeedButton* TFormTolv::AddSpeedButton(const char* name, int left, const ui::PixelImage& glyph) {
  auto* button = Make<ui::SpeedButton>(name, Panel1);
  button->SetBounds(left, 1, 25, 25);
  button->SetGlyph(ui::TwoStateGlyph(glyph), 2);
  return button;
}

ui::Bevel* TFormTolv::AddSeparator(const char* name, int left) {
  auto* bevel = Make<ui::Bevel>(name, Panel1);
  bevel->SetBounds(left, 1, 6, 25);
  bevel->SetShape(ui::BevelShape::LeftLine);
  return bevel;
}

void TFormTolv::BuildPages() {
  PageControl1 = Make<ui::PageControl>("PageControl1", this);
  PageControl1->SetAlign(ui::Align::Client);
  TabSheet4 = Make<ui::TabSheet>("TabSheet4", PageControl1);
  TabSheet4->SetCaption("VT");
  TabSheet1 = Make<ui::TabSheet>("TabSheet1", PageControl1);
  TabSheet1->SetCaption("Attr.");
  TabSheet1->SetEnabled(false);
  TabSheet2 = Make<ui::TabSheet>("TabSheet2", PageControl1);
  TabSheet2->SetCaption("MOT");
  TabSheet3 = Make<ui::TabSheet>("TabSheet3", PageControl1);
  TabSheet3->SetCaption("Log");
  PageControl1->SetActivePage(TabSheet4);

  ScrollBox1 = Make<ui::ScrollBox>("ScrollBox1", TabSheet4);
  ScrollBox1->SetAlign(ui::Align::Client);
  ScrollBox1->SetTracksThumb(true);
  PaintBox1 = Make<ui::PaintBox>("PaintBox1", ScrollBox1);
  PaintBox1->SetBounds(0, 0, 733, 385);
  PaintBox1->OnPaint.Bind("PaintBox1Paint");
  PaintBox1->OnMouseDown.Bind("PaintBox1MouseDown");
  BuildDebugPanel();

  MemoDebugLog = Make<ui::Memo>("MemoDebugLog", TabSheet3);
  MemoDebugLog->SetBounds(0, 0, 553, 0);
  MemoDebugLog->SetAlign(ui::Align::Left);
  MemoDebugLog->SetReadOnly(true);
}

// The header's control bits as the design shows them; nothing fills them in.
void TFormTolv::BuildDebugPanel() {
  PanelDebugInfo = Make<ui::Panel>("PanelDebugInfo", ScrollBox1);
  PanelDebugInfo->SetBounds(0, 0, 161, 0);
  PanelDebugInfo->SetAlign(ui::Align::Right);
  PanelDebugInfo->SetBevels(ui::BevelCut::None, ui::BevelCut::None);

  CheckBoxLOP = AddFlagBox("CheckBoxLOP", "LOP", 8);
  Label1 = Make<ui::Label>("Label1", PanelDebugInfo);
  Label1->SetCaption("Level:");
  Label1->SetBounds(8, 32, 40, 13);
  StaticTextLevel = Make<ui::StaticText>("StaticTextLevel", PanelDebugInfo);
  StaticTextLevel->SetCaption("-");
  StaticTextLevel->SetBounds(56, 31, 40, 17);
  CheckBoxErasePage = AddFlagBox("CheckBoxErasePage", "Erase Page", 56);
  CheckBoxNewsflash = AddFlagBox("CheckBoxNewsflash", "Newsflash", 76);
  CheckBoxSubtitle = AddFlagBox("CheckBoxSubtitle", "Subtitle", 96);
  CheckBoxSuppressHeader = AddFlagBox("CheckBoxSuppressHeader", "Suppress Header", 116);
  CheckBoxUpdateIndicator = AddFlagBox("CheckBoxUpdateIndicator", "Update Indicator", 136);
  CheckBoxInterruptedSequence = AddFlagBox("CheckBoxInterruptedSequence", "Interrupted Sequence", 156);
  CheckBoxInhibitDisplay = AddFlagBox("CheckBoxInhibitDisplay", "Inhibit Display", 176);
  CheckBoxModeParSer = AddFlagBox("CheckBoxModeParSer", "Mode: 0=parallel, 1=serial", 196);
  Label2 = Make<ui::Label>("Label2", PanelDebugInfo);
  Label2->SetCaption("CharSet:");
  Label2->SetBounds(8, 224, 44, 13);
  StaticTextCharSet = Make<ui::StaticText>("StaticTextCharSet", PanelDebugInfo);
  StaticTextCharSet->SetCaption("-");
  StaticTextCharSet->SetBounds(56, 223, 40, 17);
}

ui::CheckBox* TFormTolv::AddFlagBox(const char* name, const char* caption, int top) {
  auto* box = Make<ui::CheckBox>(name, PanelDebugInfo);
  box->SetCaption(caption);
  box->SetBounds(8, top, 145, 17);
  box->SetEnabled(false);
  return box;
}

namespace {

using ui::CtrlKey;
using Item = ui::MenuItem* TFormTolv::*;

constexpr MenuEntry Menu(Item field, const char* name, Item parent, const char* caption) {
  return {field, name, parent, caption, ui::scNone, nullptr, true, false};
}
constexpr MenuEntry Command(Item field, const char* name, Item parent, const char* caption, const char* handler,
                            ui::TShortCut shortcut = ui::scNone) {
  return {field, name, parent, caption, shortcut, handler, handler != nullptr, false};
}
constexpr MenuEntry CheckCommand(Item field, const char* name, Item parent, const char* caption, const char* handler,
                                 ui::TShortCut shortcut = ui::scNone) {
  MenuEntry entry = Command(field, name, parent, caption, handler, shortcut);
  entry.CheckItem = true;
  return entry;
}
constexpr MenuEntry Separator(Item field, const char* name, Item parent) { return Menu(field, name, parent, "-"); }

// Enabling a command is giving it its handler.
constexpr MenuEntry kMenu[] = {
    Menu(&TFormTolv::mnFile, "mnFile", nullptr, "&Datei"),
    Command(&TFormTolv::mnOpen, "mnOpen", &TFormTolv::mnFile, "Öffnen...", nullptr, CtrlKey('O')),
    Separator(&TFormTolv::N1, "N1", &TFormTolv::mnFile),
    Menu(&TFormTolv::Speichern1, "Speichern1", &TFormTolv::mnFile, "Speichern &unter"),
    // Saving and printing: the current page, its subpages or all pages.
    Command(&TFormTolv::mnSaveAct, "mnSaveAct", &TFormTolv::Speichern1, "aktuelle Seite...", "mnSaveActClick",
            CtrlKey('S')),
    Command(&TFormTolv::mnSaveSubpages, "mnSaveSubpages", &TFormTolv::Speichern1, "alle Unterseiten...",
            "mnSaveSubpagesClick"),
    Command(&TFormTolv::mnSaveAllPages, "mnSaveAllPages", &TFormTolv::Speichern1, "alle Seiten...",
            "mnSaveAllPagesClick"),
    Separator(&TFormTolv::N3, "N3", &TFormTolv::mnFile),
    Menu(&TFormTolv::Drucken1, "Drucken1", &TFormTolv::mnFile, "Drucken"),
    Command(&TFormTolv::mnPrintAct, "mnPrintAct", &TFormTolv::Drucken1, "aktuelle Seite...", "mnPrintActClick",
            CtrlKey('P')),
    Command(&TFormTolv::mnPrintSubpages, "mnPrintSubpages", &TFormTolv::Drucken1, "alle Unterseiten...",
            "mnPrintSubpagesClick"),
    Command(&TFormTolv::mnPrintAllPages, "mnPrintAllPages", &TFormTolv::Drucken1, "alle Seiten...",
            "mnPrintAllPagesClick"),
    CheckCommand(&TFormTolv::mnPrintBackground, "mnPrintBackground", &TFormTolv::Drucken1, "Hintergrund drucken",
                 "mnPrintBackgroundClick"),
    Command(&TFormTolv::mnPrinterSetup, "mnPrinterSetup", &TFormTolv::mnFile, "Druckereinrichtung...",
            "mnPrinterSetupClick"),
    Separator(&TFormTolv::N2, "N2", &TFormTolv::mnFile),
    Command(&TFormTolv::mnOffline, "mnOffline", &TFormTolv::mnFile, "Offline", nullptr),
    Command(&TFormTolv::mnCloseApp, "mnCloseApp", &TFormTolv::mnFile, "Beenden", "mnCloseAppClick"),

    Menu(&TFormTolv::mnEdit, "mnEdit", nullptr, "Bearbeiten"),
    Command(&TFormTolv::mnCopyAsText, "mnCopyAsText", &TFormTolv::mnEdit, "Seite als Text kopieren",
            "mnCopyAsTextClick", CtrlKey('C')),
    Command(&TFormTolv::mnCopyAsGraphic, "mnCopyAsGraphic", &TFormTolv::mnEdit, "Seite als Grafik kopieren",
            "mnCopyAsGraphicClick"),

    Menu(&TFormTolv::Programm1, "Programm1", nullptr, "Programm"),
    CheckCommand(&TFormTolv::mnReveal, "mnReveal", &TFormTolv::Programm1, "Rätseltaste", "mnRevealClick", CtrlKey('R')),
    Command(&TFormTolv::mnSetClock, "mnSetClock", &TFormTolv::Programm1, "Uhrzeit übernehmen", nullptr, CtrlKey('U')),
    Command(&TFormTolv::mnClearMem, "mnClearMem", &TFormTolv::Programm1, "Speicher löschen...", "mnClearMemClick",
            CtrlKey('L')),
    // Space is the key handler's, not a menu shortcut.
    CheckCommand(&TFormTolv::mnPause, "mnPause", &TFormTolv::Programm1, "Pause (SPACE)", "mnPauseClick"),
    Separator(&TFormTolv::N4, "N4", &TFormTolv::Programm1),
    Command(&TFormTolv::mnSetup, "mnSetup", &TFormTolv::Programm1, "Setup...", nullptr),

    Menu(&TFormTolv::mnHelp, "mnHelp", nullptr, "Hilfe"),
    Command(&TFormTolv::mnContent, "mnContent", &TFormTolv::mnHelp, "Inhalt", nullptr),
    Separator(&TFormTolv::N5, "N5", &TFormTolv::mnHelp),
    Command(&TFormTolv::mnAbout, "mnAbout", &TFormTolv::mnHelp, "Info über Tol-Vane DVB...", "mnAboutClick"),
};

}  // namespace

std::span<const MenuEntry> FormTolvMenu() { return kMenu; }

void TFormTolv::BuildMenu() {
  for (const MenuEntry& entry : kMenu) {
    auto* item = Make<ui::MenuItem>(entry.Name, *MainMenu1, entry.Parent != nullptr ? this->*entry.Parent : nullptr);
    item->SetCaption(entry.Caption);
    item->SetShortCut(entry.ShortCut);
    item->SetCheckItem(entry.CheckItem);
    item->SetEnabled(entry.Enabled);
    if (entry.Handler != nullptr) item->OnClick.Bind(entry.Handler);
    this->*entry.Field = item;
  }
}

}  // namespace tolv
