// Unit Formtolvane: the viewer window TFormTolv.
//
// The window's controls as its layout builds them (FormtolvaneLayout.cpp): the toolbar with the
// search and show panels, the tab pages with the paint box, the status bar, the timer, the
// printer set-up dialog and the main menu. Events are bound by handler name to the methods
// published in PublishHandlers. The window's life and its timer are in Formtolvane.cpp; the page
// data it shares with the data thread in PageHandOver.h; keys, mouse and panels in
// FormtolvaneNavigation.cpp; the menu and toolbar commands in FormtolvaneCommands.cpp; how other
// threads reach the window in FormtolvaneAccess.cpp; the two copy commands in
// FormtolvaneCopy.cpp; saving in FormtolvaneSave.cpp and printing in FormtolvanePrint.cpp.
//
// Threads. The window thread runs every event. The host's data thread reaches the window's
// HandOver as the magazine assembly's ReceptionTarget, and the channel change clears its page
// memory; both only through a FormTolvUse, which keeps the window and its mutexes alive while
// they work. The locks and their order are PageHandOver's (PageHandOver.h). The timer polls the
// redraw requests every period; a page request also asks it for an extra tick at once
// (Timer::TickSoon, a post that never blocks).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "pages/Lop.h"
#include "platform/NamedMutex.h"
#include "render/PageDrawing.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "ui/Timer.h"
#include "viewer/PageHandOver.h"

namespace tolv {

inline constexpr char kWindowCaption[] = "Tol-Vane DVB";
inline constexpr char kClearMemoryQuestion[] = "Alle Seiten aus dem Speicher löschen?";
inline constexpr char kClearMemoryCaption[] = "Bestätigung";
inline constexpr char kFontInstallFailedText[] =
    "Schriften aus der Datei \"tolv.fon\" konnten nicht installiert werden!";
inline constexpr char kFontInstallFailedCaption[] = "Fehler";
inline constexpr ui::TColor kPanelFound = 0x00FF00;  // the searched page is on screen
inline constexpr ui::TColor kPanelSearching = 0x0000FF;

// The page file of the hidden "Alles Speichern" command, relative to the working directory:
// ".\plugins\vtx\test.vtx" on Windows, the same path with '/' elsewhere.
std::string PageFilePath();

// What "Seite als Text kopieren" puts on the clipboard: the page's text lines (as tolvane text
// prints them) joined by CR LF.
std::string PageClipboardText(CVTPage& page, bool reveal);

// The pages a save or print command works on: the subpage on show as it is on screen, the
// stored subpages of the page on show, or every stored page in storage order.
enum class PageScope : std::uint8_t { kShown, kSubpages, kAll };

inline constexpr char kSaveFailedCaption[] = "Speichern unter";
inline constexpr char kPrintFailedCaption[] = "Drucken";
inline constexpr char kNoPrinterText[] = "Es ist kein Drucker installiert.";

class FormTolvUse;
FormTolvUse UseFormTolv() noexcept;

class TFormTolv : public ui::Form {
 public:
  TFormTolv();
  ~TFormTolv() override;

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
  ui::MenuItem* mnPrintBackground;
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

  // --- What the window shares with the data thread and the channel change.
  PageHandOver HandOver;
  // Its names as the window's code and its callers know them.
  platform::NamedMutex& PageDataMutex = HandOver.PageDataMutex;
  platform::NamedMutex& RedrawMutex = HandOver.RedrawMutex;
  std::atomic<bool>& PageRedrawPending = HandOver.PageRedrawPending;
  std::atomic<bool>& HeaderRedrawPending = HandOver.HeaderRedrawPending;
  CVTPage& DisplayPage = HandOver.DisplayPage;
  std::atomic<std::uint16_t>& SearchPage = HandOver.SearchPage;
  std::atomic<std::uint16_t>& ShownPage = HandOver.ShownPage;
  std::atomic<std::uint16_t>& ShownSubcode = HandOver.ShownSubcode;
  std::atomic<bool>& HeaderLive = HandOver.HeaderLive;
  std::atomic<bool>& Paused = HandOver.Paused;
  std::uint16_t BusyPage() const { return HandOver.BusyPage(); }
  CVTAllPages& AllPages() { return HandOver.AllPages(); }
  void ReceiveHeader(std::uint8_t* row) { HandOver.ReceiveHeader(row); }
  void SetBusyPage(std::uint16_t number) { HandOver.SetBusyPage(number); }
  void ClearBusyPage() { HandOver.ClearBusyPage(); }

  // --- Window state, the window thread's own.
  std::uint8_t EntryCount = 0;  // digits typed towards a new page number
  std::array<char, 3> EntryDigits{'1', '0', '0'};
  // Set by the data thread when it stopped the filter of a closed window while this one was being
  // opened (which then saw the old filter running and started none): the next tick calls
  // OnFilterWanted on the window thread, never inside the host's data callback.
  std::atomic<bool> FilterWanted{false};
  std::function<void()> OnFilterWanted;
  // Cell size, page rectangle, face names and the double-height bitmap.
  RenderWindow Render;

  // --- Events and commands.
  void FormCreate(ui::Component& sender);
  void FormClose(ui::Component& sender, ui::TCloseAction& action);
  void FormDestroy(ui::Component& sender);
  void Timer1Timer(ui::Component& sender);
  void PaintBox1Paint(ui::Component& sender);
  void FormKeyDown(ui::Component& sender, std::uint16_t& key, ui::TShiftState shift);
  void PaintBox1MouseDown(ui::Component& sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
  void mnPauseClick(ui::Component& sender);
  void SpeedButtonPauseClick(ui::Component& sender);
  void mnRevealClick(ui::Component& sender);
  void SpeedButtonRevealClick(ui::Component& sender);
  void mnClearMemClick(ui::Component& sender);
  void mnPrinterSetupClick(ui::Component& sender);
  void mnCloseAppClick(ui::Component& sender);
  void mnAboutClick(ui::Component& sender);
  void SpeedButton4Click(ui::Component& sender);
  void mnCopyAsTextClick(ui::Component& sender);
  void mnCopyAsGraphicClick(ui::Component& sender);
  void mnSaveActClick(ui::Component& sender);
  void mnSaveSubpagesClick(ui::Component& sender);
  void mnSaveAllPagesClick(ui::Component& sender);
  void mnPrintActClick(ui::Component& sender);
  void mnPrintSubpagesClick(ui::Component& sender);
  void mnPrintAllPagesClick(ui::Component& sender);
  void mnPrintBackgroundClick(ui::Component& sender);

  // --- Page selection and the panels.
  // value: an internal page number or 800..899; 900 and more change nothing.
  void SetSearchPage(std::uint16_t value);
  void UpdateSearchPanel();
  void UpdateShowPanel();
  void UpdateSearchColour();
  void UpdatePauseControls();
  void UpdateRevealControls();
  void CancelPause();
  // A page has been put on screen (since the window opened); the copy commands need one.
  bool PageOnShow() const;
  // Copies of the pages of scope, made under one hold of PageDataMutex; empty when there are
  // none (no page on show, an empty memory, a failed wait) or memory ran out.
  std::vector<std::unique_ptr<CVTPage>> CopyPages(PageScope scope);
  // Printing draws black as white and white as black unless this is set ("Hintergrund drucken").
  bool PrintBackground = false;

 protected:
  void PublishHandlers(ui::HandlerTable& table) override;

 private:
  void BuildToolbar();
  void BuildPages();
  void BuildDebugPanel();
  void BuildMenu();
  ui::SpeedButton* AddSpeedButton(const char* name, int left, const ui::PixelImage& glyph);
  ui::Bevel* AddSeparator(const char* name, int left);
  ui::CheckBox* AddFlagBox(const char* name, const char* caption, int top);

  // Puts a busy record on screen; followSearch makes its number the search page.
  void ShowFromMemory(CVTPage& record, bool followSearch = false);
  void SearchAndShow();  // the search page's first subpage, if the memory holds it
  void StepSubpage(TGetMode mode);
  void StepPage(bool shifted, bool up);
  void TypeDigit(unsigned digit);
  void TogglePause();
  // Drawing, each under PageDataMutex; skipped when the wait fails.
  void PaintDisplayPage();
  void DrawHeaderRow();
  void BlankDisplayAndClearMemory();
  // Points Render at the paint box's current canvas and at DisplayPage.
  RenderWindow& PrepareRender();
  void SavePages(PageScope scope);
  void PrintPages(PageScope scope);

  friend class FormTolvUse;
  friend FormTolvUse UseFormTolv() noexcept;
  friend void WithdrawFormTolv(const TFormTolv* window, bool waitForUsers);

  // Holds of other threads on this window; guarded by the lock in FormtolvaneAccess.cpp.
  unsigned users_ = 0;
};

// One entry of the main menu: the window's field for it, its name, the entry it opens from (null
// for the menu bar), caption ("-" for a separator), shortcut and handler. A command without a
// handler is disabled.
struct MenuEntry {
  ui::MenuItem* TFormTolv::*Field;
  const char* Name;
  ui::MenuItem* TFormTolv::*Parent;
  const char* Caption;
  ui::TShortCut ShortCut;
  const char* Handler;
  bool Enabled;
  bool CheckItem;
};
// The main menu in menu order, the one description of it: the layout builds it from here.
std::span<const MenuEntry> FormTolvMenu();

// --- The one viewer window, and how the host's other threads reach it.

// The open viewer window, null when none. Written on the window thread only (CreateFormTolv,
// FormClose, FormDestroy); other threads must not dereference it, they take a FormTolvUse.
extern std::atomic<TFormTolv*> FormTolv;

// Window thread: creates the viewer window (construction and FormCreate) and makes it FormTolv.
// An existing window is returned as it is.
TFormTolv* CreateFormTolv();

// A hold on the open window for another thread. While any hold lasts, the window and its
// mutexes stay alive: FormDestroy waits for the last one. Once FormClose has run, no new hold
// is given. Hold it only for the call into the window, never around a message to the host.
class FormTolvUse {
 public:
  FormTolvUse() noexcept = default;
  FormTolvUse(FormTolvUse&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
  FormTolvUse& operator=(FormTolvUse&&) = delete;
  FormTolvUse(const FormTolvUse&) = delete;
  FormTolvUse& operator=(const FormTolvUse&) = delete;
  ~FormTolvUse() { Release(); }

  explicit operator bool() const noexcept { return window_ != nullptr; }
  TFormTolv* operator->() const noexcept { return window_; }
  TFormTolv& operator*() const noexcept { return *window_; }
  void Release() noexcept;

 private:
  friend FormTolvUse UseFormTolv() noexcept;
  explicit FormTolvUse(TFormTolv* window) noexcept : window_(window) {}
  TFormTolv* window_ = nullptr;
};

// Any thread: a hold on the open window, empty when there is none (or it is closing).
FormTolvUse UseFormTolv() noexcept;

enum class ChannelClearing : std::uint8_t {
  kNoWindow,    // no window open: there is no memory to clear
  kCleared,     // the page memory is empty
  kWaitFailed,  // the wait on PageDataMutex failed; the memory is untouched
};
// The channel change's clearing of the open window's page memory, on any thread.
ChannelClearing ClearMemoryForChannelChange() noexcept;

// Window thread, from FormClose and FormDestroy: window stops being FormTolv. With waitForUsers,
// returns only when every hold on it has been released.
void WithdrawFormTolv(const TFormTolv* window, bool waitForUsers);

}  // namespace tolv
