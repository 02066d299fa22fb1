// The system's save dialog, in its Unicode form so that any path can be named.
#include <new>
#include <string>

#include "platform/win32/WideText.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/win32/BackendWin32.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::ui::win32 {
std::optional<SaveFileChoice> BackendWin32::ChooseSaveFile(Form* owner, const SaveFileRequest& request) {
  try {
    // Description and pattern of each type, each ending in 0, the list ending in another 0.
    std::wstring filter;
    for (const FileType& type : request.Types) {
      filter += platform::WideFromUtf8(type.Description) + L'\0' + platform::WideFromUtf8(type.Pattern) + L'\0';
    }
    filter += L'\0';
    const std::wstring title = platform::WideFromUtf8(request.Title);
    constexpr std::size_t kPathUnits = 32768;  // the longest path Windows knows
    std::wstring path(kPathUnits, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner != nullptr ? WindowOf(*owner) : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.Type) + 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // No default extension: the caller adds the chosen type's when the name has none.
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;

    // The dialog may leave the process in the folder the user browsed to (Wine does, whatever
    // OFN_NOCHANGEDIR says), and the host and the page file command name files relative to it.
    std::wstring folder(kPathUnits, L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    ++modalLoops_;  // the dialog's loop runs library frames below the host's messages
    const BOOL chosen = GetSaveFileNameW(&dialog);
    --modalLoops_;
    if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
    if (chosen == FALSE) return std::nullopt;
    const std::size_t type = dialog.nFilterIndex >= 1 ? dialog.nFilterIndex - 1 : 0;
    return SaveFileChoice{platform::Utf8FromWide(path.c_str()), type < request.Types.size() ? type : 0};
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace tolv::ui::win32
