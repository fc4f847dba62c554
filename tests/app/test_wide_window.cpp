// The window larger than the smallest one: pages spread across the width, names and values
// take the room, and the map's ocean fills the bands around the map.
#include <gtest/gtest.h>

#include <QListView>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>

#include "app/location_page.h"
#include "app/main_page.h"
#include "app/options_page.h"
#include "app/prediction_page.h"
#include "app/prediction_setup_page.h"
#include "app/window_plan.h"
#include "app_fixture.h"
#include "display/vector_map.h"

namespace zen {
namespace {

class WideWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData() && folder.CopyData());
    // On a screen larger than the window, which may then be resized.
    window = test::StartWindow(
        test::Context(folder.home.path(), folder.locks.path(), TScreenInfo{1920, 1080, 24}),
        dialogs);
  }
  void ResizeTo(QSize size) {
    window->showNormal();
    window->resize(size);
    ASSERT_TRUE(test::WaitUntil([&] { return window->size() == size; }));
    QApplication::processEvents();
  }
  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
};

TEST_F(WideWindow, PagesSpreadWithoutOverlapAndGiveTheRoomToNames) {
  auto* stack = window->findChild<QStackedWidget*>(QStringLiteral("pages"));
  auto* tabs = window->findChild<QTabBar*>(QStringLiteral("pageTabs"));
  const auto controls = [&] {  // each page laid out by showing it
    for (int page = tabs->count() - 1; page >= 0; --page) tabs->setCurrentIndex(page);
    std::vector<QWidget*> shown;
    for (QWidget* page : std::initializer_list<QWidget*>{
             window->MainPage(), window->OptionsPage(), window->LocationPage(),
             stack->widget(kPageInfo), window->PredictionSetupPage(), window->PredictionPage(),
             stack->widget(kPageAbout)}) {
      for (QWidget* c : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!c->isWindow() && !c->isHidden()) shown.push_back(c);
      }
    }
    return shown;
  };
  const auto places = [&] {
    std::vector<QRect> at;
    for (QWidget* c : controls()) at.push_back(c->geometry());
    return at;
  };
  const auto rooms = [&] {  // of a table's names, a list's and the orbit values, once laid out
    return std::vector<int>{
        window->PredictionPage()->resultz->columnWidth(1),
        window->LocationPage()->list->viewport()->width(),
        window->findChild<QTableView*>(QStringLiteral("infozO"))->columnWidth(1)};
  };
  ASSERT_EQ(window->size(), QSize(800, 600));
  const std::vector<QRect> documented = places();
  const std::vector<int> documentedRooms = rooms();
  for (const QSize size : {QSize(1280, 900), QSize(1920, 1080)}) {
    ResizeTo(size);
    std::map<QWidget*, QRegion> taken;
    for (QWidget* c : controls()) {
      QRegion& page = taken[c->parentWidget()];
      EXPECT_FALSE(page.intersects(c->geometry())) << c->metaObject()->className();
      page += c->geometry();
    }
    for (const auto& [page, region] : taken) {
      EXPECT_TRUE(page->rect().contains(region.boundingRect()));
      EXPECT_GT(region.boundingRect().right(), page->width() * 3 / 4);
    }
    const std::vector<int> wider = rooms();
    for (size_t i = 0; i < wider.size(); ++i) EXPECT_GT(wider[i], documentedRooms[i] + 40) << i;
  }
  ResizeTo({800, 600});
  EXPECT_EQ(places(), documented);
  EXPECT_EQ(rooms(), documentedRooms);
}

TEST_F(WideWindow, OceanFillsTheBandsAndThePointerThereShowsTheBanner) {
  ResizeTo({1920, 1080});
  const TWindowLayout layout = LayOutWindow(1920, 1080);
  QWidget* map = window->findChild<QWidget*>(QStringLiteral("Img"));
  ASSERT_EQ(map->geometry(), layout.map);
  const QRegion bands = QRegion(layout.mapSpace).subtracted(layout.map);
  ASSERT_FALSE(bands.isEmpty());
  const QImage shown = window->grab().toImage();
  for (const QRect& band : bands) {
    for (int y = band.top(); y <= band.bottom(); ++y) {
      for (int x = band.left(); x <= band.right(); ++x) {
        ASSERT_EQ(shown.pixelColor(x, y), kMapOceanColour) << x << "," << y;
      }
    }
  }
  // Over the map the footer reads the place; over a band, the banner again.
  for (QWidget* over : {map, static_cast<QWidget*>(window.get())}) {
    const QPoint at = over == map ? map->rect().center() : bands.begin()->center();
    QMouseEvent move(QEvent::MouseMove, at, over->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(over, &move);
    EXPECT_EQ(window->Footer().Texts[kFooterHint] == FirstStartBanner(), over != map);
  }
}

}  // namespace
}  // namespace zen
