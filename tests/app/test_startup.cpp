// Start-up in a temporary program folder: folders, bitmaps, logo, headings, banner, pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>

#include "app/grid_headings.h"
#include "app/main_window.h"
#include "tracking/settings.h"
#include "tracking/window_settings.h"
#include "app/string_grid.h"
#include "app_fixture.h"
#include "display/footer.h"

namespace zen {
namespace {

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
  }

  std::unique_ptr<TMainWindow> Start() {
    auto window = std::make_unique<TMainWindow>(
        test::Context(folder.home.path(), folder.locks.path()), dialogs);
    return window;
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

TEST_F(StartUp, CreatesTheWorkFoldersLoadsTheBitmapsAndShowsTheBanner) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized()) << qPrintable(dialogs.errors.join("\n"));
  EXPECT_TRUE(dialogs.errors.isEmpty());
  for (const char* name : {"Notes", "Output", "Setup"}) {
    EXPECT_TRUE(QFileInfo(folder.home.filePath(name)).isDir()) << name;
  }
  EXPECT_EQ(window->ProgramFolder(), QDir(folder.home.path()).absolutePath() + "/");
  EXPECT_EQ(QDir::currentPath(), QDir(folder.home.path()).absolutePath());
  const TBitmaps& b = window->Bitmaps();
  EXPECT_EQ(b.WorldBitmap.size(), QSize(600, 360));
  for (const QImage* image : {&b.SunBitmap, &b.SatLitBitmap, &b.SatEclipsedBitmap,
                              &b.SatActiveBitmap, &b.RadarBitmap, &b.LogoBitmap}) {
    EXPECT_FALSE(image->isNull());
  }
  EXPECT_EQ(window->Footer().Texts[kFooterHint], FooterBanner());
  EXPECT_EQ(window->Footer().Shown, FooterBanner());
  EXPECT_FALSE(window->Activated()) << "activation waits for the window to show";
  auto* version = window->findChild<QLabel*>(QStringLiteral("versionLabel"));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), QStringLiteral("Zenarith 1.0"));
}

TEST_F(StartUp, LeavesExistingFoldersAndTheirFilesAlone) {
  ASSERT_TRUE(QDir(folder.home.path()).mkdir("Notes"));
  QFile note(folder.home.filePath("Notes/25544.txt"));
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.write("keep me");
  note.close();
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  QFile again(folder.home.filePath("Notes/25544.txt"));
  ASSERT_TRUE(again.open(QIODevice::ReadOnly));
  EXPECT_EQ(again.readAll(), QByteArray("keep me"));
  EXPECT_TRUE(QFileInfo(folder.home.filePath("Output")).isDir());
}

TEST_F(StartUp, LogoIsDrawnCentredInTheLogoArea) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  const QImage& logo = window->Bitmaps().LogoBitmap;
  const QImage& area = window->RadarImage();
  QPoint offset(area.width() / 2 - logo.width() / 2, area.height() / 2 - logo.height() / 2);
  for (QPoint p : {QPoint(logo.width() / 2, logo.height() / 2), QPoint(30, 60), QPoint(100, 130)}) {
    EXPECT_EQ(area.pixel(p + offset) | 0xFF000000u, logo.pixel(p) | 0xFF000000u);
  }
}

TEST_F(StartUp, GridsCarryTheirFixedHeadings) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  auto grid = [&](const char* name) {
    return window->findChild<QTableView*>(QString::fromLatin1(name));
  };
  ASSERT_NE(grid("resultz"), nullptr);
  ASSERT_NE(grid("resultzF"), nullptr);
  ASSERT_NE(grid("infozO"), nullptr);
  ASSERT_NE(grid("infoz"), nullptr);
  EXPECT_EQ(HeadingRow(grid("resultz")).mid(0, 7),
            QStringList({"Event date/time", "Sat", "Azm", "Elev", "Range", "Sun azm", "Sun elev"}));
  EXPECT_EQ(HeadingRow(grid("resultzF")).mid(0, 10),
            QStringList({"Event date/time", "Sat", "Azm", "Elev", "Range", "A", "D", "Fl. Ang.",
                         "Sun azm", "Sun elev"}));
  QStringList orbit = LabelColumn(window->findChild<QTableWidget*>("infozO"));
  ASSERT_EQ(orbit.size(), 17);
  EXPECT_EQ(orbit.front(), QStringLiteral("Name"));
  EXPECT_EQ(orbit[8], QStringLiteral("Eccentricity"));
  EXPECT_EQ(orbit.back(), QStringLiteral("Propagation model"));
  QStringList live = LabelColumn(window->findChild<QTableWidget*>("infoz"));
  ASSERT_EQ(live.size(), 20);
  EXPECT_EQ(live[12], QStringLiteral("Eclipse"));
  EXPECT_EQ(live[13], QString());
  EXPECT_EQ(live[14], QStringLiteral("Sun"));
  EXPECT_EQ(live[19], QStringLiteral("Range (km)"));
  EXPECT_EQ(grid("infozO")->columnWidth(0), 135);
}

TEST_F(StartUp, FirstActivationDrawsTheMapBackgroundAndStartsTheClockOnce) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  window->ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
  const QImage& world = window->Bitmaps().WorldBitmap;
  EXPECT_EQ(window->MapImage().pixel(15, 15), world.pixel(0, 0));
  EXPECT_EQ(window->MapImage().pixel(614, 374), world.pixel(599, 359));
  EXPECT_TRUE(window->ClockTimer().isActive());
  EXPECT_EQ(window->ClockTimer().interval(), 1000);
  auto* message = window->findChild<QLabel*>(QStringLiteral("messagePanel"));
  ASSERT_NE(message, nullptr);
  EXPECT_FALSE(message->isVisible()) << "the loading message is down once loading ends";
  EXPECT_TRUE(window->updatesEnabled());
  // The map is drawn once; a later activation does not redraw or reload it.
  QImage before = window->MapImage().copy();
  QImage& map = const_cast<QImage&>(window->MapImage());
  map.setPixel(300, 200, qRgb(1, 2, 3));
  QEvent activation(QEvent::ActivationChange);
  QApplication::sendEvent(window.get(), &activation);
  QCoreApplication::processEvents();
  EXPECT_EQ(window->MapImage().pixel(300, 200), qRgb(1, 2, 3));
}

TEST_F(StartUp, WindowPaintsTheFooterStripWithTheBanner) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  window->ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
  QImage shot = window->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(800, 600));
  EXPECT_EQ(shot.pixel(1, 588) | 0xFF000000u, qRgb(0x30, 0x30, 0x30));
  EXPECT_EQ(shot.pixel(798, 598) | 0xFF000000u, qRgb(0x30, 0x30, 0x30));
  EXPECT_EQ(
      shot.copy(0, kFooterTop, kFooterWidth, kFooterHeight).convertToFormat(QImage::Format_RGB32),
      window->Footer().Strip().convertToFormat(QImage::Format_RGB32));
}

TEST_F(StartUp, ClickingAPageTabShowsItsPage) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  window->ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
  auto* tabs = window->findChild<QTabBar*>(QStringLiteral("pageTabs"));
  auto* pages = window->findChild<QStackedWidget*>(QStringLiteral("pages"));
  ASSERT_NE(tabs, nullptr);
  ASSERT_NE(pages, nullptr);
  QStringList captions;
  for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
  EXPECT_EQ(captions, QStringList({"Main", "Options", "Location", "Sat/Orbit Info",
                                   "Prediction - Setup", "Prediction", "About"}));
  EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("Main"));
  for (int index : {6, 3, 0, 5}) {
    QPoint at = tabs->tabRect(index).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, tabs->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, tabs->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tabs, &press);
    QApplication::sendEvent(tabs, &release);
    EXPECT_EQ(pages->currentWidget()->objectName(), captions[index]) << index;
    EXPECT_TRUE(pages->currentWidget()->isVisible());
  }
}

TEST_F(StartUp, AreasSitAtTheirPlaces) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  auto geometry = [&](const char* name) {
    QWidget* w = window->findChild<QWidget*>(QString::fromLatin1(name));
    return w != nullptr ? w->geometry() : QRect();
  };
  EXPECT_EQ(window->size(), QSize(800, 600));
  EXPECT_EQ(geometry("Img"), QRect(3, 2, 630, 390));
  // The time panel is shown at first, so the side panel is short.
  EXPECT_EQ(geometry("sidePanel"), QRect(634, 0, 167, 324));
  EXPECT_EQ(geometry("timePanel"), QRect(634, 334, 158, 81));
  window->TimeCommands().SetTimePanelShown(false);
  EXPECT_EQ(geometry("sidePanel"), QRect(634, 0, 167, 417));
  EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("timePanel"))->isHidden());
  EXPECT_EQ(geometry("Lgo"), QRect(624, 419, 176, 161));
  EXPECT_EQ(geometry("pages"), QRect(18, 400, 602, 169));
  EXPECT_EQ(geometry("pageTabs"), QRect(18, 567, 602, 17));
  EXPECT_EQ(geometry("messagePanel"), QRect(260, 233, 185, 41));
}

TEST_F(StartUp, LoadingMessageFreezesThePaintingUntilItIsHidden) {
  auto window = Start();
  ASSERT_TRUE(window->Initialized());
  window->ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
  auto* message = window->findChild<QLabel*>(QStringLiteral("messagePanel"));
  window->ShowMsg();
  EXPECT_TRUE(message->isVisible());
  EXPECT_EQ(message->text(), QStringLiteral("Loading..."));
  EXPECT_FALSE(window->updatesEnabled());
  window->HideMsg();
  EXPECT_FALSE(message->isVisible());
  EXPECT_TRUE(window->updatesEnabled());
}

TEST_F(StartUp, ExactScreenGivesAFullScreenWindowThatMinimisesWhenLeft) {
  TMainWindow window(
      test::Context(folder.home.path(), folder.locks.path(), TScreenInfo{800, 600, 16}), dialogs);
  ASSERT_TRUE(window.Initialized());
  EXPECT_TRUE(window.FullScreenMode());
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  window.ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window.Activated(); }));
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_TRUE(window.isMinimized());
}

TEST_F(StartUp, LargerScreenGivesAFramedWindowThatStaysWhenLeft) {
  TMainWindow window(
      test::Context(folder.home.path(), folder.locks.path(), TScreenInfo{1024, 768, 24}), dialogs);
  ASSERT_TRUE(window.Initialized());
  EXPECT_FALSE(window.FullScreenMode());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window.minimumSize(), QSize(800, 600));
  EXPECT_GT(window.maximumWidth(), 4000) << "resizable";
  window.ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window.Activated(); }));
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_FALSE(window.isMinimized());
}

TEST_F(StartUp, SmallScreenIsRefusedWithTheDocumentedMessage) {
  const TScreenInfo screens[] = {{640, 480, 32}, {800, 600, 15}};
  for (const TScreenInfo& screen : screens) {
    test::TScriptedDialogs boxes;
    TMainWindow window(test::Context(folder.home.path(), folder.locks.path(), screen), boxes);
    EXPECT_FALSE(window.Initialized());
    EXPECT_EQ(window.StopCode(), 1);
    EXPECT_EQ(boxes.errors, QStringList({"Minimum screen resolution is 800x600x16bit."}));
    EXPECT_FALSE(QFileInfo::exists(folder.home.filePath("Notes")))
        << "nothing is created before the screen check passes";
  }
}

TEST_F(StartUp, GrownWindowSpreadsThePicturesAndComesBackAtItsSize) {
  {
    auto window = Start();
    ASSERT_TRUE(window->Initialized());
    window->ShowAsPlanned();
    ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
    window->resize(1280, 900);
    ASSERT_TRUE(test::WaitUntil([&] { return window->MapImage().width() > 630; }));
    const TWindowLayout layout = LayOutWindow(1280, 900);
    QWidget* map = window->findChild<QWidget*>(QStringLiteral("Img"));
    EXPECT_EQ(map->geometry(), layout.map);
    EXPECT_EQ(window->MapImage().size(), layout.map.size());
    EXPECT_EQ(window->RadarImage().size(), layout.radar.size());
    EXPECT_EQ(window->Footer().Strip().width(), 1280);
    window->WindowCommands().KeepPlace();
  }
  auto again = Start();
  ASSERT_TRUE(again->Initialized());
  again->ShowAsPlanned();
  // Held to the screen it opens on (the offscreen screen is smaller than the size kept).
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  EXPECT_EQ(again->size(), QSize(std::max(800, std::min(1280, screen.width())),
                                 std::max(600, std::min(900, screen.height()))));
  EXPECT_EQ(ReadWindowSettings(std::filesystem::path(folder.home.path().toStdString()) /
                               kMainSettingsFile)
                .normal.width,
            1280);
}

}  // namespace
}  // namespace zen
