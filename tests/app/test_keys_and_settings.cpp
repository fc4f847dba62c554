// The key table, the quick menu and the settings files, through the running window.
#include <gtest/gtest.h>

#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "app/list_view_support.h"
#include "app/location_page.h"
#include "app/main_window.h"
#include "app/options_page.h"
#include "app/side_panel.h"
#include "app_fixture.h"
#include "core/elements.h"
#include "tracking/ini_file.h"
#include "tracking/settings.h"

namespace zen {
namespace {

class KeysAndSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(folder.WriteSelfTestElements("Tle/test.tle"));
  }

  // A window on the program folder; with elements, the test file with two satellites tracked.
  std::unique_ptr<TMainWindow> Start(bool elements) {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    if (elements) {
      c.elementFile = folder.home.filePath("Tle/test.tle");
      c.trackIds = {"25544", "25023"};
    }
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    return test::StartWindow(c, dialogs);
  }
  void Close(std::unique_ptr<TMainWindow>& window) { test::CloseWindow(window, dialogs); }
  QString SetupFile(const char* name) const {
    return folder.home.filePath(QStringLiteral("Setup/") + name);
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

// The entry at a path of captions in a menu.
QAction* Entry(QMenu* menu, QStringList path) {
  for (QAction* a : menu->actions()) {
    if (a->text().section('\t', 0, 0) != path.front()) continue;
    path.pop_front();
    if (path.isEmpty()) return a;
    return a->menu() != nullptr ? Entry(a->menu(), path) : nullptr;
  }
  return nullptr;
}

TEST_F(KeysAndSettings, KeysRunTheirCommandsAndPassOnlyWhatTheTableSays) {
  auto window = Start(true);
  TKeyCommands& keys = window->KeyCommands();
  const TTracker& model = window->Tracker();
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool consumed;
    std::function<bool()> holds;
  } rows[] = {
      {Qt::Key_PageDown, ctrl, false, [&] { return model.time.AutoStep == 0; }},  // real time
      {Qt::Key_Plus, ctrl | Qt::KeypadModifier, false,
       [&] { return model.time.Mode() == TTimeMode::RealTime; }},
      {Qt::Key_F12, Qt::NoModifier, false, [&] { return model.show.radarMode == TRadarMode::On; }},
      {Qt::Key_F12, Qt::NoModifier, false, [&] { return model.show.radarMode == TRadarMode::Off; }},
      {Qt::Key_F12, Qt::NoModifier, false,
       [&] { return model.show.radarMode == TRadarMode::Auto; }},
      {Qt::Key_F10, Qt::NoModifier, false,
       [&] {
         return model.show.satOnTrack == TSatOnTrack::Middle &&
                Entry(&window->QuickMenu(), {"Options", "Sat On Track", "Middle"})->isChecked();
       }},
      {Qt::Key_F2, Qt::NoModifier, false, [&] { return window->OptionsPage()->sun->hasFocus(); }},
      {Qt::Key_F3, Qt::NoModifier, false, [&] { return window->LocationPage()->list->hasFocus(); }},
      {Qt::Key_F2, Qt::ShiftModifier, false,
       [&] { return window->SidePanel()->ListTab() == TListTab::Tracked; }},
      {Qt::Key_F11, Qt::NoModifier, false, [&] { return !window->TimePanelShown(); }},
      {Qt::Key_1, ctrl, true, [&] { return model.view.refreshIndex == 0; }},
      {Qt::Key_1, ctrl, true,
       [&] {
         return model.view.refreshIndex == 0 && window->RefreshTimer().interval() == 1000 &&
                window->Footer().Texts[kFooterNotice] == "Refresh interval is now: 1 sec(s)";
       }},
      {Qt::Key_End, ctrl, true, [&] { return model.time.Mode() == TTimeMode::Simulation; }},
      {Qt::Key_PageDown, ctrl, true, [&] { return model.time.AutoStep == 1; }},
      {Qt::Key_PageUp, ctrl, true, [&] { return model.time.AutoStep == -1; }},
      {Qt::Key_W, ctrl, true, [&] { return model.time.JumpMultiplier == 4; }},
      {Qt::Key_W, ctrl, true, [&] { return model.time.JumpMultiplier == 5; }},
      {Qt::Key_W, ctrl, true, [&] { return model.time.JumpMultiplier == 6; }},
      {Qt::Key_W, ctrl, true, [&] { return model.time.JumpMultiplier == 7; }},
      {Qt::Key_W, ctrl, true,
       [&] {
         return model.time.JumpMultiplier == 7 &&
                window->Footer().Texts[kFooterNotice] == "Jump interval is now: 60 x min";
       }},
      {Qt::Key_A, ctrl, true, [&] { return model.time.JumpUnit == 0; }},
      {Qt::Key_QuoteLeft, ctrl, false,
       [&] {
         return window->Footer().Texts[kFooterNotice] ==
                "Refresh interval: 1 sec(s), Jump interval: 60 x sec";
       }},
      {Qt::Key_A, ctrl | Qt::ShiftModifier, false,
       [&] { return model.time.JumpUnit == 0; }},  // exact set
      {Qt::Key_Home, ctrl, true, [&] { return model.time.Mode() == TTimeMode::RealTime; }},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(keys.FormKeyDown(rows[i].key, rows[i].modifiers), rows[i].consumed) << "row " << i;
    EXPECT_TRUE(rows[i].holds()) << "row " << i;
  }
}

TEST_F(KeysAndSettings, TheWindowSeesKeysBeforeTheFocusedControl) {
  auto window = Start(true);
  QListView* loaded = window->SidePanel()->LoadedList();
  loaded->setFocus();
  // Ctrl+A would select every row of the list; the key table takes it for the jump unit.
  QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
  QApplication::sendEvent(loaded, &ctrlA);
  EXPECT_EQ(window->Time().JumpUnit, 0);
  EXPECT_TRUE(test::NothingSelected(loaded));
}

TEST_F(KeysAndSettings, QuickMenuEntriesRunTheirCommandsAndFollowTheMode) {
  auto window = Start(true);
  QMenu* menu = &window->QuickMenu();
  EXPECT_FALSE(Entry(menu, {"Time", "Auto Forward"})->isEnabled()) << "real time";
  EXPECT_FALSE(Entry(menu, {"Time", "Interval Units"})->menu()->isEnabled() &&
               Entry(menu, {"Time", "Interval Units", "Sec"})->isEnabled());
  const struct {
    QStringList path;
    std::function<bool()> holds;
  } rows[] = {
      {{"Time", "Simulation"}, [&] { return window->Time().Mode() == TTimeMode::Simulation; }},
      {{"Time", "Interval Units", "Day"}, [&] { return window->Time().JumpUnit == 3; }},
      {{"Time", "Auto Forward"}, [&] { return window->Time().AutoStep == 1; }},
      {{"Time", "Auto Off"}, [&] { return window->Time().AutoStep == 0; }},
      {{"Options", "Show", "Grid"}, [&] { return window->Show().grid; }},
      {{"Options", "Radar", "Off"}, [&] { return window->Show().radarMode == TRadarMode::Off; }},
      {{"Stop Tranking", "Remove all"}, [&] { return window->Satellites().TrackedCount == 0; }},
      {{"Start Tracking", "Add all to tracked"},
       [&] { return window->Satellites().TrackedCount == 2; }},
      {{"Stop Tranking", "Remove all"}, [&] { return window->Satellites().TrackedCount == 0; }},
      {{"Screen shot", "Map Only"},
       [&] { return QFile::exists(folder.home.filePath("Output/ScrSav000.bmp")); }},
  };
  for (const auto& row : rows) {
    QAction* entry = Entry(menu, row.path);
    ASSERT_NE(entry, nullptr) << qPrintable(row.path.join(" > "));
    EXPECT_TRUE(entry->isEnabled()) << qPrintable(row.path.join(" > "));
    entry->trigger();
    EXPECT_TRUE(row.holds()) << qPrintable(row.path.join(" > "));
  }
  EXPECT_TRUE(Entry(menu, {"Options", "Show", "Grid"})->isChecked());
  EXPECT_TRUE(window->OptionsPage()->grid->isChecked());
}

// The quick menu's "Moon" and the Options page's box are one option.
TEST_F(KeysAndSettings, TheMoonEntryAndTheMoonBoxAreOneOption) {
  auto window = Start(true);
  QAction* entry = Entry(&window->QuickMenu(), {"Options", "Show", "Moon"});
  ASSERT_NE(entry, nullptr);
  TOptionsPage* page = window->OptionsPage();
  entry->trigger();
  EXPECT_TRUE(window->Show().moon && page->moon->isChecked());
  page->moon->click();
  EXPECT_FALSE(window->Show().moon || entry->isChecked());
}

TEST_F(KeysAndSettings, AFreshFolderGivesEveryDefaultAndNoSatellites) {
  auto window = Start(false);
  EXPECT_EQ(window->Satellites().LoadedCount, 0);
  EXPECT_EQ(window->Tracker().Site().name, "Torun");
  EXPECT_EQ(window->RefreshTimer().interval(), 5000);
  EXPECT_EQ(window->Show().radarMode, TRadarMode::Auto);
  EXPECT_FALSE(window->OptionsPage()->autoSave->isChecked());
}

TEST_F(KeysAndSettings, ChoicesSurviveARestartWithAutoSave) {
  auto window = Start(true);
  window->OptionsPage()->autoSave->click();
  window->OptionsPage()->grid->click();
  window->OptionsPage()->moon->click();
  window->OptionsPage()->radarMode[1]->click();
  window->TimeCommands().SetRefreshIndex(3);
  window->TimeCommands().SetOffset(5.5);
  Close(window);
  ASSERT_TRUE(QFile::exists(SetupFile("default.ini")));
  // Written in tracked-list order, which is the element file's.
  TIniFile saved = TIniFile::Read(SetupFile("default.ini").toStdString());
  EXPECT_EQ(saved.ReadString("TLE_DB", "Tracked", ""), "25023,25544");
  EXPECT_EQ(saved.ReadString("TLE_DB", "Active", ""), "25544");
  saved.WriteString("TLE_DB", "Tracked", "25544,25023");
  saved.Save(SetupFile("default.ini").toStdString());

  window = Start(false);
  EXPECT_TRUE(window->OptionsPage()->autoSave->isChecked());
  EXPECT_TRUE(window->Show().grid);
  EXPECT_TRUE(window->OptionsPage()->moon->isChecked());
  EXPECT_TRUE(window->OptionsPage()->radarMode[1]->isChecked());
  EXPECT_EQ(window->RefreshTimer().interval(), 20000);
  EXPECT_EQ(window->Time().UtcOffsetHours(), 5.5);
  // The tracked list follows the element file's order, whatever order the file lists.
  EXPECT_EQ(window->Satellites().TrackedCount, 2);
  EXPECT_EQ(window->Satellites().CatalogNumberOf(1), "25023");
  EXPECT_EQ(window->Satellites().CatalogNumberOf(window->Satellites().ActiveSat), "25544");
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(KeysAndSettings, AFailedSaveIsSaidAndKeepsThePreviousFile) {
  auto window = Start(true);
  window->OptionsPage()->autoSave->click();
  Close(window);
  QFile before(SetupFile("default.ini"));
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray previous = before.readAll();
  before.close();
  // A folder where the temporary file would go stops the write, as a full disk would.
  ASSERT_TRUE(QDir().mkpath(SetupFile("default.ini.tmp")));
  window = Start(true);
  window->OptionsPage()->grid->click();
  Close(window);
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains("default.ini")) << qPrintable(dialogs.errors[0]);
  QFile after(SetupFile("default.ini"));
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), previous);
}

TEST_F(KeysAndSettings, SaveAndLoadUseTheSetupFolderAndTheOnlySatellitesMark) {
  auto window = Start(true);
  QTemporaryDir elsewhere;
  // "my.settings.ini" chosen in another folder is saved as "Setup/my.ini".
  dialogs.saveContent = 2;  // "Only satellites"
  dialogs.fileToSave = elsewhere.filePath("my.settings.ini");
  window->OptionsPage()->saveSettings->click();
  EXPECT_TRUE(dialogs.saveFolder.endsWith("/Setup"));
  ASSERT_TRUE(QFile::exists(SetupFile("my.ini")));
  EXPECT_FALSE(QFile::exists(elsewhere.filePath("my.settings.ini")));
  EXPECT_EQ(window->SettingsCommands().SaveChoice(), TSaveChoice::OnlySatellites);

  // Loaded, the file brings back the satellites only.
  window->OptionsPage()->grid->click();
  window->TrackingCommands().RemoveTr(true, false, 0);
  dialogs.fileToOpen = SetupFile("my.ini");
  window->OptionsPage()->loadSettings->click();
  EXPECT_EQ(window->SettingsCommands().SettingsFileName(), "Setup/my.ini");
  EXPECT_EQ(window->Satellites().TrackedCount, 2);
  EXPECT_TRUE(window->Show().grid) << "the options stay as they were";
}

// "Load..." reads the file chosen, wherever it lies; one that cannot be read is said and
// changes nothing, never the defaults of a missing namesake in "Setup".
TEST_F(KeysAndSettings, LoadReadsTheFileChosenInAnotherFolderOrChangesNothing) {
  auto window = Start(true);
  QTemporaryDir elsewhere;
  TIniFile other;
  other.WriteString("TLE_DB", "TLEFile", "Tle/test.tle");
  other.WriteString("TLE_DB", "Tracked", "25544");
  other.WriteString("TLE_DB", "Active", "25544");
  other.WriteBool("Show", "Grid", true);
  other.WriteString("Location", "Name", "Elsewhere");
  other.WriteInteger("Location", "Lat", -337000);
  other.Save(elsewhere.filePath("trip.v2.ini").toStdString());
  ASSERT_FALSE(QFile::exists(SetupFile("trip.ini")));

  dialogs.fileToOpen = elsewhere.filePath("trip.v2.ini");
  window->OptionsPage()->loadSettings->click();
  EXPECT_TRUE(dialogs.errors.isEmpty()) << qPrintable(dialogs.errors.join('\n'));
  EXPECT_EQ(window->SettingsCommands().SettingsFileName(), elsewhere.filePath("trip.v2.ini"));
  EXPECT_TRUE(window->Show().grid);
  EXPECT_EQ(window->Tracker().Site().name, "Elsewhere");
  EXPECT_EQ(window->LocationPage()->name->text(), "Elsewhere");
  EXPECT_EQ(window->Satellites().LoadedCount, 2);
  EXPECT_EQ(window->Satellites().TrackedCount, 1);

  // Not there, and a folder: a message naming the file, and everything stays.
  ASSERT_TRUE(QDir().mkpath(elsewhere.filePath("folder.ini")));
  for (const char* name : {"absent.ini", "folder.ini"}) {
    dialogs.errors.clear();
    dialogs.fileToOpen = elsewhere.filePath(name);
    window->OptionsPage()->loadSettings->click();
    ASSERT_EQ(dialogs.errors.size(), 1) << name;
    EXPECT_TRUE(dialogs.errors[0].contains(elsewhere.filePath(name))) << qPrintable(dialogs.errors[0]);
    EXPECT_EQ(window->SettingsCommands().SettingsFileName(), elsewhere.filePath("trip.v2.ini"));
    EXPECT_TRUE(window->Show().grid) << name;
    EXPECT_EQ(window->Tracker().Site().name, "Elsewhere") << name;
    EXPECT_EQ(window->Satellites().LoadedCount, 2) << name;
    EXPECT_TRUE(window->updatesEnabled()) << "the window is never left frozen";
  }
}

// The save dialog's "Only options" belongs to that save: the exit save of "default" carries the
// element file and the tracked list, so the next start has its satellites.
TEST_F(KeysAndSettings, OnlyOptionsOnceStillLeavesTheWholeStateAtExit) {
  auto window = Start(true);
  window->OptionsPage()->autoSave->click();
  dialogs.saveContent = 1;  // "Only options"
  dialogs.fileToSave = SetupFile("opts.ini");
  window->OptionsPage()->saveSettings->click();
  const TSettings options = ReadSettings(SetupFile("opts.ini").toStdString());
  EXPECT_TRUE(options.tleFile.empty());
  EXPECT_TRUE(options.trackedIds.empty());
  Close(window);

  const TSettings saved = ReadSettings(SetupFile("default.ini").toStdString());
  EXPECT_EQ(saved.tleFile, "Tle/test.tle");
  EXPECT_EQ(saved.trackedIds, (std::vector<std::string>{"25023", "25544"}));
  EXPECT_FALSE(saved.onlySats);
  window = Start(false);
  EXPECT_EQ(window->Satellites().LoadedCount, 2);
  EXPECT_EQ(window->Satellites().TrackedCount, 2);
}

}  // namespace
}  // namespace zen

namespace zen {
namespace {

TEST_F(KeysAndSettings, TheCornerBringsUpTheQuickMenuButtonWhichOpensTheMenu) {
  auto window = Start(true);
  TSidePanel* panel = window->SidePanel();
  QWidget* corner = panel->childAt(kSidePanelWidth - 4, 4);
  ASSERT_NE(corner, nullptr);
  QPoint local = corner->mapFrom(panel, QPoint(kSidePanelWidth - 4, 4));
  QMouseEvent move(QEvent::MouseMove, QPointF(local), corner->mapToGlobal(QPointF(local)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(corner, &move);
  ASSERT_TRUE(panel->QuickMenuButton()->isVisible()) << corner->metaObject()->className();
  panel->QuickMenuButton()->click();
  EXPECT_TRUE(test::WaitUntil([&] { return window->QuickMenu().isVisible(); }));
  window->QuickMenu().close();
}

// A submenu's own entry is enabled exactly while one of its entries is, through every level,
// whenever an owner changes what its actions allow.
TEST_F(KeysAndSettings, ASubmenuIsEnabledExactlyWhileOneOfItsEntriesIs) {
  auto window = Start(true);
  QMenu* menu = &window->QuickMenu();
  TTimeCommands& time = window->TimeCommands();
  TTrackingCommands& tracking = window->TrackingCommands();
  TShowCommands& show = window->ShowCommands();
  TWindowCommands& windowCommands = window->WindowCommands();
  const auto enable = [](std::initializer_list<QAction*> actions, bool on) {
    for (QAction* a : actions) a->setEnabled(on);
  };
  const QStringList multiplexer = {"Time", "Interval Multiplexer"};
  const QStringList units = {"Time", "Interval Units"};
  const QStringList radar = {"Options", "Radar"};
  const struct {
    const char* step;
    std::function<void()> run;
    std::vector<std::pair<QStringList, bool>> entries;
  } rows[] = {
      {"real time at start", [] {}, {{multiplexer, false}, {units, false}, {{"Time"}, true}}},
      {"simulation", [&] { time.simulation->trigger(); }, {{multiplexer, true}, {units, true}}},
      {"real time again",
       [&] { time.realTime->trigger(); },
       {{multiplexer, false}, {units, false}}},
      {"nothing to stop tracking",
       [&] {
         enable({tracking.removeSelected, tracking.removeAll, tracking.crop}, false);
       },
       {{{"Stop Tranking"}, false}, {{"Start Tracking"}, true}}},
      {"crop allowed again", [&] { enable({tracking.crop}, true); }, {{{"Stop Tranking"}, true}}},
      {"no screen shot",
       [&] {
         enable({windowCommands.screenShotWhole, windowCommands.screenShotMap}, false);
       },
       {{{"Screen shot"}, false}}},
      {"no radar option",
       [&] {
         show.radarModeGroup->setEnabled(false);
         enable({show.radarNames, show.radarTrack, show.radarMarkers}, false);
       },
       {{radar, false}, {{"Options"}, true}}},
      {"no option at all",
       [&] {
         show.satOnTrackGroup->setEnabled(false);
         enable({show.middleAfterGoToMarker, show.beginAfterReturnToRt, show.sun,
                 show.solarIllumination, show.grid, show.hints, show.satSymbols, show.satColors,
                 show.satNames, show.trackLine, show.trackMarkers, show.visibleZone, show.moon},
                false);
       },
       {{{"Options", "Sat On Track"}, false}, {{"Options", "Show"}, false}, {{"Options"}, false}}},
      {"one radar option back",
       [&] { enable({show.radarTrack}, true); },
       {{radar, true}, {{"Options"}, true}, {{"Options", "Show"}, false}}},
      {"the menu opened",
       [&] {
         menu->popup(QPoint(0, 0));
         QApplication::processEvents();
         menu->close();
       },
       {{radar, true},
        {{"Options", "Show"}, false},
        {{"Stop Tranking"}, true},
        {{"Screen shot"}, false},
        {multiplexer, false}}},
  };
  for (const auto& row : rows) {
    row.run();
    for (const auto& [path, enabled] : row.entries) {
      QAction* entry = Entry(menu, path);
      ASSERT_NE(entry, nullptr) << row.step << ": " << qPrintable(path.join(" > "));
      EXPECT_EQ(entry->isEnabled(), enabled) << row.step << ": " << qPrintable(path.join(" > "));
    }
  }
}

// Messages in real boxes, which the user reads and closes with Enter; the rest as scripted.
class TEnterClosesBoxes : public test::TScriptedDialogs {
 public:
  TEnterClosesBoxes() {
    closer_.setInterval(20);
    QObject::connect(&closer_, &QTimer::timeout, [this] { CloseShownBox(); });
    closer_.start();
  }
  void Inform(const QString& message) override {
    notices << message;
    QMessageBox::information(parent, QStringLiteral("Zenarith"), message);
  }
  QWidget* parent = nullptr;

 private:
  QTimer closer_;
  int waited_ = 0;

  // Enter goes to the box once it has the keyboard, as the windowing system sends it.
  void CloseShownBox() {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) {
      waited_ = 0;
      return;
    }
    if (QGuiApplication::focusWindow() == box->windowHandle()) {
      QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    } else if (++waited_ > 250) {
      ADD_FAILURE() << "a box never took the keyboard";
      box->close();
    }
  }
};

// Alt+F2 takes one shot for each press: neither the key repeating while held nor the Enter
// that closes the "Screen grabbed" box takes another.
TEST_F(KeysAndSettings, AltF2TakesOneScreenShotPerPress) {
  TEnterClosesBoxes boxes;
  TStartContext c = test::Context(folder.home.path(), folder.locks.path());
  auto window = test::StartWindow(c, boxes);
  boxes.parent = window.get();
  QWindow* keyboard = window->windowHandle();
  ASSERT_TRUE(test::WaitUntil([&] { return QGuiApplication::focusWindow() == keyboard; }));
  auto shots = [&] {
    return QDir(folder.home.filePath("Output")).entryList({"ScrSav*.bmp"}, QDir::Files).size();
  };
  auto press = [keyboard](Qt::KeyboardModifiers modifiers) {
    return [keyboard, modifiers] {
      QTest::keyPress(keyboard, Qt::Key_F2, modifiers);
      QTest::keyRelease(keyboard, Qt::Key_F2, modifiers);
    };
  };
  // The presses a held key repeats, without a release between them.
  auto held = [keyboard](Qt::KeyboardModifiers modifiers) {
    return [keyboard, modifiers] {
      for (int repeat = 0; repeat < 3; ++repeat) {
        QTest::simulateEvent(keyboard, true, Qt::Key_F2, modifiers, QString(), true);
      }
    };
  };
  const Qt::KeyboardModifiers alt = Qt::AltModifier;
  const Qt::KeyboardModifiers altShift = Qt::AltModifier | Qt::ShiftModifier;
  const struct {
    const char* what;
    std::function<void()> keys;
    int shots;
    const char* said;
  } rows[] = {
      {"Alt+F2", press(alt), 1, "Screen grabbed to:"},
      {"Alt+F2 held", held(alt), 0, nullptr},
      {"Alt+Shift+F2", press(altShift), 1, "Map grabbed to:"},
      {"Alt+Shift+F2 held", held(altShift), 0, nullptr},
      {"Alt+F2 again", press(alt), 1, "Screen grabbed to:"},
  };
  for (const auto& row : rows) {
    const qsizetype before = shots();
    const qsizetype told = boxes.notices.size();
    row.keys();
    EXPECT_TRUE(test::WaitUntil([] { return QApplication::activeModalWidget() == nullptr; }))
        << row.what;
    EXPECT_EQ(shots() - before, row.shots) << row.what;
    EXPECT_EQ(boxes.notices.size() - told, row.shots) << row.what;
    if (row.said != nullptr && boxes.notices.size() > told) {
      EXPECT_TRUE(boxes.notices.last().startsWith(row.said)) << row.what;
    }
  }
  test::CloseWindow(window, boxes);
}

// Every frame line and the glyph of the quick-menu button, as the window shows it: the pixels
// that showing the button changes are framed the same on all four sides of its rectangle, each
// side drawn along most of its length, and a glyph stands out from the face inside.
TEST_F(KeysAndSettings, TheQuickMenuButtonIsDrawnWhole) {
  auto window = Start(true);
  TSidePanel* panel = window->SidePanel();
  QToolButton* button = panel->QuickMenuButton();
  panel->HideQuickMenuButton();
  const QImage without = window->grab().toImage();
  panel->ShowQuickMenuButton();
  const QImage with = window->grab().toImage();
  const QRect area(button->mapTo(window.get(), QPoint(0, 0)), button->size());
  EXPECT_TRUE(window->rect().contains(area)) << area.right() << " beyond " << window->width();

  QRect drawn;
  for (int y = 0; y < with.height() && y < area.bottom() + 3; ++y) {
    for (int x = area.left() - 2; x < with.width(); ++x) {
      if (with.pixel(x, y) != without.pixel(x, y)) drawn |= QRect(x, y, 1, 1);
    }
  }
  ASSERT_FALSE(drawn.isEmpty());
  EXPECT_TRUE(area.contains(drawn));
  EXPECT_EQ(drawn.left() - area.left(), area.right() - drawn.right());
  EXPECT_EQ(drawn.top() - area.top(), area.bottom() - drawn.bottom());
  // A side is a line of changed pixels along at least half of it.
  const auto changedAlong = [&](QPoint from, QPoint step, int length) {
    int changed = 0;
    for (QPoint p = from; length-- > 0; p += step) changed += with.pixel(p) != without.pixel(p);
    return changed;
  };
  const int w = drawn.width();
  const int h = drawn.height();
  EXPECT_GE(changedAlong(drawn.topLeft(), QPoint(1, 0), w), w / 2) << "top";
  EXPECT_GE(changedAlong(drawn.bottomLeft(), QPoint(1, 0), w), w / 2) << "bottom";
  EXPECT_GE(changedAlong(drawn.topLeft(), QPoint(0, 1), h), h / 2) << "left";
  EXPECT_GE(changedAlong(drawn.topRight(), QPoint(0, 1), h), h / 2) << "right";
}

}  // namespace
}  // namespace zen
