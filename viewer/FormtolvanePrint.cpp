// "Drucken": the page on show, the subpages of its page or every stored page, one page a sheet,
// through the system's print dialog to the printer chosen there. Each sheet is the page area
// drawn into a bitmap with the window's own faces (printer drivers need not draw bitmap fonts),
// which the back end scales onto the sheet. The pages are copied under PageDataMutex, which is
// released before the dialog opens.
//
// Unless "Hintergrund drucken" is checked, black prints as white and white as black: teletext
// pages are mostly black background, which would soak a sheet in ink or toner for nothing, and
// white text would vanish on the white sheet. The other colours print as they are.
#include <new>
#include <string>

#include "ui/Dialogs.h"
#include "ui/Printer.h"
#include "viewer/Formtolvane.h"
#include "viewer/Reveal.h"

namespace tolv {

namespace {

constexpr ui::TColor kBlack = 0x000000;
constexpr ui::TColor kWhite = 0xFFFFFF;

}  // namespace

void TFormTolv::mnPrintActClick(ui::Component& /*sender*/) { PrintPages(PageScope::kShown); }
void TFormTolv::mnPrintSubpagesClick(ui::Component& /*sender*/) { PrintPages(PageScope::kSubpages); }
void TFormTolv::mnPrintAllPagesClick(ui::Component& /*sender*/) { PrintPages(PageScope::kAll); }

void TFormTolv::mnPrintBackgroundClick(ui::Component& /*sender*/) {
  PrintBackground = !PrintBackground;
  mnPrintBackground->SetChecked(PrintBackground);
}

void TFormTolv::PrintPages(PageScope scope) {
  try {
    std::vector<std::unique_ptr<CVTPage>> pages = CopyPages(scope);
    if (pages.empty()) return;
    const bool reveal = GetReveal();
    const bool background = PrintBackground;
    ui::PrintRequest request;
    request.DocumentName = std::string(kWindowCaption) + " " + std::to_string(DisplayNumber(pages.front()->Number()));
    request.Sheets = pages.size();
    request.Draw = [&](std::size_t sheet) -> std::optional<ui::Picture> {
      const std::unique_ptr<ui::Bitmap> image = ui::NewBitmap();
      if (sheet >= pages.size() || !image || !DrawPageArea(Render, *pages[sheet], reveal, *image)) return std::nullopt;
      ui::Picture picture{image->Width(), image->Height(), image->ReadPixels()};
      if (!background) {
        for (ui::TColor& pixel : picture.Pixels) {
          if (pixel == kBlack) {
            pixel = kWhite;
          } else if (pixel == kWhite) {
            pixel = kBlack;
          }
        }
      }
      return picture;
    };
    const ui::PrintOutcome outcome = ui::Print(this, request);
    if (outcome.Result == ui::PrintResult::kNoPrinter) {
      ui::ShowMessageBox(kNoPrinterText, kPrintFailedCaption, ui::MessageButtons::Ok);
    } else if (outcome.Result == ui::PrintResult::kFailed) {
      ui::ShowMessageBox("Das Drucken ist fehlgeschlagen:\n" + outcome.Reason, kPrintFailedCaption,
                         ui::MessageButtons::Ok);
    }
  } catch (const std::bad_alloc&) {
    ui::ShowMessageBox("Nicht genug Arbeitsspeicher zum Drucken.", kPrintFailedCaption, ui::MessageButtons::Ok);
  }
}

}  // namespace tolv
