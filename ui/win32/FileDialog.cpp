// The system's save dialog, in its Unicode form so that any path can be named.
#include <new>
#include <string>

#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/win32/BackendWin32.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::ui::win32 {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), units);
  return wide;
}

std::string Utf8(const wchar_t* wide) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), bytes, nullptr, nullptr);
  utf8.pop_back();  // the terminating 0
  return utf8;
}

}  // namespace

std::optional<SaveFileChoice> BackendWin32::ChooseSaveFile(Form* owner, const SaveFileRequest& request) {
  try {
    // Description and pattern of each type, each ending in 0, the list ending in another 0.
    std::wstring filter;
    for (const FileType& type : request.Types) {
      filter += Wide(type.Description) + L'\0' + Wide(type.Pattern) + L'\0';
    }
    filter += L'\0';
    const std::wstring title = Wide(request.Title);
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
    return SaveFileChoice{Utf8(path.c_str()), type < request.Types.size() ? type : 0};
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace tolv::ui::win32
