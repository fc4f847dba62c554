// The lists' counts in the running window: beside the filter in a grown window, in the list
// tabs' tooltips at the documented size, right after filtering, bulk commands and loads.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTabBar>
#include <fstream>
#include <string>

#include "app/list_view_support.h"
#include "app/main_window.h"
#include "app/side_panel.h"
#include "app/window_plan.h"
#include "app_fixture.h"
#include "test_support.h"

namespace zen {
namespace {

// Writes "SAT 1" .. "SAT count" as Tle/name in the program folder.
QString WriteSets(test::TProgramFolder& folder, const QString& name, int count) {
  QDir().mkpath(folder.home.filePath("Tle"));
  const QString file = folder.home.filePath("Tle/" + name);
  std::ofstream out(file.toStdString(), std::ios::binary);
  for (int n = 1; n <= count; ++n) {
    auto [l1, l2] = test::MakeLinePair(n);
    out << "SAT " << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
  }
  return file;
}

// How many of "SAT 1" .. "SAT count" a filter for "SAT <digits>" keeps: those whose number
// starts with the digits.
int NumbersStartingWith(int count, const std::string& digits) {
  int kept = 0;
  for (int n = 1; n <= count; ++n) kept += std::to_string(n).rfind(digits, 0) == 0 ? 1 : 0;
  return kept;
}

class ListCountsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.CopyData());
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = WriteSets(folder, "first.tle", 1500);
    window = test::StartWindow(c, dialogs);
    ASSERT_TRUE(window->Initialized());
    ASSERT_TRUE(test::WaitUntil([&] { return !window->TrackingCommands().Loading(); }));
    panel = window->SidePanel();
  }
  void TearDown() override {
    if (window) test::CloseWindow(window, dialogs);
  }

  void Resize(int width, int height) {
    window->showNormal();
    window->resize(width, height);
    const QRect side = LayOutWindow(width, height).sidePanel;
    ASSERT_TRUE(test::WaitUntil(
        [&] { return window->size() == QSize(width, height) && panel->width() == side.width(); }));
  }
  QString Row() const { return panel->CountsLabel()->text(); }
  QString TabTip(TListTab tab) const { return panel->Tabs()->tabToolTip(static_cast<int>(tab)); }
  void SelectTracked(std::initializer_list<int> rows) {
    panel->TrackedList()->clearSelection();
    for (int r : rows) test::SelectLine(panel->TrackedList(), r);
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
  TSidePanel* panel = nullptr;
};

const QString kNextLine = QStringLiteral("\n");  // between the two lines

TEST_F(ListCountsWindow, GrownWindowShowsTheCountsBesideTheFilter) {
  Resize(1280, 900);
  TTrackingCommands& commands = window->TrackingCommands();
  QLabel* counts = panel->CountsLabel();
  ASSERT_TRUE(test::WaitUntil([&] { return counts->isVisible(); }));
  EXPECT_EQ(Row(), "1,500 loaded" + kNextLine + "0 tracked");
  // Beside the field, inside the panel, not over it.
  EXPECT_LE(panel->FilterField()->geometry().right(), counts->geometry().left());
  EXPECT_LT(counts->geometry().right(), panel->width() - kQuickMenuButtonSize)
      << "under the quick-menu button";
  for (const QString& line : Row().split('\n')) {
    EXPECT_GE(counts->width(), counts->fontMetrics().horizontalAdvance(line)) << line.toStdString();
  }
  EXPECT_GE(counts->height(), 2 * counts->fontMetrics().height());
  EXPECT_TRUE(TabTip(TListTab::Loaded).isEmpty());

  const int ones = NumbersStartingWith(1500, "1");
  panel->FilterField()->setText(QStringLiteral("sat 1"));
  EXPECT_EQ(Row(), QString("%1 of 1,500").arg(ones) + kNextLine + "0 tracked");
  commands.addAll->trigger();
  EXPECT_EQ(Row(), QString("%1 of 1,500").arg(ones) + kNextLine + QString("%1 tracked").arg(ones));
  panel->FilterField()->setText(QStringLiteral("sat 14"));
  const int fourteens = NumbersStartingWith(1500, "14");
  EXPECT_EQ(Row(),
            QString("%1 of 1,500").arg(fourteens) + kNextLine + QString("%1 tracked").arg(ones));

  panel->SetListTab(TListTab::Tracked);
  EXPECT_EQ(Row(), QString("%1 of %2").arg(fourteens).arg(ones) + kNextLine + "1,500 loaded");
  panel->FilterField()->clear();
  EXPECT_EQ(Row(), QString("%1 tracked").arg(ones) + kNextLine + "1,500 loaded");
  SelectTracked({0, 1});
  commands.removeSelected->trigger();
  EXPECT_EQ(Row(), QString("%1 tracked").arg(ones - 2) + kNextLine + "1,500 loaded");
  SelectTracked({3, 4, 5});
  commands.crop->trigger();
  EXPECT_EQ(Row(), "3 tracked" + kNextLine + "1,500 loaded");
  commands.removeAll->trigger();
  EXPECT_EQ(Row(), "0 tracked" + kNextLine + "1,500 loaded");
  EXPECT_TRUE(dialogs.defaultNoQuestions.isEmpty());

  panel->SetListTab(TListTab::Loaded);
  commands.LoadChosenFile(WriteSets(folder, "second.tle", 12345));
  commands.FinishLoading();
  EXPECT_EQ(Row(), "12,345 loaded" + kNextLine + "0 tracked");
  commands.addAll->trigger();
  EXPECT_EQ(Row(), "12,345 loaded" + kNextLine + "12,345 tracked");
  panel->SetListTab(TListTab::Info);
  EXPECT_FALSE(counts->isVisible());
}

TEST_F(ListCountsWindow, DocumentedSizeKeepsTheFilterRowAndPutsTheCountsInTheTabTips) {
  const QRect documentedField = panel->FilterField()->geometry();
  Resize(1280, 900);
  Resize(800, 600);
  EXPECT_FALSE(panel->CountsLabel()->isVisible());
  EXPECT_EQ(panel->FilterField()->geometry(), documentedField);
  EXPECT_EQ(TabTip(TListTab::Loaded), "1,500 loaded");
  EXPECT_EQ(TabTip(TListTab::Tracked), "0 tracked");
  EXPECT_TRUE(TabTip(TListTab::Info).isEmpty());

  panel->FilterField()->setText(QStringLiteral("sat 1"));
  const int ones = NumbersStartingWith(1500, "1");
  window->TrackingCommands().addAll->trigger();
  EXPECT_EQ(TabTip(TListTab::Loaded), QString("1,500 loaded; filter: %1 of 1,500").arg(ones));
  EXPECT_EQ(TabTip(TListTab::Tracked), QString("%1 tracked; filter: %1 of %1").arg(ones));
  panel->FilterField()->clear();
  window->TrackingCommands().addAll->trigger();
  EXPECT_EQ(TabTip(TListTab::Tracked), "1,500 tracked");
  // More than the threshold: "Remove all" asks, and No keeps them.
  dialogs.answers = {false};
  window->TrackingCommands().removeAll->trigger();
  EXPECT_EQ(dialogs.defaultNoQuestions, QStringList{"Remove all 1,500 tracked satellites?"});
  EXPECT_EQ(TabTip(TListTab::Tracked), "1,500 tracked");
}

}  // namespace
}  // namespace zen
