// How a user finds the quick menu: its button in a larger window, the context-menu key, the
// banner of a first start, and a filter field whose hint can be read.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/info_page.h"
#include "app/location_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/side_panel.h"
#include "app_fixture.h"
#include "display/fonts.h"
#include "tracking/settings.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

class QuickMenuFinding : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(folder.WriteSelfTestElements("Tle/test.tle"));
  }

  std::unique_ptr<TMainWindow> Start() {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = folder.home.filePath("Tle/test.tle");
    c.trackIds = {"25544", "25023"};
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    return test::StartWindow(c, dialogs);
  }
  void Close(std::unique_ptr<TMainWindow>& window) { test::CloseWindow(window, dialogs); }
  QString MainFile() const { return folder.home.filePath(QString::fromLatin1(kMainSettingsFile)); }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

// Sizes the window and waits until its controls have been laid out for the size.
void SizeWindow(TMainWindow& window, QSize size) {
  window.resize(size);
  ASSERT_TRUE(test::WaitUntil([&] { return window.Footer().Strip().width() == size.width(); }));
}

// The pointer over the panel's top-right corner, as a user brings up the button.
void PointAtCorner(TSidePanel& panel) {
  const QPoint inPanel(panel.width() - 4, 4);
  QWidget* corner = panel.childAt(inPanel);
  QWidget* target = corner != nullptr ? corner : &panel;
  const QPoint local = target->mapFrom(&panel, inPanel);
  QMouseEvent move(QEvent::MouseMove, QPointF(local), target->mapToGlobal(QPointF(local)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
}

TEST_F(QuickMenuFinding, TheButtonHidesWhenThePointerLeavesOnlyAtTheDocumentedSize) {
  auto window = Start();
  TSidePanel* panel = window->SidePanel();
  QToolButton* button = panel->QuickMenuButton();
  struct TCase {
    QSize size;
    bool shownAfterLeaving;
  };
  const TCase cases[] = {{{800, 600}, false}, {{1280, 900}, true}, {{800, 600}, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1x%2").arg(c.size.width()).arg(c.size.height()).toStdString());
    SizeWindow(*window, c.size);
    EXPECT_EQ(button->isVisible(), c.shownAfterLeaving) << "before the pointer came";
    PointAtCorner(*panel);
    EXPECT_TRUE(button->isVisible()) << "the corner brings it up at every size";
    // Out of the window, and over the window's own surface (the footer strip).
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window.get(), &leave);
    EXPECT_EQ(button->isVisible(), c.shownAfterLeaving) << "after leaving";
    PointAtCorner(*panel);
    const QPoint footer(window->width() / 2, window->height() - 3);
    QMouseEvent overFooter(QEvent::MouseMove, QPointF(footer), window->mapToGlobal(QPointF(footer)),
                           Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &overFooter);
    EXPECT_EQ(button->isVisible(), c.shownAfterLeaving) << "over the footer";
    // Whole in the window, in the panel's top-right corner.
    const QRect place(button->mapTo(window.get(), QPoint(0, 0)), button->size());
    EXPECT_EQ(place.size(), QSize(kQuickMenuButtonSize, kQuickMenuButtonSize));
    EXPECT_TRUE(window->rect().contains(place));
    EXPECT_EQ(place.top(), panel->y());
  }
  EXPECT_TRUE(button->toolTip().startsWith(QStringLiteral("Quick menu: Load TLE..., Station...")))
      << qPrintable(button->toolTip());
}

TEST_F(QuickMenuFinding, AScreenShotLeavesOutTheKeptButtonWhichComesBackAfter) {
  auto window = Start();
  SizeWindow(*window, {1280, 900});
  QToolButton* button = window->SidePanel()->QuickMenuButton();
  ASSERT_TRUE(button->isVisible());
  const QRect place(button->mapTo(window.get(), QPoint(0, 0)), button->size());
  const QImage with = window->grab().toImage();
  button->hide();
  const QImage without = window->grab().toImage();
  button->show();
  ASSERT_NE(with.copy(place), without.copy(place)) << "the button draws nothing to tell";

  dialogs.notices.clear();
  window->WindowCommands().ScreenShot(false);
  ASSERT_EQ(dialogs.notices.size(), 1) << qPrintable(dialogs.errors.join("\n"));
  const QImage shot(folder.home.filePath("Output/ScrSav000.bmp"));
  ASSERT_EQ(shot.size(), without.size());
  EXPECT_EQ(shot.copy(place).convertToFormat(QImage::Format_RGB32),
            without.copy(place).convertToFormat(QImage::Format_RGB32));
  EXPECT_TRUE(button->isVisible());
}

// QTest releases Shift with Shift still among the modifiers, which the application then takes
// as held; a release without any leaves the keyboard as a user's hands leave it.
void LetGoOfTheKeys(QWidget& window) {
  QTest::keyRelease(&window, Qt::Key_Shift, Qt::NoModifier);
  ASSERT_FALSE(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
}

// What opened on the context-menu key: the quick menu, or another popup with its entries.
struct TOpened {
  bool quickMenu = false;
  QStringList entries;  // captions without their keys and '&'
  bool any = false;
};

// Sends a real key (or the context-menu request that some systems make of it) and takes note
// of the popup that opens, closing it again; menus that run their own loop are closed there.
TOpened OpenWithMenuKey(TMainWindow& window, QWidget* focus, Qt::KeyboardModifiers modifiers,
                        bool asRequest) {
  TOpened opened;
  QTimer watch;
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr || opened.any) return;
    opened.any = true;
    opened.quickMenu = menu == &window.QuickMenu();
    for (QAction* a : menu->actions()) {
      if (!a->isSeparator()) opened.entries << a->text().section('\t', 0, 0).remove('&');
    }
    menu->close();
  });
  watch.start();
  if (asRequest) {
    const QPoint at = focus->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at), modifiers);
    QApplication::sendEvent(focus, &request);
  } else {
    QTest::keyClick(focus, Qt::Key_Menu, modifiers);
    LetGoOfTheKeys(window);
  }
  test::WaitUntil([&] { return opened.any; }, 2000);
  watch.stop();
  while (QApplication::activePopupWidget() != nullptr) QApplication::activePopupWidget()->close();
  return opened;
}

TEST_F(QuickMenuFinding, TheMenuKeyOpensTheFocusedControlsOwnMenuElseTheQuickMenu) {
  auto window = Start();
  TSidePanel* panel = window->SidePanel();
  TKeyCommands& keys = window->KeyCommands();
  // In simulation, where the simulated-time field takes typing.
  keys.FormKeyDown(Qt::Key_End, Qt::ControlModifier);
  struct TRow {
    const char* control;
    int pageKey;       // F1..F7 shows its page
    TListTab listTab;  // the side panel's tab shown meanwhile
    QWidget* widget;
    const char* ownEntry;  // an entry of the control's own menu; nullptr: it has none
  };
  const std::vector<TRow> rows = {
      {"Loaded list", Qt::Key_F1, TListTab::Loaded, panel->LoadedList(), "Add selected"},
      {"Tracked list", Qt::Key_F1, TListTab::Tracked, panel->TrackedList(), "Remove selected"},
      {"live table", Qt::Key_F1, TListTab::Info,
       window->findChild<QWidget*>(QStringLiteral("infoz")), "Value to clipboard"},
      {"orbit table", Qt::Key_F4, TListTab::Loaded,
       window->findChild<QWidget*>(QStringLiteral("infozO")), "Table to clipboard"},
      {"filter field", Qt::Key_F1, TListTab::Loaded, panel->FilterField(), "Select All"},
      {"simulated time field", Qt::Key_F1, TListTab::Loaded, window->MainPage()->simTime, "Paste"},
      {"location list", Qt::Key_F3, TListTab::Loaded, window->LocationPage()->list, nullptr},
      {"Real time choice", Qt::Key_F1, TListTab::Loaded, window->MainPage()->realTime, nullptr},
      {"page tabs", Qt::Key_F1, TListTab::Loaded,
       window->findChild<QWidget*>(QStringLiteral("pageTabs")), nullptr},
      {"List button", Qt::Key_F1, TListTab::Loaded, panel->ListButton(), nullptr},
  };
  for (const QSize size : {QSize(800, 600), QSize(1280, 900)}) {
    SizeWindow(*window, size);
    for (const TRow& row : rows) {
      for (bool asRequest : {false, true}) {
        SCOPED_TRACE(std::string(row.control) + (asRequest ? ", request" : ", key") + " at " +
                     std::to_string(size.width()));
        keys.FormKeyDown(row.pageKey, Qt::NoModifier);
        panel->SetListTab(row.listTab);
        QWidget* control = row.widget;
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(control->isVisible());
        control->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(window->focusWidget(), control);

        const TOpened plain = OpenWithMenuKey(*window, control, Qt::NoModifier, asRequest);
        ASSERT_TRUE(plain.any) << "no popup opened";
        EXPECT_EQ(plain.quickMenu, row.ownEntry == nullptr) << qPrintable(plain.entries.join(", "));
        if (row.ownEntry != nullptr) {
          EXPECT_TRUE(plain.entries.contains(QString::fromLatin1(row.ownEntry)))
              << qPrintable(plain.entries.join(", "));
        }
        control->setFocus(Qt::OtherFocusReason);
        const TOpened shifted = OpenWithMenuKey(*window, control, Qt::ShiftModifier, asRequest);
        EXPECT_TRUE(shifted.quickMenu) << "Shift: " << qPrintable(shifted.entries.join(", "));
        EXPECT_TRUE(shifted.entries.contains(QStringLiteral("Load TLE...")));
      }
    }
  }
}

TEST_F(QuickMenuFinding, AFirstStartSaysWhereTheQuickMenuIsOnce) {
  const fs::path main = MainFile().toStdString();
  struct TCase {
    const char* folder;
    std::function<void()> prepare;
    bool tells;
  };
  const TCase cases[] = {
      {"new folder without a main file", [&] { fs::remove(main); }, true},
      {"new folder with the shipped main file",
       [&] {
         fs::remove(main);
         fs::copy_file(std::string(ZEN_SOURCE_DIR "/resources/Setup/zenarith.set"), main);
       },
       true},
      {"folder used before",
       [&] { std::ofstream(main) << "[Main]\r\nAutoSave=1\r\nStarted=1\r\n"; }, false},
      {"main file that cannot be read",
       [&] {
         fs::remove(main);
         fs::create_directory(main);
       },
       false},
  };
  fs::create_directories(main.parent_path());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.folder);
    std::error_code ec;
    fs::remove_all(main, ec);
    c.prepare();
    auto window = Start();
    const QString expected = c.tells ? FirstStartBanner() : FooterBanner();
    EXPECT_EQ(window->Footer().Texts[kFooterHint], expected);
    EXPECT_EQ(window->Footer().Shown, expected);
    // The banner comes back after the map's readout as long as the window runs.
    auto* map = window->findChild<QWidget*>(QStringLiteral("Img"));
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), map->mapToGlobal(QPointF(300, 200)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(map, &move);
    EXPECT_NE(window->Footer().Texts[kFooterHint], expected);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(map, &leave);
    EXPECT_EQ(window->Footer().Texts[kFooterHint], expected);
    // Once the quick menu has been opened, the usual banner.
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.get(), Qt::Key_Menu,
                    Qt::ShiftModifier);
    LetGoOfTheKeys(*window);
    EXPECT_TRUE(test::WaitUntil([&] { return window->QuickMenu().isVisible(); }));
    window->QuickMenu().close();
    EXPECT_EQ(window->Footer().Texts[kFooterHint], FooterBanner());
    Close(window);
    if (fs::is_directory(main)) {
      EXPECT_TRUE(fs::is_empty(main)) << "nothing was written into what could not be read";
      fs::remove(main);
      continue;
    }
    // The next start in the same folder says nothing, and the settings read are kept.
    window = Start();
    EXPECT_EQ(window->Footer().Texts[kFooterHint], FooterBanner());
    EXPECT_TRUE(ReadMainSettings(main, 0.0).startedBefore);
    Close(window);
  }
  // The tip fits the footer of the documented window.
  const QFontMetrics metrics(ZenFont(TFontFace::MsSansSerif, 8));
  EXPECT_LE(metrics.horizontalAdvance(FirstStartBanner()), 800 - 20);
}

// WCAG's relative luminance of an sRGB colour.
double Luminance(QColor c) {
  auto channel = [](double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(QColor a, QColor b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour seen where fg with its alpha is drawn over bg.
QColor Over(QColor fg, QColor bg) {
  const double a = fg.alphaF();
  return QColor::fromRgbF(static_cast<float>(fg.redF() * a + bg.redF() * (1 - a)),
                          static_cast<float>(fg.greenF() * a + bg.greenF() * (1 - a)),
                          static_cast<float>(fg.blueF() * a + bg.blueF() * (1 - a)));
}

TEST_F(QuickMenuFinding, TheFiltersHintReadsOnTheDarkField) {
  auto window = Start();
  QLineEdit* filter = window->SidePanel()->FilterField();
  ASSERT_TRUE(filter->text().isEmpty());
  ASSERT_FALSE(filter->placeholderText().isEmpty());
  const QPalette palette = filter->palette();
  const QColor field = palette.color(QPalette::Active, QPalette::Base);
  const QColor hint = Over(palette.color(QPalette::Active, QPalette::PlaceholderText), field);
  EXPECT_GE(Contrast(hint, field), 4.5) << qPrintable(hint.name());
  // Dimmer than typed text, so it still reads as a hint.
  EXPECT_LT(Luminance(hint), Luminance(palette.color(QPalette::Active, QPalette::Text)));

  // On the screen: the strongest pixel of the drawn hint against the field behind it.
  window->SidePanel()->LoadedList()->setFocus();
  const QImage drawn = filter->grab().toImage();
  const QColor behind = drawn.pixelColor(filter->width() / 2, filter->height() / 2);
  double strongest = 0;
  for (int y = 3; y < drawn.height() - 3; ++y) {
    for (int x = 3; x < drawn.width() / 2; ++x) {
      strongest = std::max(strongest, Contrast(drawn.pixelColor(x, y), behind));
    }
  }
  EXPECT_GE(strongest, 4.5);
}

}  // namespace
}  // namespace zen
