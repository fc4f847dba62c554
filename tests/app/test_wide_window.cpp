// The window larger than the smallest one: pages and their controls across the width, the
// names and values taking the room, and the map's ocean around the map.
#include <gtest/gtest.h>

#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QRegion>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <map>
#include <string>

#include "app/info_page.h"
#include "app/location_page.h"
#include "app/main_page.h"
#include "app/options_page.h"
#include "app/prediction_page.h"
#include "app/prediction_setup_page.h"
#include "app/side_panel.h"
#include "app/window_plan.h"
#include "app_fixture.h"
#include "display/vector_map.h"
#include "prediction/pass_lines.h"

namespace zen {
namespace {

const QSize kSmallest(800, 600);
const QSize kWiderSizes[] = {{1280, 900}, {1920, 1080}};

class WideWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(folder.WriteSelfTestElements("test.tle"));
    // A screen larger than the window, so that the window is framed and may be resized.
    TStartContext c =
        test::Context(folder.home.path(), folder.locks.path(), TScreenInfo{1920, 1080, 24});
    c.elementFile = folder.home.filePath("test.tle");
    c.trackIds = {"25544", "25023"};
    window = test::StartWindow(c, dialogs);
    ASSERT_TRUE(window->Initialized());
  }
  void TearDown() override {
    if (window) test::CloseWindow(window, dialogs);
  }

  void ResizeTo(QSize size) {
    window->showNormal();
    window->resize(size);
    ASSERT_TRUE(test::WaitUntil([&] { return window->size() == size; }));
    QApplication::processEvents();
  }

  // Each page's own widget, whose direct children are its controls; a page is laid out for
  // the window's size when it is shown.
  std::map<std::string, QWidget*> Pages() const {
    auto* stack = window->findChild<QStackedWidget*>(QStringLiteral("pages"));
    auto* tabs = window->findChild<QTabBar*>(QStringLiteral("pageTabs"));
    for (int page = tabs->count() - 1; page >= 0; --page) tabs->setCurrentIndex(page);
    return {{"Main", window->MainPage()},
            {"Options", window->OptionsPage()},
            {"Location", window->LocationPage()},
            {"Info", stack->widget(kPageInfo)},
            {"Setup", window->PredictionSetupPage()},
            {"Prediction", window->PredictionPage()},
            {"About", stack->widget(kPageAbout)}};
  }

  // Where every control shown on every page stands.
  std::map<std::string, QRect> ControlPlaces() const {
    std::map<std::string, QRect> places;
    for (const auto& [name, page] : Pages()) {
      int i = 0;
      for (QWidget* c : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (c->isWindow() || c->isHidden()) continue;
        places[name + " " + std::to_string(i++) + " " + c->metaObject()->className()] =
            c->geometry();
      }
    }
    return places;
  }

  // The room of each list's and table's name column, and of the information tables' values.
  std::map<std::string, int> NameRoom() const {
    TPredictionPage* p = window->PredictionPage();
    // The side panel lays out the list it shows.
    TSidePanel* side = window->SidePanel();
    side->SetListTab(TListTab::Loaded);
    const int loaded = side->LoadedList()->viewport()->width();
    side->SetListTab(TListTab::Tracked);
    const int tracked = side->TrackedList()->viewport()->width();
    side->SetListTab(TListTab::Info);
    return {
        {"passes", p->resultz->columnWidth(1)},
        {"flares", p->resultzF->columnWidth(1)},
        {"one line", p->passLinesView->columnWidth(static_cast<int>(TPassColumn::Sat))},
        {"locations", window->LocationPage()->list->viewport()->width()},
        {"loaded", loaded},
        {"tracked", tracked},
        {"orbit values",
         window->findChild<QTableWidget*>(QStringLiteral("infozO"))->columnWidth(1)},
        {"live values", window->findChild<QTableWidget*>(QStringLiteral("infoz"))->columnWidth(1)},
    };
  }

  // What the passes table's other columns take together.
  int OtherPassColumns() const {
    const QTableView* t = window->PredictionPage()->resultz;
    int sum = 0;
    for (int c = 0; c < t->model()->columnCount(); ++c) sum += c == 1 ? 0 : t->columnWidth(c);
    return sum;
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
};

TEST_F(WideWindow, PagesSpreadTheirControlsWithoutOverlapAndGiveTheRoomToNames) {
  ASSERT_EQ(window->size(), kSmallest);
  const std::map<std::string, QRect> documentedPlaces = ControlPlaces();
  const std::map<std::string, int> documentedRoom = NameRoom();
  const int otherColumns = OtherPassColumns();
  ASSERT_GT(documentedPlaces.size(), 40u);
  for (const QSize& size : kWiderSizes) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    ResizeTo(size);
    // The window's parts side by side, the tabs over the pages' last rows as documented.
    const struct {
      const char* name;
      QRect place;
    } parts[] = {
        {"pages", window->findChild<QWidget*>(QStringLiteral("pages"))->geometry()},
        {"tabs", window->findChild<QWidget*>(QStringLiteral("pageTabs"))->geometry()},
        {"map", window->findChild<QWidget*>(QStringLiteral("Img"))->geometry()},
        {"radar", window->findChild<QWidget*>(QStringLiteral("Lgo"))->geometry()},
        {"side panel", window->SidePanel()->geometry()},
        {"footer", QRect(0, size.height() - kFooterHeight, size.width(), kFooterHeight)},
    };
    for (size_t i = 0; i < std::size(parts); ++i) {
      for (size_t j = i + 1; j < std::size(parts); ++j) {
        const bool tabsOverPages = i == 0 && j == 1;
        EXPECT_EQ(parts[i].place.intersects(parts[j].place), tabsOverPages)
            << parts[i].name << " and " << parts[j].name;
      }
    }
    const QRect pages = parts[0].place;
    EXPECT_GT(pages.width(), 602);
    // Every control on its page, none over another, and the controls reach across the page.
    for (const auto& [name, page] : Pages()) {
      ASSERT_EQ(page->size(), pages.size()) << name;
      std::vector<QRect> shown;
      int rightmost = 0;
      for (QWidget* c : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (c->isWindow() || c->isHidden()) continue;
        EXPECT_TRUE(page->rect().contains(c->geometry()))
            << name << " " << c->metaObject()->className();
        for (const QRect& other : shown) {
          EXPECT_FALSE(other.intersects(c->geometry()))
              << name << " " << c->metaObject()->className();
        }
        shown.push_back(c->geometry());
        rightmost = std::max(rightmost, c->geometry().right());
      }
      EXPECT_GT(rightmost, pages.width() * 3 / 4) << name;
    }
    // The names and values have the room, the other columns keep theirs.
    for (const auto& [name, room] : NameRoom()) {
      EXPECT_GT(room, documentedRoom.at(name) + 40) << name;
    }
    EXPECT_EQ(OtherPassColumns(), otherColumns);
  }
  // Back at the smallest size, every control is where it was made and every column as wide.
  ResizeTo(kSmallest);
  EXPECT_EQ(ControlPlaces(), documentedPlaces);
  EXPECT_EQ(NameRoom(), documentedRoom);
}

TEST_F(WideWindow, OceanAroundTheMapAndThePointerThereShowsTheBanner) {
  const TWindowLayout smallest = LayOutWindow(kSmallest.width(), kSmallest.height());
  EXPECT_EQ(smallest.mapSpace, smallest.map) << "no bands at the documented size";
  QWidget* map = window->findChild<QWidget*>(QStringLiteral("Img"));
  for (const QSize& size : kWiderSizes) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    ResizeTo(size);
    const TWindowLayout layout = LayOutWindow(size.width(), size.height());
    ASSERT_EQ(map->geometry(), layout.map);
    const QRegion bands = QRegion(layout.mapSpace).subtracted(layout.map);
    ASSERT_FALSE(bands.isEmpty());
    const QImage shown = window->grab().toImage();
    int ocean = 0;
    int pixels = 0;
    for (const QRect& band : bands) {
      for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
          ++pixels;
          if (shown.pixelColor(x, y) == kMapOceanColour) ++ocean;
        }
      }
    }
    EXPECT_EQ(ocean, pixels);
    // Just outside the bands, the window's own black.
    EXPECT_NE(shown.pixelColor(layout.mapSpace.left() - 1, layout.mapSpace.center().y()),
              kMapOceanColour);

    // Over the map the footer's hint reads the place; over a band it is the banner again (shown
    // once no alert or notice stands before it).
    const QPoint onMap = map->rect().center();
    QMouseEvent overMap(QEvent::MouseMove, onMap, map->mapToGlobal(onMap), Qt::NoButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(map, &overMap);
    ASSERT_NE(window->Footer().Texts[kFooterHint], FirstStartBanner());
    const QPoint onBand = bands.begin()->center();
    QMouseEvent overBand(QEvent::MouseMove, onBand, window->mapToGlobal(onBand), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &overBand);
    EXPECT_EQ(window->Footer().Texts[kFooterHint], FirstStartBanner()) << "a new program folder";
  }
}

}  // namespace
}  // namespace zen
