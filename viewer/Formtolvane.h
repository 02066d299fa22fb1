// Unit Formtolvane: the viewer window TFormTolv.
//
// This file holds the window's controls as its layout builds them (FormtolvaneLayout.cpp):
// the toolbar with the search and show panels, the tab pages with the paint box, the status
// bar, the timer, the printer set-up dialog and the main menu. Events are bound by handler
// name; the window's handler methods are published in PublishHandlers.
#pragma once

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "ui/Timer.h"

namespace tolv {

class TFormTolv : public ui::Form {
 public:
  TFormTolv();

  // Toolbar.
  ui::Panel* Panel1;
  ui::Panel* PanelSearch;
  ui::Panel* PanelShow;
  ui::Bevel* Bevel1;
  ui::SpeedButton* SpeedButtonOpen;
  ui::SpeedButton* SpeedButtonSaveAs;
  ui::SpeedButton* SpeedButtonPrint;
  ui::Bevel* Bevel2;
  ui::SpeedButton* SpeedButtonReveal;
  ui::SpeedButton* SpeedButtonSetClock;
  ui::Bevel* Bevel3;
  ui::SpeedButton* SpeedButtonDelAll;
  ui::Bevel* Bevel4;
  ui::SpeedButton* SpeedButtonPause;
  ui::Bevel* Bevel5;
  ui::SpeedButton* SpeedButton4;

  ui::StatusBar* StatusBar1;

  // Tab pages: "VT" with the page picture, and three pages kept from the design.
  ui::PageControl* PageControl1;
  ui::TabSheet* TabSheet4;
  ui::ScrollBox* ScrollBox1;
  ui::PaintBox* PaintBox1;
  ui::Panel* PanelDebugInfo;
  ui::CheckBox* CheckBoxLOP;
  ui::Label* Label1;
  ui::StaticText* StaticTextLevel;
  ui::CheckBox* CheckBoxErasePage;
  ui::CheckBox* CheckBoxNewsflash;
  ui::CheckBox* CheckBoxSubtitle;
  ui::CheckBox* CheckBoxSuppressHeader;
  ui::CheckBox* CheckBoxUpdateIndicator;
  ui::CheckBox* CheckBoxInterruptedSequence;
  ui::CheckBox* CheckBoxInhibitDisplay;
  ui::CheckBox* CheckBoxModeParSer;
  ui::Label* Label2;
  ui::StaticText* StaticTextCharSet;
  ui::TabSheet* TabSheet1;
  ui::TabSheet* TabSheet2;
  ui::TabSheet* TabSheet3;
  ui::Memo* MemoDebugLog;

  ui::Timer* Timer1;
  ui::PrinterSetupDialog* PrinterSetupDialog;

  ui::MainMenu* MainMenu1;
  ui::MenuItem* mnFile;
  ui::MenuItem* mnOpen;
  ui::MenuItem* N1;
  ui::MenuItem* Speichern1;
  ui::MenuItem* mnSaveAct;
  ui::MenuItem* mnSaveSubpages;
  ui::MenuItem* mnSaveAllPages;
  ui::MenuItem* N3;
  ui::MenuItem* Drucken1;
  ui::MenuItem* mnPrintAct;
  ui::MenuItem* mnPrintSubpages;
  ui::MenuItem* mnPrintAllPages;
  ui::MenuItem* mnPrinterSetup;
  ui::MenuItem* N2;
  ui::MenuItem* mnOffline;
  ui::MenuItem* mnCloseApp;
  ui::MenuItem* mnEdit;
  ui::MenuItem* mnCopyAsText;
  ui::MenuItem* mnCopyAsGraphic;
  ui::MenuItem* Programm1;
  ui::MenuItem* mnReveal;
  ui::MenuItem* mnSetClock;
  ui::MenuItem* mnClearMem;
  ui::MenuItem* mnPause;
  ui::MenuItem* N4;
  ui::MenuItem* mnSetup;
  ui::MenuItem* mnHelp;
  ui::MenuItem* mnContent;
  ui::MenuItem* N5;
  ui::MenuItem* mnAbout;

 private:
  void BuildToolbar();
  void BuildPages();
  void BuildDebugPanel();
  void BuildMenu();
  ui::SpeedButton* AddSpeedButton(const char* name, int left, const ui::PixelImage& glyph);
  ui::Bevel* AddSeparator(const char* name, int left);
  ui::CheckBox* AddFlagBox(const char* name, const char* caption, int top);
  // A menu entry without a command of its own (a menu of the menu bar, a submenu).
  ui::MenuItem* AddMenu(ui::MenuItem* parent, const char* name, const char* caption);
  // A command; without a handler it stays disabled.
  ui::MenuItem* AddCommand(ui::MenuItem* parent, const char* name, const char* caption, const char* handler,
                           ui::TShortCut shortcut = ui::scNone);
  ui::MenuItem* AddMenuSeparator(ui::MenuItem* parent, const char* name);
};

}  // namespace tolv
