#include "tools/tolvane/Help.h"

namespace tolv::tolvane {
namespace {

constexpr std::string_view kGeneral = R"(tolvane: teletext recordings in, pages out

usage: tolvane COMMAND [INPUT] [PAGE [SUBCODE]] [OPTIONS]
       tolvane --help | --version

commands:
  pages [INPUT]                      list the stored pages with their subcodes
  save [INPUT] -o FILE               write the page file of every stored page
  cells [INPUT] PAGE [SUBCODE]       print one subpage's display cells as JSON
  show [INPUT] PAGE [SUBCODE]        show one subpage in the terminal
  text [INPUT] PAGE [SUBCODE]        print one subpage as 24 lines of UTF-8 text
  png [INPUT] PAGE [SUBCODE] -o FILE draw one subpage into a PNG file
  pids [INPUT]                       list the teletext PIDs and what the program
                                     maps say of them

The whole INPUT goes through the plug-in's data callback into a page store;
pages still being assembled when the input ends are not stored. The input is
read once, as it comes: memory follows its teletext, not its size. When no
teletext is found, one line on standard error says what the input held.

INPUT   a transport stream file; a T42 file (name ending in .t42, any case);
        or '-' for a transport stream on standard input. Left out, the
        project's own demo stream is read (it is built into tolvane). An
        argument of digits alone is always a PAGE or SUBCODE, never INPUT;
        before a PAGE, a word starting with a digit is INPUT only when such
        a file exists
FILE    the file to write, replaced only once it is whole; '-' for standard
        output. Never the INPUT itself
PAGE    100 to 899
SUBCODE decimal, as 'pages' prints it; the lowest one when left out

options:
  --pid N   read the transport stream's teletext from PID N (decimal or 0x hex).
            By default: the lowest PID that a PMT marks as teletext, or, with no
            such PMT, the lowest PID carrying teletext PES packets
  --t42     INPUT (standard input too) is T42: 42-byte packets
  --help    this text; 'tolvane COMMAND --help' describes one command
  --version the version
Each option may be given once; a value follows as the next argument or, for
the long forms, after '=' (--pid=N, --output=FILE).

exit status: 0 done; 1 the page or subcode is not in the recording;
2 usage error, unreadable input or unwritable output (the output is the
input, standard output cannot be written)
)";

constexpr std::string_view kPages = R"(usage: tolvane pages [INPUT] [--pid N] [--t42]

One line per stored page in storage order (800 to 899 first, then 100 to 799):
the page number, a space, and its subcodes in ascending order, comma-separated,
for example "150 1,2,3". A recording without teletext prints nothing, and one
line on standard error says what it held; one with teletext on several PIDs
says so on standard error.
)";

constexpr std::string_view kPids = R"(usage: tolvane pids [INPUT]

One line per teletext PID of the transport stream, ascending: the PID in hex
and decimal, the teletext data units it carries, and what the program maps say
of it (the teletext descriptor's language, page type and page), for example
  0x240 (576): 4416 data units; ita initial page 100 [read by default]
The PID that the other commands read without --pid is marked.
)";

constexpr std::string_view kSave = R"(usage: tolvane save [INPUT] -o FILE [--pid N] [--t42]

Writes the page file of every stored page and subpage to FILE (replacing it
once written; '-' standard output), exactly as the viewer's page file command writes it after the same reception:
968-byte records in storage order. A recording without teletext gives an empty
file.
)";

constexpr std::string_view kCells = R"(usage: tolvane cells [INPUT] PAGE [SUBCODE] [--pid N] [--t42]

Prints the 24 x 40 display cells of the subpage as one line of JSON:
{"page":100,"subcode":0,"cells":[[[Ch,FgColor,BgColor,CharSet,Mosaic,Flags],...]]}
cells[row][column]; the colours are decimal numbers, 0x00BBGGRR when written
in hex (16777215 white, 255 red); flags 1 separated, 2 double height,
4 conceal, 8 flash, 16 visible.
)";

constexpr std::string_view kShow =
    R"(usage: tolvane show [INPUT] PAGE [SUBCODE] [--reveal] [--color[=WHEN]] [--pid N] [--t42]

Draws the subpage in the terminal (24-bit colour, UTF-8), 24 lines of 40 cells.
  --color=WHEN  colour escape sequences: auto (the default) only when standard
                output is a terminal, always (also --color alone), never
  text          in the national character subset the page header names, as
                the viewer draws it (see 'tolvane text --help')
  mosaics       contiguous ones as sextant block characters; separated ones as
                Braille dots, whose gaps stand for the separation
  double height the cell shows in its own row and again in the row below;
                mosaics are stretched over both rows (top third twice in the
                upper row, bottom third twice in the lower row)
  conceal       concealed cells are blank unless --reveal
  flash         flashing cells blink (where the terminal blinks)
)";

constexpr std::string_view kText = R"(usage: tolvane text [INPUT] PAGE [SUBCODE] [--reveal] [--pid N] [--t42]

Prints the subpage as 24 lines of UTF-8 text, rows 0 to 23, one character per
cell, trailing spaces left out.
  row 0         the header row as stored, its first eight columns blank
  text          the character in the national option subset of the page
                header (C12-C14): 0 English, 1 German, 2 Swedish/Finnish/
                Hungarian, 3 Italian, 4 French, 5 Portuguese/Spanish,
                6 Czech/Slovak; 7 has no subset and shows # $ @ [ \ ] ^ _ `
                { | } ~ as they stand. The English 0x60 is U+2015
  mosaics       the Unicode sextant of the cell's six sixels (U+1FB00 block,
                block elements for the half and full blocks); a blank mosaic
                is a space; contiguous and separated alike
  conceal       concealed cells are spaces unless --reveal
  double height a double-height row prints its own cells once; the row below
                it, its lower half, is blank
)";

constexpr std::string_view kPng =
    R"(usage: tolvane png [INPUT] PAGE [SUBCODE] -o FILE [--reveal] [--scale N] [--pid N] [--t42]

Draws the subpage's 560 x 360 page area (40 x 24 cells of 14 x 15 pixels) with
the three faces of tolv.fon, exactly as the viewer paints it, into an 8-bit RGB
PNG file ('-' standard output). Concealed cells are blank unless --reveal;
--scale N (1 to 16) enlarges every pixel to N x N. The font file is the one
that the environment variable TOLVANE_FONT names; else tolv.fon in
../share/tolvane/ from the folder of the tolvane program (as installed), else
in ../../fonts/ from it (the build tree). Without the font file nothing is
written and the exit status is 2.
)";

}  // namespace

std::string_view HelpText(Command command) {
  switch (command) {
    case Command::kPages: return kPages;
    case Command::kSave: return kSave;
    case Command::kCells: return kCells;
    case Command::kShow: return kShow;
    case Command::kText: return kText;
    case Command::kPng: return kPng;
    case Command::kPids: return kPids;
    case Command::kNone: break;
  }
  return kGeneral;
}

}  // namespace tolv::tolvane
