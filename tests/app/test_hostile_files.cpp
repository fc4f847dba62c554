// Every file the window and the commands read or write, put in the place of something hostile:
// nothing, a folder, a named pipe, a device, links, an unreadable, empty or huge random file.
// Each cell must end in a message (or work, where that is right), quickly, and leave what was
// there as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>

#include "app/info_page.h"
#include "app/prediction_page.h"
#include "app/single_instance.h"
#include "app/window_commands.h"
#include "app_fixture.h"
#include "cli/commands.h"
#include "cli/flares.h"
#include "core/scratch_folder.h"
#include "display/screen_shot.h"
#include "help/help_window.h"
#include "prediction/results.h"
#include "test_support.h"
#include "tracking/ini_file.h"
#include "tracking/notes.h"

namespace zen {
namespace {

// A reader that waits on a pipe or a device would never come back; one that merely runs slow
// (a sanitizer build on a busy machine reads 50 MB of noise in several seconds) is no fault.
// Speed belongs to the benchmarks: this only tells a stuck call from a finished one.
constexpr qint64 kStuckMs = 60000;

namespace fs = std::filesystem;

enum class TKind { Missing, Folder, Pipe, Device, Dangling, Link, Unreadable, Empty, Random };
constexpr TKind kKinds[] = {TKind::Missing,  TKind::Folder,     TKind::Pipe,
                            TKind::Device,   TKind::Dangling,   TKind::Link,
                            TKind::Unreadable, TKind::Empty,    TKind::Random};
const char* const kKindNames[] = {"missing", "folder",     "FIFO",  "device", "dangling link",
                                  "link",    "unreadable", "empty", "50 MB random"};

// 50 MB of random bytes, made once and linked into each cell's folder.
const fs::path& RandomFile() {
  static test::TScratchFolder folder("zen_hostile_random_");
  static const fs::path file = [] {
    fs::path path = folder.path() / "random.bin";
    std::mt19937_64 generator(20261209);
    std::string block(1 << 20, '\0');
    std::ofstream out(path, std::ios::binary);
    for (int mb = 0; mb < 50; ++mb) {
      for (size_t i = 0; i < block.size(); i += 8) {
        const uint64_t value = generator();
        std::memcpy(&block[i], &value, 8);
      }
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    return path;
  }();
  return file;
}

// What a cell said, and whether what it was asked to do happened.
struct TOutcome {
  QStringList said;
  bool done = false;
};

class HostileFiles : public ::testing::Test {
 public:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData());
    ASSERT_TRUE(folder.CopyData());
    for (const char* sub : {"Setup", "Tle", "Notes", "Output", "Locations", "Help"}) {
      ASSERT_TRUE(QDir().mkpath(folder.home.filePath(sub)));
    }
    ASSERT_TRUE(folder.WriteSelfTestElements("Tle/test.tle"));
    ASSERT_TRUE(QFile::copy(test::kShippedData + "/flares.dat", Home("Data/flares.dat")));
    ASSERT_FALSE(RandomFile().empty());
  }
  void TearDown() override {
    if (window) test::CloseWindow(window, dialogs);
  }

  QString Home(const char* relative) const { return folder.home.filePath(relative); }
  fs::path Path(const char* relative) const { return Home(relative).toStdString(); }

  // Puts kind at file, good being what a sound file holds; false when this machine cannot
  // (unreadable for root), with the reason in skip.
  bool Place(TKind kind, const fs::path& file, const std::string& good, std::string& skip) {
    std::error_code ec;
    fs::remove_all(file, ec);
    const fs::path real = file.string() + ".real";
    switch (kind) {
      case TKind::Missing:
        return true;
      case TKind::Folder:
        return fs::create_directory(file);
      case TKind::Pipe:
        return ::mkfifo(file.c_str(), 0600) == 0;
      case TKind::Device:
        // A node of its own where the system allows it, else a link to one.
        if (::mknod(file.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0) return true;
        fs::create_symlink("/dev/zero", file);
        return true;
      case TKind::Dangling:
        fs::create_symlink(file.filename().string() + ".gone", file);
        return true;
      case TKind::Link:
        std::ofstream(real, std::ios::binary) << good;
        fs::create_symlink(real.filename(), file);
        return true;
      case TKind::Unreadable:
        if (::geteuid() == 0) {
          skip = "permissions do not stop root";
          return false;
        }
        std::ofstream(file, std::ios::binary) << good;
        fs::permissions(file, fs::perms::none);
        return true;
      case TKind::Empty:
        std::ofstream(file, std::ios::binary).flush();
        return true;
      case TKind::Random:
        fs::create_hard_link(RandomFile(), file, ec);
        if (ec) fs::copy_file(RandomFile(), file);
        return true;
    }
    return false;
  }

  QStringList Said() const {
    QStringList said = dialogs.errors + dialogs.notices + dialogs.questions;
    if (window && !window->Footer().Texts[kFooterAlert].isEmpty()) {
      said << window->Footer().Texts[kFooterAlert];
    }
    return said;
  }

  void Start(const QString& elementFile = QString()) {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    // A day the self-test sets are fresh on, so that their age says nothing.
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    // The offset the settings keep, so that no question about it is asked.
    c.detectedOffset = [] { return 0.0; };
    c.elementFile = elementFile;
    if (!elementFile.isEmpty()) c.trackIds = {"25544", "25023"};
    window = std::make_unique<TMainWindow>(c, dialogs);
    if (!window->Initialized()) return;
    window->ShowAsPlanned();
    test::WaitUntil([&] { return window->Activated(); });
  }

  // A command run in this process, its error text taken as what it said.
  TOutcome Command(const char* word, std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::FindCommand(word)->run(args, out, err);
    return {err.str().empty() ? QStringList() : QStringList(QString::fromStdString(err.str())),
            code == 0};
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
};

// A row: the file (relative to the program folder), what a sound copy holds, the action that
// reads or writes it, and per kind (in kKinds order) what must come of it: 'W' it works, 'M' a
// message (and the action did not happen as if all were well), '?' either.
struct TRow {
  const char* name;
  const char* file;
  std::string good;
  std::function<TOutcome(HostileFiles&)> run;
  const char* expect;
  // What was there stays even where the action works (it goes elsewhere).
  bool leavesIt = false;
};

const std::string kSettings = "[Time]\r\nSystem=1\r\n";
const std::string kElements = std::string(SelfTestSatellites[0].name) + "\r\n" +
                              SelfTestSatellites[0].line1 + "\r\n" + SelfTestSatellites[0].line2 +
                              "\r\n";

// A status table that lists the first self-test set as an Iridium.
const std::string kIridiumTable =
    " " + std::string(SelfTestSatellites[0].line1).substr(2, 5) + " o Iridium 1\r\n";

TEST_F(HostileFiles, EveryReaderAndWriterEndsInAMessageAndKeepsWhatWasThere) {
  const std::string site = "53.0,18.6";
  const std::vector<TRow> rows = {
      // Read at start: a settings file that cannot be read is said; nothing is fine.
      {"default.ini at start", "Setup/default.ini", kSettings,
       [](HostileFiles& t) {
         t.Start();
         return TOutcome{t.Said(), t.window->Activated() && t.Said().isEmpty()};
       },
       "WMMMWWMWM"},
      {"zenarith.set at start", "Setup/zenarith.set", "[Main]\r\nAutoSave=0\r\n",
       [](HostileFiles& t) {
         t.Start();
         return TOutcome{t.Said(), t.window->Activated() && t.Said().isEmpty()};
       },
       "WMMMWWMWM"},
      // Written at exit with Auto save: never over something it could not read, unasked.
      {"default.ini saved", "Setup/default.ini", kSettings,
       [](HostileFiles& t) {
         t.Start();
         t.dialogs.errors.clear();
         const bool saved = t.window->SettingsCommands().SejwujSetUp("default");
         // What can never be replaced is not asked about: the refusal says why.
         const fs::path file = t.Path("Setup/default.ini");
         if (fs::exists(fs::symlink_status(file)) && !fs::is_regular_file(file)) {
           EXPECT_TRUE(t.dialogs.questions.isEmpty()) << qPrintable(t.dialogs.questions.join(""));
           EXPECT_FALSE(t.dialogs.errors.isEmpty());
         }
         return TOutcome{t.Said(), saved && t.Said().isEmpty()};
       },
       "WMMMWWMWM"},
      {"settings chosen in Load", "Setup/mine.ini", kSettings,
       [](HostileFiles& t) {
         t.Start();
         t.dialogs.fileToOpen = t.Home("Setup/mine.ini");
         t.window->SettingsCommands().Load();
         return TOutcome{t.Said(), t.Said().isEmpty()};
       },
       "MMMMMWMWM"},
      {"location database at start", "Locations/Mine.loc",
       "\"Gdansk\",\"GD\",18.6466,54.3520,7.0\r\n",
       [](HostileFiles& t) {
         TIniFile ini;
         ini.WriteString("Location", "File", "Locations/Mine.loc");
         ini.Save(t.Path("Setup/default.ini"));
         t.Start();
         return TOutcome{t.Said(), t.Said().isEmpty()};
       },
       "?MMMMWMWM"},
      {"element file of the window", "Tle/given.tle", kElements,
       [](HostileFiles& t) {
         t.Start(t.Home("Tle/given.tle"));
         // A large file is read on a worker; its end is waited for.
         t.window->TrackingCommands().FinishLoading();
         return TOutcome{t.Said(), t.window->Satellites().LoadedCount == 1};
       },
       "MMMMMWMMM"},
      {"element file of a command", "Tle/given.tle", kElements,
       [site](HostileFiles& t) {
         return t.Command("passes", {t.Path("Tle/given.tle").string(), "--all", "--site", site,
                                     "--from", "2001-12-18 00:00:00", "--days", "1"});
       },
       "MMMMMWMMM"},
      {"Iridium table of the flares command", "Data/flares.dat", kIridiumTable,
       [site](HostileFiles& t) {
         std::ostringstream out;
         std::ostringstream err;
         const int code = cli::RunFlaresIn(
             t.Path(""), {t.Path("Tle/test.tle").string(), "--site", site, "--days", "1"}, out,
             err);
         return TOutcome{QStringList(QString::fromStdString(err.str())), code == 0};
       },
       "MMMMMWMMM"},
      {"Iridium table of the window", "Data/flares.dat", kIridiumTable,
       [](HostileFiles& t) {
         t.Start(t.Home("Tle/test.tle"));
         // A flare search without the table says why there is none.
         t.window->PredictionPage()->flares->click();
         if (t.window->PredictionCommands().IridiumTable().empty()) {
           t.window->PredictionPage()->predictButton->click();
         }
         return TOutcome{t.Said(), !t.window->PredictionCommands().IridiumTable().empty()};
       },
       "MMMMMWMMM"},
      {"world bitmap", "Data/world.bmp", "",
       [](HostileFiles& t) {
         t.Start();
         return TOutcome{t.Said(), t.window->Initialized()};
       },
       "MMMMMWMMM"},
      {"help page", "Help/index.htm", "<html><body>Contents of the help</body></html>",
       [](HostileFiles& t) {
         t.Start();
         THelpWindow* help = t.window->WindowCommands().HelpWindow();
         QString page;
         QTimer::singleShot(0, help, [&] {
           page = help->Browser()->toPlainText();
           help->ExitButton()->click();
         });
         t.window->WindowCommands().help->trigger();
         QStringList said = t.Said();
         if (page.contains("Page not found")) said << page;
         return TOutcome{said, page.contains("Contents of the help")};
       },
       "MMMMMWMMM"},
      {"notes read", "Notes/25544.txt", "seen in May\r\n",
       [](HostileFiles& t) {
         t.Start(t.Home("Tle/test.tle"));
         // No notes, or an empty file, is an empty box and nothing said.
         const QString shown = t.window->InfoPage()->notesMemo->toPlainText();
         return TOutcome{t.Said(), t.Said().isEmpty() && (shown.isEmpty() || shown == kNotesEmpty ||
                                                          shown == "seen in May")};
       },
       "?MMMWWMWM"},
      {"notes written", "Notes/25544.txt", "seen in May\r\n",
       [](HostileFiles& t) {
         t.Start(t.Home("Tle/test.tle"));
         QPlainTextEdit* memo = t.window->InfoPage()->notesMemo;
         // Notes that could not be read are closed to editing, never written over.
         const bool editable = memo->isEnabled();
         memo->setFocus();
         QFocusEvent in(QEvent::FocusIn);
         QApplication::sendEvent(memo, &in);
         memo->setPlainText("new notes");
         QFocusEvent out(QEvent::FocusOut);
         QApplication::sendEvent(memo, &out);
         std::string kept;
         if (fs::is_regular_file(t.Path("Notes/25544.txt"))) {
           std::ifstream file(t.Path("Notes/25544.txt"), std::ios::binary);
           kept.assign(std::istreambuf_iterator<char>(file), {});
         }
         const bool saved = kept.rfind("new notes", 0) == 0;
         // A note that could not be saved is held, still in the box: never lost.
         if (!saved && editable) {
           EXPECT_EQ(t.window->InfoPage()->UnsavedNotes(), std::vector<std::string>{"25544"});
           EXPECT_EQ(memo->toPlainText(), "new notes");
         }
         if (!editable) {
           EXPECT_TRUE(t.window->InfoPage()->UnsavedNotes().empty());
         }
         return TOutcome{t.Said(), saved};
       },
       "?MMMWWMWM"},
      {"report saved", "Output/report.txt", "earlier report\r\n",
       [](HostileFiles& t) {
         std::string error;
         const bool saved = WriteReport(t.Path("Output/report.txt"), {"a report"}, error);
         return TOutcome{error.empty() ? QStringList() : QStringList(QString::fromStdString(error)),
                         saved};
       },
       "WMMMWWWWW"},
      {"screen shot", "Output/ScrSav000.bmp", "earlier shot",
       [](HostileFiles& t) {
         QImage image(8, 8, QImage::Format_RGB32);
         image.fill(Qt::blue);
         const TScreenShotResult shot = SaveScreenShot(image, t.Home(""), false);
         return TOutcome{shot.ok ? QStringList() : QStringList(shot.message), shot.ok};
       },
       "WWWWWWWWW", true},
  };

  for (const TRow& row : rows) {
    const fs::path file = Path(row.file);
    // The shipped copy, where the row names none of its own, comes back after each cell.
    std::string shipped;
    if (fs::is_regular_file(file)) {
      std::ifstream in(file, std::ios::binary);
      shipped.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (size_t k = 0; k < std::size(kKinds); ++k) {
      const TKind kind = kKinds[k];
      const char expect = row.expect[k];
      SCOPED_TRACE(std::string(row.name) + ", " + kKindNames[k]);
      // A fresh program folder for each cell.
      if (window) test::CloseWindow(window, dialogs);
      dialogs = test::TScriptedDialogs();
      std::string skip;
      if (!Place(kind, file, row.good.empty() ? shipped : row.good, skip)) {
        std::cout << "[ skipped  ] " << row.name << ", " << kKindNames[k] << ": " << skip << "\n";
        if (!shipped.empty()) std::ofstream(file, std::ios::binary) << shipped;
        continue;
      }
      const bool keeps = kind != TKind::Missing && kind != TKind::Dangling &&
                         kind != TKind::Link && (expect != 'W' || row.leavesIt);
      const std::string before = test::Standing(file);
      QElapsedTimer clock;
      clock.start();
      const TOutcome outcome = row.run(*this);
      EXPECT_LT(clock.elapsed(), kStuckMs) << "took " << clock.elapsed() << " ms";
      const QString said = outcome.said.join(" | ");
      if (expect == 'M') {
        EXPECT_FALSE(outcome.done) << qPrintable(said);
        EXPECT_FALSE(said.isEmpty()) << "nothing said";
      }
      if (expect == 'W') {
        EXPECT_TRUE(outcome.done) << qPrintable(said);
      }
      if (keeps) {
        EXPECT_EQ(test::Standing(file), before) << "what was there changed";
      }
      // The program goes on: a window that started is still there and answers.
      if (window && window->Initialized()) {
        EXPECT_TRUE(window->isVisible());
      }
      std::error_code ec;
      fs::remove_all(file, ec);
      fs::remove(file.string() + ".real", ec);
      if (!shipped.empty()) std::ofstream(file, std::ios::binary) << shipped;
      ASSERT_TRUE(fs::is_regular_file(Path("Data/world.bmp"))) << "the bitmap was not put back";
    }
  }
}

// The lock that keeps a second copy from starting: what is no lock is said with its path and
// how to remove it, or replaced when it is a file no process holds; a running copy's lock ends
// the start silently.
TEST_F(HostileFiles, TheLockThatIsNoLockIsSaidOrReplaced) {
  const fs::path lock = folder.locks.filePath(kInstanceLockName).toStdString();
  const struct {
    TKind kind;
    TSingleInstance::TResult result;
    const char* said;  // in the problem; nullptr: nothing said
  } rows[] = {
      {TKind::Missing, TSingleInstance::TResult::Acquired, nullptr},
      {TKind::Folder, TSingleInstance::TResult::Invalid, "is a folder, not a lock"},
      {TKind::Pipe, TSingleInstance::TResult::Invalid, "is not a regular file, not a lock"},
      {TKind::Dangling, TSingleInstance::TResult::Invalid, "is a symbolic link, not a lock"},
      {TKind::Empty, TSingleInstance::TResult::Acquired, nullptr},
      {TKind::Random, TSingleInstance::TResult::Acquired, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(kKindNames[static_cast<int>(row.kind)]);
    std::string skip;
    ASSERT_TRUE(Place(row.kind, lock, "", skip));
    const std::string before = test::Standing(lock);
    TSingleInstance instance;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(instance.Acquire(folder.locks.path()), row.result);
    EXPECT_LT(clock.elapsed(), kStuckMs);
    if (row.said == nullptr) {
      EXPECT_TRUE(instance.Problem().isEmpty()) << qPrintable(instance.Problem());
      // Held now: a second copy is told that one runs.
      TSingleInstance second;
      EXPECT_EQ(second.Acquire(folder.locks.path()), TSingleInstance::TResult::HeldElsewhere);
    } else {
      EXPECT_TRUE(instance.Problem().contains(row.said)) << qPrintable(instance.Problem());
      EXPECT_TRUE(instance.Problem().contains(QString::fromStdString(lock.string())));
      EXPECT_TRUE(instance.Problem().contains("rm ")) << qPrintable(instance.Problem());
      EXPECT_EQ(test::Standing(lock), before);
    }
  }
}

}  // namespace
}  // namespace zen
