// What "Speichern unter" offers and writes: the three file types, the names of the files, and
// each page's bytes in the text and picture formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pages/Lop.h"
#include "render/PageDrawing.h"
#include "ui/FileDialog.h"

namespace tolv {

// In the order of the save dialog's type list.
enum class SaveFormat : std::uint8_t { kPng, kText, kPageFile };

// The save dialog's types: PNG picture, UTF-8 text, page file.
std::vector<ui::FileType> SaveFileTypes();
SaveFormat SaveFormatOfType(std::size_t type);

// path with the format's extension appended when its file name has none (no dot after the
// last folder separator); a name with an extension of its own keeps it.
std::string WithExtension(const std::string& path, SaveFormat format);

// The file of one of several subpages: the page number and the four subcode digits before the
// extension ("name.png" becomes "name-544-0001.png").
std::string NumberedPath(const std::string& path, const CVTPage& page);

// The page's 24 lines, each ended by '\n': what tolvane text prints.
std::string PageTextFile(CVTPage& page, bool reveal);

// The page area as the window draws it (DrawPageArea) as a PNG file; empty when the bitmap
// cannot be had. On the window thread: it draws with the window's rendering state.
std::vector<std::uint8_t> PagePngFile(RenderWindow& window, CVTPage& page, bool reveal);

}  // namespace tolv
