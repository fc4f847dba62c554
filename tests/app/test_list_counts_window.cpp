// The lists' counts in the running window: beside the filter in a grown window, in the list
// tabs' tooltips at the documented size, right after the filter and bulk commands.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTabBar>
#include <fstream>

#include "app/list_view_support.h"
#include "app/main_window.h"
#include "app/side_panel.h"
#include "app/window_plan.h"
#include "app_fixture.h"
#include "test_support.h"

namespace zen {
namespace {

class ListCountsWindow : public ::testing::TestWithParam<QSize> {};

TEST_P(ListCountsWindow, FollowTheFilterAndBulkCommands) {
  test::EnsureApplication();
  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  ASSERT_TRUE(folder.CopyData() && QDir().mkpath(folder.home.filePath("Tle")));
  TStartContext start = test::Context(folder.home.path(), folder.locks.path());
  start.elementFile = folder.home.filePath("Tle/first.tle");
  std::ofstream out(start.elementFile.toStdString(), std::ios::binary);
  for (int n = 1; n <= 1500; ++n) {
    const auto [l1, l2] = test::MakeLinePair(n);
    out << "SAT " << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
  }
  out.close();
  std::unique_ptr<TMainWindow> window = test::StartWindow(start, dialogs);
  ASSERT_TRUE(test::WaitUntil([&] { return !window->TrackingCommands().Loading(); }));
  TSidePanel* panel = window->SidePanel();
  const QRect documentedField = panel->FilterField()->geometry();
  for (const QSize size : {QSize(1280, 900), GetParam()}) {
    window->showNormal();
    window->resize(size);
    ASSERT_TRUE(test::WaitUntil([&] {
      return window->size() == size &&
             panel->width() == LayOutWindow(size.width(), size.height()).sidePanel.width();
    }));
  }
  const bool wide = GetParam().width() > 800;
  const QRect field = panel->FilterField()->geometry(), counts = panel->CountsLabel()->geometry();
  if (wide) {
    EXPECT_LE(field.right(), counts.left());
    EXPECT_LT(counts.right(), panel->width() - kQuickMenuButtonSize) << "under the button";
  } else {
    EXPECT_EQ(field, documentedField);
  }
  const TTrackingCommands& c = window->TrackingCommands();
  // "sat 1" keeps SAT 1, 10-19, 100-199 and 1000-1500: 612 of them.
  // clang-format off
  const struct {
    const char* filter;
    TListTab tab;
    std::vector<int> tracked;  // lines selected before the command
    QAction* command;
    const char* row;   // in the grown window, the tooltips empty
    const char* tips;  // at the documented size, the row hidden: Loaded|Tracked
  } steps[] = {
      {"", TListTab::Loaded, {}, nullptr, "1,500 loaded\n0 tracked", "1,500 loaded|0 tracked"},
      {"sat 1", TListTab::Loaded, {}, nullptr, "612 of 1,500\n0 tracked",
       "1,500 loaded; filter: 612 of 1,500|0 tracked; filter: 0 of 0"},
      {"sat 1", TListTab::Loaded, {}, c.addAll, "612 of 1,500\n612 tracked",
       "1,500 loaded; filter: 612 of 1,500|612 tracked; filter: 612 of 612"},
      {"sat 1", TListTab::Tracked, {}, nullptr, "612 of 612\n1,500 loaded",
       "1,500 loaded; filter: 612 of 1,500|612 tracked; filter: 612 of 612"},
      {"", TListTab::Tracked, {0, 1}, c.removeSelected, "610 tracked\n1,500 loaded",
       "1,500 loaded|610 tracked"},
      {"", TListTab::Tracked, {3, 4, 5}, c.crop, "3 tracked\n1,500 loaded", "1,500 loaded|3 tracked"},
      {"", TListTab::Tracked, {}, c.removeAll, "0 tracked\n1,500 loaded", "1,500 loaded|0 tracked"},
      {"", TListTab::Info, {}, nullptr, "", "1,500 loaded|0 tracked"},
  };
  // clang-format on
  for (const auto& step : steps) {
    panel->FilterField()->setText(step.filter);
    panel->SetListTab(step.tab);
    panel->TrackedList()->clearSelection();
    for (int r : step.tracked) test::SelectLine(panel->TrackedList(), r);
    if (step.command) step.command->trigger();
    const QString shown = (panel->CountsLabel()->isVisible() ? panel->CountsLabel()->text() : "") +
                          "|" + panel->Tabs()->tabToolTip(0) + "|" + panel->Tabs()->tabToolTip(1);
    EXPECT_EQ(shown, wide ? step.row + QString("||") : "|" + QString(step.tips)) << step.row;
  }
  test::CloseWindow(window, dialogs);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ListCountsWindow,
                         ::testing::Values(QSize(1280, 900), QSize(800, 600)),
                         [](const auto& info) { return std::to_string(info.param.width()); });

}  // namespace
}  // namespace zen
