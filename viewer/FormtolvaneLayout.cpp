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

void TFormTolv::BuildMenu() {
  using ui::CtrlKey;
  mnFile = AddMenu(nullptr, "mnFile", "&Datei");
  mnOpen = AddCommand(mnFile, "mnOpen", "Öffnen...", nullptr, CtrlKey('O'));
  N1 = AddMenuSeparator(mnFile, "N1");
  Speichern1 = AddMenu(mnFile, "Speichern1", "Speichern &unter");
  mnSaveAct = AddCommand(Speichern1, "mnSaveAct", "aktuelle Seite...", "mnSaveActClick", CtrlKey('S'));
  mnSaveSubpages = AddCommand(Speichern1, "mnSaveSubpages", "alle Unterseiten...", "mnSaveSubpagesClick");
  mnSaveAllPages = AddCommand(Speichern1, "mnSaveAllPages", "alle Seiten...", "mnSaveAllPagesClick");
  N3 = AddMenuSeparator(mnFile, "N3");
  Drucken1 = AddMenu(mnFile, "Drucken1", "Drucken");
  mnPrintAct = AddCommand(Drucken1, "mnPrintAct", "aktuelle Seite...", "mnPrintActClick", CtrlKey('P'));
  mnPrintSubpages = AddCommand(Drucken1, "mnPrintSubpages", "alle Unterseiten...", "mnPrintSubpagesClick");
  mnPrintAllPages = AddCommand(Drucken1, "mnPrintAllPages", "alle Seiten...", "mnPrintAllPagesClick");
  mnPrintBackground = AddCommand(Drucken1, "mnPrintBackground", "Hintergrund drucken", "mnPrintBackgroundClick");
  mnPrintBackground->SetCheckItem(true);
  mnPrinterSetup = AddCommand(mnFile, "mnPrinterSetup", "Druckereinrichtung...", "mnPrinterSetupClick");
  N2 = AddMenuSeparator(mnFile, "N2");
  mnOffline = AddCommand(mnFile, "mnOffline", "Offline", nullptr);
  mnCloseApp = AddCommand(mnFile, "mnCloseApp", "Beenden", "mnCloseAppClick");

  mnEdit = AddMenu(nullptr, "mnEdit", "Bearbeiten");
  mnCopyAsText = AddCommand(mnEdit, "mnCopyAsText", "Seite als Text kopieren", "mnCopyAsTextClick", CtrlKey('C'));
  mnCopyAsGraphic = AddCommand(mnEdit, "mnCopyAsGraphic", "Seite als Grafik kopieren", "mnCopyAsGraphicClick");

  Programm1 = AddMenu(nullptr, "Programm1", "Programm");
  mnReveal = AddCommand(Programm1, "mnReveal", "Rätseltaste", "mnRevealClick", CtrlKey('R'));
  mnReveal->SetCheckItem(true);
  mnSetClock = AddCommand(Programm1, "mnSetClock", "Uhrzeit übernehmen", nullptr, CtrlKey('U'));
  mnClearMem = AddCommand(Programm1, "mnClearMem", "Speicher löschen...", "mnClearMemClick", CtrlKey('L'));
  // Space is the key handler's, not a menu shortcut.
  mnPause = AddCommand(Programm1, "mnPause", "Pause (SPACE)", "mnPauseClick");
  mnPause->SetCheckItem(true);
  N4 = AddMenuSeparator(Programm1, "N4");
  mnSetup = AddCommand(Programm1, "mnSetup", "Setup...", nullptr);

  mnHelp = AddMenu(nullptr, "mnHelp", "Hilfe");
  mnContent = AddCommand(mnHelp, "mnContent", "Inhalt", nullptr);
  N5 = AddMenuSeparator(mnHelp, "N5");
  mnAbout = AddCommand(mnHelp, "mnAbout", "Info über Tol-Vane DVB...", "mnAboutClick");
}

ui::MenuItem* TFormTolv::AddMenu(ui::MenuItem* parent, const char* name, const char* caption) {
  auto* item = Make<ui::MenuItem>(name, *MainMenu1, parent);
  item->SetCaption(caption);
  return item;
}

ui::MenuItem* TFormTolv::AddCommand(ui::MenuItem* parent, const char* name, const char* caption, const char* handler,
                                    ui::TShortCut shortcut) {
  ui::MenuItem* item = AddMenu(parent, name, caption);
  item->SetShortCut(shortcut);
  if (handler != nullptr) {
    item->OnClick.Bind(handler);
  } else {
    item->SetEnabled(false);
  }
  return item;
}

ui::MenuItem* TFormTolv::AddMenuSeparator(ui::MenuItem* parent, const char* name) { return AddMenu(parent, name, "-"); }

}  // namespace tolv
