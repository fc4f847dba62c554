// "Predict", the progress dialog, "Go to" and "Save" through the running window, with real
// searches of the shipped sample element file.
#include <QFile>
#include <QRegularExpression>
#include <QTableWidget>

#include "prediction/results.h"
#include "prediction_fixture.h"

namespace zen {
namespace {

using PredictionSearch = test::PredictionWindow;

TEST_F(PredictionSearch, NothingToProcessSaysSoAndStartsNothing) {
  window->TrackingCommands().RemoveTr(true, false, 0);
  page->predictButton->click();
  page->flares->click();
  page->predictButton->click();
  // Tracked or all loaded, no loaded set is an Iridium without the status table.
  setup->allLoaded->setChecked(true);
  page->predictButton->click();
  // Without the status table the notice says why.
  const QString noTable = "No Iridiums loaded.\nCannot read " +
                          QDir(folder.home.path()).filePath("Data/flares.dat") +
                          ": No such file or directory";
  EXPECT_EQ(dialogs.notices, (QStringList{"No satellite to process.", noTable, noTable}));
  EXPECT_FALSE(commands->SearchRunning());
  EXPECT_FALSE(commands->ResultsReady(TSearchKind::Passes));
  EXPECT_TRUE(window->ClockTimer().isActive());
  EXPECT_TRUE(window->RefreshTimer().isActive());
}

TEST_F(PredictionSearch, ADaySearchFillsTheTableAndTheHeader) {
  AnyLight();
  window->TrackingCommands().RemoveTr(true, false, 0);
  setup->allLoaded->setChecked(true);
  QString beginShown;
  Predict([&] {
    EXPECT_FALSE(window->ClockTimer().isActive()) << "the timers rest while a search runs";
    beginShown = dialog->beginText->text();
    ASSERT_TRUE(test::WaitUntil([this] { return Finished(); }, 60000));
    EXPECT_EQ(dialog->sortStatus->text(), "Done!");
    EXPECT_EQ(dialog->button->text(), "Ok");
    dialog->button->click();
  });
  EXPECT_EQ(beginShown, "2026-05-30 21:15:30");
  EXPECT_TRUE(window->ClockTimer().isActive());
  EXPECT_FALSE(commands->SearchRunning());
  const std::vector<std::string>& header = commands->ReportHeader(TSearchKind::Passes);
  ASSERT_EQ(header.size(), 10u);
  EXPECT_EQ(header[2], "Search period : 2026-05-30 21:15:30 - 1 day(s)");
  EXPECT_EQ(header[5], "Time zone     : UTC +2:00");
  EXPECT_EQ(header[6], "Conditions    : Maximum sun elevation = unimportant");

  // Full output: rise, culmination and set of each pass, then an empty row; passes ordered
  // by culmination, the culmination the highest of the three.
  const int rows = page->resultz->model()->rowCount();
  ASSERT_GE(rows, 8);
  ASSERT_EQ(rows % 4, 0);
  EXPECT_EQ(dialog->totalCount->text(), QString::number(rows / 4));
  for (int r = 0; r < rows; r += 4) {
    EXPECT_TRUE(Cell(r + 3, 0).isEmpty());
    EXPECT_LT(Cell(r, 0), Cell(r + 1, 0));
    EXPECT_LE(Cell(r + 1, 0), Cell(r + 2, 0));
    EXPECT_GE(Cell(r + 1, 3).toDouble(), Cell(r, 3).toDouble());
    EXPECT_GE(Cell(r + 1, 3).toDouble(), Cell(r + 2, 3).toDouble());
    EXPECT_EQ(Cell(r, 7), Cell(r + 2, 7)) << "one satellite per pass";
    if (r > 0) {
      EXPECT_LE(Cell(r - 3, 0), Cell(r + 1, 0));
    }
  }
  // Shown, the columns fit the table, and no time or number is cut short (the columns'
  // documented widths suit a narrower face).
  window->KeyCommands().FormKeyDown(Qt::Key_F6, Qt::NoModifier);
  QApplication::processEvents();
  QTableView* table = page->resultz;
  int total = 0;
  for (int c = 0; c < table->model()->columnCount(); ++c) total += table->columnWidth(c);
  EXPECT_LE(total, table->viewport()->width());
  const QFontMetrics metrics(table->font());
  for (int r = 0; r < rows; ++r) {
    for (int c : {0, 2, 3, 4, 5, 6}) {
      EXPECT_LE(metrics.horizontalAdvance(Cell(r, c)) + 6, table->columnWidth(c)) << r << " " << c;
    }
  }
}

// A search that ran its course leaves the dialog's satellite line at the last satellite of the
// list, N/N, and the counter beside it at that satellite's own passes.
TEST_F(PredictionSearch, TheSatelliteLineEndsAtTheLastSatelliteWithItsPasses) {
  AnyLight();
  const struct {
    const char* name;
    std::vector<int> tracked;  // catalogue entries to track
    bool allLoaded;
  } rows[] = {
      {"ISS, then GOES 16 that never rises here", {1, 20}, false},
      {"ISS and CSS", {1, 2}, false},
      {"every loaded set", {}, true},
  };
  const TSatelliteList& list = window->Satellites();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    window->TrackingCommands().RemoveTr(true, false, 0);
    for (int slot : row.tracked) window->TrackingCommands().TrackCatalogEntry(slot);
    setup->allLoaded->setChecked(row.allLoaded);
    PredictToTheEnd();

    const std::vector<std::string> names = row.allLoaded ? list.LoadedNames() : list.TrackedNames();
    ASSERT_FALSE(names.empty());
    const int n = static_cast<int>(names.size());
    const std::string lastNumber =
        row.allLoaded ? list.Catalog.CatalogElements[static_cast<size_t>(n)].elements.catalogNumber
                      : list.CatalogNumberOf(n);
    // Full output: rise, culmination and set of each pass carry its catalogue number.
    int lastRows = 0;
    for (const std::optional<TFound>& found : commands->Rows(TSearchKind::Passes)) {
      if (found && found->catalogNumber == lastNumber) ++lastRows;
    }
    EXPECT_EQ(
        dialog->satelliteLine->text(),
        QStringLiteral("Tracked sat %1/%1: %2").arg(n).arg(QString::fromStdString(names.back())));
    EXPECT_EQ(dialog->satelliteCount->text(), QStringLiteral("Passes: %1").arg(lastRows / 3));
  }
}

TEST_F(PredictionSearch, CancelKeepsTheSortedPassesFoundSoFar) {
  AnyLight();
  setup->allLoaded->setChecked(true);
  setup->periodCount->setValue(99);
  Predict([&] {
    ASSERT_TRUE(test::WaitUntil([this] { return dialog->totalCount->text() != "0"; }, 60000));
    dialog->close();
    EXPECT_TRUE(dialog->isVisible()) << "no close before the search is asked to stop";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog, &escape);
    EXPECT_TRUE(dialog->isVisible()) << "the first press only asks the search to stop";
    ASSERT_TRUE(test::WaitUntil([this] { return Finished(); }, 60000));
    EXPECT_EQ(dialog->estimate->text(), "Interrupted!");
    dialog->button->click();
  });
  EXPECT_FALSE(dialog->isVisible());
  const std::vector<std::string>& header = commands->ReportHeader(TSearchKind::Passes);
  EXPECT_EQ(header[3], "                2026-09-06 21:15:30 - Interrupted!");
  const int rows = page->resultz->model()->rowCount();
  ASSERT_GE(rows, 4);
  for (int r = 5; r < rows; r += 4) EXPECT_LE(Cell(r - 4, 0), Cell(r, 0)) << r;
}

TEST_F(PredictionSearch, DialogClosedDuringTheSortLetsTheSearchFinishAfterwards) {
  CloseDialogOfALongSearch();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(commands->SearchRunning());
  EXPECT_FALSE(page->predictButton->isEnabled()) << "one search at a time";
  ASSERT_TRUE(test::WaitUntil([this] { return !commands->SearchRunning(); }, 60000));
  EXPECT_TRUE(Finished());
  EXPECT_TRUE(page->predictButton->isEnabled());
  EXPECT_TRUE(window->RefreshTimer().isActive());
  EXPECT_TRUE(commands->ReportHeader(TSearchKind::Passes)[3].ends_with(" - Interrupted!"));
}

TEST_F(PredictionSearch, ClosingTheProgramWhileASearchRunsStopsIt) {
  CloseDialogOfALongSearch();
  ASSERT_TRUE(commands->SearchRunning());
  window.reset();
}

TEST_F(PredictionSearch, GoToJumpsToTheEventWithItsSatelliteActive) {
  AnyLight();
  setup->allLoaded->setChecked(true);
  PredictToTheEnd();
  const int tracked = window->Satellites().TrackedCount;
  // A separator row does nothing.
  page->resultz->selectRow(3);
  page->goToButton->click();
  EXPECT_EQ(window->Time().Mode(), TTimeMode::RealTime);
  // A pass of a satellite that is not tracked: it is added and made active.
  int row = -1;
  for (int r = 0; r < page->resultz->model()->rowCount() && row < 0; r += 4) {
    if (Cell(r + 1, 7) != "25544") row = r + 1;
  }
  ASSERT_GE(row, 0);
  page->resultz->selectRow(row);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(page->resultz, &enter);
  EXPECT_EQ(window->Time().Mode(), TTimeMode::Simulation);
  EXPECT_EQ(QString::fromStdString(DateRecToText(window->Time().LocalRecord)), Cell(row, 0));
  const TSatelliteList& list = window->Satellites();
  EXPECT_EQ(list.TrackedCount, tracked + 1);
  EXPECT_EQ(QString::fromStdString(list.CatalogNumberOf(list.ActiveSat)), Cell(row, 7));
  EXPECT_EQ(window->Show().satOnTrack, TSatOnTrack::Middle);
  // The row's satellite is no longer loaded: nothing happens.
  window->TimeCommands().SetMode(TTimeMode::RealTime);
  ASSERT_TRUE(folder.WriteSelfTestElements("Tle/self.tle"));
  window->TrackingCommands().LoadElementFile(folder.home.filePath("Tle/self.tle"));
  page->resultz->selectRow(row);
  emit page->resultz->doubleClicked(page->resultz->model()->index(row, 0));
  EXPECT_EQ(window->Time().Mode(), TTimeMode::RealTime);
}

TEST_F(PredictionSearch, SaveWritesTheShownResultsAsTheReport) {
  page->saveButton->click();
  EXPECT_EQ(dialogs.notices, QStringList{"Nothing to save."});
  AnyLight();
  PredictToTheEnd();
  page->flares->click();
  page->saveButton->click();
  EXPECT_EQ(dialogs.notices.size(), 2) << "no flares search has finished";
  page->passes->click();
  dialogs.fileToSave = folder.home.filePath("Output/iss");
  page->saveButton->click();
  EXPECT_EQ(dialogs.saveProposal, folder.home.filePath("Output/passes_2026-05-30.txt"))
      << "the kind and the first day searched";
  QFile saved(folder.home.filePath("Output/iss.txt"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromLatin1(saved.readAll()).split(QStringLiteral("\r\n"));
  const std::vector<std::string> expected =
      ReportLines(TSearchKind::Passes, commands->ReportHeader(TSearchKind::Passes),
                  commands->Rows(TSearchKind::Passes));
  ASSERT_EQ(lines.size(), static_cast<qsizetype>(expected.size()) + 1) << "CR LF after each";
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(lines[static_cast<qsizetype>(i)], QString::fromStdString(expected[i])) << i;
  }
  EXPECT_TRUE(lines[4].contains(QChar(0xB0))) << "the degree sign as one byte";
  EXPECT_EQ(lines[static_cast<qsizetype>(expected.size()) - 3].size(), 69);
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

// A daytime search finds no visible pass: the footer's alert slot, in view, says how many
// passes the Sun took, as many as the same period shows in any light.
TEST_F(PredictionSearch, NothingFoundSaysWhyInTheFootersAlertSlot) {
  setup->manual->click();
  Leave(setup->periodStart, QStringLiteral("2026-05-31 07:00:00"));
  Leave(setup->periodEnd, QStringLiteral("2026-05-31 17:00:00"));
  PredictToTheEnd();
  ASSERT_TRUE(Cell(0, 0).isEmpty()) << "the documented empty table";
  const QString alert = window->Footer().Texts[kFooterAlert];
  const QRegularExpressionMatch said =
      QRegularExpression(QStringLiteral("^No passes met the conditions: (\\d+) passes? above "
                                        "10\u00B0 (was|were) left out because the Sun was above "
                                        "\u22125\u00B0 \\((\\d+)\\)$"))
          .match(alert);
  ASSERT_TRUE(said.hasMatch()) << alert.toStdString();
  EXPECT_EQ(said.captured(1), said.captured(3));
  EXPECT_EQ(window->Footer().SlotInView(), kFooterAlert);
  AnyLight();
  PredictToTheEnd();
  EXPECT_EQ(QString::number(page->resultz->model()->rowCount() / 4), said.captured(1));
  EXPECT_NE(window->Footer().Texts[kFooterAlert], alert);
}

}  // namespace
}  // namespace zen
