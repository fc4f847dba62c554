// The side panel's lists and button, driven through the real widgets.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTemporaryDir>
#include <fstream>

#include "app/side_panel.h"
#include "app/list_view_support.h"
#include "app_fixture.h"
#include "test_support.h"
#include "tracking/list_counts.h"

namespace zen {
namespace {

class SidePanel : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(dir_.isValid());
    std::ofstream out(dir_.filePath("sats.tle").toStdString(), std::ios::binary);
    for (int n = 1; n <= 6; ++n) {
      auto [l1, l2] = test::MakeLinePair(n);
      out << "SAT " << n << "\n" << l1 << "\n" << l2 << "\n";
    }
    out.close();
    panel_ = std::make_unique<TSidePanel>(tracker_, commands_, new QTableWidget(20, 2));
    panel_->resize(167, 417);
    commands_.SetLists(panel_.get());
    commands_.SetProgramFolder(dir_.path());
    commands_.LoadElementFile(dir_.filePath("sats.tle"));
    QObject::connect(&tracker_, &TTracker::Changed, [this] { ++changes_; });
  }

  void SelectLoaded(std::initializer_list<int> rows) {
    panel_->LoadedList()->clearSelection();
    for (int r : rows) test::SelectLine(panel_->LoadedList(), r);
  }
  void SelectTracked(std::initializer_list<int> rows) {
    panel_->TrackedList()->clearSelection();
    for (int r : rows) test::SelectLine(panel_->TrackedList(), r);
  }
  QStringList TrackedTexts() const {
    QStringList t;
    for (int r = 0; r < test::Rows(panel_->TrackedList()); ++r)
      t << test::Line(panel_->TrackedList(), r);
    return t;
  }
  void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
  }

  // Widgets and actions need the application before any member is made.
  bool application_ = (test::EnsureApplication(), true);
  QTemporaryDir dir_;
  TTracker tracker_{[] { return TDateRec{2026, 5, 30, 21, 15, 30, 0}; }};
  TSatelliteList& list_ = tracker_.list;
  TFooter footer_;
  test::TScriptedDialogs dialogs_;
  TTrackingCommands commands_{tracker_, footer_, dialogs_};
  std::unique_ptr<TSidePanel> panel_;
  int changes_ = 0;
};

TEST_F(SidePanel, LoadFillsTheLoadedListInFileOrder) {
  EXPECT_EQ(test::Rows(panel_->LoadedList()), 6);
  EXPECT_EQ(test::Line(panel_->LoadedList(), 0), "SAT 1");
  EXPECT_EQ(panel_->ListTab(), TListTab::Loaded);
  EXPECT_EQ(panel_->ListButton()->text(), "&Start track");
  EXPECT_EQ(panel_->ListButton()->toolTip(), "Track selected sats");
}

TEST_F(SidePanel, ButtonAddsSelectedAndUnselectsThem) {
  SelectLoaded({1, 3});
  panel_->ListButton()->click();
  EXPECT_EQ(TrackedTexts(), (QStringList{"SAT 2", "SAT 4"}));
  EXPECT_TRUE(test::NothingSelected(panel_->LoadedList()));
  EXPECT_EQ(list_.ActiveSat, 1);
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(test::CurrentLine(panel_->TrackedList()), 0);
}

TEST_F(SidePanel, InsertAndEnterPressTheButtonOnTheLoadedTab) {
  SelectLoaded({0});
  Key(panel_->LoadedList(), Qt::Key_Insert);
  SelectLoaded({5});
  Key(panel_->LoadedList(), Qt::Key_Return);
  EXPECT_EQ(TrackedTexts(), (QStringList{"SAT 1", "SAT 6"}));
  Key(panel_->LoadedList(), Qt::Key_Delete);  // Delete means nothing on the Loaded tab
  EXPECT_EQ(list_.TrackedCount, 2);
}

TEST_F(SidePanel, DeleteRemovesOnTheTrackedTabAndTheTabSetsTheButton) {
  SelectLoaded({0, 1, 2});
  panel_->ListButton()->click();
  panel_->Tabs()->setCurrentIndex(1);
  EXPECT_EQ(panel_->ListButton()->text(), "&Stop track");
  EXPECT_EQ(panel_->ListButton()->toolTip(), "Stop tracking selected sats");
  SelectTracked({1});
  Key(panel_->TrackedList(), Qt::Key_Delete);
  EXPECT_EQ(TrackedTexts(), (QStringList{"SAT 1", "SAT 3"}));
  // Shift with the button removes all.
  panel_->PressListButton(true);
  EXPECT_EQ(list_.TrackedCount, 0);
  EXPECT_EQ(list_.ActiveSat, 0);
}

TEST_F(SidePanel, InfoTabCyclesTheActiveSatellite) {
  SelectLoaded({0, 1, 2});
  panel_->ListButton()->click();
  panel_->Tabs()->setCurrentIndex(2);
  EXPECT_EQ(panel_->ListButton()->text(), "&Show next");
  EXPECT_EQ(panel_->ListButton()->toolTip(), "Toggle active sat");
  panel_->PressListButton(false);
  EXPECT_EQ(list_.ActiveSat, 2);
  panel_->PressListButton(true);
  panel_->PressListButton(true);
  EXPECT_EQ(list_.ActiveSat, 3);
}

TEST_F(SidePanel, PopupCommandsReplaceAndCrop) {
  SelectLoaded({0, 1});
  commands_.addSelected->trigger();
  SelectLoaded({4});
  commands_.replaceWithSelected->trigger();
  EXPECT_EQ(TrackedTexts(), (QStringList{"SAT 5"}));
  commands_.replaceWithAll->trigger();
  EXPECT_EQ(list_.TrackedCount, 6);
  SelectTracked({2, 4});
  commands_.crop->trigger();
  EXPECT_EQ(TrackedTexts(), (QStringList{"SAT 3", "SAT 5"}));
}

TEST_F(SidePanel, ClickOnATrackedLineMakesItActive) {
  SelectLoaded({0, 1, 2});
  panel_->ListButton()->click();
  emit panel_->TrackedList()->clicked(panel_->TrackedList()->model()->index(2, 0));
  EXPECT_EQ(list_.ActiveSat, 3);
}

TEST_F(SidePanel, ListsFollowChangesMadeElsewhere) {
  // A command that does not go through the panel (a console command, a prediction's
  // "Go to") still leaves the lists showing the model.
  commands_.TrackCatalogEntry(4);
  commands_.TrackCatalogEntry(1);
  EXPECT_EQ(TrackedTexts(), (QStringList{"SAT 4", "SAT 1"}));
  commands_.StopTracking(1);
  EXPECT_EQ(TrackedTexts(), (QStringList{"SAT 1"}));
  tracker_.list.TrackedIds.clear();
  std::ofstream(dir_.filePath("two.tle").toStdString(), std::ios::binary)
      << "ONE\n"
      << test::MakeLinePair(7).first << "\n"
      << test::MakeLinePair(7).second << "\n";
  tracker_.list.TleFileName = "two.tle";
  tracker_.list.zapodawajSatelity(dir_.path().toStdString());
  tracker_.Recompute();
  EXPECT_EQ(test::Rows(panel_->LoadedList()), 1);
  EXPECT_EQ(test::Rows(panel_->TrackedList()), 0);
}

// The Tracked list's selection stays on the satellites while the filter hides and shows them:
// the active line is selected and focused again once the filter shows it, whichever tab was
// shown and whatever was tracked meanwhile. A line the user clicks starts a new selection.
TEST_F(SidePanel, TheActiveLineStaysSelectedThroughFilterChanges) {
  auto filter = [this](const char* text) {
    return [this, text] { panel_->FilterField()->setText(QString::fromLatin1(text)); };
  };
  auto tab = [this](TListTab t) { return [this, t] { panel_->SetListTab(t); }; };
  // Tracks the only line the Loaded list shows, with the list button.
  auto trackShown = [this] {
    ASSERT_EQ(test::Rows(panel_->LoadedList()), 1);
    SelectLoaded({0});
    panel_->ListButton()->click();
  };
  auto clickTracked = [this](int shownRow) {
    return [this, shownRow] {
      QListView* view = panel_->TrackedList();
      const QModelIndex index = view->model()->index(shownRow, 0);
      const QPoint at = view->visualRect(index).center();
      for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &click);
      }
    };
  };
  const struct {
    const char* what;
    std::vector<std::function<void()>> steps;
    const char* active;
    QStringList selected;  // once the filter is cleared
  } rows[] = {
      {"tracked while hidden, then the Tracked tab",
       {filter("sat 3"), trackShown, tab(TListTab::Tracked), filter("")},
       "SAT 1",
       {"SAT 1"}},
      {"hidden on the Tracked tab, the text changed twice",
       {tab(TListTab::Tracked), filter("sat 2"), filter("sat 4"), filter("")},
       "SAT 1",
       {"SAT 1"}},
      {"the other tabs meanwhile",
       {filter("6"), tab(TListTab::Info), tab(TListTab::Loaded), filter("")},
       "SAT 1",
       {"SAT 1"}},
      {"shown all along", {tab(TListTab::Tracked), filter("sat"), filter("")}, "SAT 1", {"SAT 1"}},
      {"a click on another line",
       {tab(TListTab::Tracked), filter("sat 2"), clickTracked(0), filter("")},
       "SAT 2",
       {"SAT 2"}},
  };
  for (const auto& row : rows) {
    commands_.RemoveTr(true, false, 0);
    panel_->SetListTab(TListTab::Loaded);
    panel_->FilterField()->clear();
    // SAT 1 active, SAT 2 tracked after it.
    SelectLoaded({0, 1});
    panel_->ListButton()->click();
    ASSERT_EQ(list_.ActiveSat, 1) << row.what;
    for (const auto& step : row.steps) step();
    ASSERT_TRUE(list_.HasActiveSat()) << row.what;
    EXPECT_EQ(QString::fromStdString(list_.NameOf(list_.ActiveSat)), row.active) << row.what;
    QListView* view = panel_->TrackedList();
    QStringList selected;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes()) {
      selected << index.data().toString();
    }
    selected.sort();
    EXPECT_EQ(selected, row.selected) << row.what;
    EXPECT_EQ(view->currentIndex().data().toString(), row.active) << row.what;
  }
}

TEST(QuickMenuZone, IsTheTopRightThirteenPixels) {
  const struct {
    int x;
    int y;
    bool inside;
  } cases[] = {{155, 0, true},   {154, 0, false}, {167, 12, true}, {167, 13, false},
               {160, -1, false}, {168, 5, false}, {160, 6, true}};
  for (const auto& c : cases) EXPECT_EQ(QuickMenuZone(c.x, c.y), c.inside) << c.x << ", " << c.y;
}

// Thousands of lines: the filter keeps those whose name or number holds the text, case-blind,
// "Add all" tracks only them and "Remove all" on the Tracked tab takes only the lines shown.
TEST_F(SidePanel, FilterPicksAGroupOutOfThousands) {
  constexpr int kSets = 3000;
  {
    std::ofstream out(dir_.filePath("many.tle").toStdString(), std::ios::binary);
    for (int n = 1; n <= kSets; ++n) {
      auto [l1, l2] = test::MakeLinePair(n);
      out << "SAT " << n << "\n" << l1 << "\n" << l2 << "\n";
    }
  }
  commands_.RemoveTr(true, false, 0);
  commands_.LoadElementFile(dir_.filePath("many.tle"));
  commands_.FinishLoading();  // the file is large enough for the worker
  ASSERT_EQ(test::Rows(panel_->LoadedList()), kSets);
  // The names a plain search over the texts finds: "SAT n" for every n whose digits hold it.
  auto namesHolding = [](const std::vector<int>& numbers, const std::string& digits) {
    QStringList names;
    for (int n : numbers) {
      if (std::to_string(n).find(digits) != std::string::npos) names << QString("SAT %1").arg(n);
    }
    return names;
  };
  std::vector<int> all(kSets);
  for (int n = 1; n <= kSets; ++n) all[static_cast<size_t>(n - 1)] = n;

  panel_->FilterField()->setText(QStringLiteral("sat 12"));
  const QStringList group = namesHolding(all, "12");
  QStringList group12;  // names that start with "SAT 12"
  for (const QString& name : group) {
    if (name.startsWith("SAT 12")) group12 << name;
  }
  ASSERT_EQ(test::Rows(panel_->LoadedList()), group12.size());
  commands_.addAll->trigger();
  EXPECT_EQ(TrackedTexts(), group12);
  EXPECT_EQ(list_.ActiveSat, 1);

  // A catalogue number matches although the name does not hold it.
  panel_->FilterField()->setText(QStringLiteral("01250"));
  EXPECT_EQ(test::Rows(panel_->LoadedList()), 1);
  EXPECT_EQ(test::Line(panel_->LoadedList(), 0), "SAT 1250");

  // On the Tracked tab the same filter shows the tracked lines holding it; those go.
  panel_->SetListTab(TListTab::Tracked);
  panel_->FilterField()->setText(QStringLiteral("5"));
  std::vector<int> tracked;
  for (const QString& name : group12) tracked.push_back(name.mid(4).toInt());
  EXPECT_EQ(TrackedTexts(), namesHolding(tracked, "5"));
  commands_.removeAll->trigger();
  EXPECT_TRUE(TrackedTexts().isEmpty());
  panel_->FilterField()->clear();
  QStringList left;
  for (int n : tracked) {
    if (std::to_string(n).find('5') == std::string::npos) left << QString("SAT %1").arg(n);
  }
  EXPECT_EQ(TrackedTexts(), left);
  EXPECT_EQ(list_.TrackedCount, left.size());
}

// "Remove all" of more than the crowd's threshold, from the menu or as the button with Shift,
// asks first with No the default; No keeps every line.
TEST_F(SidePanel, RemovingAllOfALongListAsksFirst) {
  const struct {
    int lines;
    bool fromButton;
    bool yes;
  } cases[] = {{kFewTrackedMax, true, false},
               {kFewTrackedMax + 1, false, false},
               {kFewTrackedMax + 1, true, true}};
  for (const auto& c : cases) {
    const QString file = dir_.filePath(QStringLiteral("lines%1.tle").arg(c.lines));
    std::ofstream out(file.toStdString(), std::ios::binary);
    for (int n = 1; n <= c.lines; ++n) {
      const auto [l1, l2] = test::MakeLinePair(n);
      out << "SAT " << n << "\n" << l1 << "\n" << l2 << "\n";
    }
    out.close();
    commands_.LoadElementFile(file);
    commands_.FinishLoading();
    commands_.addAll->trigger();
    panel_->SetListTab(TListTab::Tracked);
    dialogs_.defaultNoQuestions.clear();
    dialogs_.answers = {c.yes};
    c.fromButton ? panel_->PressListButton(true) : commands_.removeAll->trigger();
    const bool asks = c.lines > kFewTrackedMax;
    const QString question = QString("Remove all %1 tracked satellites?").arg(c.lines);
    EXPECT_EQ(dialogs_.defaultNoQuestions, asks ? QStringList{question} : QStringList{}) << c.lines;
    EXPECT_EQ(list_.TrackedCount, asks && !c.yes ? c.lines : 0) << c.lines;
    EXPECT_EQ(test::Rows(panel_->TrackedList()), list_.TrackedCount) << c.lines;
  }
}

}  // namespace
}  // namespace zen
