// The live table's Moon and J2000 rows in the window: right below the documented rows, out of
// view in the smallest window until the wheel over the table scrolls them in.
#include <gtest/gtest.h>

#include <QScrollArea>
#include <QTableWidget>
#include <QWheelEvent>

#include "app/main_window.h"
#include "app/side_panel.h"
#include "app_fixture.h"
#include "tracking/info_texts.h"

namespace zen {
namespace {

TEST(SkyRowsWindow, NewRowsFollowTheDocumentedOnesAndAreReachedByScrolling) {
  test::EnsureApplication();
  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  ASSERT_TRUE(folder.CopyData() && folder.WriteSelfTestElements("test.tle"));
  TStartContext c = test::Context(folder.home.path(), folder.locks.path());
  c.elementFile = folder.home.filePath("test.tle");
  c.trackIds = {"25544"};
  c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
  const auto window = test::StartWindow(c, dialogs);
  ASSERT_EQ(window->size(), QSize(800, 600));
  window->SidePanel()->SetListTab(TListTab::Info);
  const auto* live = window->findChild<QTableWidget*>(QStringLiteral("infoz"));
  const auto* sky = window->findChild<QTableWidget*>(QStringLiteral("infozSky"));
  const auto* pane = window->findChild<QScrollArea*>(QStringLiteral("livePane"));
  ASSERT_TRUE(live != nullptr && sky != nullptr && pane != nullptr);
  ASSERT_TRUE(window->Cycle().SkyNow.valid);
  const auto values =
      LiveMoreValues(window->Satellites(), window->Cycle().SunNow, window->Cycle().SkyNow);
  for (int row = 0; row < kLiveMoreRows; ++row) {
    EXPECT_EQ(sky->item(row, 1)->text().toStdString(), values[static_cast<size_t>(row)]);
  }
  EXPECT_EQ(sky->geometry().top(), live->geometry().bottom() + 1);
  const auto inView = [&](const QTableWidget* table, int row) {  // the whole row
    const QRect cell = table->visualItemRect(table->item(row, 1));
    const int top = table->viewport()->mapTo(pane->viewport(), cell.topLeft()).y();
    return table->isVisible() && top >= 0 && top + cell.height() <= pane->viewport()->height();
  };
  EXPECT_TRUE(inView(live, 0));
  EXPECT_FALSE(inView(sky, 1));
  for (int notch = 0; notch < 20 && !inView(sky, kLiveMoreRows - 1); ++notch) {
    QWheelEvent wheel(QPointF(10, 10), live->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(live->viewport(), &wheel);
  }
  EXPECT_TRUE(inView(sky, kLiveMoreRows - 1));
}

}  // namespace
}  // namespace zen
