// The help window: the start page at the first opening, the page last viewed afterwards, the
// ways to close it, missing pages, anchors and links that leave the help.
#include <gtest/gtest.h>

#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "help/help_window.h"
#include "help_fixture.h"

namespace zen {
namespace {

const QString kIndex = QStringLiteral(
    "<html><body><h1>Contents</h1><p><a href=\"second.htm\">Second page</a></p></body></html>");

// A page long enough to scroll, with an anchor near its end.
QString LongPage() {
  QString html = QStringLiteral("<html><body><p><a href=\"#end\">To the end</a></p>");
  for (int i = 0; i < 120; ++i) html += QStringLiteral("<p>Line %1</p>").arg(i);
  return html + QStringLiteral("<h2><a name=\"end\">End</a></h2></body></html>");
}

void PressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(target, &release);
}

class HelpWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureWidgetApplication(); }

  void SetUp() override {
    ASSERT_TRUE(folder.home.isValid());
    mainWindow.setGeometry(100, 80, 800, 600);
    mainWindow.show();
  }

  // Opens the window modally; inside the modal loop, look runs and then close closes it. A
  // window that does not close is closed by a guard after a few seconds with the result 99.
  void OpenAndClose(THelpWindow& help, const std::function<void()>& look,
                    const std::function<void()>& close) {
    QTimer::singleShot(0, &help, [&] {
      look();
      close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &help, [&] { help.done(99); });
    guard.start(3000);
    help.Open(folder.StartPage());
    EXPECT_NE(help.result(), 99) << "the window did not close";
    EXPECT_FALSE(help.isVisible());
  }

  QWidget mainWindow;
  test::THelpFolder folder;
};

TEST_F(HelpWindow, OpensTheStartPageFirstAndThePageLastViewedAfterwards) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), kIndex));
  ASSERT_TRUE(folder.Write(QStringLiteral("second.htm"),
                           QStringLiteral("<html><body><p>The second page</p></body></html>")));
  THelpWindow help(&mainWindow);
  EXPECT_FALSE(help.HelpStartShown());

  QUrl firstShown;
  bool modal = false;
  OpenAndClose(
      help,
      [&] {
        firstShown = help.Browser()->source();
        modal = help.isModal() && help.isVisible();
        help.Follow(QUrl(QStringLiteral("second.htm")));
      },
      [&] { PressKey(help.Browser(), Qt::Key_Escape); });
  EXPECT_EQ(firstShown, QUrl::fromLocalFile(folder.StartPage()));
  EXPECT_TRUE(modal);
  EXPECT_TRUE(help.HelpStartShown());

  QUrl secondShown;
  QString secondText;
  OpenAndClose(
      help,
      [&] {
        secondShown = help.Browser()->source();
        secondText = help.Browser()->toPlainText();
      },
      [&] { help.ExitButton()->click(); });
  EXPECT_EQ(secondShown, QUrl::fromLocalFile(folder.home.filePath("Help/second.htm")));
  EXPECT_TRUE(secondText.contains(QStringLiteral("The second page")));
}

TEST_F(HelpWindow, EnterInThePagesDoesNotCloseTheWindow) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), kIndex));
  THelpWindow help(&mainWindow);
  bool openAfterEnter = false;
  OpenAndClose(
      help,
      [&] {
        PressKey(help.Browser(), Qt::Key_Return);
        QApplication::processEvents();
        openAfterEnter = help.isVisible();
      },
      [&] { PressKey(help.Browser(), Qt::Key_Escape); });
  EXPECT_TRUE(openAfterEnter);
  EXPECT_EQ(help.ExitButton()->focusPolicy(), Qt::NoFocus) << "Tab must not reach \"Exit\"";
}

TEST_F(HelpWindow, TabMarksALinkAndEnterFollowsIt) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), kIndex));
  ASSERT_TRUE(folder.Write(QStringLiteral("second.htm"),
                           QStringLiteral("<html><body><p>The second page</p></body></html>")));
  THelpWindow help(&mainWindow);
  QUrl followed;
  OpenAndClose(
      help,
      [&] {
        PressKey(help.Browser(), Qt::Key_Tab);
        PressKey(help.Browser(), Qt::Key_Return);
        QApplication::processEvents();
        followed = help.Browser()->source();
      },
      [&] { help.ExitButton()->click(); });
  EXPECT_EQ(followed, QUrl::fromLocalFile(folder.home.filePath("Help/second.htm")));
}

TEST_F(HelpWindow, IsCentredOnTheMainWindow) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), kIndex));
  THelpWindow help(&mainWindow);
  QPoint helpCentre;
  OpenAndClose(
      help, [&] { helpCentre = help.frameGeometry().center(); }, [&] { help.reject(); });
  QPoint mainCentre = mainWindow.frameGeometry().center();
  // Frames and halves of odd sizes may put the centres a pixel or two apart.
  EXPECT_LE((helpCentre - mainCentre).manhattanLength(), 4)
      << helpCentre.x() << "," << helpCentre.y() << " vs " << mainCentre.x() << ","
      << mainCentre.y();
}

TEST_F(HelpWindow, AMissingHelpFolderShowsPageNotFound) {
  THelpWindow help(&mainWindow);
  help.Prepare(folder.StartPage());
  QString text = help.Browser()->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("Page not found"))) << qPrintable(text);
  EXPECT_TRUE(text.contains(folder.StartPage())) << qPrintable(text);
  EXPECT_TRUE(help.HelpStartShown());
}

TEST_F(HelpWindow, ABrokenLinkShowsPageNotFoundAndAltLeftGoesBack) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), kIndex));
  THelpWindow help(&mainWindow);
  help.Prepare(folder.StartPage());
  help.Follow(QUrl(QStringLiteral("second.htm")));
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("Page not found")));
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("second.htm")));
  PressKey(help.Browser(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(help.Browser()->source(), QUrl::fromLocalFile(folder.StartPage()));
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("Second page")));
  PressKey(help.Browser(), Qt::Key_Right, Qt::AltModifier);
  EXPECT_TRUE(help.Browser()->source().toString().endsWith(QStringLiteral("/second.htm")));
}

TEST_F(HelpWindow, AnAnchorLinkScrollsToItsPlaceOnTheSamePage) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), LongPage()));
  THelpWindow help(&mainWindow);
  help.Prepare(folder.StartPage());
  help.show();
  QApplication::processEvents();
  QScrollBar* bar = help.Browser()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0) << "the page must be longer than the window";
  EXPECT_EQ(bar->value(), 0);
  help.Follow(QUrl(QStringLiteral("#end")));
  QApplication::processEvents();
  EXPECT_EQ(help.Browser()->source().fileName(), QStringLiteral("index.htm"));
  EXPECT_EQ(help.Browser()->source().fragment(), QStringLiteral("end"));
  EXPECT_GT(bar->value(), bar->maximum() / 2);
  // The top of the scroll bar stays clear of the "Exit" button above it.
  QRect barArea(bar->mapTo(&help, QPoint(0, 0)), bar->size());
  EXPECT_FALSE(barArea.intersects(help.ExitButton()->geometry()));
  help.hide();
}

// Paragraphs that wrap at any width the window takes.
QString WidePage() {
  QString html = QStringLiteral("<html><body>");
  for (int i = 0; i < 40; ++i) {
    html += QStringLiteral("<p>") +
            QStringLiteral("Words to fill the line from edge to edge ").repeated(6) +
            QStringLiteral("</p>");
  }
  return html + QStringLiteral("</body></html>");
}

// The window opens at its documented size on the smallest screen and can be resized down to a
// minimum; the pages grow and shrink with it, "Exit" keeps to the top right, and no line of text
// runs under it.
TEST_F(HelpWindow, ResizesWithItsPagesAndExitNeverCoversTheirText) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), WidePage()));
  THelpWindow help(&mainWindow);
  // The documented size is the one it opens with on the smallest screen.
  help.FitScreen(QSize(800, 600));
  help.Prepare(folder.StartPage());
  help.show();
  QApplication::processEvents();
  EXPECT_EQ(help.size(), QSize(kHelpClientWidth, kHelpClientHeight));

  const struct {
    QSize asked;
    QSize shown;
  } rows[] = {
      {{kHelpClientWidth, kHelpClientHeight}, {kHelpClientWidth, kHelpClientHeight}},
      {{900, 640}, {900, 640}},
      {{1200, 300}, {1200, 300}},
      {{420, 500}, {420, 500}},
      {{100, 80}, {kHelpMinimumWidth, kHelpMinimumHeight}},
  };
  int previousTextWidth = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.asked.width()) + " x " + std::to_string(row.asked.height()));
    help.resize(row.asked);
    QApplication::processEvents();
    ASSERT_EQ(help.size(), row.shown);
    QTextBrowser* browser = help.Browser();
    const QRect exit = help.ExitButton()->geometry();
    const QRect text(browser->viewport()->mapTo(&help, QPoint(0, 0)), browser->viewport()->size());
    EXPECT_EQ(exit.topRight(), QPoint(help.width() - 1 - 5, 8));
    EXPECT_EQ(exit.size(), QSize(35, 25));
    EXPECT_FALSE(exit.intersects(text));
    // The pages fill the height and every column left of the button's.
    EXPECT_EQ(browser->geometry(), QRect(0, 0, exit.left() - 5, help.height()));
    // The text is laid out across the whole view, however wide it has become.
    const int textWidth = static_cast<int>(browser->document()->textWidth());
    EXPECT_EQ(textWidth, text.width());
    EXPECT_NE(textWidth, previousTextWidth);
    previousTextWidth = textWidth;
    // And drawn nowhere else: below the button its column shows only the background (the
    // bottom rows hold the size grip).
    const QImage shown = help.grab().toImage();
    const QColor background = help.palette().color(QPalette::Window);
    for (int y = exit.bottom() + 2; y < help.height() - 20; y += 3) {
      for (int x = browser->geometry().right() + 1; x < help.width(); ++x) {
        ASSERT_EQ(shown.pixelColor(x, y), background) << x << ", " << y;
      }
    }
  }
}

TEST_F(HelpWindow, WebAndMailLinksGoToTheDesktopAndNothingElseLeavesTheHelp) {
  ASSERT_TRUE(folder.Write(QStringLiteral("index.htm"), kIndex));
  THelpWindow help(&mainWindow);
  std::vector<QUrl> handedOut;
  help.openExternal = [&](const QUrl& link) { handedOut.push_back(link); };
  help.Prepare(folder.StartPage());
  const QUrl start = help.Browser()->source();

  struct TCase {
    const char* link;
    bool handedToDesktop;
  };
  const TCase cases[] = {
      {"https://www.geonames.org/", true},  {"http://www.naturalearthdata.com/", true},
      {"mailto:someone@example.org", true}, {"javascript:alert(1)", false},
      {"ftp://example.org/file", false},
  };
  for (const TCase& c : cases) {
    handedOut.clear();
    help.Follow(QUrl(QString::fromLatin1(c.link)));
    EXPECT_EQ(handedOut.size(), c.handedToDesktop ? 1u : 0u) << c.link;
    if (c.handedToDesktop && !handedOut.empty()) {
      EXPECT_EQ(handedOut.front(), QUrl(QString::fromLatin1(c.link)));
    }
    EXPECT_EQ(help.Browser()->source(), start) << c.link << " must not open in the viewer";
  }
}

}  // namespace
}  // namespace zen
