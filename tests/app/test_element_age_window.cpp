// Mean-elements files in the window: numbers past five digits shown, kept and found again, and
// the footer's word on elements far from their epoch after every kind of load.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <fstream>

#include "app/list_view_support.h"
#include "app/info_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/options_page.h"
#include "app/side_panel.h"
#include "app_fixture.h"

namespace zen {
namespace {

struct TOmmRow {
  std::string name;
  std::string number;
  std::string epoch;
};

class NewNumbersWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Tle")));
  }

  // A CSV message file in Tle/ of low-orbit sets with the given names, numbers and epochs.
  QString WriteCsv(const char* file, const std::vector<TOmmRow>& rows) {
    const QString path = folder.home.filePath(QStringLiteral("Tle/") + file);
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << "OBJECT_NAME,OBJECT_ID,EPOCH,MEAN_MOTION,ECCENTRICITY,INCLINATION,RA_OF_ASC_NODE,"
           "ARG_OF_PERICENTER,MEAN_ANOMALY,EPHEMERIS_TYPE,CLASSIFICATION_TYPE,NORAD_CAT_ID,"
           "ELEMENT_SET_NO,REV_AT_EPOCH,BSTAR,MEAN_MOTION_DOT,MEAN_MOTION_DDOT\r\n";
    for (const TOmmRow& r : rows) {
      out << r.name << ",2026-101A," << r.epoch << ",15.06,0.0002,53.05,120.5,90.1,270.0,0,U,"
          << r.number << ",999,1200,0.00031,0.00002,0.0\r\n";
    }
    return path;
  }

  // The test clock reads 2026-05-30 21:15:30 local at UTC +2: 19:15:30 UTC.
  std::unique_ptr<TMainWindow> Start(const QString& elementFile, std::vector<std::string> track) {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = elementFile;
    c.trackIds = std::move(track);
    return test::StartWindow(c, dialogs);
  }
  void Close(std::unique_ptr<TMainWindow>& window) { test::CloseWindow(window, dialogs); }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

// The alert the footer strip shows in the window, empty when it shows none.
QString AlertInView(TMainWindow& window) {
  const QRgb shown = window.grab().toImage().pixel(1, kFooterTop + 1) | 0xFF000000u;
  if (shown != FooterColours(kFooterAlert).background.rgb()) return QString();
  return window.Footer().Texts[kFooterAlert];
}

// Epochs against the clock's 2026-05-30 19:15:30 UTC: 7.3 hours before, 20.80 days before,
// 20.20 days after; what the alert says of them (nullptr: no alert).
const struct {
  const char* epoch;
  const char* said;
} kAges[] = {
    {"2026-05-30T12:00:00.000000", nullptr},
    {"2026-05-10T00:00:00.000000", "STARLINK-X are 20 days old"},
    {"2026-06-20T00:00:00.000000", "STARLINK-X have their epoch 20 days ahead"},
};

bool Says(TMainWindow& window, const char* said) {
  const QString alert = AlertInView(window);
  return said == nullptr ? alert.isEmpty() : alert.contains(QString::fromLatin1(said));
}

TEST_F(NewNumbersWindow, FooterTellsTheAgeOfTheTrackedElementsAfterEveryLoad) {
  const QString fresh = WriteCsv("fresh.csv", {{"STARLINK-X", "340005", kAges[0].epoch}});
  QFile setup(folder.home.filePath("Setup/aged.ini"));
  for (const auto& age : kAges) {
    const QString file = WriteCsv("aged.csv", {{"STARLINK-X", "340005", age.epoch}});
    auto window = Start(file, {"340005"});
    ASSERT_EQ(window->Satellites().TrackedCount, 1);
    EXPECT_TRUE(Says(*window, age.said)) << "start: " << age.epoch;
    Close(window);

    window = Start(fresh, {"340005"});
    EXPECT_TRUE(Says(*window, nullptr));
    dialogs.fileToOpen = file;
    window->MainPage()->loadTleButton->click();
    EXPECT_TRUE(Says(*window, age.said)) << "Load TLE: " << age.epoch;
    // Fresh elements loaded next take back what was said of the old ones.
    window->TrackingCommands().LoadElementFile(fresh);
    EXPECT_TRUE(Says(*window, nullptr)) << age.epoch;
    ASSERT_TRUE(setup.open(QIODevice::WriteOnly | QIODevice::Truncate));
    setup.write("[TLE_DB]\r\nTLEFile=Tle/aged.csv\r\nActive=340005\r\nTracked=340005\r\n");
    setup.close();
    dialogs.fileToOpen = setup.fileName();
    window->OptionsPage()->loadSettings->click();
    EXPECT_TRUE(Says(*window, age.said)) << "settings: " << age.epoch;
    Close(window);
  }
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

void Focus(QWidget* widget, bool in) {
  QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::OtherFocusReason);
  QApplication::sendEvent(widget, &event);
}

TEST_F(NewNumbersWindow, LongNumbersAreShownNotedSavedAndTrackedAgainAfterARestart) {
  const char* epoch = kAges[0].epoch;
  const QString file = WriteCsv(
      "new.csv",
      {{"OLD ONE", "00005", epoch}, {"STARLINK-X", "340005", epoch}, {"", "999999999", epoch}});
  auto window = Start(file, {"999999999", "340005"});
  TSatelliteList& list = window->Satellites();
  ASSERT_EQ(list.LoadedCount, 3);
  EXPECT_EQ(test::Line(window->SidePanel()->LoadedList(), 2), "#999999999");
  ASSERT_EQ(list.TrackedNames(), (std::vector<std::string>{"STARLINK-X", "#999999999"}));
  auto* orbit = window->findChild<QTableWidget*>(QStringLiteral("infozO"));
  ASSERT_NE(orbit, nullptr);
  EXPECT_EQ(orbit->item(1, 1)->text(), "999999999");
  window->TrackingCommands().SetActive(1);
  EXPECT_EQ(orbit->item(1, 1)->text(), "340005");

  QPlainTextEdit* memo = window->InfoPage()->notesMemo;
  Focus(memo, true);
  memo->setPlainText("new shell");
  Focus(memo, false);
  EXPECT_TRUE(QFile::exists(folder.home.filePath("Notes/340005.txt")));

  window->OptionsPage()->autoSave->click();
  Close(window);
  QFile saved(folder.home.filePath("Setup/default.ini"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().contains("Active=340005\r\nTracked=340005,999999999\r\n"));

  window = Start(QString(), {});
  TSatelliteList& again = window->Satellites();
  ASSERT_EQ(again.TrackedCount, 2);
  EXPECT_EQ(again.CatalogNumberOf(again.ActiveSat), "340005");
  EXPECT_EQ(window->InfoPage()->notesMemo->toPlainText(), "new shell");
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

}  // namespace
}  // namespace zen
