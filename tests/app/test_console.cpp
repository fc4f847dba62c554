// The hidden console in the running window: its key, its command line and the commands that
// reach into the program.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <fstream>

#include "app/console_panel.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "core/elements.h"
#include "display/projection.h"

// Readable failures of QString comparisons.
static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace zen {
namespace {

class Console : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
  }

  // A window; with elementFile (relative to the program folder) and the satellites to track.
  std::unique_ptr<TMainWindow> Start(const QString& elementFile = QString(),
                                     std::vector<std::string> trackIds = {}) {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    if (!elementFile.isEmpty()) {
      c.elementFile = folder.home.filePath(elementFile);
      c.trackIds = std::move(trackIds);
    }
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    auto window = std::make_unique<TMainWindow>(c, dialogs);
    window->ShowAsPlanned();
    EXPECT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
    panel = window->ConsolePanel();
    return window;
  }
  void Close(std::unique_ptr<TMainWindow>& window) {
    dialogs.answers = {true};
    window->close();
    window.reset();
  }

  // A key as the window gets it: through the control that has the focus.
  static void Press(TMainWindow& window, int key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus != nullptr && focus->window() == &window ? focus : &window;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
  }
  // A line typed into the command line, ended by a key the command line has the focus for.
  void Type(const QString& line, int key = Qt::Key_Return) {
    if (!panel->isVisible()) panel->Toggle();
    panel->commandLine->setEditText(line);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(panel->window()->focusWidget(), &press);
  }
  QStringList Output() const { return panel->output->toPlainText().split('\n'); }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  TConsolePanel* panel = nullptr;
};

TEST_F(Console, CtrlShiftTildeTogglesThePanelAndFocusesTheCommandLine) {
  auto window = Start();
  EXPECT_FALSE(panel->isVisible());
  window->activateWindow();
  // Ctrl alone is the intervals' footer message, not the console.
  Press(*window, Qt::Key_QuoteLeft, Qt::ControlModifier);
  EXPECT_FALSE(panel->isVisible());
  Press(*window, Qt::Key_AsciiTilde, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(panel->isVisible());
  QWidget* focus = window->focusWidget();
  EXPECT_TRUE(focus == panel->commandLine || focus == panel->commandLine->lineEdit());
  // The panel stands in front of the pages it covers.
  EXPECT_EQ(window->childAt(panel->geometry().center()), panel->output->viewport());
  Press(*window, Qt::Key_QuoteLeft, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(panel->isVisible());
  Close(window);
}

TEST_F(Console, EnterRunsEscapeEmptiesAndTheHistoryKeepsEveryLine) {
  auto window = Start();
  window->ConsoleCommands().toggle->trigger();
  Type("  help ");
  EXPECT_EQ(Output(), (QStringList{"> Help", "  Clear, Close, Help, ShowLocs, Stat, Test"}));
  EXPECT_EQ(panel->commandLine->currentText(), QString());
  Type("");
  Type("stat", Qt::Key_Escape);
  EXPECT_EQ(panel->commandLine->currentText(), QString());
  EXPECT_EQ(Output().size(), 2);
  // Before any element file only the settings and the location database are reported.
  Type("STAT", Qt::Key_Enter);
  EXPECT_EQ(Output().mid(0, 4), (QStringList{"> Stat:", "  Setup  : Setup/default.ini",
                                             "  LOCFile: Locations\\World.loc", "> Help"}));
  ASSERT_EQ(panel->commandLine->count(), 3);
  EXPECT_EQ(panel->commandLine->itemText(0), "  help ");
  EXPECT_EQ(panel->commandLine->itemText(1), "");
  EXPECT_EQ(panel->commandLine->itemText(2), "STAT");

  panel->clearButton->click();
  EXPECT_EQ(panel->output->toPlainText(), QString());
  Type("close");
  EXPECT_FALSE(panel->isVisible());
  window->ConsoleCommands().toggle->trigger();
  EXPECT_TRUE(panel->isVisible());
  panel->closeButton->click();
  EXPECT_FALSE(panel->isVisible());
  Close(window);
}

TEST_F(Console, StatReportsEverySetOfALargeFile) {
  // 1001 good sets and a damaged one: the catalogue takes every good one.
  {
    ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Tle")));
    std::ofstream out(folder.home.filePath("Tle/big.tle").toStdString(), std::ios::binary);
    const TNamedElements& iss = SelfTestSatellites[1];
    std::string damaged = iss.line2;
    damaged.back() = damaged.back() == '0' ? '1' : '0';
    out << "BROKEN\r\n" << iss.line1 << "\r\n" << damaged << "\r\n";
    for (int i = 0; i < 1001; ++i)
      out << "ISS " << i << "\r\n" << iss.line1 << "\r\n" << iss.line2 << "\r\n";
  }
  auto window = Start("Tle/big.tle");
  Type("stat");
  EXPECT_EQ(Output(), (QStringList{"> Stat:", "  Setup  : Setup/default.ini",
                                   "  LOCFile: Locations\\World.loc",
                                   "  TLEFile: Tle/big.tle; LoadErrors: 1",
                                   "  Loaded : 1001", "  Tracked: 0"}));
  Close(window);
}

TEST_F(Console, DoppReadsTheShownRangeRate) {
  auto window = Start();
  Type("dopp 145.8");
  EXPECT_EQ(Output(), (QStringList{"> Dopp", "Syntax error"}));
  Close(window);

  ASSERT_TRUE(folder.WriteSelfTestElements("Tle/test.tle"));
  window = Start("Tle/test.tle", {"25544"});
  Type("dopp 145,8");
  const QStringList lines = Output();
  ASSERT_EQ(lines.size(), 2);
  QRegularExpressionMatch m =
      QRegularExpression(R"(^  f0=145\.8, v=(-?\d+\.\d{3}) => f1=(\d+\.\d{6})$)").match(lines[1]);
  ASSERT_TRUE(m.hasMatch()) << lines[1].toStdString();
  // The range rate is the one the information grid shows for the active satellite.
  const TSatState& iss = window->Satellites().TrackedSats[1];
  EXPECT_NEAR(m.captured(1).toDouble(), iss.lookAngles.fourth, 0.0005);
  const double v = m.captured(1).toDouble();
  EXPECT_NEAR(m.captured(2).toDouble(), 145.8 - 145.8 * v / 299792.458, 0.5e-6);
  Close(window);
}

TEST_F(Console, TestMeasuresOnAWorkerWhileTheWindowGoesOn) {
  auto window = Start();
  TConsoleCommands& console = window->ConsoleCommands();
  console.speedTestPerSet = std::chrono::milliseconds(300);
  Type("test");
  EXPECT_EQ(Output(), QStringList{"Testing..."});
  // The window takes commands and runs its timers while the test measures.
  Type("help");
  int ticks = 0;
  bool runningAtTick = false;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    ++ticks;
    runningAtTick = runningAtTick || console.Engine().SpeedTestRunning();
  });
  ticker.start(10);
  ASSERT_TRUE(test::WaitUntil([&] { return !console.Engine().SpeedTestRunning(); }, 10000));
  EXPECT_GT(ticks, 0);
  EXPECT_TRUE(runningAtTick);
  const QStringList lines = Output();
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], "> Help");
  EXPECT_EQ(lines[2], "> Test");
  EXPECT_TRUE(
      QRegularExpression(R"(^  SDP4 \(MAQSAT H\): \d+\.\d KSPS; SGP4 \(ISS\): \d+\.\d KSPS; $)")
          .match(lines[3])
          .hasMatch())
      << lines[3].toStdString();
  Close(window);
}

TEST_F(Console, ClosingDuringATestEndsItsWorker) {
  auto window = Start();
  Type("test");
  ASSERT_TRUE(window->ConsoleCommands().Engine().SpeedTestRunning());
  // The measurement would go on for three seconds; the window goes at once and takes the
  // thread with it.
  Close(window);
  SUCCEED();
}

TEST_F(Console, ShowLocsMarksEveryLocationWithoutLabels) {
  ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Locations")));
  {
    std::ofstream out(folder.home.filePath("Locations/World.loc").toStdString(), std::ios::binary);
    out << "\"Ocean A\",\"OA\",-30.0000,-20.0000,0.0\r\n"
        << "\"Ocean B\",\"OB\",-150.0000,10.0000,0.0\r\n";
  }
  auto window = Start();
  const QImage before = window->MapImage().copy();
  Type("showlocs");
  EXPECT_EQ(Output(), QStringList{"> ShowLocs: Ok"});
  const QImage marked = window->MapImage().copy();
  const QPoint sites[] = {LonLatToMap(-20.0, -30.0), LonLatToMap(10.0, -150.0)};
  for (const QPoint& at : sites) {
    EXPECT_EQ(QColor(marked.pixel(at)), QColor(Qt::white)) << at.x() << "," << at.y();
    EXPECT_NE(QColor(before.pixel(at)), QColor(Qt::white));
  }
  // Nothing changes outside the markers' boxes: no labels.
  int changedOutside = 0;
  for (int y = 0; y < marked.height(); ++y) {
    for (int x = 0; x < marked.width(); ++x) {
      bool inBox = false;
      for (const QPoint& at : sites) {
        inBox = inBox || (x >= at.x() - 4 && x < at.x() + 5 && y >= at.y() - 4 && y < at.y() + 5);
      }
      if (!inBox && marked.pixel(x, y) != before.pixel(x, y)) ++changedOutside;
    }
  }
  EXPECT_EQ(changedOutside, 0);
  // The next redraw takes them away.
  window->Tracker().Recompute();
  EXPECT_EQ(window->MapImage().pixel(sites[0]), before.pixel(sites[0]));
  Close(window);
}

}  // namespace
}  // namespace zen
