// "Speichern unter": the page on show, the subpages of its page or every stored page, as PNG
// pictures, UTF-8 text or a page file, under a name chosen in the system's save dialog. The
// pages are copied under PageDataMutex, which is released before the dialog opens; each file is
// written whole under a temporary name beside it and then renamed, so a failed write leaves
// nothing under the chosen name. The first failure is reported and ends the command.
#include <new>
#include <sstream>

#include "platform/FileWriting.h"
#include "ui/Dialogs.h"
#include "viewer/Formtolvane.h"
#include "viewer/Reveal.h"
#include "viewer/SavedFiles.h"

namespace tolv {

using platform::MutexLock;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The bytes of one page in a picture or text format; empty when the picture cannot be drawn.
std::vector<std::uint8_t> PageFile(SaveFormat format, RenderWindow& render, CVTPage& page, bool reveal) {
  if (format == SaveFormat::kText) return Bytes(PageTextFile(page, reveal));
  return PagePngFile(render, page, reveal);
}

}  // namespace

std::vector<std::unique_ptr<CVTPage>> TFormTolv::CopyPages(PageScope scope) {
  std::vector<std::unique_ptr<CVTPage>> copies;
  if (scope != PageScope::kAll && !PageOnShow()) return copies;
  const auto copy = [&copies](const CVTPage* source) {
    std::unique_ptr<CVTPage> page = CVTPage::New();
    if (!page) throw std::bad_alloc();
    page->CopyFrom(source);
    copies.push_back(std::move(page));
  };
  try {
    const MutexLock data(PageDataMutex);
    if (!data) return copies;
    switch (scope) {
      case PageScope::kShown: copy(&DisplayPage); break;
      case PageScope::kSubpages:
        for (const CVTPage* page = AllPages().GetPage(ShownPage.load(std::memory_order_relaxed), 0, gmFirst);
             page != nullptr; page = CVTAllPages::NextSubpage(page)) {
          copy(page);
        }
        break;
      case PageScope::kAll:
        for (unsigned slot = 0; slot < kPageSlots; ++slot) {
          for (const CVTPage* page = AllPages().FirstSubpage(slot); page != nullptr;
               page = CVTAllPages::NextSubpage(page)) {
            copy(page);
          }
        }
        break;
    }
  } catch (const std::bad_alloc&) {
    copies.clear();
  }
  return copies;
}

void TFormTolv::mnSaveActClick(ui::Component& /*sender*/) { SavePages(PageScope::kShown); }
void TFormTolv::mnSaveSubpagesClick(ui::Component& /*sender*/) { SavePages(PageScope::kSubpages); }
void TFormTolv::mnSaveAllPagesClick(ui::Component& /*sender*/) { SavePages(PageScope::kAll); }

void TFormTolv::SavePages(PageScope scope) {
  try {
    std::vector<std::unique_ptr<CVTPage>> pages = CopyPages(scope);
    if (pages.empty()) return;
    constexpr const char* kTitles[] = {"Aktuelle Seite speichern unter", "Alle Unterseiten speichern unter",
                                       "Alle Seiten speichern unter"};
    const std::optional<ui::SaveFileChoice> choice =
        ui::ChooseSaveFile(this, {kTitles[static_cast<std::size_t>(scope)], SaveFileTypes(), 0});
    if (!choice || choice->Path.empty()) return;
    const SaveFormat format = SaveFormatOfType(choice->Type);
    const std::string path = WithExtension(choice->Path, format);
    const bool reveal = GetReveal();

    const auto write = [this](const std::string& target, const std::vector<std::uint8_t>& bytes) {
      std::string reason = bytes.empty() ? "Die Seite konnte nicht gezeichnet werden." : "";
      if (reason.empty()) reason = platform::WriteWholeFile(target, bytes);
      if (reason.empty()) return true;
      ui::ShowMessageBox("Die Datei \"" + target + "\" konnte nicht gespeichert werden:\n" + reason, kSaveFailedCaption,
                         ui::MessageButtons::Ok);
      return false;
    };
    if (format == SaveFormat::kPageFile) {
      std::ostringstream file;
      for (const std::unique_ptr<CVTPage>& page : pages) page->SaveToStream(file);
      write(path, Bytes(file.str()));
      return;
    }
    for (const std::unique_ptr<CVTPage>& page : pages) {
      const std::string target = pages.size() == 1 ? path : NumberedPath(path, *page);
      if (!write(target, PageFile(format, Render, *page, reveal))) return;
    }
  } catch (const std::bad_alloc&) {
    ui::ShowMessageBox("Nicht genug Arbeitsspeicher zum Speichern.", kSaveFailedCaption, ui::MessageButtons::Ok);
  }
}

}  // namespace tolv
