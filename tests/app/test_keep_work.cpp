// The user's work kept through the running window: choices across a restart, the question on
// leaving, editing keys in text fields, the tracked list across loads, the elements' age.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <fstream>

#include "app/console_panel.h"
#include "app/list_view_support.h"
#include "app/location_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/options_page.h"
#include "app/prediction_setup_page.h"
#include "app/side_panel.h"
#include "app_fixture.h"
#include "display/colours.h"
#include "display/map_screen.h"
#include "test_support.h"
#include "tracking/settings.h"
#include "tracking/update_sources.h"

namespace zen {
namespace {

const QString kShippedSetup = QStringLiteral(ZEN_SOURCE_DIR "/resources/Setup");

class KeepWork : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Setup")));
  }

  // "Tle/<file>" holding the renumbered station set as S<n> for each number, in that order.
  QString WriteSets(const char* file, const std::vector<int>& numbers) {
    const QString path = folder.home.filePath(QStringLiteral("Tle/") + file);
    QDir().mkpath(QFileInfo(path).path());
    std::ofstream out(path.toStdString(), std::ios::binary);
    for (int n : numbers) {
      auto [l1, l2] = test::MakeLinePair(n);
      out << "S" << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
    }
    return path;
  }

  // The sets' epoch is 2001-12-18 03:32:39 UTC; the clock is local at UTC +2.
  std::unique_ptr<TMainWindow> Start(const QString& file = {}, std::vector<std::string> track = {},
                                     TDateRec local = {2001, 12, 18, 5, 0, 0, 0}) {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.clock = [local] { return local; };
    c.elementFile = file;
    c.trackIds = std::move(track);
    return test::StartWindow(c, dialogs);
  }
  QString SetupFile(const char* name) const {
    return folder.home.filePath(QStringLiteral("Setup/") + name);
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

std::vector<std::string> TrackedNames(TMainWindow& window) {
  return window.Satellites().TrackedNames();
}

// A new user: the shipped settings, a site, another file and satellites tracked, the window
// closed as it comes, and everything there again at the next start.
TEST_F(KeepWork, AFreshFoldersChoicesSurviveARestart) {
  for (const char* name : {"zenarith.set", "default.ini"}) {
    ASSERT_TRUE(QFile::copy(kShippedSetup + "/" + name, SetupFile(name))) << name;
  }
  const QString file = WriteSets("mine.tle", {7, 3, 9, 5});
  auto window = Start();
  EXPECT_TRUE(window->OptionsPage()->autoSave->isChecked());
  const TSite site{"Ankara", "Ankara", "", 32.85, 39.93, 938.0};
  window->LocationCommands().Choose(site);
  dialogs.fileToOpen = file;
  window->MainPage()->loadTleButton->click();
  for (int position : {3, 1}) window->TrackingCommands().AddTr(false, false, position);
  window->TrackingCommands().AddTr(false, true, 4);
  ASSERT_EQ(TrackedNames(*window), (std::vector<std::string>{"S9", "S7", "S5"}));
  test::CloseWindow(window, dialogs);
  EXPECT_EQ(dialogs.questions.last(), "Do you really want to exit?");

  window = Start();
  EXPECT_EQ(window->Tracker().Site().name, "Ankara");
  EXPECT_DOUBLE_EQ(window->Tracker().Site().latitude, 39.93);
  EXPECT_EQ(window->Satellites().TleFileName, "Tle/mine.tle");
  // The start tracks in the file's order; the active one is the one left active.
  EXPECT_EQ(TrackedNames(*window), (std::vector<std::string>{"S7", "S9", "S5"}));
  EXPECT_EQ(window->Satellites().NameOf(window->Satellites().ActiveSat), "S5");
  EXPECT_TRUE(dialogs.errors.isEmpty()) << qPrintable(dialogs.errors.join('\n'));
}

// Without "Auto save", choices that differ from "default" are offered for saving.
TEST_F(KeepWork, TheExitQuestionOffersTheChangedChoices) {
  const struct {
    const char* what;
    bool change;
    TAnswer answer;
    bool closes;
    bool saved;
  } rows[] = {
      {"nothing changed", false, TAnswer::Yes, true, false},
      {"save", true, TAnswer::Yes, true, true},
      {"leave unsaved", true, TAnswer::No, true, false},
      {"stay", true, TAnswer::Cancel, false, false},
  };
  for (const auto& row : rows) {
    QFile::remove(SetupFile("default.ini"));
    dialogs.questions.clear();
    auto window = Start();
    ASSERT_FALSE(window->OptionsPage()->autoSave->isChecked()) << "no main file: off";
    if (row.change) window->OptionsPage()->grid->click();
    dialogs.answers = {true};
    dialogs.choices = {row.answer};
    EXPECT_EQ(window->close(), row.closes) << row.what;
    ASSERT_EQ(dialogs.questions.size(), 1) << row.what;
    EXPECT_TRUE(dialogs.questions[0].contains(
        row.change ? "Changed since they were saved: the options." : "Do you really want to exit?"))
        << row.what;
    EXPECT_EQ(QFile::exists(SetupFile("default.ini")), row.saved) << row.what;
    if (row.saved) {
      EXPECT_TRUE(ReadSettings(SetupFile("default.ini").toStdString()).show.grid);
    }
    window.reset();
  }
}

void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
}

// Where text is typed, Ctrl+A selects it and the typed digit replaces it; elsewhere the key
// table's command runs.
TEST_F(KeepWork, EditingKeysEditWhereTextIsTyped) {
  auto window = Start();
  QComboBox* console = window->ConsolePanel()->commandLine;
  auto page = [&](int index) {
    return [&, index] { window->KeyCommands().FormKeyDown(Qt::Key_F1 + index, Qt::NoModifier); };
  };
  const struct {
    const char* what;
    std::function<void()> reveal;
    QWidget* field;
    std::function<QString()> text;  // empty where nothing is typed
  } rows[] = {
      {"period", page(kPageSetup), window->PredictionSetupPage()->periodCount,
       [&] { return window->PredictionSetupPage()->periodCount->text(); }},
      {"site name", page(kPageLocation), window->LocationPage()->name,
       [&] { return window->LocationPage()->name->text(); }},
      {"console", [&] { window->ConsoleCommands().toggle->trigger(); }, console,
       [&] { return console->currentText(); }},
      {"list", [] {}, window->SidePanel()->LoadedList(), nullptr},
  };
  for (const auto& row : rows) {
    row.reveal();
    window->TimeCommands().SetJumpUnit(1);
    row.field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), row.field) << row.what;
    const bool edits = row.text != nullptr;
    Press(row.field, Qt::Key_A, Qt::ControlModifier);
    Press(row.field, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
    EXPECT_EQ(window->Time().JumpUnit, edits ? 1 : 0) << row.what;
    if (edits) {
      EXPECT_EQ(row.text(), "7") << row.what;
    }
    // Ctrl+End and Ctrl+Home move in the text instead of switching the calculation.
    Press(row.field, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window->Time().Mode(), edits ? TTimeMode::RealTime : TTimeMode::Simulation)
        << row.what;
    Press(row.field, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(window->Time().Mode(), TTimeMode::RealTime) << row.what;
    // Keys without an editing meaning keep theirs everywhere.
    Press(row.field, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->Time().JumpUnit, edits ? 2 : 1) << row.what;
  }
}

// Ctrl+Home and Ctrl+End, as the keyboard sends them, go to the start and end of a one-line
// field's text; with Shift they select up to there. The calculation does not change.
TEST_F(KeepWork, CtrlHomeAndEndGoToTheEndsOfAOneLineField) {
  auto window = Start();
  window->TimeCommands().SetMode(TTimeMode::Simulation);
  QWindow* keyboard = window->windowHandle();
  ASSERT_TRUE(test::WaitUntil([&] { return QGuiApplication::focusWindow() == keyboard; }));
  auto page = [&](int index) {
    return [&, index] { window->KeyCommands().FormKeyDown(Qt::Key_F1 + index, Qt::NoModifier); };
  };
  QSpinBox* period = window->PredictionSetupPage()->periodCount;
  QComboBox* console = window->ConsolePanel()->commandLine;
  const struct {
    const char* what;
    std::function<void()> reveal;
    QWidget* focus;
    QLineEdit* line;
    QString text;  // typed; empty: the text it holds
  } rows[] = {
      {"site name", page(kPageLocation), window->LocationPage()->name, window->LocationPage()->name,
       "Ankara centre"},
      {"simulated time", page(kPageMain), window->MainPage()->simTime, window->MainPage()->simTime,
       ""},
      {"period", page(kPageSetup), period, period->findChild<QLineEdit*>(), "12"},
      {"console", [&] { window->ConsoleCommands().toggle->trigger(); }, console,
       console->lineEdit(), "STAT all"},
  };
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool atEnd;
    bool selects;
  } keys[] = {
      {Qt::Key_Home, Qt::ControlModifier, false, false},
      {Qt::Key_End, Qt::ControlModifier, true, false},
      {Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier, false, true},
      {Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier, true, true},
  };
  for (const auto& row : rows) {
    row.reveal();
    row.focus->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), row.focus) << row.what;
    if (!row.text.isEmpty()) row.line->setText(row.text);
    const int length = static_cast<int>(row.line->text().size());
    ASSERT_GE(length, 2) << row.what;
    for (const auto& k : keys) {
      const int middle = length / 2;
      row.line->setCursorPosition(middle);
      QTest::keyClick(keyboard, static_cast<Qt::Key>(k.key), k.modifiers);
      EXPECT_EQ(row.line->cursorPosition(), k.atEnd ? length : 0) << row.what << " key " << k.key;
      EXPECT_EQ(row.line->selectedText().size(),
                k.selects ? (k.atEnd ? length - middle : middle) : 0)
          << row.what << " key " << k.key;
      EXPECT_EQ(window->Time().Mode(), TTimeMode::Simulation) << row.what << " key " << k.key;
    }
  }
}

// "Load TLE" of a file without a single valid element set changes nothing: the catalogue, both
// lists and the file's name stay, so that "Auto save" keeps them at the exit, and the footer
// says why. A file with one valid set among broken ones loads as before.
TEST_F(KeepWork, LoadTleOfAFileWithoutValidSetsChangesNothing) {
  auto write = [this](const char* name, int broken, int valid) {
    const QString path = folder.home.filePath(QStringLiteral("Tle/") + name);
    std::ofstream out(path.toStdString(), std::ios::binary);
    for (int n = 1; n <= broken + valid; ++n) {
      auto [l1, l2] = test::MakeLinePair(100 + n);
      // A wrong checksum digit fails the set.
      if (n <= broken) l2.back() = static_cast<char>('0' + (l2.back() - '0' + 1) % 10);
      out << "BAD " << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
    }
    return path;
  };
  const QString first = WriteSets("first.tle", {1, 2, 3, 4, 5});
  auto window = Start(first, {"00002", "00004"});
  if (!window->OptionsPage()->autoSave->isChecked()) window->OptionsPage()->autoSave->click();
  ASSERT_TRUE(window->SettingsCommands().autoSave->isChecked());
  TTrackingCommands& tracking = window->TrackingCommands();
  tracking.SetActive(2);
  const std::vector<std::string> tracked{"S2", "S4"};
  ASSERT_EQ(TrackedNames(*window), tracked);
  const struct {
    const char* what;
    QString file;
    int invalid;
  } rows[] = {
      {"checksums", write("broken.tle", 3, 0), 3},
      {"empty", write("empty.tle", 0, 0), 0},
      // Large enough to be read on the worker.
      {"large", write("large.tle", 2000, 0), 2000},
  };
  ASSERT_GE(QFileInfo(rows[2].file).size(), static_cast<qint64>(kWorkerLoadBytes));
  QListView* loaded = window->SidePanel()->LoadedList();
  for (const auto& row : rows) {
    dialogs.fileToOpen = row.file;
    window->MainPage()->loadTleButton->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !tracking.Loading(); }, 60000)) << row.what;
    EXPECT_EQ(window->Footer().Texts[kFooterAlert],
              QStringLiteral("No element sets in %1 (%2 invalid)").arg(row.file).arg(row.invalid))
        << row.what;
    EXPECT_EQ(window->Satellites().LoadedCount, 5) << row.what;
    EXPECT_EQ(window->Satellites().TleFileName, "Tle/first.tle") << row.what;
    EXPECT_EQ(TrackedNames(*window), tracked) << row.what;
    EXPECT_EQ(window->Satellites().ActiveSat, 2) << row.what;
    ASSERT_EQ(test::Rows(loaded), 5) << row.what;
    EXPECT_EQ(test::Line(loaded, 4), "S5") << row.what;
    EXPECT_EQ(test::Rows(window->SidePanel()->TrackedList()), 2) << row.what;
  }
  test::CloseWindow(window, dialogs);
  const TSettings kept = ReadSettings(SetupFile("default.ini").toStdString());
  EXPECT_EQ(kept.tleFile, "Tle/first.tle");
  EXPECT_EQ(kept.trackedIds, (std::vector<std::string>{"00002", "00004"}));

  // One valid set among broken ones: loaded, the broken ones counted.
  window = Start(first, {"00002"});
  dialogs.fileToOpen = write("mixed.tle", 2, 1);
  window->MainPage()->loadTleButton->click();
  EXPECT_EQ(window->Satellites().LoadedCount, 1);
  EXPECT_EQ(window->Satellites().TleFileName, "Tle/mixed.tle");
  EXPECT_EQ(test::Line(window->SidePanel()->LoadedList(), 0), "BAD 3");
  EXPECT_TRUE(window->Satellites().TrackedNames().empty());
}

// "Load TLE" keeps the tracked satellites the new file holds, in their order, with the active
// one; only with nothing tracked do the settings' numbers choose.
TEST_F(KeepWork, LoadingAnotherFileKeepsTheTrackedList) {
  const QString first = WriteSets("first.tle", {1, 2, 3, 4, 5});
  const QString second = WriteSets("second.tle", {3, 1, 6, 5});
  auto window = Start(first, {"00002", "00004"});
  ASSERT_EQ(TrackedNames(*window), (std::vector<std::string>{"S2", "S4"}));
  TTrackingCommands& tracking = window->TrackingCommands();
  for (int position : {5, 1, 3}) tracking.AddTr(false, false, position);
  tracking.SetActive(3);
  ASSERT_EQ(TrackedNames(*window), (std::vector<std::string>{"S2", "S4", "S5", "S1", "S3"}));

  dialogs.fileToOpen = second;
  window->MainPage()->loadTleButton->click();
  EXPECT_EQ(TrackedNames(*window), (std::vector<std::string>{"S5", "S1", "S3"}));
  EXPECT_EQ(window->Satellites().NameOf(window->Satellites().ActiveSat), "S5");
  EXPECT_EQ(window->Footer().Texts[kFooterAlert],
            "2 of 5 tracked satellites are not in second.tle");
  QListView* trackedList = window->SidePanel()->TrackedList();
  ASSERT_EQ(test::Rows(trackedList), 3);
  EXPECT_EQ(test::Line(trackedList, 0), "S5");

  tracking.RemoveTr(true, false, 0);
  dialogs.fileToOpen = first;
  window->MainPage()->loadTleButton->click();
  EXPECT_EQ(TrackedNames(*window), (std::vector<std::string>{"S2", "S4"}));
}

// The active satellite's age stays on the map and beside the epoch once the footer is quiet;
// a stale one is marked, and an old file at start brings the offer of an update.
TEST_F(KeepWork, TheElementsAgeStaysInSight) {
  const QString file = WriteSets("aged.tle", {1});
  const struct {
    const char* what;
    TDateRec local;  // the epoch is 2001-12-18 03:32:39 UTC
    bool emptySources;
    const char* label;
    bool stale;
    bool offered;
  } rows[] = {
      {"fresh", {2001, 12, 19, 5, 0, 0, 0}, false, "Epoch (1.0 d old)", false, false},
      {"a week and more", {2001, 12, 26, 5, 0, 0, 0}, false, "Epoch (8.0 d old)", false, true},
      {"stale", {2002, 1, 7, 5, 0, 0, 0}, false, "Epoch (20.0 d old)", true, true},
      {"nowhere to update from", {2002, 1, 7, 5, 0, 0, 0}, true, "Epoch (20.0 d old)", true, false},
  };
  for (const auto& row : rows) {
    const std::filesystem::path sources =
        std::filesystem::path(folder.home.path().toStdString()) / kUpdateSourcesFile;
    std::filesystem::remove(sources);
    if (row.emptySources) WriteUpdateSources(sources, {});
    auto window = Start(file, {"00001"}, row.local);
    EXPECT_EQ(window->Footer().Texts[kFooterAlert].contains("\"Update elements...\""), row.offered)
        << row.what << ": " << qPrintable(window->Footer().Texts[kFooterAlert]);
    window->ClockTimer().setInterval(1);
    ASSERT_TRUE(test::WaitUntil([&] { return window->Footer().Texts[kFooterAlert].isEmpty(); }))
        << row.what;
    const QRect line(kAgeLineLeft, kAgeLineTop, 200, 12);
    const QImage shown = window->MapImage().copy(line);
    auto* orbit = window->findChild<QTableWidget*>(QStringLiteral("infozO"));
    ASSERT_NE(orbit, nullptr);
    EXPECT_EQ(orbit->item(4, 0)->text(), row.label) << row.what;

    window->TrackingCommands().SetActive(0);
    const QImage gone = window->MapImage().copy(line);
    EXPECT_EQ(orbit->item(4, 0)->text(), "Epoch");
    int differing = 0;
    int red = 0;
    for (int y = 0; y < line.height(); ++y) {
      for (int x = 0; x < line.width(); ++x) {
        differing += shown.pixel(x, y) != gone.pixel(x, y);
        red += shown.pixelColor(x, y) == kStaleAgeColour;
        EXPECT_NE(gone.pixelColor(x, y), kStaleAgeColour);
      }
    }
    EXPECT_GT(differing, 300) << row.what << ": the line over the map";
    EXPECT_EQ(red > 300, row.stale) << row.what;
    test::CloseWindow(window, dialogs);
  }
}

}  // namespace
}  // namespace zen
