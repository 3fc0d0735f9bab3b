// The smaller services: the line printer and its file, bitmaps and image
// files, and the version records of program files.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "driver.h"
#include "model.h"
#include "ui_fixture.h"
#include "zeltaarray.h"
// The table, without the driver's names mapped onto it.
#define ZELTA_CURSES_LOADER
#include "curses_api.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each test works in a directory of its own: the printer writes "pda.txt"
// in the current directory, images go to the application directory.
class ServicesTest : public UiTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelta_ui_services_XXXXXX";
    dir_ = mkdtemp(pattern);
    previous_ = fs::current_path();
    fs::current_path(dir_);
    setenv("ZELTA_APPDIR", dir_.c_str(), 1);
    UiTest::SetUp();
  }
  void TearDown() override {
    UiTest::TearDown();
    fs::current_path(previous_);
    fs::remove_all(dir_);
    unsetenv("ZELTA_APPDIR");
  }
  fs::path dir_, previous_;
};

TEST_F(ServicesTest, NothingIsPrintedBeforeThePrinterIsLoaded) {
  EXPECT_EQ(__PrintSay(D(1), D(1), S("lost"))->objData.dValue, 0);
  EXPECT_EQ(__PrintCommand(S("x"))->objData.dValue, 0);
  EXPECT_FALSE(__GET_BOOL(__IsPrintOn()));
  EXPECT_EQ(__GetDriverPrint()->objType, T_NIL);
  EXPECT_FALSE(fs::exists(dir_ / "pda.txt"));
  EXPECT_TRUE(__GET_BOOL(__UnLoadPrint()));  // none open: still TRUE
}

TEST_F(ServicesTest, TextsLandAtTheirRowsAndColumns) {
  std::ofstream(dir_ / "pda.txt") << "an old file";
  ASSERT_TRUE(__GET_BOOL(__LoadPrint()));
  EXPECT_TRUE(__GET_BOOL(__IsPrintOn()));
  EXPECT_EQ(__GetDriverPrint()->objType, T_HANDLE);
  __PrintSay(D(0), D(0), S("Invoice"));
  __PrintSay(D(0), D(10), S("17"));
  __PrintSay(D(2), D(3), S("apple"), __CreateArray(D(1), D(2), D(3), D(4), D(5), D(6), __INIT_NUL()),
             S("a font name far too long"));
  EXPECT_EQ(__PROW()->objData.dValue, 2);
  EXPECT_EQ(__PCOL()->objData.dValue, 8);
  EXPECT_EQ(ui::state().printer.font, "a font name far");  // 15 characters kept
  EXPECT_EQ(ui::state().printer.area[4], 5);
  __PrintSay(D(1), D(0), S("back up"));  // above the print head: a new page
  EXPECT_TRUE(__GET_BOOL(__PrintCommand(S("bold"))));
  EXPECT_EQ(errorOf([] { __PrintSay(S("1"), D(0), S("x")); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __PrintSay(D(1), D(0), S("x"), S("not an array")); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __PrintCommand(D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __PrintSetFont(D(1), S("2")); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __LoadPrint(S("x")); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __LoadPrint(D(1), D(2), D(3), D(4), D(5), D(6), D(7), D(8)); }), ARGUMENT_ERROR);
  EXPECT_TRUE(__GET_BOOL(__UnLoadPrint()));
  EXPECT_FALSE(__GET_BOOL(__IsPrintOn()));
  EXPECT_EQ(readFile(dir_ / "pda.txt"), "Invoice   17\n\n   apple\f\nback up");
  const std::vector<std::string> shown = fake().infos;
  const std::vector<std::string> expected = {
      "Iniciando Impressora", "Impressora Iniciada...", "Enviando dados....",   "Aguarde....",
      "Finalizando",          "Liberando Driver",       "Impressão Finalizada", ""};
  EXPECT_EQ(shown, expected);
}

TEST_F(ServicesTest, APrinterThatCannotOpenSaysSo) {
  fs::create_directory(dir_ / "pda.txt");  // a directory stands where the file would go
  testing::internal::CaptureStdout();
  EXPECT_FALSE(__GET_BOOL(__LoadPrint()));
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(fake().boxes.size(), 1u);
  EXPECT_EQ(fake().boxes[0].rfind("Alert: Printer not connected(", 0), 0u) << fake().boxes[0];
  EXPECT_FALSE(__GET_BOOL(__IsPrintOn()));
}

TEST_F(ServicesTest, BitmapsKeepTheirNamesAndClicks) {
  pObj_Node w = window();
  pObj_Node picture = NewBitMap(w, D(10), D(20), D(40), D(30), S("logo.bmp"), __INIT_BOOL(1), __INIT_BOOL(0));
  ui::Control* c = ui::findControl(id(picture));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->kind, ui::kKindBitmap);
  EXPECT_EQ(c->x, 10);
  EXPECT_EQ(c->y, 20);
  ShowBitmap(picture, S("photo.bmp"));
  EXPECT_EQ(c->text, "photo.bmp");
  EXPECT_TRUE(__GET_BOOL(PaintBitmap(picture)));
  EXPECT_EQ(errorOf([&] { ShowBitmap(picture, D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { ShowBitmap(__INIT_DOUBLE(9999), __INIT_CHARPTR("x.bmp")); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { NewBitMap(w, D(1), D(1), nullptr, nullptr, D(5)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { NewBitMap(w, D(1), D(1), nullptr, nullptr, S("a"), D(1)); }), ARGUMENT_ERROR);
  pObj_Node button = __NewButtom(w, D(1), D(1), S(""));
  EXPECT_TRUE(__GET_BOOL(SETBMP(button, D(3))));
  EXPECT_EQ(ui::findControl(id(button))->width, 16);
}

TEST_F(ServicesTest, ImagesAreWrittenNeverPastTheirBytes) {
  const struct {
    const char* name;
    double size;
    const char* bytes;
    const char* file;
    const char* content;
  } cases[] = {
      {"snap", 3, "abcdef", "snap.jpg", "abc"},
      {"shot.bmp", 0, "abc", "shot.jpg", ""},    // an empty size: an empty file
      {"pic.JPG", 10, "abc", "pic.JPG", "abc"},  // a larger size writes what there is
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(__GET_BOOL(WriteImageFile(S(c.name), D(c.size), S(c.bytes)))) << c.name;
    EXPECT_EQ(readFile(dir_ / c.file), c.content) << c.name;
  }
  std::string big(1300, 'x');
  big[700] = 'y';
  pObj_Node bytes = S(big.c_str());
  EXPECT_TRUE(__GET_BOOL(WriteImageFile(S("big"), D(1300), bytes)));
  EXPECT_EQ(readFile(dir_ / "big.jpg"), big);  // three blocks of at most 512
}

TEST_F(ServicesTest, VersionsComeFromTheFilesVersionRecord) {
  EXPECT_EQ(std::string(GetMyVersion(S(""))->objData.mbuff), "4.40.00");
  // This test program holds the run-time, and so its version record.
  EXPECT_EQ(std::string(GetMyVersion(S("/proc/self/exe"))->objData.mbuff), "4.40.00");
  std::ofstream(dir_ / "notes.txt") << "just text";
  std::ofstream(dir_ / "short.elf") << "\x7f"
                                       "ELF\x02\x01";
  const struct {
    std::string file;
    const char* box;
  } cases[] = {
      {(dir_ / "missing").string(), "Alert: File Does not exists: "},
      {(dir_ / "notes.txt").string(), "Alert: Invalid file format, cannot continue \n"},
      {(dir_ / "short.elf").string(), "Alert: Bad file format, cannot continue\n"},
      {"/bin/sh", "Alert: Cannot find any IMAGE_NT_HEADERS, cannot continue\n"},
  };
  for (const auto& c : cases) {
    fake().boxes.clear();
    EXPECT_EQ(std::string(GetMyVersion(S(c.file.c_str()))->objData.mbuff), "") << c.file;
    ASSERT_EQ(fake().boxes.size(), 1u) << c.file;
    EXPECT_EQ(fake().boxes[0].rfind(c.box, 0), 0u) << fake().boxes[0];
  }
}

}  // namespace

namespace {

bool cursesMapped() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line))
    if (line.find("libncursesw") != std::string::npos) return true;
  return false;
}

}  // namespace

// Each test runs in a process of its own, so nothing has drawn yet.
TEST(CursesLoadTest, CursesComesOnlyWithTheTerminalDriver) {
  ui::Driver& headless = ui::driver();
  EXPECT_TRUE(headless.headless());
  EXPECT_FALSE(cursesMapped());
  ASSERT_TRUE(ui::loadCurses());
  EXPECT_TRUE(cursesMapped());
  EXPECT_NE(ui::cursesApi.newterm, nullptr);
  EXPECT_NE(ui::cursesApi.screenWindow, nullptr);
  EXPECT_TRUE(ui::loadCurses());  // once
}
