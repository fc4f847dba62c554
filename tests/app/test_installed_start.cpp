// A start whose program folder cannot be written: the window runs in the per-user folder,
// filled from the program folder's tree, and never writes into the program folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "app/main_window.h"
#include "app/options_page.h"
#include "app_fixture.h"
#include "cli/program_home.h"
#include "core/scratch_folder.h"
#include "test_support.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

const fs::path kResources = fs::path(ZEN_SOURCE_DIR) / "resources";

class ReadOnlyProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(fs::exists(kResources / "Data/world.bmp")) << "no data tree under " << ZEN_SOURCE_DIR;
    // The program folder as the build lays it out, which this user may not write to (told so:
    // tests run as root, who may write anywhere).
    fs::copy(kResources, program_, fs::copy_options::recursive);
    facts_.programFileFolder = program_;
    facts_.programFileFolderWritable = false;
    facts_.xdgDataHome = (scratch_.path() / "xdg").string();
    facts_.userHome = (scratch_.path() / "home").string();
  }
  std::unique_ptr<TMainWindow> Start() {
    const cli::THomeChoice home = cli::ChooseHome(facts_);
    EXPECT_EQ(home.kind, cli::THomeChoice::Kind::UserFolder);
    TStartContext c = test::Context(QString::fromStdString(home.folder.string()), locks_.path());
    c.shippedData = QString::fromStdString(home.shippedData.string());
    return test::StartWindow(c, dialogs_);
  }
  void Close(std::unique_ptr<TMainWindow>& window) { test::CloseWindow(window, dialogs_); }

  test::TScratchFolder scratch_{"zen_installed_"};
  QTemporaryDir locks_;
  const fs::path program_ = scratch_.path() / "program";
  const QString user_ = QString::fromStdString((scratch_.path() / "xdg/zenarith").string());
  cli::THomeFacts facts_;
  test::TScriptedDialogs dialogs_;
};

TEST_F(ReadOnlyProgramFolder, RunsInTheUserFolderAndASecondStartKeepsTheUsersFiles) {
  const std::vector<std::string> before = test::FolderListing(program_);
  auto window = Start();
  ASSERT_TRUE(window->Initialized()) << qPrintable(dialogs_.errors.join("\n"));
  EXPECT_EQ(window->ProgramFolder(), user_ + "/");
  for (const char* name : {"Notes", "Output", "Setup", "Help/index.htm", "Locations/World.loc"}) {
    EXPECT_TRUE(QFileInfo::exists(user_ + "/" + name)) << name;
  }
  // The shipped settings load the shipped element file, from the user's copy.
  EXPECT_GT(window->Satellites().LoadedCount, 0);
  EXPECT_EQ(window->Satellites().CatalogNumberOf(window->Satellites().ActiveSat), "25544");
  // A new user's choices are kept at exit without asking.
  EXPECT_TRUE(window->OptionsPage()->autoSave->isChecked());
  window->OptionsPage()->grid->click();
  Close(window);
  ASSERT_TRUE(dialogs_.errors.isEmpty()) << qPrintable(dialogs_.errors.join("\n"));

  QFile note(user_ + "/Notes/25544.txt");
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.write("seen at dusk\r\n");
  note.close();
  window = Start();
  ASSERT_TRUE(window->Initialized()) << qPrintable(dialogs_.errors.join("\n"));
  EXPECT_TRUE(window->OptionsPage()->autoSave->isChecked());
  EXPECT_TRUE(window->Show().grid);
  Close(window);
  ASSERT_TRUE(note.open(QIODevice::ReadOnly));
  EXPECT_EQ(note.readAll(), QByteArray("seen at dusk\r\n"));
  EXPECT_TRUE(dialogs_.errors.isEmpty()) << qPrintable(dialogs_.errors.join("\n"));
  EXPECT_EQ(test::FolderListing(program_), before);
}

}  // namespace
}  // namespace zen
