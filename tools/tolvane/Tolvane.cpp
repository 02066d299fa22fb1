#include "tools/tolvane/Tolvane.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <ostream>

#include "decoder/StoreOnlyTarget.h"
#include "pages/PageText.h"
#include "render/PagePng.h"
#include "tools/demostream/DemoStreamData.h"
#include "tools/recordings/OnePassReader.h"
#include "tools/tolvane/Arguments.h"
#include "tools/tolvane/CellsJson.h"
#include "tools/tolvane/FontLocation.h"
#include "tools/tolvane/Help.h"
#include "tools/tolvane/InputReport.h"
#include "tools/tolvane/Messages.h"
#include "tools/tolvane/OutputFile.h"
#include "tools/tolvane/TerminalColour.h"
#include "tools/tolvane/TerminalPage.h"
#include "ui/raster/PngWriter.h"

namespace tolv::tolvane {
namespace {

int Fail(std::ostream& err, int status, const std::string& problem) {
  err << "tolvane: " << problem << '\n';
  return status;
}

std::string StandardOutputProblem() {
  const int error = errno;
  return std::string("cannot write standard output") + (error != 0 ? std::string(": ") + std::strerror(error) : "");
}

// The whole input in one pass into reception: the demo stream, a file or standard input. A file's
// teletext goes into reception as it comes; should the PID chosen change on the way, reception
// starts anew.
recordings::InputReadResult ReadInput(const Invocation& inv, recordings::RecordingFormat format,
                                      std::istream& standardInput, std::unique_ptr<Reception>& reception) {
  const recordings::DataSink sink = [&](const std::uint8_t* data, std::int32_t length) {
    reception->Receive(data, length);
  };
  const bool countDataUnits = inv.command == Command::kPids;
  if (!inv.input.empty()) {
    return recordings::ReadInputInOnePass(inv.input, format, inv.pid, standardInput, sink, countDataUnits,
                                          [&] { reception = std::make_unique<Reception>(); });
  }
  recordings::OnePassReader reader(format, inv.pid, sink, countDataUnits);
  reader.Feed(demo::DemoStreamBytes());
  recordings::InputReadResult read;
  read.Summary = reader.Finish();
  read.Findings = reader.Findings();
  return read;
}

// The subpage with that subcode, or the lowest one; null when the store has no such page.
CVTPage* FindSubpage(const CVTAllPages& pages, unsigned page, std::optional<std::uint16_t> subcode) {
  CVTPage* first = pages.GetPage(page, 0, gmFirst);
  if (first == nullptr || !subcode) return first;
  CVTPage* candidate = first;
  do {
    if (candidate->GetSubcode() == *subcode) return candidate;
    candidate = pages.GetPage(page, candidate->GetSubcode(), gmNextSub);
  } while (candidate != nullptr && candidate != first);
  return nullptr;
}

void ListPages(const CVTAllPages& pages, std::ostream& out) {
  for (unsigned slot = 0; slot < kPageSlots; ++slot) {
    const CVTPage* subpage = pages.FirstSubpage(slot);
    if (subpage == nullptr) continue;
    std::string line = std::to_string(DisplayNumber(slot)) + ' ';
    for (; subpage != nullptr; subpage = CVTAllPages::NextSubpage(subpage)) {
      line += std::to_string(subpage->GetSubcode());
      line += CVTAllPages::NextSubpage(subpage) != nullptr ? ',' : '\n';
    }
    out << line;
  }
}

int SavePageFile(const CVTAllPages& pages, const std::string& path, std::ostream& out, std::ostream& err) {
  const std::string problem = WriteOutput(path, out, [&](std::ostream& file) {
    pages.SaveAll(file);
    return true;
  });
  return problem.empty() ? kExitSuccess : Fail(err, kExitFailure, problem);
}

int WritePng(const Invocation& inv, CVTPage& page, std::ostream& out, std::ostream& err) {
  const std::vector<std::string> candidates = FontFileCandidates();
  const std::string font = FindFontFile(candidates);
  if (font.empty()) {
    std::string looked;
    for (const std::string& candidate : candidates) looked += (looked.empty() ? "" : ", ") + Quoted(candidate);
    return Fail(
        err, kExitFailure,
        "cannot find the teletext fonts (tolv.fon) in " + looked + "; " + kFontVariable + " names another file");
  }
  ui::RasterCanvas image(kPageImageWidth, kPageImageHeight);
  if (!RenderPageImage(page, inv.reveal, image, font)) {
    return Fail(err, kExitFailure, "cannot load the teletext fonts from " + Quoted(font));
  }
  const std::string problem =
      WriteOutput(inv.output, out, [&](std::ostream& file) { return ui::WritePng(image, inv.scale, file); });
  return problem.empty() ? kExitSuccess : Fail(err, kExitFailure, problem);
}

int ShowSubpage(const Invocation& inv, const CVTAllPages& pages, std::ostream& out, std::ostream& err) {
  CVTPage* page = FindSubpage(pages, inv.page, inv.subcode);
  if (page == nullptr) {
    const std::string which = "page " + std::to_string(inv.page);
    if (!inv.subcode || pages.GetPage(inv.page, 0, gmFirst) == nullptr) {
      return Fail(err, kExitNotInRecording, which + " is not in the recording");
    }
    return Fail(err, kExitNotInRecording, which + " has no subcode " + std::to_string(*inv.subcode));
  }
  if (inv.command == Command::kPng) return WritePng(inv, *page, out, err);
  if (inv.command == Command::kCells) {
    out << CellsJson(*page);
  } else if (inv.command == Command::kText) {
    for (const std::string& line : PageTextLines(*page, inv.reveal)) out << line << '\n';
  } else {
    const bool terminal = &out == &std::cout && isatty(STDOUT_FILENO) != 0;
    const std::string drawn = TerminalPage(*page, inv.reveal);
    out << (WantsColour(inv.color, terminal) ? drawn : WithoutColour(drawn));
  }
  return kExitSuccess;
}

int Run(std::span<const std::string> args, std::istream& standardInput, std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(args);
  if (!parsed.error.empty()) return Fail(err, kExitFailure, parsed.error);
  const Invocation& inv = parsed.invocation;
  if (inv.usage) {
    err << HelpText(Command::kNone);
    return kExitFailure;
  }
  if (inv.help || inv.version) {
    out << (inv.version ? std::string_view("tolvane " TOLV_VERSION "\n") : HelpText(inv.command));
    return out.flush() ? kExitSuccess : Fail(err, kExitFailure, StandardOutputProblem());
  }
  if (const std::string refused = OutputIsInput(inv.output, inv.input); !refused.empty()) {
    return Fail(err, kExitFailure, refused);
  }

  auto reception = std::make_unique<Reception>();
  const recordings::RecordingFormat format =
      inv.t42 ? recordings::RecordingFormat::kT42 : recordings::FormatOfInputName(inv.input);
  const recordings::InputReadResult read = ReadInput(inv, format, standardInput, reception);
  if (!read.FailedTo.empty()) {
    const std::string problem =
        inv.input == "-" ? "cannot read standard input" : CannotDo(read.FailedTo, inv.input, read.ErrorNumber);
    return Fail(err, kExitFailure, read.Why.empty() ? problem : problem + ": " + read.Why);
  }
  const CVTAllPages& pages = reception->AllPages();
  const std::string shownName = inv.input.empty()  ? "the demo stream"
                                : inv.input == "-" ? "standard input"
                                                   : Quoted(inv.input);
  if (const std::string nothing = NothingFoundLine(read, format, inv.pid, shownName); !nothing.empty()) {
    err << "tolvane: " << nothing << '\n';
    // The pages then are not in the recording: the line above says why.
    if (inv.command == Command::kCells || inv.command == Command::kShow || inv.command == Command::kPng) {
      return kExitNotInRecording;
    }
  } else if (const std::string several = SeveralPidsLine(read); !several.empty() && inv.command == Command::kPages) {
    err << "tolvane: " << several << '\n';
  }

  int status = kExitSuccess;
  switch (inv.command) {
    case Command::kPages: ListPages(pages, out); break;
    case Command::kPids: out << PidListing(read); break;
    case Command::kSave: status = SavePageFile(pages, inv.output, out, err); break;
    case Command::kCells:
    case Command::kShow:
    case Command::kText:
    case Command::kPng: status = ShowSubpage(inv, pages, out, err); break;
    case Command::kNone: break;
  }
  if (!out.flush()) return Fail(err, kExitFailure, StandardOutputProblem());
  return status;
}

}  // namespace

int RunTolvane(std::span<const std::string> args, std::istream& standardInput, std::ostream& out, std::ostream& err) {
  try {
    return Run(args, standardInput, out, err);
  } catch (const std::bad_alloc&) {
    return Fail(err, kExitFailure, "not enough memory");
  }
}

}  // namespace tolv::tolvane
