// The details of one pass or flare in a window of its own.
#include "app/pass_window.h"

#include <QBuffer>
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

}  // namespace

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
  // Beside the main window where the screen has room, so the results stay in view; over its
  // right part otherwise.
  const QRect screen = main->screen()->availableGeometry();
  const QRect frame = main->frameGeometry();
  const int frameExtra = frame.width() - main->width();
  const int wide = width() + frameExtra;
  int x = frame.right() + 1;
  if (x + wide > screen.right() + 1) x = frame.left() - wide;
  if (x < screen.left()) x = std::max(screen.left(), screen.right() + 1 - wide);
  const int y = std::clamp(frame.top(), screen.top(),
                           std::max(screen.top(), screen.bottom() + 1 - frameGeometry().height()));
  move(x, y);
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
