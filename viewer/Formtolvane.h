// Unit Formtolvane: the viewer window TFormTolv.
//
// The window's controls as its layout builds them (FormtolvaneLayout.cpp): the toolbar with the
// search and show panels, the tab pages with the paint box, the status bar, the timer, the
// printer set-up dialog and the main menu. Events are bound by handler name to the methods
// published in PublishHandlers. The window's life, its hand-overs with the data thread and its
// timer are in Formtolvane.cpp; keys, mouse and panels in FormtolvaneNavigation.cpp; the menu
// and toolbar commands in FormtolvaneCommands.cpp; how other threads reach the window in
// FormtolvaneAccess.cpp; the two copy commands in FormtolvaneCopy.cpp; saving in
// FormtolvaneSave.cpp and printing in FormtolvanePrint.cpp.
//
// Threads. The window thread runs every event. The host's data thread reaches the window as
// the magazine assembly's ReceptionTarget, and the channel change clears the page memory; both
// only through a FormTolvUse, which keeps the window and its mutexes alive while they work.
// PageDataMutex guards the page memory, the busy page and every write into DisplayPage from
// the data thread and every drawing of it; RedrawMutex guards the two redraw requests. The
// order is PageDataMutex before RedrawMutex.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "decoder/MagazineAssembly.h"
#include "pages/Lop.h"
#include "platform/NamedMutex.h"
#include "render/PageDrawing.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "ui/Timer.h"

namespace tolv {

inline constexpr char kPageDataMutexName[] = "TOLVANE_240104";
inline constexpr char kRedrawMutexName[] = "TOLVANE_200504";
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

class TFormTolv : public ui::Form, public ReceptionTarget {
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

  // --- Window state. Values the data thread reads without a lock are atomics with relaxed
  // order; everything else belongs to the window thread.
  platform::NamedMutex PageDataMutex;
  platform::NamedMutex RedrawMutex;
  // Set and cleared under RedrawMutex; the timer peeks at them without it.
  std::atomic<bool> PageRedrawPending{false};
  std::atomic<bool> HeaderRedrawPending{false};
  // The page on screen: written by the data thread under PageDataMutex while no page is busy,
  // by the window thread while its page is busy (or under the mutex); drawn under the mutex.
  CVTPage DisplayPage;
  std::uint8_t EntryCount = 0;  // digits typed towards a new page number
  std::array<char, 3> EntryDigits{'1', '0', '0'};
  std::atomic<std::uint16_t> SearchPage{100};  // internal page numbers, kNoPage for none
  std::atomic<std::uint16_t> ShownPage{kNoPage};
  std::atomic<std::uint16_t> ShownSubcode{0};
  // DisplayPage came from the stream, so headers may refresh its clock.
  std::atomic<bool> HeaderLive{false};
  std::atomic<bool> Paused{false};
  // Cell size, page rectangle, face names and the double-height bitmap.
  RenderWindow Render;

  // --- The data thread's side (ReceptionTarget); see MagazineAssembly.h.
  bool LockPageData() override;
  void UnlockPageData() override;
  std::uint16_t BusyPage() const override { return busyPage_.load(std::memory_order_relaxed); }
  CVTAllPages& AllPages() override { return allPages_; }
  void ReceivePage(CVTPage& page) override;
  void ReceiveHeader(std::uint8_t* row) override;

  // The channel change's clearing of the page memory, on any thread: waits until no page is
  // busy. False when the wait on PageDataMutex failed; the memory then stays as it was.
  bool ClearMemoryForChannelChange();

  // The busy-page protocol of the window thread: SetBusyPage with PageDataMutex held;
  // ClearBusyPage takes it.
  void SetBusyPage(std::uint16_t number);
  void ClearBusyPage();

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
  // A menu entry without a command of its own (a menu of the menu bar, a submenu).
  ui::MenuItem* AddMenu(ui::MenuItem* parent, const char* name, const char* caption);
  // A command; without a handler it stays disabled.
  ui::MenuItem* AddCommand(ui::MenuItem* parent, const char* name, const char* caption, const char* handler,
                           ui::TShortCut shortcut = ui::scNone);
  ui::MenuItem* AddMenuSeparator(ui::MenuItem* parent, const char* name);

  // Fetches a record from the memory and marks it busy, under one hold of PageDataMutex; the
  // subcode is the shown page's when fromShown is set. Null when none (or the wait failed).
  CVTPage* FetchForShow(std::uint16_t number, std::uint16_t subcode, TGetMode mode, bool fromShown = false);
  // Puts a busy record on screen; followSearch makes its number the search page.
  void ShowFromMemory(CVTPage& record, bool followSearch = false);
  void WithdrawPageRedraw();  // while a record is busy: a stream page's request is obsolete
  void SearchAndShow();       // the search page's first subpage, if the memory holds it
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

  CVTAllPages allPages_;
  // The number of the record the window thread is copying into DisplayPage; kNoPage if none.
  // Written under PageDataMutex.
  std::atomic<std::uint16_t> busyPage_{kNoPage};
  // Holds of other threads on this window; guarded by the lock in FormtolvaneAccess.cpp.
  unsigned users_ = 0;
};

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
