#include "tools/tolvane/Tolvane.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <new>
#include <ostream>

#include "decoder/StoreOnlyTarget.h"
#include "pages/PageText.h"
#include "render/PagePng.h"
#include "tools/demostream/DemoStreamData.h"
#include "tools/recordings/Recording.h"
#include "tools/tolvane/Arguments.h"
#include "tools/tolvane/CellsJson.h"
#include "tools/tolvane/Help.h"
#include "tools/tolvane/TerminalPage.h"

namespace tolv::tolvane {
namespace {

int Fail(std::ostream& err, int status, const std::string& problem) {
  err << "tolvane: " << problem << '\n';
  return status;
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

int SavePageFile(const CVTAllPages& pages, const std::string& path, std::ostream& err) {
  errno = 0;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    return Fail(err, kExitFailure,
                "cannot write '" + path + "'" + (errno != 0 ? std::string(": ") + std::strerror(errno) : ""));
  }
  pages.SaveAll(file);
  file.close();
  if (!file) return Fail(err, kExitFailure, "cannot write '" + path + "'");
  return kExitSuccess;
}

int WritePng(const Invocation& inv, CVTPage& page, std::ostream& err) {
  switch (RenderPagePng(page, inv.reveal, inv.scale, inv.output)) {
    case PagePngResult::kWritten: return kExitSuccess;
    case PagePngResult::kFontNotLoaded:
      return Fail(err, kExitFailure, "cannot load the teletext fonts from '" + BuiltFontFile() + "'");
    case PagePngResult::kBadScale: return Fail(err, kExitFailure, "invalid scale");
    case PagePngResult::kWriteFailed: break;
  }
  return Fail(err, kExitFailure, "cannot write '" + inv.output + "'");
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
  if (inv.command == Command::kPng) return WritePng(inv, *page, err);
  if (inv.command == Command::kText) {
    for (const std::string& line : PageTextLines(*page, inv.reveal)) out << line << '\n';
    return kExitSuccess;
  }
  out << (inv.command == Command::kCells ? CellsJson(*page) : TerminalPage(*page, inv.reveal));
  return kExitSuccess;
}

int Run(std::span<const std::string> args, std::istream& standardInput, std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(args);
  if (!parsed.error.empty()) return Fail(err, kExitFailure, parsed.error);
  const Invocation& inv = parsed.invocation;
  if (inv.help) {
    out << HelpText(inv.command);
    return kExitSuccess;
  }

  recordings::InputBytes input;
  if (!inv.input.empty()) input = recordings::ReadWholeInput(inv.input, standardInput);
  if (!input.Error.empty()) return Fail(err, kExitFailure, input.Error);
  const std::span<const std::uint8_t> bytes = inv.input.empty() ? demo::DemoStreamBytes() : input.View();
  const auto reception = std::make_unique<Reception>();
  recordings::ReadRecording(bytes, recordings::FormatOfInputName(inv.input), inv.pid,
                            [&](const std::uint8_t* data, std::int32_t length) { reception->Receive(data, length); });
  const CVTAllPages& pages = reception->AllPages();

  int status = kExitSuccess;
  switch (inv.command) {
    case Command::kPages: ListPages(pages, out); break;
    case Command::kSave: status = SavePageFile(pages, inv.output, err); break;
    case Command::kCells:
    case Command::kShow:
    case Command::kText:
    case Command::kPng: status = ShowSubpage(inv, pages, out, err); break;
    case Command::kNone: break;
  }
  if (!out.flush()) return Fail(err, kExitFailure, "cannot write standard output");
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
