// A week of passes looked at in the running window: a pass's picture from any of its rows, the
// one-line view sorted by a heading, and the week saved as a calendar and the picture as PNG.
#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include "app/pass_window.h"
#include "prediction/pass_lines.h"
#include "prediction_fixture.h"

namespace zen::test {
namespace {

using PassDetails = PredictionWindow;

int Area(const QRect& r) {
  return r.isEmpty() ? 0 : r.width() * r.height();
}

// Every row of a pass shows that pass; the separator row shows nothing new.
TEST_F(PassDetails, AnyRowOfAPassShowsItsPicture) {
  AnyLight();
  setup->periodCount->setValue(7);
  PredictToTheEnd();
  const std::vector<TPassLine>& lines = commands->PassLines();
  ASSERT_GE(lines.size(), 10u);
  TPassWindow* details = window->PassWindow();
  ASSERT_NE(details, nullptr);
  EXPECT_FALSE(details->isVisible());

  for (int row : {4, 5, 6}) {  // rise, culmination and set of the second pass
    emit page->resultz->clicked(page->resultz->model()->index(row, 0));
    ASSERT_TRUE(details->isVisible());
    const TPassPlot& plot = details->Plot();
    ASSERT_EQ(plot.marks.size(), 3u);
    EXPECT_EQ(plot.marks[1].timeUtc, lines[1].culmination.timeUtc);
    EXPECT_EQ(plot.marks[1].elevationDeg, lines[1].culmination.elevation);
    EXPECT_EQ(plot.title.substr(0, 11), "ISS (ZARYA)");
    ASSERT_FALSE(plot.track.points.empty());
    EXPECT_LE(plot.track.points.front().timeUtc, lines[1].rise.timeUtc);
    EXPECT_GE(plot.track.points.back().timeUtc, lines[1].set.timeUtc);
    EXPECT_TRUE(plot.moon.points.empty());
  }
  window->ShowCommands().moon->trigger();  // the Moon over the pass's span, at the culmination
  ASSERT_TRUE(commands->ShowPassDetails(1));
  const TMoonTrack& moon = details->Plot().moon;
  ASSERT_FALSE(moon.points.empty());
  EXPECT_EQ(moon.points.front().timeUtc, details->Plot().track.points.front().timeUtc);
  EXPECT_EQ(moon.atEvent.timeUtc, lines[1].culmination.timeUtc);
  window->ShowCommands().moon->trigger();
  EXPECT_FALSE(commands->ShowDetails(TSearchKind::Passes, 7)) << "the separator row";
  EXPECT_EQ(details->Plot().marks[0].timeUtc, lines[1].rise.timeUtc);
  EXPECT_EQ(details->Picture().width(), details->width()) << "drawn at the window's width";
  // Closed, it comes back with "Details" (Space) on the row chosen.
  details->close();
  page->resultz->selectRow(9);
  commands->details->trigger();
  EXPECT_TRUE(details->isVisible());
  EXPECT_EQ(details->Plot().marks[1].timeUtc, lines[2].culmination.timeUtc);

  // The picture saved under a name without an extension is a PNG of the picture shown.
  dialogs.fileToSave = folder.home.filePath("Output/second");
  details->saveButton->click();
  QImage saved(folder.home.filePath("Output/second.png"), "PNG");
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), details->Picture().size());
  EXPECT_EQ(saved.pixel(saved.width() / 4, saved.height() / 3),
            details->Picture().pixel(saved.width() / 4, saved.height() / 3));
}

// The one-line view holds one line per pass, sorts by a click on a heading, goes to a line's
// culmination, and the week is saved as a calendar with one event per pass.
TEST_F(PassDetails, OneLinePerPassSortedAndSavedAsACalendar) {
  AnyLight();
  setup->periodCount->setValue(7);
  PredictToTheEnd();
  const std::vector<TPassLine>& lines = commands->PassLines();
  ASSERT_GE(lines.size(), 10u);

  page->passLinesButton->click();
  EXPECT_FALSE(page->passLinesView->isHidden());
  EXPECT_TRUE(page->resultz->isHidden());
  QAbstractItemModel* model = page->passLinesView->model();
  ASSERT_EQ(model->rowCount(), static_cast<int>(lines.size()));
  for (int r = 1; r < model->rowCount(); ++r) {
    EXPECT_LE(lines[static_cast<size_t>(page->passLinesModel->LineOfRow(r - 1))].culmination.timeUtc,
              lines[static_cast<size_t>(page->passLinesModel->LineOfRow(r))].culmination.timeUtc);
  }

  // A click on "Elev" sorts by it; a second click turns the order round.
  const int elevation = static_cast<int>(TPassColumn::CulminationElevation);
  QHeaderView* header = page->passLinesView->horizontalHeader();
  for (int click = 0; click < 2; ++click) {
    const QPointF at(header->sectionViewportPosition(elevation) + 4, header->height() / 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent press(type, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier);
      QApplication::sendEvent(header->viewport(), &press);
    }
    const bool descending = header->sortIndicatorOrder() == Qt::DescendingOrder;
    EXPECT_EQ(header->sortIndicatorSection(), elevation);
    for (int r = 1; r < model->rowCount(); ++r) {
      const double a = model->index(r - 1, elevation).data().toDouble();
      const double b = model->index(r, elevation).data().toDouble();
      EXPECT_TRUE(descending ? a >= b : a <= b) << r;
    }
  }

  // The top line's details and its culmination on the map.
  const int top = page->passLinesModel->LineOfRow(0);
  emit page->passLinesView->clicked(model->index(0, 0));
  EXPECT_EQ(window->PassWindow()->Plot().marks[1].timeUtc,
            lines[static_cast<size_t>(top)].culmination.timeUtc);
  page->passLinesView->selectRow(0);
  page->goToButton->click();
  EXPECT_EQ(window->Time().Mode(), TTimeMode::Simulation);
  EXPECT_EQ(DateRecToText(window->Time().LocalRecord),
            DateRecToText(lines[static_cast<size_t>(top)].culmination.time));

  // The week as a calendar: the name typed without an extension gets the chosen type's.
  dialogs.fileToSave = folder.home.filePath("Output/week");
  dialogs.filterToSave = QStringLiteral("iCalendar (*.ics)");
  page->saveButton->click();
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("\n").toStdString();
  QFile calendar(folder.home.filePath("Output/week.ics"));
  ASSERT_TRUE(calendar.open(QIODevice::ReadOnly));
  const QByteArray text = calendar.readAll();
  EXPECT_TRUE(text.startsWith("BEGIN:VCALENDAR\r\n"));
  EXPECT_EQ(text.count("BEGIN:VEVENT\r\n"), static_cast<qsizetype>(lines.size()));
  EXPECT_EQ(text.count("\n"), text.count("\r\n")) << "every line ends in CR LF";

  // Flares have no one-line view of their own.
  page->flares->click();
  EXPECT_TRUE(page->passLinesView->isHidden());
  EXPECT_FALSE(page->passLinesButton->isEnabled());
}

// The least of spare that a window of this size covers anywhere on the screen, by trying every
// place.
int LeastCoverByTrying(QSize size, const QRect& screen, const QRect& spare) {
  int least = size.width() * size.height();
  for (int y = screen.top(); y + size.height() <= screen.top() + screen.height(); ++y) {
    for (int x = screen.left(); x + size.width() <= screen.left() + screen.width(); ++x) {
      least = std::min(least, Area(QRect(QPoint(x, y), size) & spare));
    }
  }
  return least;
}

// Where the window cannot stand beside the main one it goes where it hides the least of the map,
// and stays on the screen.
TEST(PassWindowPlace, CoversTheLeastOfTheSpareArea) {
  const struct {
    const char* what;
    QRect screen;
    QRect spare;
    QSize size;
  } rows[] = {
      {"the map of the smallest window", {0, 0, 800, 600}, {0, 0, 630, 390}, {560, 380}},
      {"a larger window's map", {0, 0, 1024, 768}, {0, 0, 838, 558}, {560, 380}},
      {"a map in the middle", {0, 0, 900, 700}, {150, 200, 400, 250}, {560, 380}},
      {"a screen beside another", {1280, 0, 800, 600}, {1290, 30, 630, 390}, {300, 200}},
      {"a screen's height", {0, 0, 800, 600}, {0, 0, 630, 390}, {400, 600}},
      {"a map the window cannot miss", {0, 0, 800, 600}, {0, 0, 800, 600}, {560, 380}},
      {"no map", {0, 0, 800, 600}, {}, {560, 380}},
  };
  for (const auto& row : rows) {
    const QRect placed(LeastCoveringPlace(row.size, row.screen, row.spare), row.size);
    EXPECT_TRUE(row.screen.contains(placed)) << row.what;
    EXPECT_EQ(Area(placed & row.spare), LeastCoverByTrying(row.size, row.screen, row.spare))
        << row.what;
  }
}

// Closing the details hands the keyboard back to the table the pass was chosen in, and with the
// main window at its smallest size on a screen with no room beside it the window opens where it
// hides the least of the map.
TEST_F(PassDetails, ClosingGivesTheKeyboardBackAndTheMapStaysInSight) {
  AnyLight();
  setup->periodCount->setValue(7);
  PredictToTheEnd();
  ASSERT_GE(commands->PassLines().size(), 3u);
  window->KeyCommands().FormKeyDown(Qt::Key_F6, Qt::NoModifier);
  TPassWindow* details = window->PassWindow();
  QWidget* map = window->findChild<QWidget*>(QStringLiteral("Img"));
  ASSERT_NE(map, nullptr);
  const struct {
    const char* what;
    QTableView* table;
    bool oneLine;
  } rows[] = {
      {"passes", page->resultz, false},
      {"one line each", page->passLinesView, true},
  };
  for (const auto& row : rows) {
    if (page->passLinesButton->isChecked() != row.oneLine) page->passLinesButton->click();
    ASSERT_TRUE(row.table->isVisible()) << row.what;
    // A click on the second row chooses it, and the table has the keyboard.
    const QRect second = row.table->visualRect(row.table->model()->index(1, 0));
    QTest::mouseClick(row.table->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    ASSERT_TRUE(details->isVisible()) << row.what;
    details->activateWindow();
    ASSERT_TRUE(WaitUntil([&] {
      return QGuiApplication::focusWindow() == details->windowHandle();
    })) << row.what;

    QTest::keyClick(details->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(details->isVisible()) << row.what;
    ASSERT_TRUE(WaitUntil([&] { return QGuiApplication::focusWindow() == window->windowHandle(); }))
        << row.what;
    EXPECT_EQ(QApplication::focusWidget(), row.table) << row.what;
    // The next key, sent where the windowing system sends it, moves in the table.
    QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(row.table->currentIndex().row(), 2) << row.what;
  }

  const QRect screen = details->screen()->availableGeometry();
  ASSERT_EQ(window->size(), QSize(800, 600));
  ASSERT_LT(screen.width(), window->frameGeometry().width() + details->minimumWidth())
      << "no room beside the main window";
  const QRect frame = details->frameGeometry();
  const QRect mapArea(map->mapToGlobal(QPoint(0, 0)), map->size());
  EXPECT_TRUE(screen.contains(frame));
  const QSize smallest = details->minimumSize() + (frame.size() - details->size());
  EXPECT_EQ(Area(frame & mapArea), LeastCoverByTrying(smallest, screen, mapArea));
}

}  // namespace
}  // namespace zen::test
