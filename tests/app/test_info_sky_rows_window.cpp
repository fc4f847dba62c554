// The live table's Moon and J2000 rows in the window: below the documented rows, reached by
// scrolling in the smallest window, and leaving the documented rows as they were.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QWheelEvent>

#include "app/main_window.h"
#include "app/side_panel.h"
#include "app/string_grid.h"
#include "app_fixture.h"
#include "tracking/info_texts.h"

namespace zen {
namespace {

class SkyRowsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(folder.WriteSelfTestElements("test.tle"));
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = folder.home.filePath("test.tle");
    c.trackIds = {"25544"};
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    window = test::StartWindow(c, dialogs);
    ASSERT_TRUE(window->Activated());
    window->SidePanel()->SetListTab(TListTab::Info);
    live = window->findChild<QTableWidget*>(QStringLiteral("infoz"));
    sky = window->findChild<QTableWidget*>(QStringLiteral("infozSky"));
    pane = window->findChild<QScrollArea*>(QStringLiteral("livePane"));
    ASSERT_TRUE(live != nullptr && sky != nullptr && pane != nullptr);
  }

  // The whole row inside the part of the pane in view.
  bool InView(const QTableWidget* table, int row) const {
    const QRect cell = table->visualItemRect(table->item(row, 1));
    const QPoint top = table->viewport()->mapTo(pane->viewport(), cell.topLeft());
    return table->isVisible() && top.y() >= 0 &&
           top.y() + cell.height() <= pane->viewport()->height();
  }
  void Wheel(QWidget* over) {
    const QPointF at(10, 10);
    QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &wheel);
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
  QTableWidget* live = nullptr;
  QTableWidget* sky = nullptr;
  QScrollArea* pane = nullptr;
};

TEST_F(SkyRowsWindow, NewRowsFollowTheDocumentedOnesAndAreReachedByScrolling) {
  ASSERT_EQ(window->size(), QSize(800, 600));
  ASSERT_TRUE(window->Cycle().SkyNow.valid);
  ASSERT_EQ(sky->rowCount(), kLiveMoreRows);
  const QStringList labels = LabelColumn(sky);
  const auto values = LiveMoreValues(window->Satellites(), window->Cycle().SunNow,
                                     window->Cycle().SkyNow);
  for (size_t r = 0; r < kLiveMoreRows; ++r) {
    const int row = static_cast<int>(r);
    EXPECT_EQ(labels[row], QString::fromUtf8(kLiveMoreLabels[r]));
    EXPECT_EQ(sky->item(row, 1)->text().toStdString(), values[r]);
  }
  EXPECT_TRUE(sky->item(1, 1)->text().endsWith(QStringLiteral("\u00B0")));
  EXPECT_EQ(sky->geometry().top(), live->geometry().bottom() + 1);

  // The tab first shows the documented rows; the wheel over them brings the new ones into view.
  EXPECT_TRUE(InView(live, 0));
  EXPECT_FALSE(InView(sky, 1));
  const int last = kLiveMoreRows - 1;
  for (int notch = 0; notch < 20 && !InView(sky, last); ++notch) Wheel(live->viewport());
  EXPECT_TRUE(InView(sky, last));

  // A taller window shows them all at once.
  window->showNormal();
  window->resize(1600, 1200);
  ASSERT_TRUE(test::WaitUntil([&] { return window->height() == 1200; }));
  pane->verticalScrollBar()->setValue(0);
  EXPECT_TRUE(InView(live, 0));
  EXPECT_TRUE(InView(sky, last));
}

// The documented columns and face hold the new labels and the widest new values whole.
TEST_F(SkyRowsWindow, DocumentedColumnsHoldTheNewRows) {
  ASSERT_EQ(window->size(), QSize(800, 600));
  EXPECT_EQ(sky->font(), live->font());
  EXPECT_EQ(sky->columnWidth(0), 62);
  EXPECT_EQ(sky->columnWidth(1), 86);
  const QFontMetrics metrics(sky->font());
  const int margins =
      2 * (sky->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, sky) + 1);
  for (const char* label : kLiveMoreLabels) {
    EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(label)) + margins, 62) << label;
  }
  for (const std::string& value : WidestLiveMoreValues()) {
    EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(value)) + margins, 86) << value;
  }
}

}  // namespace
}  // namespace zen
