// The live table's Moon and J2000 rows in the window: below the documented rows, reached by
// scrolling in the smallest window, and leaving the documented rows as they were.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QWheelEvent>

#include "app/grid_headings.h"
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
    table = window->findChild<QTableWidget*>(QStringLiteral("infoz"));
    ASSERT_NE(table, nullptr);
  }

  // The whole row inside the part of the table in view.
  bool InView(int row) const {
    const QRect cell = table->visualItemRect(table->item(row, 1));
    return cell.top() >= 0 && cell.bottom() < table->viewport()->height();
  }
  void Wheel(int notches) {
    const QPointF at(10, 10);
    QWheelEvent wheel(at, table->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(table->viewport(), &wheel);
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
  QTableWidget* table = nullptr;
};

TEST_F(SkyRowsWindow, NewRowsFollowTheDocumentedOnesAndAreReachedByScrolling) {
  ASSERT_EQ(window->size(), QSize(800, 600));
  ASSERT_EQ(table->rowCount(), kLiveRows + kLiveMoreRows);
  const QStringList labels = LabelColumn(table);
  const auto values = LiveMoreValues(window->Satellites(), window->Cycle().SunNow,
                                     window->Cycle().SkyNow);
  ASSERT_TRUE(window->Cycle().SkyNow.valid);
  for (int r = 0; r < kLiveMoreRows; ++r) {
    EXPECT_EQ(labels[kLiveRows + r], QString::fromUtf8(kLiveMoreLabels[static_cast<size_t>(r)]));
    EXPECT_EQ(table->item(kLiveRows + r, 1)->text().toStdString(), values[static_cast<size_t>(r)]);
  }
  EXPECT_EQ(labels[kLiveRows + 1], "RA J2000");
  EXPECT_EQ(labels[kLiveRows + 4], "Moon");
  EXPECT_TRUE(table->item(kLiveRows + 1, 1)->text().endsWith(QStringLiteral("\u00B0")));

  // The documented rows are what the table first shows; the new ones lie below.
  EXPECT_EQ(table->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(InView(0));
  EXPECT_FALSE(InView(kLiveRows + 1));
  const int last = kLiveRows + kLiveMoreRows - 1;
  for (int notch = 0; notch < 20 && !InView(last); ++notch) Wheel(1);
  EXPECT_TRUE(InView(last));
  EXPECT_TRUE(InView(kLiveRows + 4));

  // A taller window shows them all at once.
  window->showNormal();
  window->resize(1600, 1200);
  ASSERT_TRUE(test::WaitUntil([&] { return window->height() == 1200; }));
  table->verticalScrollBar()->setValue(0);
  EXPECT_TRUE(InView(0));
  EXPECT_TRUE(InView(last));
}

// The table's face is the one the documented rows alone give, and every new label and the
// widest new values fit the documented columns in it.
TEST_F(SkyRowsWindow, DocumentedFaceAndColumnsHoldTheNewRows) {
  ASSERT_EQ(window->size(), QSize(800, 600));
  TLabelledGrid documented(nullptr, kLiveRows, table->columnWidth(0), table->columnWidth(1),
                           table->width());
  SetLabelColumn(&documented, LabelList(kLiveLabels));
  documented.FitFont(TextList(WidestLiveValues()));
  EXPECT_EQ(table->font(), documented.font());
  EXPECT_EQ(table->columnWidth(0), 62);
  EXPECT_EQ(table->columnWidth(1), 86);

  const QFontMetrics metrics(table->font());
  const int margins =
      2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
  for (const char* label : kLiveMoreLabels) {
    EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(label)) + margins, 62) << label;
  }
  for (const std::string& value : WidestLiveMoreValues()) {
    EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(value)) + margins, 86) << value;
  }
}

}  // namespace
}  // namespace zen
