// "Speichern unter": the page on show, its subpages and all pages, in the three file types, as
// tolvane writes them (pixels, text, page file), through the save dialog; failures reported with
// the path and the system's reason, leaving nothing behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "pages/PageText.h"
#include "tests/unit/ViewerSession.h"
#include "viewer/SavedFiles.h"
#ifdef TOLV_WITH_TOLVANE
#include <png.h>

#include "render/PagePng.h"
#include "tools/tolvane/Tolvane.h"
#endif

namespace tolv::testing {
namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::set<std::string> FilesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// What tolvane prints for args (natively), else the page text of a store filled from the
// recording (the Windows build of the tests has no tolvane).
std::string Tolvane(std::vector<std::string> args) {
#ifdef TOLV_WITH_TOLVANE
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(tolvane::RunTolvane(args, in, out, err), tolvane::kExitSuccess) << err.str();
  return out.str();
#else
  EXPECT_EQ(args[0], "text");
  Reception reception;
  for (const Buffer& b : RecordingBuffers(fs::path(args[1]).filename().string()))
    reception.Receive(b.data(), static_cast<std::int32_t>(b.size()));
  const CVTPage* page = reception.AllPages().GetPage(static_cast<std::uint16_t>(std::stoi(args[2])), 0, gmFirst);
  while (args.size() > 3 && page != nullptr && page->GetSubcode() != std::stoi(args[3])) {
    page = CVTAllPages::NextSubpage(page);
  }
  EXPECT_NE(page, nullptr);
  return page != nullptr ? PageTextFile(const_cast<CVTPage&>(*page), false) : std::string();
#endif
}

class Save : public ViewerTest {
 protected:
  // The whole recording filed, then BBC's page 544 (subpages 1 and 2) typed: from memory.
  TFormTolv& Show544() {
    TFormTolv& window = ShowFromMemory(kBbc, "544");
    fs::create_directory(folder_);
    return window;
  }
  void Choose(const fs::path& path, SaveFormat format) {
    session_.Backend().AnswerNextSaveDialog(ui::SaveFileChoice{path.string(), static_cast<std::size_t>(format)});
  }
  const std::vector<ui::headless::ShownMessage>& Messages() { return session_.Backend().MessagesShown(); }

  fs::path folder_ = fs::current_path() / "saved";
};

// Ctrl+S and the toolbar button save the page on show; a name without an extension gets the
// chosen type's. The picture is tolvane png's, the text tolvane text's bytes, the page file the
// page's record.
TEST_F(Save, TheShownPageIsSavedInEachTypeAsTolvaneMakesIt) {
  TFormTolv& window = Show544();
  Choose(folder_ / "seite", SaveFormat::kPng);
  ui::headless::PressKey(window, 'S', ui::ssCtrl);
  Choose(folder_ / "seite", SaveFormat::kText);
  ASSERT_TRUE(ui::headless::Click(window, "aktuelle Seite..."));
  Choose(folder_ / "seite.vtx", SaveFormat::kPageFile);
  window.SpeedButtonSaveAs->Click();

  ASSERT_EQ(session_.Backend().SaveDialogsShown().size(), 3u);
  EXPECT_EQ(session_.Backend().SaveDialogsShown()[0].Types, SaveFileTypes());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(FilesIn(folder_), (std::set<std::string>{"seite.png", "seite.txt", "seite.vtx"}));

  CVTPage shown;
  ASSERT_TRUE(window.HandOver.LockPageData());
  shown.CopyFrom(&window.DisplayPage);
  window.HandOver.UnlockPageData();
  std::ostringstream record;
  shown.SaveToStream(record);
  EXPECT_EQ(FileText(folder_ / "seite.vtx"), record.str());
  EXPECT_EQ(FileText(folder_ / "seite.txt"), Tolvane({"text", SamplePath(kBbc), "544"}));
#ifdef TOLV_WITH_TOLVANE
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, (folder_ / "seite.png").c_str()));
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  ui::RasterCanvas expected(0, 0);
  ASSERT_TRUE(RenderPageImage(shown, false, expected, TOLV_FONT_FILE));
  ASSERT_EQ(image.width * image.height, expected.Pixels().size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < expected.Pixels().size(); ++i) {
    const ui::TColor pixel = static_cast<ui::TColor>(rgb[3 * i] | rgb[3 * i + 1] << 8 | rgb[3 * i + 2] << 16);
    differing += pixel != expected.Pixels()[i];
  }
  EXPECT_EQ(differing, 0u) << "the saved picture is not tolvane png's";
  EXPECT_LT(fs::file_size(folder_ / "seite.png"), 100'000u) << "the picture is hardly compressed";
#endif
}

// Several subpages as text: one file per subpage, numbered after the chosen name.
TEST_F(Save, AllSubpagesAreOneFileEachNumberedAfterTheName) {
  TFormTolv& window = Show544();
  Choose(folder_ / "ceefax.txt", SaveFormat::kText);
  ASSERT_TRUE(ui::headless::Click(window, "alle Unterseiten..."));
  EXPECT_EQ(FilesIn(folder_), (std::set<std::string>{"ceefax-544-0001.txt", "ceefax-544-0002.txt"}));
  EXPECT_EQ(FileText(folder_ / "ceefax-544-0001.txt"), Tolvane({"text", SamplePath(kBbc), "544", "1"}));
  EXPECT_EQ(FileText(folder_ / "ceefax-544-0002.txt"), Tolvane({"text", SamplePath(kBbc), "544", "2"}));
}

// All pages in a page file: byte for byte what tolvane save writes (and the hidden command).
TEST_F(Save, AllPagesInAPageFileAreTolvaneSave) {
  TFormTolv& window = Show544();
  Choose(folder_ / "alle", SaveFormat::kPageFile);
  ASSERT_TRUE(ui::headless::Click(window, "alle Seiten..."));
  ASSERT_EQ(FilesIn(folder_), std::set<std::string>{"alle.vtx"});
  const std::string saved = FileText(folder_ / "alle.vtx");
#ifdef TOLV_WITH_TOLVANE
  Tolvane({"save", SamplePath(kBbc), "-o", (folder_ / "tolvane.vtx").string()});
  EXPECT_EQ(saved, FileText(folder_ / "tolvane.vtx"));
#endif
  window.SpeedButton4->Click();
  EXPECT_EQ(saved, FileText(PageFilePath()));
  EXPECT_GT(saved.size(), 100u * 968u);
}

// A folder that does not exist, and a name that is a folder: each is reported with the path
// and the system's reason, and no file (nor a temporary one) is left.
TEST_F(Save, AFailedWriteIsReportedAndLeavesNothingBehind) {
  TFormTolv& window = Show544();
  fs::create_directory(folder_ / "ordner.txt");
  const struct {
    fs::path Chosen;
    int Error;
  } cases[] = {{folder_ / "fehlt" / "seite.txt", ENOENT}, {folder_ / "ordner.txt", EISDIR}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Chosen.string());
    const std::size_t before = Messages().size();
    Choose(c.Chosen, SaveFormat::kText);
    ui::headless::PressKey(window, 'S', ui::ssCtrl);
    ASSERT_EQ(Messages().size(), before + 1);
    const std::string opening = "Die Datei \"" + c.Chosen.string() + "\" konnte nicht gespeichert werden:\n";
    EXPECT_EQ(Messages().back().Text.substr(0, opening.size()), opening);
#ifndef _WIN32  // the C library there has other words, and other errors, for these failures
    EXPECT_EQ(Messages().back().Text.substr(opening.size()), std::strerror(c.Error));
#endif
    EXPECT_EQ(Messages().back().Caption, kSaveFailedCaption);
  }
  EXPECT_EQ(FilesIn(folder_), std::set<std::string>{"ordner.txt"});
  EXPECT_TRUE(fs::is_empty(folder_ / "ordner.txt"));
}

// With no page on show, or an empty memory, no dialog opens.
TEST_F(Save, NoDialogOpensWithoutAPage) {
  TFormTolv& window = Open();
  ui::headless::PressKey(window, 'S', ui::ssCtrl);
  EXPECT_TRUE(session_.Backend().SaveDialogsShown().empty());
  ASSERT_TRUE(ui::headless::Click(window, "alle Seiten..."));  // the memory is empty
  EXPECT_TRUE(session_.Backend().SaveDialogsShown().empty());
}

TEST(SavedFiles, NamesGetTheTypesExtensionAndTheSubpagesNumber) {
  CVTPage page;
  page.Magazine = 0;  // magazine 8
  page.Page = 5;
  page.Subcode = 12;
  const struct {
    const char* Chosen;
    SaveFormat Format;
    const char* Named;
    const char* Numbered;
  } cases[] = {
      {"C:\\Texte\\seite", SaveFormat::kText, "C:\\Texte\\seite.txt", "C:\\Texte\\seite-805-0012.txt"},
      {"/tmp/v1.2/bild", SaveFormat::kPng, "/tmp/v1.2/bild.png", "/tmp/v1.2/bild-805-0012.png"},
      {"D:\\a.b\\seiten.dat", SaveFormat::kPageFile, "D:\\a.b\\seiten.dat", "D:\\a.b\\seiten-805-0012.dat"},
  };
  for (const auto& c : cases) {
    const std::string named = WithExtension(c.Chosen, c.Format);
    EXPECT_EQ(named, c.Named);
    EXPECT_EQ(NumberedPath(named, page), c.Numbered);
  }
}

}  // namespace
}  // namespace tolv::testing
