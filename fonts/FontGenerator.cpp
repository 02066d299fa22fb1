// Build step: reads the text face's glyph source and writes tolv.fon with the three faces.
#include <cstdio>
#include <fstream>

#include "fonts/FonWriter.h"
#include "fonts/GlyphSource.h"
#include "fonts/TeletextFaces.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s TEXT_FACE_SOURCE OUTPUT.fon\n", argv[0]);
    return 2;
  }
  std::optional<std::string> text = tolv::fonts::ReadTextFile(argv[1]);
  if (!text) {
    std::fprintf(stderr, "%s: cannot read\n", argv[1]);
    return 1;
  }
  tolv::fonts::GlyphSource source = tolv::fonts::ParseGlyphSource(*text);
  if (!source.Error.empty()) {
    std::fprintf(stderr, "%s: %s\n", argv[1], source.Error.c_str());
    return 1;
  }
  std::vector<std::uint8_t> file = tolv::fonts::WriteFonFile(tolv::fonts::TeletextFaces(source), "TOLV");
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "%s: cannot write\n", argv[2]);
    return 1;
  }
  return 0;
}
