// The help window: the program's HTML pages in a text browser, with an "Exit" button at the
// top right beside them.
#include "help/help_window.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPalette>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "core/file_access.h"

namespace zen {

namespace {

// Light text and dark controls on the black window, like the main window's.
QPalette HelpPalette() {
  const QColor black(0, 0, 0);
  const QColor text(0xD0, 0xD0, 0xD0);
  const QColor control(0x30, 0x38, 0x40);
  const QColor link(0x6F, 0xB7, 0xE8);
  QPalette p;
  p.setColor(QPalette::Window, black);
  p.setColor(QPalette::Base, black);
  p.setColor(QPalette::AlternateBase, control);
  p.setColor(QPalette::Button, control);
  p.setColor(QPalette::Light, control.lighter(150));
  p.setColor(QPalette::Midlight, control.lighter(120));
  p.setColor(QPalette::Mid, control.darker(120));
  p.setColor(QPalette::Dark, control.darker(150));
  p.setColor(QPalette::Shadow, black);
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
    p.setColor(role, text);
  }
  p.setColor(QPalette::BrightText, Qt::white);
  p.setColor(QPalette::Highlight, QColor(0x2A, 0x5C, 0x8A));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Link, link);
  p.setColor(QPalette::LinkVisited, link);
  return p;
}
// "Exit": 35 x 25 pixels, 8 from the top and 5 from the right edge of the client area, in a
// column of its own right of the pages, so that no page text ever runs under it.
constexpr int kExitWidth = 35;
constexpr int kExitHeight = 25;
constexpr int kExitTop = 8;
constexpr int kExitSide = 5;
// The smallest screen the main window opens on, which it fills.
constexpr int kSmallestScreenWidth = 800;
constexpr int kSmallestScreenHeight = 600;

}  // namespace

QSize HelpWindowSize(QSize availablePx) {
  if (availablePx.width() <= kSmallestScreenWidth &&
      availablePx.height() <= kSmallestScreenHeight) {
    return {kHelpClientWidth, kHelpClientHeight};
  }
  return {std::max(kHelpClientWidth, std::min(kHelpReadableWidth, availablePx.width())),
          std::max(kHelpClientHeight, std::min(kHelpReadableHeight, availablePx.height()))};
}

QString PageNotFoundHtml(const QUrl& page, const QString& reason) {
  QString where = page.isLocalFile() ? page.toLocalFile() : page.toString();
  return QStringLiteral(
             "<html><body style=\"background-color:#000000; color:#D0D0D0\">"
             "<h2 style=\"color:#FF8080\">Page not found</h2>"
             "<p>The help page <b>%1</b> cannot be read%2.</p>"
             "<p>The help pages belong in the \"Help\" folder of the program folder, starting "
             "with \"Help/index.htm\". Install the program again to bring them back.</p>"
             "</body></html>")
      .arg(where.toHtmlEscaped(),
           reason.isEmpty() ? QString() : QStringLiteral(": ") + reason.toHtmlEscaped());
}

bool IsExternalLink(const QUrl& link) {
  const QString scheme = link.scheme().toLower();
  return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
         scheme == QLatin1String("mailto");
}

THelpBrowser::THelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
  const QUrl url = source().isValid() ? source().resolved(name) : name;
  if (!url.isLocalFile()) {
    QVariant data = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::HtmlResource) return data;
    if (data.isValid() && !data.toByteArray().isEmpty()) return data;
    return PageNotFoundHtml(url);
  }
  // Read here rather than by the browser, which would wait for ever on a named pipe and take
  // a page of any size: a page or a picture of the folder is a plain file of a bounded size.
  const std::uint64_t limit =
      type == QTextDocument::HtmlResource ? kHelpPageLimit : kDataFileLimit;
  try {
    const std::string bytes = ReadFileBytes(url.toLocalFile().toStdString(), limit);
    if (!bytes.empty() || type != QTextDocument::HtmlResource) {
      return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return PageNotFoundHtml(url, QStringLiteral("it is empty"));
  } catch (const TFileError& error) {
    if (type != QTextDocument::HtmlResource) return QVariant();
    return PageNotFoundHtml(url, QString::fromStdString(error.Reason()));
  }
}

THelpWindow::THelpWindow(QWidget* mainWindow) : QDialog(mainWindow) {
  setObjectName(QStringLiteral("helpWindow"));
  // A dialog that stays above the other windows; the user may resize it to suit the pages.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("Zenarith Help System"));
  setModal(true);
  setMinimumSize(kHelpMinimumWidth, kHelpMinimumHeight);
  QScreen* screen = mainWindow != nullptr ? mainWindow->screen() : QGuiApplication::primaryScreen();
  FitScreen(screen != nullptr ? screen->availableGeometry().size()
                              : QSize(kHelpClientWidth, kHelpClientHeight));
  QPalette palette = HelpPalette();
  setPalette(palette);
  setAutoFillBackground(true);

  browser_ = new THelpBrowser(this);
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setFrameShape(QFrame::NoFrame);
  browser_->setPalette(palette);
  // Every link comes to Follow, which keeps web and mail links out of the browser.
  browser_->setOpenLinks(false);
  browser_->setOpenExternalLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, &THelpWindow::Follow);

  exit_ = new QPushButton(QStringLiteral("Exit"), this);
  exit_->setObjectName(QStringLiteral("helpExit"));
  exit_->setFixedSize(kExitWidth, kExitHeight);
  // Tab walks the page's links only; Enter follows a link and never closes the window.
  exit_->setFocusPolicy(Qt::NoFocus);
  exit_->setAutoDefault(false);
  exit_->setDefault(false);
  // Escape closes the dialog through reject() as well.
  connect(exit_, &QPushButton::clicked, this, &QDialog::reject);

  // The pages take all the room but the button's column.
  auto* exitColumn = new QVBoxLayout;
  exitColumn->setContentsMargins(kExitSide, kExitTop, kExitSide, 0);
  exitColumn->addWidget(exit_);
  exitColumn->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(browser_, 1);
  layout->addLayout(exitColumn);
  // A grip in the button's column shows that the window can be resized.
  setSizeGripEnabled(true);

  openExternal = [](const QUrl& link) { QDesktopServices::openUrl(link); };
}

void THelpWindow::FitScreen(QSize availablePx) {
  resize(HelpWindowSize(availablePx));
}

void THelpWindow::Prepare(const QString& startPage) {
  if (!helpStartShown_) {
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(startPage).absoluteFilePath()));
    helpStartShown_ = true;
  }
  CentreOnMainWindow();
  browser_->setFocus(Qt::OtherFocusReason);
}

void THelpWindow::Open(const QString& startPage) {
  Prepare(startPage);
  exec();
}

void THelpWindow::Follow(const QUrl& link) {
  if (IsExternalLink(link)) {
    if (openExternal) openExternal(link);
    return;
  }
  QUrl target = browser_->source().resolved(link);
  // Other schemes (scripts, resources of other programs) lead nowhere from the help pages.
  if (!target.isLocalFile()) return;
  browser_->setSource(target);
}

void THelpWindow::CentreOnMainWindow() {
  QWidget* main = parentWidget();
  if (main == nullptr) return;
  QPoint centre = main->mapToGlobal(main->rect().center());
  QRect frame = frameGeometry();
  move(centre.x() - frame.width() / 2, centre.y() - frame.height() / 2);
}

}  // namespace zen
