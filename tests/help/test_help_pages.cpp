// The help pages shipped in resources/Help: every page opens in the help window, every link
// leads to a page (and an anchor) that exists, and every page can be reached from the start
// page and leads back to it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>
#include <deque>

#include "help/help_window.h"
#include "help_fixture.h"

namespace zen {
namespace {

const QString kHelpFolder = QStringLiteral(ZEN_SOURCE_DIR "/resources/Help");

struct TLink {
  QString attribute;  // "href" or "src"
  QString target;     // as written
};

QString ReadUtf8(const QString& path, bool* valid = nullptr) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = file.readAll();
  QStringDecoder decode(QStringDecoder::Utf8);
  QString text = decode(bytes);
  if (valid != nullptr) *valid = !decode.hasError();
  return text;
}

// Every href and src attribute of the page, read from its text, not from Qt's parser, so a link
// that the parser drops is still checked.
std::vector<TLink> LinksOf(const QString& html) {
  static const QRegularExpression attribute(QStringLiteral("\\b(href|src)\\s*=\\s*\"([^\"]*)\""),
                                            QRegularExpression::CaseInsensitiveOption);
  std::vector<TLink> links;
  for (auto it = attribute.globalMatch(html); it.hasNext();) {
    QRegularExpressionMatch m = it.next();
    links.push_back({m.captured(1).toLower(), m.captured(2)});
  }
  return links;
}

// The anchors a browser can scroll to, as Qt's HTML reader finds them.
QSet<QString> AnchorsOf(const QString& html) {
  QTextDocument document;
  document.setHtml(html);
  QSet<QString> anchors;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (const QString& name : block.charFormat().anchorNames()) anchors.insert(name);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      for (const QString& name : it.fragment().charFormat().anchorNames()) anchors.insert(name);
    }
  }
  return anchors;
}

bool IsWebOrMail(const QString& target) {
  return IsExternalLink(QUrl(target));
}

class HelpPages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureWidgetApplication(); }

  void SetUp() override {
    pages = QDir(kHelpFolder).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(pages.isEmpty()) << "no help pages under " << qPrintable(kHelpFolder);
  }

  QString PagePath(const QString& page) const { return kHelpFolder + QLatin1Char('/') + page; }

  QStringList pages;
};

TEST_F(HelpPages, EveryLinkLeadsToAFileAndAnchorThatExist) {
  ASSERT_TRUE(pages.contains(QStringLiteral("index.htm")));
  for (const QString& page : pages) {
    bool utf8 = false;
    const QString html = ReadUtf8(PagePath(page), &utf8);
    EXPECT_TRUE(utf8) << qPrintable(page) << " is not UTF-8";
    std::vector<TLink> links = LinksOf(html);
    EXPECT_FALSE(links.empty()) << qPrintable(page);
    for (const TLink& link : links) {
      const std::string where = (page + ": " + link.attribute + "=" + link.target).toStdString();
      if (IsWebOrMail(link.target)) {
        QUrl url(link.target, QUrl::StrictMode);
        EXPECT_TRUE(url.isValid()) << where;
        EXPECT_TRUE(url.scheme() == QLatin1String("mailto") || !url.host().isEmpty()) << where;
        continue;
      }
      QUrl url(link.target);
      EXPECT_TRUE(url.scheme().isEmpty()) << where << ": pages link to each other relatively";
      const QString file = url.path().isEmpty() ? page : url.path();
      EXPECT_FALSE(file.contains(QLatin1Char('/'))) << where << ": leaves the Help folder";
      if (!QFile::exists(PagePath(file))) {
        ADD_FAILURE() << where << ": no such file";
        continue;
      }
      if (link.attribute == QLatin1String("src") && file.endsWith(QLatin1String(".png"))) {
        EXPECT_FALSE(QImage(PagePath(file)).isNull()) << where << ": not a picture";
      }
      if (url.hasFragment()) {
        EXPECT_TRUE(AnchorsOf(ReadUtf8(PagePath(file))).contains(url.fragment()))
            << where << ": no such anchor";
      }
    }
  }
}

TEST_F(HelpPages, EveryPageIsReachedFromTheStartPageAndLeadsBackToIt) {
  QSet<QString> reached{QStringLiteral("index.htm")};
  std::deque<QString> open{QStringLiteral("index.htm")};
  while (!open.empty()) {
    const QString page = open.front();
    open.pop_front();
    for (const TLink& link : LinksOf(ReadUtf8(PagePath(page)))) {
      const QString file = QUrl(link.target).path();
      if (link.attribute != QLatin1String("href") || IsWebOrMail(link.target) ||
          !file.endsWith(QLatin1String(".htm")) || reached.contains(file)) {
        continue;
      }
      reached.insert(file);
      open.push_back(file);
    }
  }
  for (const QString& page : pages) {
    EXPECT_TRUE(reached.contains(page)) << qPrintable(page) << " cannot be reached from index.htm";
    if (page == QLatin1String("index.htm")) continue;
    bool back = false;
    for (const TLink& link : LinksOf(ReadUtf8(PagePath(page)))) {
      back = back || (link.attribute == QLatin1String("href") && link.target == "index.htm");
    }
    EXPECT_TRUE(back) << qPrintable(page) << " has no link back to the contents";
  }
}

TEST_F(HelpPages, EveryPageAndEveryLinkOpensInTheHelpWindow) {
  QWidget mainWindow;
  THelpWindow help(&mainWindow);
  std::vector<QUrl> handedOut;
  help.openExternal = [&](const QUrl& link) { handedOut.push_back(link); };
  help.Prepare(PagePath(QStringLiteral("index.htm")));
  for (const QString& page : pages) {
    help.Browser()->setSource(QUrl::fromLocalFile(PagePath(page)));
    const QString text = help.Browser()->toPlainText();
    EXPECT_FALSE(text.contains(QStringLiteral("Page not found"))) << qPrintable(page);
    EXPECT_GT(text.size(), 200) << qPrintable(page) << " looks empty";
    for (const TLink& link : LinksOf(ReadUtf8(PagePath(page)))) {
      if (link.attribute != QLatin1String("href") || link.target.endsWith(QLatin1String(".css"))) {
        continue;
      }
      help.Browser()->setSource(QUrl::fromLocalFile(PagePath(page)));
      handedOut.clear();
      help.Follow(QUrl(link.target));
      const std::string where = (page + ": " + link.target).toStdString();
      if (IsWebOrMail(link.target)) {
        EXPECT_EQ(handedOut.size(), 1u) << where;
        continue;
      }
      QUrl expected = QUrl::fromLocalFile(PagePath(page)).resolved(QUrl(link.target));
      EXPECT_EQ(help.Browser()->source(), expected) << where;
      EXPECT_FALSE(help.Browser()->toPlainText().contains(QStringLiteral("Page not found")))
          << where;
    }
  }
}

// Where the screen has room, the window opens at a size every shipped page fits across.
TEST_F(HelpPages, EveryPageFitsAcrossWhereTheScreenHasRoom) {
  QWidget mainWindow;
  THelpWindow help(&mainWindow);
  help.FitScreen(QSize(1920, 1040));
  help.show();
  for (const QString& page : pages) {
    help.Browser()->setSource(QUrl::fromLocalFile(PagePath(page)));
    QApplication::processEvents();
    EXPECT_EQ(help.Browser()->horizontalScrollBar()->maximum(), 0) << qPrintable(page);
  }
}

}  // namespace
}  // namespace zen
