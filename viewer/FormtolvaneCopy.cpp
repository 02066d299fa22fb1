// The two copy commands of the "Bearbeiten" menu: the page on show onto the clipboard, as the
// lines of its text and as the picture of its page area, both as they are on screen (concealed
// cells as Reveal has them). With no page on show they do nothing.
#include <memory>
#include <new>

#include "pages/PageText.h"
#include "ui/Clipboard.h"
#include "ui/Dib.h"
#include "viewer/Formtolvane.h"
#include "viewer/Reveal.h"

namespace tolv {

using platform::MutexLock;

std::string PageClipboardText(CVTPage& page, bool reveal) {
  std::string text;
  const std::vector<std::string> lines = PageTextLines(page, reveal);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

bool TFormTolv::PageOnShow() const { return ShownPage.load(std::memory_order_relaxed) != kNoPage; }

// Out of memory, nothing is copied and the clipboard keeps what it held.
void TFormTolv::mnCopyAsTextClick(ui::Component& /*sender*/) {
  if (!PageOnShow()) return;
  try {
    ui::ClipboardContent content;
    {
      const MutexLock data(PageDataMutex);
      if (!data) return;
      content.Text = PageClipboardText(DisplayPage, GetReveal());
    }
    ui::PutOnClipboard(this, content);
  } catch (const std::bad_alloc&) {
    return;
  }
}

// The page is drawn again into a bitmap of its own rather than read from the screen, where
// another window may cover it.
void TFormTolv::mnCopyAsGraphicClick(ui::Component& /*sender*/) {
  if (!PageOnShow()) return;
  try {
    const std::unique_ptr<ui::Bitmap> image = ui::NewBitmap();
    if (!image) return;
    {
      const MutexLock data(PageDataMutex);
      if (!data || !DrawPageArea(Render, DisplayPage, GetReveal(), *image)) return;
    }
    ui::ClipboardContent content;
    content.Dib = ui::PackedDib(image->Width(), image->Height(), image->ReadPixels());
    if (!content.Dib.empty()) ui::PutOnClipboard(this, content);
  } catch (const std::bad_alloc&) {
    return;
  }
}

}  // namespace tolv
