// A whole catalogue through the running window: a large file read on the worker while the
// window runs, every set tracked, and the tracked list kept across a restart.
#include <gtest/gtest.h>

#include <QTimer>
#include <fstream>
#include <future>

#include "app/list_view_support.h"
#include "app/main_window.h"
#include "app/side_panel.h"
#include "app_fixture.h"
#include "test_support.h"

namespace zen {
namespace {

constexpr int kSets = 5000;  // about 850 kB: read on the worker

TEST(WholeCatalogue, ALargeFileLoadsBesideTheRunningClockAndItsTrackedListSurvivesARestart) {
  test::EnsureApplication();
  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  ASSERT_TRUE(folder.CopyData());
  const QString file = folder.home.filePath("Tle/big.tle");
  ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Tle")));
  {
    std::ofstream out(file.toStdString(), std::ios::binary);
    for (int n = kSets; n >= 1; --n) {  // file order is not number order
      auto [l1, l2] = test::MakeLinePair(n);
      out << "S" << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
    }
  }
  ASSERT_GE(QFileInfo(file).size(), static_cast<qint64>(kWorkerLoadBytes));

  TStartContext c = test::Context(folder.home.path(), folder.locks.path());
  c.elementFile = file;
  c.trackAll = true;
  c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };  // beside the sets' epoch
  auto window = std::make_unique<TMainWindow>(c, dialogs);
  ASSERT_TRUE(window->Initialized());
  // The worker waits until the test has seen the window run on.
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  window->TrackingCommands().workerStarts = [released] { released.wait(); };
  int ticks = 0;
  QObject::connect(&window->ClockTimer(), &QTimer::timeout, [&ticks] { ++ticks; });
  window->ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));

  EXPECT_TRUE(window->TrackingCommands().Loading());
  EXPECT_TRUE(test::WaitUntil([&] { return ticks >= 1; }, 3000)) << "the clock stopped";
  EXPECT_TRUE(window->Footer().Texts[kFooterNotice].startsWith("Loading big.tle... "))
      << window->Footer().Texts[kFooterNotice].toStdString();
  EXPECT_EQ(window->Satellites().TrackedCount, 0);
  release.set_value();
  ASSERT_TRUE(test::WaitUntil([&] { return !window->TrackingCommands().Loading(); }));

  const TSatelliteList& list = window->Satellites();
  EXPECT_EQ(list.LoadedCount, kSets);
  ASSERT_EQ(list.TrackedCount, kSets);
  EXPECT_EQ(test::Rows(window->SidePanel()->LoadedList()), kSets);
  EXPECT_EQ(test::Rows(window->SidePanel()->TrackedList()), kSets);
  EXPECT_EQ(list.ActiveSat, 1);
  EXPECT_TRUE(list.TrackedSats[kSets].computed) << "the last set was never computed";
  EXPECT_TRUE(window->Footer().Texts[kFooterNotice].isEmpty());
  const std::vector<std::string> tracked = list.TrackedNames();
  ASSERT_TRUE(window->SettingsCommands().SejwujSetUp("default", TSaveChoice::SatellitesAndOptions));
  test::CloseWindow(window, dialogs);

  c.elementFile.clear();
  c.trackAll = false;
  window = test::StartWindow(c, dialogs);
  ASSERT_TRUE(test::WaitUntil([&] { return !window->TrackingCommands().Loading(); }));
  EXPECT_EQ(window->Satellites().TrackedNames(), tracked);
  test::CloseWindow(window, dialogs);
}

}  // namespace
}  // namespace zen
