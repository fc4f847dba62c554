// The choice of the program folder, and a per-user folder filled from the shipped tree on real
// folders: first start, a later version's files, the user's own files.
#include "cli/program_home.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/scratch_folder.h"
#include "test_support.h"

namespace zen::cli {
namespace {

namespace fs = std::filesystem;
using Kind = THomeChoice::Kind;

TEST(ChooseHome, FollowsTheOptionTheFolderAndTheInstalledTree) {
  struct Case {
    const char* what;
    THomeFacts facts;
    Kind kind;
    const char* folder;
    const char* shippedData;
  };
  const Case cases[] = {
      {"built, writable: as it always was",
       {"", "/opt/z", true, "", "/x", "/home/u"},
       Kind::ProgramFileFolder,
       "/opt/z",
       ""},
      {"built, read-only: filled from itself",
       {"", "/opt/z", false, "", "/x", "/home/u"},
       Kind::UserFolder,
       "/x/zenarith",
       "/opt/z"},
      {"installed, even where root may write bin/",
       {"", "/usr/bin", true, "/usr/share/zenarith", "", "/home/u"},
       Kind::UserFolder,
       "/home/u/.local/share/zenarith",
       "/usr/share/zenarith"},
      {"a relative XDG_DATA_HOME is ignored",
       {"", "/usr/bin", false, "/usr/share/zenarith", "data", "/home/u/"},
       Kind::UserFolder,
       "/home/u/.local/share/zenarith",
       "/usr/share/zenarith"},
      {"--home wins over an installed copy",
       {"/srv/zen/./a/..", "/usr/bin", false, "/usr/share/zenarith", "/x", "/home/u"},
       Kind::HomeOption,
       "/srv/zen/",
       ""},
      {"no folder for the user's files",
       {"", "/usr/bin", false, "/usr/share/zenarith", "", ""},
       Kind::Unknown,
       "",
       ""},
  };
  for (const Case& c : cases) {
    const THomeChoice choice = ChooseHome(c.facts);
    EXPECT_EQ(choice.kind, c.kind) << c.what;
    EXPECT_EQ(choice.folder, fs::path(c.folder)) << c.what;
    EXPECT_EQ(choice.shippedData, fs::path(c.shippedData)) << c.what;
    EXPECT_EQ(choice.error.empty(), c.kind != Kind::Unknown) << c.what;
  }
}

// Relative name -> content of every file under folder.
std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ostringstream text;
    text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    files[entry.path().lexically_relative(folder).generic_string()] = text.str();
  }
  return files;
}

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

class ShippedFiles : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(scratch_.path().empty()); }
  test::TScratchFolder scratch_{"zen_home_"};
  const fs::path shipped_ = scratch_.path() / "share";
  const fs::path user_ = scratch_.path() / "data" / "zenarith";
};

TEST_F(ShippedFiles, LaterVersionsAddTheirFilesAndNeverReplaceTheUsers) {
  Write(shipped_ / "Data/flares.dat", "table 1");
  Write(shipped_ / "Help/pages/index.htm", "help 1");
  Write(shipped_ / "Setup/default.ini", "settings 1");
  Write(shipped_ / "Locations/World.loc", "places 1");
  Write(shipped_ / "zenarith", "the program file");  // not part of the data tree
  Write(shipped_ / "Notes/left.txt", "a note");      // nor a work folder of the original
  fs::permissions(shipped_ / "Setup/default.ini", fs::perms::owner_read | fs::perms::group_read);

  std::vector<std::string> before = test::FolderListing(shipped_);
  ASSERT_EQ(AddShippedFiles(shipped_, user_), "");
  EXPECT_EQ(test::FolderListing(shipped_), before);
  std::map<std::string, std::string> expected = {{"Data/flares.dat", "table 1"},
                                                 {"Help/pages/index.htm", "help 1"},
                                                 {"Setup/default.ini", "settings 1"},
                                                 {"Locations/World.loc", "places 1"}};
  std::map<std::string, std::string> copied = Files(user_);
  copied.erase(kShippedRecordFile);
  EXPECT_EQ(copied, expected);
  // A read-only original still gives the user a copy that the program can save over.
  EXPECT_NE(fs::status(user_ / "Setup/default.ini").permissions() & fs::perms::owner_write,
            fs::perms::none);

  // The user saves settings, edits the places, drops the table and makes files of their own.
  Write(user_ / "Setup/default.ini", "my settings");
  Write(user_ / "Locations/World.loc", "my places");
  fs::remove(user_ / "Data/flares.dat");
  Write(user_ / "Tle/visual.tle", "my elements");
  Write(user_ / "Notes/25544.txt", "my note");
  // A later version changes every shipped file and ships one the user already has by name.
  Write(shipped_ / "Data/flares.dat", "table 2");
  Write(shipped_ / "Help/pages/index.htm", "help 2");
  fs::permissions(shipped_ / "Setup/default.ini", fs::perms::owner_write, fs::perm_options::add);
  Write(shipped_ / "Setup/default.ini", "settings 2");
  Write(shipped_ / "Locations/World.loc", "places 2");
  Write(shipped_ / "Tle/visual.tle", "shipped elements");
  Write(shipped_ / "Help/new.htm", "new page");

  before = test::FolderListing(shipped_);
  for (int start = 0; start < 2; ++start) {
    ASSERT_EQ(AddShippedFiles(shipped_, user_), "") << start;
    EXPECT_EQ(test::FolderListing(shipped_), before);
    copied = Files(user_);
    copied.erase(kShippedRecordFile);
    expected = {{"Data/flares.dat", "table 2"},       {"Help/pages/index.htm", "help 2"},
                {"Help/new.htm", "new page"},         {"Setup/default.ini", "my settings"},
                {"Locations/World.loc", "my places"}, {"Tle/visual.tle", "my elements"},
                {"Notes/25544.txt", "my note"}};
    EXPECT_EQ(copied, expected) << start;
  }
}

TEST_F(ShippedFiles, CommandsReadTheShippedCopyUntilTheUserHasOne) {
  Write(shipped_ / "Data/flares.dat", "table");
  const THomeChoice user{Kind::UserFolder, user_, shipped_, ""};
  EXPECT_EQ(FolderToRead(user, "Data/flares.dat"), shipped_);
  ASSERT_EQ(AddShippedFiles(shipped_, user_), "");
  EXPECT_EQ(FolderToRead(user, "Data/flares.dat"), user_);
  const THomeChoice own{Kind::ProgramFileFolder, shipped_ / "bin", {}, ""};
  EXPECT_EQ(FolderToRead(own, "Data/flares.dat"), shipped_ / "bin");
}

// Installed into the user's own data folder (prefix ~/.local): nothing to copy, nothing written.
TEST_F(ShippedFiles, TheShippedTreeAsTheUsersFolderIsLeftAlone) {
  Write(shipped_ / "Data/flares.dat", "table");
  const std::vector<std::string> before = test::FolderListing(shipped_);
  EXPECT_EQ(AddShippedFiles(shipped_, shipped_), "");
  EXPECT_EQ(test::FolderListing(shipped_), before);
}

}  // namespace
}  // namespace zen::cli
