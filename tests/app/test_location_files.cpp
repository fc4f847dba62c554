// Location database files that cannot be read or written, through the running window: the
// user is told why, the window goes on and no place is lost.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTimer>

#include "app/location_page.h"
#include "app/main_window.h"
#include "app/options_page.h"
#include "app_fixture.h"
#include "tracking/ini_file.h"

namespace zen {
namespace {

class LocationFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(QDir().mkpath(Path("Locations")));
    ASSERT_TRUE(QDir().mkpath(Path("Setup")));
  }
  QString Path(const QString& relative) const { return folder.home.filePath(relative); }
  void Write(const QString& relative, const QByteArray& bytes) {
    QFile file(Path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray Bytes(const QString& relative) const {
    QFile file(Path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // "default" names the database file and a site of its own.
  void SettingsNaming(const char* locationFile) {
    TIniFile ini;
    ini.WriteString("Location", "File", locationFile);
    ini.WriteString("Location", "Name", "Home");
    ini.WriteInteger("Location", "Lat", 501000);
    ini.Save(Path("Setup/default.ini").toStdString());
  }
  void Start() {
    window = test::StartWindow(test::Context(folder.home.path(), folder.locks.path()), dialogs);
    ASSERT_TRUE(window->Activated());
    page = window->LocationPage();
  }
  QStringList Names() const {
    QStringList names;
    for (int i = 0; i < page->list->count(); ++i) names << page->list->item(i)->text();
    return names;
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
  TLocationPage* page = nullptr;
};

const QByteArray kGood = "\"Gdansk\",\"GD\",18.6466,54.3520,7.0\r\n";

// A database that is a folder at start, a named pipe on ">>>" and a folder chosen with the
// database button: each is said with the file and the reason, the list and the site stay, and
// the window goes on running.
TEST_F(LocationFiles, AnUnreadableDatabaseIsSaidAndTheWindowGoesOn) {
  ASSERT_TRUE(QDir().mkpath(Path("Locations/Bad.loc")));
  Write("Locations/Good.loc", kGood);
  ASSERT_EQ(::mkfifo(Path("Locations/Pipe.loc").toLocal8Bit().constData(), 0600), 0);
  SettingsNaming("Locations\\Bad.loc");
  Start();
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains(Path("Locations/Bad.loc")));
  EXPECT_TRUE(dialogs.errors[0].contains("is a folder")) << qPrintable(dialogs.errors[0]);
  EXPECT_EQ(page->list->count(), 0);
  EXPECT_EQ(window->Tracker().Site().name, "Home");
  EXPECT_EQ(page->name->text(), "Home");
  EXPECT_TRUE(window->RefreshTimer().isActive());
  EXPECT_TRUE(window->updatesEnabled());

  // The first ">>>" reaches Good (the folder is no database file); the next the pipe.
  page->nextDb->click();
  EXPECT_EQ(Names(), QStringList{"Gdansk"}) << qPrintable(dialogs.errors.join('\n'));
  page->nextDb->click();
  ASSERT_EQ(dialogs.errors.size(), 2);
  EXPECT_TRUE(dialogs.errors[1].contains(Path("Locations/Pipe.loc")));
  EXPECT_TRUE(dialogs.errors[1].contains("not a regular file")) << qPrintable(dialogs.errors[1]);
  EXPECT_EQ(Names(), QStringList{"Gdansk"});
  EXPECT_EQ(page->databaseButton->text(), "Good");
  dialogs.fileToOpen = Path("Locations/Bad.loc");
  page->databaseButton->click();
  ASSERT_EQ(dialogs.errors.size(), 3);
  EXPECT_EQ(Names(), QStringList{"Gdansk"});
  EXPECT_TRUE(window->updatesEnabled()) << "the loading notice is gone";

  // The settings keep naming the database that is open.
  dialogs.answers = {true};
  window->OptionsPage()->autoSave->click();
  window->close();
  window.reset();
  const TIniFile saved = TIniFile::Read(Path("Setup/default.ini").toStdString());
  EXPECT_EQ(saved.ReadString("Location", "File", ""), "Locations\\Good.loc");
}

// A list that no file could be read into is never written into the unread file: at exit the
// user is asked, and the file that could not be read stays as it was.
TEST_F(LocationFiles, PlacesAddedAfterAFailedStartAreNeverWrittenOverTheUnreadFile) {
  ASSERT_TRUE(QDir().mkpath(Path("Locations/Bad.loc")));
  SettingsNaming("Locations\\Bad.loc");
  Start();
  page->name->setText("Zenarith Hill");
  page->addToDb->click();
  dialogs.errors.clear();
  dialogs.answers = {false};  // No: back to the window
  window->close();
  ASSERT_EQ(dialogs.questions.size(), 1);
  EXPECT_TRUE(dialogs.questions[0].contains("Exit without saving the location list?"));
  EXPECT_TRUE(window->isVisible());
  dialogs.answers = {true};
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(dialogs.questions.size(), 2) << "no second question after leaving unsaved";
  window.reset();
  EXPECT_TRUE(QFileInfo(Path("Locations/Bad.loc")).isDir());
}

// A save that fails on ">>>" keeps that database open with its edits and says why; at exit the
// user chooses between staying and leaving without it, and nothing is lost when they stay.
TEST_F(LocationFiles, AFailedSaveOnNextKeepsTheEditsAndAsksAtExit) {
  Write("Locations/A.loc", kGood);
  Write("Locations/B.loc", "\"Torun\",\"SP2\",18.6107,53.0217,5.0\r\n");
  SettingsNaming("Locations\\A.loc");
  Start();
  page->name->setText("Zenarith Hill");
  page->addToDb->click();
  // A folder where the temporary file would go stops the write, as a full disk would.
  ASSERT_TRUE(QDir().mkpath(Path("Locations/A.loc.tmp")));
  page->nextDb->click();
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains(Path("Locations/A.loc"))) << qPrintable(dialogs.errors[0]);
  EXPECT_EQ(page->databaseButton->text(), "A");
  EXPECT_EQ(Names(), (QStringList{"Gdansk", "Zenarith Hill"}));
  EXPECT_EQ(Bytes("Locations/A.loc"), kGood);

  dialogs.answers = {false};  // stay
  window->close();
  ASSERT_EQ(dialogs.questions.size(), 1);
  EXPECT_TRUE(dialogs.questions[0].contains(Path("Locations/A.loc")));
  EXPECT_TRUE(window->isVisible());
  // Once the way is clear again the next switch saves, and the edit is in the file.
  ASSERT_TRUE(QDir().rmdir(Path("Locations/A.loc.tmp")));
  page->nextDb->click();
  EXPECT_EQ(page->databaseButton->text(), "B");
  EXPECT_TRUE(Bytes("Locations/A.loc").contains("\"Zenarith Hill\""));
  test::CloseWindow(window, dialogs);
}

}  // namespace
}  // namespace zen
