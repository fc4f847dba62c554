// The running window with an element file: lists, tracking, time modes, timers and the wheel.
#include <gtest/gtest.h>

#include <QWheelEvent>
#include <fstream>

#include "app/list_view_support.h"
#include "app/image_view.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/side_panel.h"
#include "app_fixture.h"
#include "core/elements.h"
#include "test_support.h"

namespace zen {
namespace {

class TrackingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(folder.WriteSelfTestElements("Tle/test.tle"));
    std::ofstream out(folder.home.filePath("Tle/test.tle").toStdString(),
                      std::ios::binary | std::ios::app);
    for (int n = 1; n <= 3; ++n) {
      auto [l1, l2] = test::MakeLinePair(n);
      out << "COPY " << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
    }
  }

  std::unique_ptr<TMainWindow> Start(std::vector<std::string> track) {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = folder.home.filePath("Tle/test.tle");
    c.trackIds = std::move(track);
    // The self-test sets date from December 2001; follow them there.
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    auto window = std::make_unique<TMainWindow>(c, dialogs);
    window->ShowAsPlanned();
    EXPECT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
    return window;
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

TEST_F(TrackingWindow, CommandLineFileIsLoadedAndItsNumbersTrackedFirstActive) {
  auto window = Start({"25544", "25023"});
  TSatelliteList& list = window->Satellites();
  EXPECT_EQ(list.LoadedCount, 5);
  EXPECT_EQ(list.TleFileName, "Tle/test.tle");
  EXPECT_EQ(list.TrackedNames(), (std::vector<std::string>{"MAQSAT H", "ISS"}));
  EXPECT_EQ(list.ActiveSat, 2);  // 25544 came first on the command line
  EXPECT_EQ(test::Rows(window->SidePanel()->LoadedList()), 5);
  EXPECT_EQ(test::Rows(window->SidePanel()->TrackedList()), 2);
  EXPECT_TRUE(list.TrackedSats[1].computed);
  EXPECT_TRUE(list.TrackedSats[2].computed);
  EXPECT_TRUE(window->RefreshTimer().isActive());
  EXPECT_EQ(window->RefreshTimer().interval(), 5000);
  EXPECT_TRUE(window->ClockTimer().isActive());
  // The machine's offset is the one in use, so nothing was asked.
  EXPECT_TRUE(dialogs.questions.isEmpty());
  EXPECT_EQ(window->MainPage()->offsetLabel->text(), "UTC +2:00");
}

TEST_F(TrackingWindow, LoadTleOpensInTheTleFolderAndLoadsTheChosenFile) {
  auto window = Start({});
  dialogs.fileToOpen.clear();
  window->MainPage()->loadTleButton->click();
  EXPECT_TRUE(dialogs.openFolder.endsWith("/Tle"));
  // The first choice shows every kind of file the catalogue reads; the last shows all.
  const QStringList choices = dialogs.openFilter.split(";;");
  ASSERT_GE(choices.size(), 2);
  auto patterns = [](const QString& choice) {
    const qsizetype open = choice.indexOf('(');
    return choice.mid(open + 1, choice.lastIndexOf(')') - open - 1).split(' ');
  };
  for (const char* name : {"a.tle", "b.txt", "c.mtl", "d.csv", "e.json", "f.xml"}) {
    EXPECT_TRUE(QDir::match(patterns(choices.front()), name)) << name;
    EXPECT_TRUE(QDir::match(patterns(choices.back()), name)) << name;
  }
  EXPECT_EQ(window->Satellites().LoadedCount, 5) << "cancel keeps the catalogue";
  std::ofstream(folder.home.filePath("other.tle").toStdString(), std::ios::binary)
      << SelfTestSatellites[1].line1 << "\n"
      << SelfTestSatellites[1].line2 << "\n";
  dialogs.fileToOpen = folder.home.filePath("other.tle");
  window->MainPage()->loadTleButton->click();
  EXPECT_EQ(window->Satellites().LoadedCount, 1);
  EXPECT_EQ(window->Satellites().TleFileName, "other.tle");
  EXPECT_EQ(test::Line(window->SidePanel()->LoadedList(), 0), "#25544");
}

TEST_F(TrackingWindow, MissingFileGivesAnEmptyCatalogueAndAnAlert) {
  TStartContext c = test::Context(folder.home.path(), folder.locks.path());
  c.elementFile = folder.home.filePath("Tle/absent.tle");
  TMainWindow window(c, dialogs);
  window.ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window.Activated(); }));
  EXPECT_EQ(window.Satellites().LoadedCount, 0);
  EXPECT_TRUE(window.Footer().Texts[0].contains("absent.tle"));
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(TrackingWindow, ButtonAndKeysAddAndRemoveThroughTheWindow) {
  auto window = Start({});
  TSidePanel* panel = window->SidePanel();
  test::SelectLine(panel->LoadedList(), 3);
  panel->ListButton()->click();
  EXPECT_EQ(window->Satellites().TrackedNames(), (std::vector<std::string>{"COPY 2"}));
  EXPECT_EQ(window->Satellites().ActiveSat, 1);
  EXPECT_TRUE(window->Satellites().TrackedSats[1].computed);
  EXPECT_EQ(window->Cycle().ActiveSnapshot.name, "COPY 2");
  panel->Tabs()->setCurrentIndex(1);
  test::SelectLine(panel->TrackedList(), 0);
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(panel->TrackedList(), &del);
  EXPECT_EQ(window->Satellites().TrackedCount, 0);
}

TEST_F(TrackingWindow, SimulationJumpsMoveTheComputedSatellites) {
  auto window = Start({"25544"});
  TMainPage* page = window->MainPage();
  double before = window->Satellites().TrackedSats[1].longitude;
  page->simulation->click();
  page->jumpUnit->setCurrentIndex(1);        // min
  page->jumpMultiplier->setCurrentIndex(4);  // 10
  page->jumpForward->click();
  EXPECT_EQ(DateRecToText(window->Time().LocalRecord), "2001-12-18 05:10:00");
  double after = window->Satellites().TrackedSats[1].longitude;
  EXPECT_GT(std::abs(after - before), 10.0) << "ten minutes move the station far";
  // A refresh tick without automatic stepping leaves the simulated time alone.
  window->TimeCommands().RefreshTick();
  EXPECT_EQ(DateRecToText(window->Time().LocalRecord), "2001-12-18 05:10:00");
  page->autoForward->click();
  window->TimeCommands().RefreshTick();
  EXPECT_EQ(DateRecToText(window->Time().LocalRecord), "2001-12-18 05:20:00");
}

TEST_F(TrackingWindow, WheelStepsOnlyInSimulationAfterTheMouseCameOverTheMap) {
  auto window = Start({"25544"});
  auto* map = window->findChild<TImageView*>(QStringLiteral("Img"));
  ASSERT_NE(map, nullptr);
  auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(100, 100), map->mapToGlobal(QPointF(100, 100)), QPoint(),
                  QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(map, &e);
  };
  double start = window->Time().SimTime;
  wheel(120);
  EXPECT_EQ(window->Time().SimTime, start) << "real time";
  window->MainPage()->simulation->click();
  start = window->Time().SimTime;
  wheel(120);
  EXPECT_EQ(window->Time().SimTime, start) << "the mouse has not been over the map";
  QMouseEvent move(QEvent::MouseMove, QPointF(50, 50), map->mapToGlobal(QPointF(50, 50)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(map, &move);
  wheel(-120);
  EXPECT_NEAR(window->Time().SimTime - start, -5.0 / 1440.0, 1e-9);  // 5 x min
}

}  // namespace
}  // namespace zen
