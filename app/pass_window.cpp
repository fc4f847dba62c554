// The details of one pass or flare in a window of its own.
#include "app/pass_window.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "tracking/text_file.h"

namespace zen {

namespace {

constexpr int kMargin = 6;
const QSize kFirstSize(720, 480);
const QSize kSmallestSize(560, 380);

// "ISS_ZARYA_2026-12-08": a file name from the title, letters, digits, "-" and "." kept.
QString FileNameOf(const std::string& title) {
  QString name;
  bool blank = false;
  for (QChar c : QString::fromStdString(title)) {
    if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.')) {
      if (blank && !name.isEmpty()) name += QLatin1Char('_');
      name += c;
      blank = false;
    } else {
      blank = true;
    }
  }
  return name.isEmpty() ? QStringLiteral("pass") : name;
}

// The least overlap of [start, start + length) with [spareStart, spareEnd) for start in
// [lowest, highest]: at one of the two ends. Of equal ones, preferHigh chooses the high end.
int LeastOverlapStart(int length, int lowest, int highest, int spareStart, int spareEnd,
                      bool preferHigh) {
  if (highest < lowest) return lowest;
  auto overlap = [&](int start) {
    return std::max(0, std::min(start + length, spareEnd) - std::max(start, spareStart));
  };
  const int low = overlap(lowest);
  const int high = overlap(highest);
  if (low == high) return preferHigh ? highest : lowest;
  return low < high ? lowest : highest;
}

}  // namespace

QPoint LeastCoveringPlace(QSize frame, const QRect& screen, const QRect& spare) {
  // QRect's right and bottom are the last pixels inside; the ends here are one beyond.
  const int x = LeastOverlapStart(frame.width(), screen.left(),
                                  screen.left() + screen.width() - frame.width(), spare.left(),
                                  spare.left() + spare.width(), true);
  const int y = LeastOverlapStart(frame.height(), screen.top(),
                                  screen.top() + screen.height() - frame.height(), spare.top(),
                                  spare.top() + spare.height(), false);
  return {x, y};
}

TPassWindow::TPassWindow(UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs) {
  setObjectName(QStringLiteral("passWindow"));
  setWindowTitle(QStringLiteral("Pass details"));
  // A window of its own that stays above the main window without blocking it; shown beside
  // the results, it does not take the keyboard from them.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setMinimumSize(kSmallestSize);
  resize(kFirstSize);

  saveButton = new QPushButton(QStringLiteral("&Save picture..."), this);
  saveButton->setToolTip(QStringLiteral("Save the picture as a PNG file (Ctrl+S)"));
  closeButton = new QPushButton(QStringLiteral("Close"), this);
  closeButton->setToolTip(QStringLiteral("Close this window (Esc)"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(saveButton);
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addStretch(1);
  layout->addLayout(buttons);

  connect(saveButton, &QPushButton::clicked, this, [this] { SavePicture(); });
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
  auto* save = new QShortcut(QKeySequence::Save, this);
  connect(save, &QShortcut::activated, this, [this] { SavePicture(); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TPassWindow::ShowPlot(const TPassPlot& plot) {
  if (const QWidget* main = parentWidget(); main != nullptr && main->window()->focusWidget()) {
    chosenIn_ = main->window()->focusWidget();
  }
  plot_ = plot;
  setWindowTitle(QStringLiteral("Pass details - ") + QString::fromStdString(plot.title));
  Redraw();
  if (!isVisible()) {
    if (!placed_) PlaceBesideParent();
    placed_ = true;
    show();
  }
  update();
}

void TPassWindow::PlaceBesideParent() {
  const QWidget* main = parentWidget();
  if (main == nullptr || main->screen() == nullptr) return;
  // Beside the main window where the screen has room, so the map and the results stay in
  // view; otherwise as small as it may be, where it hides the least of the map.
  const QRect screen = main->screen()->availableGeometry();
  const QRect frame = main->frameGeometry();
  // This window's frame is not known before it is first shown; the main window's is alike.
  const QSize frameExtra(frame.width() - main->width(), frame.height() - main->height());
  const int wide = width() + frameExtra.width();
  int x = frame.right() + 1;
  if (x + wide > screen.right() + 1) x = frame.left() - wide;
  if (x >= screen.left()) {
    const int y =
        std::clamp(frame.top(), screen.top(),
                   std::max(screen.top(), screen.bottom() + 1 - height() - frameExtra.height()));
    move(x, y);
    return;
  }
  resize(minimumSize());
  const QRect spare = spareArea ? spareArea() : main->geometry();
  move(LeastCoveringPlace(size() + frameExtra, screen, spare));
}

void TPassWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (!event->isAccepted() || !isActiveWindow()) return;
  // The keyboard goes back to where the pass was chosen, not to no window at all.
  QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  if (main == nullptr) return;
  main->activateWindow();
  if (chosenIn_ != nullptr && chosenIn_->window() == main && chosenIn_->isVisible() &&
      chosenIn_->isEnabled()) {
    chosenIn_->setFocus(Qt::ActiveWindowFocusReason);
  }
}

void TPassWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Redraw();
}

void TPassWindow::Redraw() {
  const int buttonsHeight = saveButton->sizeHint().height() + 2 * kMargin;
  pictureArea_ = QRect(0, 0, width(), std::max(1, height() - buttonsHeight));
  picture_ = RenderPassPlot(plot_, pictureArea_.size(), devicePixelRatioF());
}

void TPassWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.drawImage(pictureArea_.topLeft(), picture_);
}

bool TPassWindow::SavePicture() {
  const QString proposal = QDir(programFolder_).filePath(QStringLiteral("Output/") +
                                                         FileNameOf(plot_.title) +
                                                         QStringLiteral(".png"));
  QString file = dialogs_.ChooseFileToSave(QStringLiteral("Save picture"), proposal,
                                           QStringLiteral("PNG pictures (*.png)"));
  if (!file.isEmpty()) file = CompleteFileToSave(dialogs_, file, QStringLiteral("png"));
  if (file.isEmpty()) return false;
  QString error;
  if (!WritePicture(file, error)) {
    dialogs_.ShowError(QStringLiteral("Cannot write ") + file + QStringLiteral(": ") + error);
    return false;
  }
  return true;
}

bool TPassWindow::WritePicture(const QString& file, QString& error) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (picture_.isNull() || !picture_.save(&buffer, "PNG")) {
    error = QStringLiteral("the picture cannot be made");
    return false;
  }
  // Written beside the target and renamed into place: a failed save leaves an older file whole.
  std::string reason;
  if (!WriteFileBytes(file.toStdString(),
                      std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                      reason)) {
    error = QString::fromStdString(reason);
    return false;
  }
  return true;
}

}  // namespace zen
