// The Iridium status table of the running window: read at start, which sets take part in a
// flares "Predict", the flares table's labels and the saved flares report.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>

#include "app/pass_window.h"
#include "prediction/results.h"
#include "prediction_fixture.h"
#include "test_support.h"

namespace zen {
namespace {

// The program folder gets a Data/flares.dat of the test's own before the window starts.
class PredictionFlares : public test::PredictionWindow {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
  }
  void WriteTable(const QByteArray& text) {
    QFile file(folder.home.filePath("Data/flares.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QString FlareCell(int row, int column) const {
    return page->resultzF->model()->index(row, column).data().toString();
  }
};

TEST_F(PredictionFlares, ATableListingNoLoadedSetMeansNoIridiumsEvenWithTrackedSatellites) {
  ASSERT_TRUE(QFile::exists(test::kSampleTle)) << "no sample.tle under " << ZEN_SOURCE_DIR;
  // The first-generation Iridium 8, which the sample does not hold; a comment line and a line
  // of nine characters are not rows.
  WriteTable("# status table\n 24792 + 8\n 25544 + \n");
  Start({"25544"}, test::kSampleTle);
  ASSERT_GE(window->Satellites().TrackedCount, 1);
  EXPECT_EQ(commands->IridiumTable().size(), 1u);
  ASSERT_TRUE(commands->isIridium);
  EXPECT_TRUE(commands->isIridium(24792));
  EXPECT_FALSE(commands->isIridium(25544));

  page->flares->click();
  page->predictButton->click();
  setup->allLoaded->setChecked(true);
  page->predictButton->click();
  EXPECT_EQ(dialogs.notices, (QStringList{"No Iridiums loaded.", "No Iridiums loaded."}));
  EXPECT_FALSE(commands->SearchRunning());
  EXPECT_FALSE(commands->ResultsReady(TSearchKind::Flares));
}

// A day of flares of the 2014 first-generation Iridium sets with the shipped status table, at
// the window's site (Torun).
TEST_F(PredictionFlares, ADayOfFlaresIsLabelledFromTheTableAndSavedAsTheFlaresReport) {
  const std::filesystem::path data = test::ReferenceDataDir();
  const QString shippedTable = test::kShippedData + "/flares.dat";
  ASSERT_TRUE(QFile::exists(shippedTable)) << "no flares.dat under " << ZEN_SOURCE_DIR;
  ASSERT_TRUE(QFile::copy(shippedTable, folder.home.filePath("Data/flares.dat")));
  const QString tle =
      QString::fromStdString((data / "tle" / "iridium_gen1_celestrak_2014-09-18.tle").string());
  Start({}, tle);
  ASSERT_GT(window->Satellites().LoadedCount, 80);
  // The Sat text of each listed catalogue number: the table's label, a blank, its mark.
  std::map<QString, QString> labels;
  for (const TIridiumData& row : commands->IridiumTable()) {
    labels[QString::number(row.catalogNumber).rightJustified(5, '0')] =
        QString::fromStdString(row.label) + ' ' + QChar::fromLatin1(row.statusMark);
  }
  ASSERT_GT(labels.size(), 60u);

  setup->manual->click();
  Leave(setup->periodStart, QStringLiteral("2014-09-18 00:00:00"));
  Leave(setup->periodEnd, QStringLiteral("2014-09-19 00:00:00"));
  page->flares->click();
  PredictToTheEnd();
  ASSERT_TRUE(commands->ResultsReady(TSearchKind::Flares));
  EXPECT_TRUE(dialogs.notices.isEmpty()) << dialogs.notices.join(" | ").toStdString();

  const int rows = page->resultzF->model()->rowCount();
  ASSERT_GE(rows, 1);
  ASSERT_FALSE(FlareCell(0, 0).isEmpty()) << "Torun sees flares on a September day";
  EXPECT_EQ(dialog->totalCount->text(), QString::number(rows));
  for (int r = 0; r < rows; ++r) {
    const QString number = FlareCell(r, 10);
    ASSERT_EQ(labels.count(number), 1u) << "not listed: " << number.toStdString();
    EXPECT_EQ(FlareCell(r, 1), labels[number]) << r;
    EXPECT_GE(FlareCell(r, 0), QStringLiteral("2014-09-18 00:00:00"));
    EXPECT_LE(FlareCell(r, 0), QStringLiteral("2014-09-19 00:00:00"));
    if (r > 0) {
      EXPECT_LE(FlareCell(r - 1, 0), FlareCell(r, 0)) << "sorted by time";
    }
    EXPECT_LE(FlareCell(r, 7).toDouble(), 1.0) << r;
  }

  // Every label of the table shows whole in the Sat column.
  window->KeyCommands().FormKeyDown(Qt::Key_F6, Qt::NoModifier);
  QApplication::processEvents();
  const QFontMetrics metrics(page->resultzF->font());
  for (const auto& [number, label] : labels) {
    EXPECT_LE(metrics.horizontalAdvance(label) + 6, page->resultzF->columnWidth(1))
        << label.toStdString();
  }

  dialogs.fileToSave = folder.home.filePath("Output/flares");
  page->saveButton->click();
  QFile saved(folder.home.filePath("Output/flares.txt"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromLatin1(saved.readAll()).split(QStringLiteral("\r\n"));
  const std::vector<std::string> expected =
      ReportLines(TSearchKind::Flares, commands->ReportHeader(TSearchKind::Flares),
                  commands->Rows(TSearchKind::Flares));
  ASSERT_EQ(lines.size(), static_cast<qsizetype>(expected.size()) + 1) << "CR LF after each";
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(lines[static_cast<qsizetype>(i)], QString::fromStdString(expected[i])) << i;
  }
  ASSERT_EQ(lines.size(), 14 + rows + 1);
  EXPECT_EQ(lines[0], "Iridium flares generated with Zenarith 1.0");

  // A flare's picture: its one mark where the row puts it, on the satellite's path around it.
  const TFound& flare = *commands->Rows(TSearchKind::Flares)[0];
  emit page->resultzF->clicked(page->resultzF->model()->index(0, 0));
  const TPassPlot& plot = window->PassWindow()->Plot();
  ASSERT_EQ(plot.marks.size(), 1u);
  EXPECT_EQ(plot.marks[0].azimuthDeg, flare.azimuth);
  EXPECT_EQ(plot.marks[0].elevationDeg, flare.elevation);
  const auto at = std::find_if(plot.track.points.begin(), plot.track.points.end(),
                               [&](const TTrackPoint& p) {
                                 return std::abs(p.timeUtc - flare.timeUtc) < 0.5 / 86400.0;
                               });
  ASSERT_NE(at, plot.track.points.end());
  EXPECT_NEAR(at->azimuthDeg, flare.azimuth, 1e-4);
  EXPECT_NEAR(at->elevationDeg, flare.elevation, 1e-4);
  EXPECT_EQ(lines[9], "                Maximum flare angle = 1.00 deg.");
  EXPECT_EQ(lines[10], "") << "the flares' empty line after the header";
  EXPECT_EQ(lines[11], "                                                Flare   Sun   Sun");
  EXPECT_EQ(lines[14].size(), 65);
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

// The command reads the table beside the program file, whatever the working folder, and writes
// nothing into the program's folder.
TEST(FlaresProgram, ReadsTheTableBesideTheProgramFile) {
#ifndef ZEN_PROGRAM_FILE
  GTEST_SKIP() << "the program's path is not known to this build";
#else
  ASSERT_TRUE(QFile::exists(test::kSampleTle)) << "no sample.tle under " << ZEN_SOURCE_DIR;
  QTemporaryDir home;
  QTemporaryDir elsewhere;
  ASSERT_TRUE(home.isValid() && elsewhere.isValid());
  const QString program = home.filePath("zenarith");
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZEN_PROGRAM_FILE), program));
  auto run = [&](QString& said) {
    QProcess process;
    process.setWorkingDirectory(elsewhere.path());
    process.start(program, {"flares", test::kSampleTle, "--site", "52,21,0", "--from",
                            "2026-05-30T18:00:00Z", "--to", "2026-05-30T20:00:00Z"});
    EXPECT_TRUE(process.waitForFinished(60000));
    said = QString::fromUtf8(process.readAllStandardError()) +
           QString::fromUtf8(process.readAllStandardOutput());
    return process.exitCode();
  };
  QString said;
  EXPECT_EQ(run(said), 1);
  EXPECT_TRUE(said.contains("No Iridiums loaded")) << said.toStdString();
  EXPECT_TRUE(said.contains(home.filePath("Data/flares.dat"))) << said.toStdString();
  EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{"zenarith"});

  ASSERT_TRUE(QDir(home.path()).mkdir("Data"));
  QFile table(home.filePath("Data/flares.dat"));
  ASSERT_TRUE(table.open(QIODevice::WriteOnly));
  table.write(" 25544 + ISS\n");
  table.close();
  EXPECT_EQ(run(said), 0) << said.toStdString();
  EXPECT_TRUE(said.startsWith("Iridium flares generated with Zenarith 1.0\n"))
      << said.toStdString();
  EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            (QStringList{"Data", "zenarith"}));
  EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
#endif
}

}  // namespace
}  // namespace zen
