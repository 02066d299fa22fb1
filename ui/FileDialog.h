// The system's save dialog: the user names a file and picks one of the offered file types.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/Backend.h"

namespace tolv::ui {

struct FileType {
  std::string Description;  // "PNG-Bild (*.png)"
  std::string Pattern;      // "*.png"
  friend bool operator==(const FileType&, const FileType&) = default;
};

struct SaveFileRequest {
  std::string Title;
  std::vector<FileType> Types;
  std::size_t Type = 0;  // preselected, an index of Types
  friend bool operator==(const SaveFileRequest&, const SaveFileRequest&) = default;
};

struct SaveFileChoice {
  std::string Path;      // UTF-8, as the user gave it (the dialog adds no extension)
  std::size_t Type = 0;  // the index of the type chosen
  friend bool operator==(const SaveFileChoice&, const SaveFileChoice&) = default;
};

// Runs the dialog modally for owner; nothing when the user cancelled it (or it failed).
inline std::optional<SaveFileChoice> ChooseSaveFile(Form* owner, const SaveFileRequest& request) {
  return CurrentBackend().ChooseSaveFile(owner, request);
}

}  // namespace tolv::ui
