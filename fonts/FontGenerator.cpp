// Build step: reads the glyph sources of the text face and of the supplementary set and writes
// tolv.fon with its five faces.
#include <cstdio>
#include <fstream>

#include "fonts/FonWriter.h"
#include "fonts/GlyphSource.h"
#include "fonts/TeletextFaces.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s TEXT_FACE_SOURCE SUPPLEMENTARY_SOURCE OUTPUT.fon\n", argv[0]);
    return 2;
  }
  tolv::fonts::GlyphSource sources[2];
  for (int i = 0; i < 2; ++i) {
    std::optional<std::string> text = tolv::fonts::ReadTextFile(argv[1 + i]);
    if (!text) {
      std::fprintf(stderr, "%s: cannot read\n", argv[1 + i]);
      return 1;
    }
    sources[i] = tolv::fonts::ParseGlyphSource(*text);
    if (!sources[i].Error.empty()) {
      std::fprintf(stderr, "%s: %s\n", argv[1 + i], sources[i].Error.c_str());
      return 1;
    }
  }
  std::vector<std::uint8_t> file =
      tolv::fonts::WriteFonFile(tolv::fonts::TeletextFaces(sources[0], sources[1]), "TOLV");
  std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "%s: cannot write\n", argv[3]);
    return 1;
  }
  return 0;
}
