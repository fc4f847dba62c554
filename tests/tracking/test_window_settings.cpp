// The main window's place kept in the main settings file, and where it opens again.
#include "tracking/window_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/scratch_folder.h"
#include "tracking/text_file.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

class WindowSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.path().empty()); }
  void Put(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
  std::string Bytes() {
    std::ifstream in(file_, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  test::TScratchFolder folder_{"zen_window_"};
  const fs::path file_ = folder_.path() / "zenarith.set";
};

constexpr const char* kOlderFile = "[Main]\r\nAutoSave=1\r\nUTC=200\r\n\r\n[Station]\r\nFlip=1\r\n";

TEST_F(WindowSettingsFile, RoundTripsAndKeepsTheOtherSections) {
  Put(kOlderFile);
  EXPECT_EQ(ReadWindowSettings(file_), TWindowSettings{});
  const TWindowSettings cases[] = {
      {true, {-1700, 40, 1280, 900}, false, false},
      {true, {2000, -20, 800, 600}, true, false},
      {true, {0, 0, 100000, 100000}, false, true},
      {false, {}, true, true},
  };
  for (const TWindowSettings& s : cases) {
    WriteWindowSettings(file_, s);
    EXPECT_EQ(ReadWindowSettings(file_), s) << s.normal.x;
    const std::string bytes = Bytes();
    EXPECT_EQ(bytes.substr(0, std::string(kOlderFile).size()), kOlderFile);
    EXPECT_EQ(bytes.find("[Window]", 1), bytes.rfind("[Window]"));
  }
}

TEST_F(WindowSettingsFile, MissingOrDamagedValuesAreNotKept) {
  EXPECT_EQ(ReadWindowSettings(file_), TWindowSettings{});  // no file
  const struct {
    const char* section;
    bool kept;
    bool maximized;
    bool fullScreen;
  } cases[] = {
      {"Left=10\nTop=20\nWidth=1024\nHeight=768\nMaximized=1\nFullScreen=0", true, true, false},
      {"Left=10\nTop=20\nWidth=799\nHeight=768\nMaximized=1", false, true, false},
      {"Left=10\nTop=20\nWidth=1024\nHeight=599\nFullScreen=1", false, false, true},
      {"Left=10\nTop=20\nWidth=100001\nHeight=768", false, false, false},
      {"Left=-100001\nTop=20\nWidth=1024\nHeight=768", false, false, false},
      {"Left=10\nTop=2O\nWidth=1024\nHeight=768\nMaximized=yes", false, false, false},
      {"Left=10\nWidth=1024\nHeight=768\nFullScreen=", false, false, false},
      {"Left=10\nTop=20\nWidth=1024.5\nHeight=768\nMaximized=2", false, true, false},
  };
  for (const auto& c : cases) {
    Put(std::string("[Window]\n") + c.section + "\n");
    const TWindowSettings s = ReadWindowSettings(file_);
    EXPECT_EQ(s.kept, c.kept) << c.section;
    const TWindowRect normal = c.kept ? TWindowRect{10, 20, 1024, 768} : TWindowRect{};
    EXPECT_EQ(s.normal, normal) << c.section;
    EXPECT_EQ(s.maximized, c.maximized) << c.section;
    EXPECT_EQ(s.fullScreen, c.fullScreen) << c.section;
  }
}

TEST(PlaceWindow, UsesTheKeptPlaceWhileItsTitleStripIsOnAScreen) {
  const TWindowRect primary{0, 0, 1920, 1050};
  const TWindowRect right{1920, 0, 1280, 1000};
  const struct {
    const char* what;
    TWindowSettings settings;
    std::vector<TWindowRect> screens;
    TWindowRect placed;
  } cases[] = {
      {"on the primary", {true, {100, 50, 1000, 700}}, {primary, right}, {100, 50, 1000, 700}},
      {"on the second", {true, {2100, 80, 900, 650}}, {primary, right}, {2100, 80, 900, 650}},
      {"second gone", {true, {2100, 80, 900, 650}}, {primary}, {510, 200, 900, 650}},
      {"partly off", {true, {-880, 1010, 1000, 700}}, {primary}, {-880, 1010, 1000, 700}},
      {"strip too narrow", {true, {-930, 10, 1000, 700}}, {primary}, {460, 175, 1000, 700}},
      {"strip too low", {true, {100, 1030, 1000, 700}}, {primary}, {460, 175, 1000, 700}},
      {"larger", {true, {2000, 100, 1500, 1200}}, {primary, right}, {1920, 0, 1280, 1000}},
      {"tiny screen", {true, {0, 0, 900, 700}}, {{0, 0, 640, 480}}, {0, 0, 800, 600}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceWindow(c.settings, c.screens, 0, 800, 600), c.placed) << c.what;
  }
}

// A first start takes two thirds of each side of the primary screen, centred on it and never
// below the least size; a kept place still wins.
TEST(PlaceWindow, FirstStartTakesTwoThirdsOfThePrimaryScreen) {
  const struct {
    TWindowSettings settings;
    std::vector<TWindowRect> screens;
    size_t primary;
    TWindowRect placed;
  } cases[] = {
      {{}, {{0, 0, 1280, 1024}, {-1920, -1080, 1920, 1080}}, 1, {-1600, -900, 1280, 720}},
      {{}, {{0, 0, 1024, 768}}, 0, {112, 84, 800, 600}},
      {{}, {{0, 0, 800, 600}}, 0, {0, 0, 800, 600}},
      {{true, {100, 50, 1000, 700}}, {{0, 0, 1920, 1080}}, 0, {100, 50, 1000, 700}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceWindow(c.settings, c.screens, c.primary, 800, 600), c.placed);
  }
}

}  // namespace
}  // namespace zen
