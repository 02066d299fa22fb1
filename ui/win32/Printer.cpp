// Printing under Win32: the system's print dialog returns the printer's DC; each sheet is one
// picture, stretched with StretchDIBits over the printable area as far as its aspect allows
// (printer drivers need not draw the bitmap fonts the pictures were drawn with).
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "ui/win32/BackendWin32.h"

#include <cderr.h>

#include "platform/win32/WideText.h"
#include "ui/Form.h"
#include "ui/Printer.h"
#include "ui/win32/GdiDrawing.h"
#include "ui/win32/Handles.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::ui::win32 {
namespace {

// Where a picture of width x height lands on a printable area of areaWidth x areaHeight: as
// large as fits with its aspect kept, centred across, at the top.
RECT Placement(int width, int height, int areaWidth, int areaHeight) {
  const long long across = static_cast<long long>(areaWidth) * height;
  const long long down = static_cast<long long>(areaHeight) * width;
  int w = areaWidth;
  int h = areaHeight;
  if (across <= down) {
    h = static_cast<int>(across / width);
  } else {
    w = static_cast<int>(down / height);
  }
  const int left = (areaWidth - w) / 2;
  return {left, 0, left + w, h};
}

// One sheet: false with GetLastError set when the driver refused.
bool PrintSheet(HDC dc, const Picture& picture) {
  if (StartPage(dc) <= 0) return false;
  std::vector<std::uint32_t> bits(picture.Pixels.size());
  std::transform(picture.Pixels.begin(), picture.Pixels.end(), bits.begin(), DibPixel);
  const RECT at = Placement(picture.Width, picture.Height, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
  if (!StretchDibPixels(dc, at, picture.Width, picture.Height, bits.data())) {
    if (GetLastError() == 0) SetLastError(ERROR_INVALID_FUNCTION);
    EndPage(dc);
    return false;
  }
  return EndPage(dc) > 0;
}

}  // namespace

PrintOutcome BackendWin32::Print(Form* owner, const PrintRequest& request) {
  PrintOutcome outcome;
  try {
    if (request.Sheets == 0) return outcome;
    const auto last = static_cast<WORD>(std::min<std::size_t>(request.Sheets, 0xFFFF));
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner != nullptr ? WindowOf(*owner) : nullptr;
    // The driver makes the copies the user asks for; a range of sheets may be chosen.
    dialog.Flags = PD_RETURNDC | PD_ALLPAGES | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nMinPage = 1;
    dialog.nMaxPage = last;
    dialog.nFromPage = 1;
    dialog.nToPage = last;
    dialog.nCopies = 1;
    dialog.hDevMode = printerMode_.Get();
    dialog.hDevNames = printerNames_.Get();
    printerMode_.Abandon();
    printerNames_.Abandon();
    ++modalLoops_;
    const BOOL chosen = PrintDlgW(&dialog);
    --modalLoops_;
    printerMode_ = GlobalMemory(dialog.hDevMode);
    printerNames_ = GlobalMemory(dialog.hDevNames);
    const PrinterDC printer(dialog.hDC);
    if (chosen == FALSE) {
      const DWORD error = CommDlgExtendedError();
      if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) outcome.Result = PrintResult::kNoPrinter;
      if (error != 0 && outcome.Result == PrintResult::kCancelled) {
        outcome.Result = PrintResult::kFailed;
        outcome.Reason = "Druckdialog: Fehler " + std::to_string(error);
      }
      return outcome;
    }
    if (printer.Get() == nullptr) return {PrintResult::kFailed, "Der Drucker gab keinen Gerätekontext.", 0};

    std::size_t first = 0;
    std::size_t end = request.Sheets;
    if ((dialog.Flags & PD_PAGENUMS) != 0) {
      first = std::max<std::size_t>(dialog.nFromPage, 1) - 1;
      end = std::min<std::size_t>(std::max(dialog.nToPage, dialog.nFromPage), request.Sheets);
    }
    const std::wstring name = platform::WideFromUtf8(request.DocumentName);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    if (StartDocW(printer.Get(), &document) <= 0)
      return {PrintResult::kFailed, platform::SystemErrorText(GetLastError()), 0};
    for (std::size_t sheet = first; sheet < end; ++sheet) {
      const std::optional<Picture> picture = request.Draw(sheet);
      if (!picture || picture->Width <= 0 || picture->Height <= 0) {
        AbortDoc(printer.Get());
        return {PrintResult::kFailed, "Die Seite konnte nicht gezeichnet werden.", outcome.SheetsPrinted};
      }
      if (!PrintSheet(printer.Get(), *picture)) {
        const DWORD error = GetLastError();
        AbortDoc(printer.Get());
        return {PrintResult::kFailed, platform::SystemErrorText(error), outcome.SheetsPrinted};
      }
      ++outcome.SheetsPrinted;
    }
    if (EndDoc(printer.Get()) <= 0)
      return {PrintResult::kFailed, platform::SystemErrorText(GetLastError()), outcome.SheetsPrinted};
    outcome.Result = PrintResult::kPrinted;
    return outcome;
  } catch (const std::bad_alloc&) {
    return {PrintResult::kFailed, "Nicht genug Arbeitsspeicher.", outcome.SheetsPrinted};
  }
}

}  // namespace tolv::ui::win32
