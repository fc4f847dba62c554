// The help window: the program's HTML pages in a text browser, with an "Exit" button at the
// top right beside them.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>
#include <functional>

namespace zen {

// The size the window opens with at first; it may be resized down to the minimum.
inline constexpr int kHelpClientWidth = 584;
inline constexpr int kHelpClientHeight = 361;
inline constexpr int kHelpMinimumWidth = 320;
inline constexpr int kHelpMinimumHeight = 200;
// The size the pages read well at, where the screen has room for it.
inline constexpr int kHelpReadableWidth = 900;
inline constexpr int kHelpReadableHeight = 650;

// The size the window opens with on a screen with availablePx of room: the readable size held
// to that room, never below the documented size; a screen no larger than the smallest main
// window (800 x 600), where the main window fills the screen, keeps the documented size.
QSize HelpWindowSize(QSize availablePx);

// What the browser shows in place of a page that cannot be read.
QString PageNotFoundHtml(const QUrl& page, const QString& reason = QString());

// A link that leaves the help pages: web and mail addresses belong to the desktop's handlers.
bool IsExternalLink(const QUrl& link);

// The browser of the help pages. Qt's browser shows an empty view for a page it cannot read;
// this one says which page is missing.
class THelpBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  explicit THelpBrowser(QWidget* parent = nullptr);
  QVariant loadResource(int type, const QUrl& name) override;
};

class THelpWindow : public QDialog {
  Q_OBJECT

 public:
  // Centred on mainWindow at every opening.
  explicit THelpWindow(QWidget* mainWindow);

  // Sized for a screen with availablePx of room (see HelpWindowSize).
  void FitScreen(QSize availablePx);

  // Set once the start page has been loaded; later openings keep the page last viewed.
  bool HelpStartShown() const { return helpStartShown_; }

  // The first time loads startPage (a file path); then centres the window on the main window
  // and shows it modally until "Exit" or Escape.
  void Open(const QString& startPage);
  // Open without the modal loop: the start page the first time, the position, the focus.
  void Prepare(const QString& startPage);

  // A link the user followed: pages and their anchors open here, web and mail links outside.
  void Follow(const QUrl& link);

  // Hands a web or mail link to the desktop (QDesktopServices unless replaced).
  std::function<void(const QUrl&)> openExternal;

  THelpBrowser* Browser() const { return browser_; }
  QPushButton* ExitButton() const { return exit_; }

 private:
  THelpBrowser* browser_;
  QPushButton* exit_;
  bool helpStartShown_ = false;

  void CentreOnMainWindow();
};

}  // namespace zen
