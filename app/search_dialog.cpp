// "Searching...": the progress of a prediction search, its counters and bars, and the one
// button that first asks the search to stop and then closes the dialog.
#include "app/search_dialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <utility>

namespace zen {

namespace {

constexpr int kBarWidthPx = 360;
constexpr int kBarHeightPx = 14;

QLabel* Label(QWidget* parent, const char* text = "") {
  return new QLabel(QString::fromUtf8(text), parent);
}

QProgressBar* Bar(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  bar->setFixedSize(kBarWidthPx, kBarHeightPx);
  return bar;
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));
  // A fixed dialog without title-bar buttons: only the dialog's own button closes it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("Searching..."));
  setModal(true);

  auto* facts = new QGridLayout;
  facts->setHorizontalSpacing(10);
  facts->setVerticalSpacing(2);
  beginText = Label(this);
  endText = Label(this);
  siteText = Label(this);
  timeZoneText = Label(this);
  totalLabel = Label(this, "Total passes:");
  totalCount = Label(this, "0");
  facts->addWidget(Label(this, "Search period:"), 0, 0);
  facts->addWidget(beginText, 0, 1);
  facts->addWidget(endText, 1, 1);
  facts->addWidget(Label(this, "Location:"), 2, 0);
  facts->addWidget(siteText, 2, 1);
  facts->addWidget(Label(this, "Time zone:"), 3, 0);
  facts->addWidget(timeZoneText, 3, 1);
  facts->addWidget(totalLabel, 4, 0);
  facts->addWidget(totalCount, 4, 1);
  facts->setColumnStretch(1, 1);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* progress = new QGridLayout(panel);
  progress->setVerticalSpacing(2);
  satelliteLine = Label(panel, "Tracked sat:");
  satelliteCount = Label(panel, "Passes:");
  satelliteBar = Bar(panel);
  estimate = Label(panel, "Estimate time:");
  globalBar = Bar(panel);
  sortStatus = Label(panel, "Waiting for data...");
  sortBar = Bar(panel);
  for (QLabel* right : {satelliteCount, estimate, sortStatus}) {
    right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  progress->addWidget(satelliteLine, 0, 0);
  progress->addWidget(satelliteCount, 0, 1);
  progress->addWidget(satelliteBar, 1, 0, 1, 2);
  progress->addWidget(Label(panel, "Global progress:"), 2, 0);
  progress->addWidget(estimate, 2, 1);
  progress->addWidget(globalBar, 3, 0, 1, 2);
  progress->addWidget(Label(panel, "Sorting:"), 4, 0);
  progress->addWidget(sortStatus, 4, 1);
  progress->addWidget(sortBar, 5, 0, 1, 2);
  // The satellite line takes what the counters and status texts leave.
  progress->setColumnStretch(0, 1);
  // A long satellite name must not widen the dialog.
  satelliteLine->setMinimumWidth(1);
  satelliteLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  button = new QPushButton(QStringLiteral("Cancel"), this);
  button->setDefault(true);
  button->setAutoDefault(true);
  button->setMinimumWidth(80);
  connect(button, &QPushButton::clicked, this, &TForm3::onButton);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(button);
  buttonRow->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(facts);
  layout->addWidget(panel);
  layout->addLayout(buttonRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // The layout takes its sizes now, not first when the dialog is shown.
  layout->activate();
  progress->activate();
}

void TForm3::Prepare(TSearchKind kind, const QString& begin, const QString& end,
                     const QString& site, const QString& timeZone,
                     std::shared_ptr<TSearchFlags> flags) {
  flags_ = std::move(flags);
  const bool flares = kind == TSearchKind::Flares;
  countName_ = flares ? QStringLiteral("Flares: ") : QStringLiteral("Passes: ");
  setWindowTitle(QStringLiteral("Searching..."));
  beginText->setText(begin);
  endText->setText(end);
  siteText->setText(site);
  timeZoneText->setText(timeZone);
  totalLabel->setText(flares ? QStringLiteral("Total flares:") : QStringLiteral("Total passes:"));
  totalCount->setText(QStringLiteral("0"));
  satelliteLine->setText(QStringLiteral("Tracked sat:"));
  satelliteCount->setText(countName_.trimmed());
  estimate->setText(QStringLiteral("Estimate time:"));
  sortStatus->setText(QStringLiteral("Waiting for data..."));
  for (QProgressBar* bar : {satelliteBar, globalBar, sortBar}) bar->setValue(0);
  button->setText(QStringLiteral("Cancel"));
  role_ = TButtonRole::AsksToStop;
}

void TForm3::SatelliteStarted(const QString& line, int count) {
  satelliteLine->setText(line);
  satelliteLine->setToolTip(line);
  satelliteCount->setText(countName_ + QString::number(count));
}

void TForm3::ShowProgress(int satellitePercent, int globalPercent, const QString& text) {
  satelliteBar->setValue(satellitePercent);
  globalBar->setValue(globalPercent);
  estimate->setText(QStringLiteral("Estimate time: ") + text);
}

void TForm3::ShowCounts(int satellite, int total) {
  satelliteCount->setText(countName_ + QString::number(satellite));
  totalCount->setText(QString::number(total));
}

void TForm3::SortStarted(bool interruptedByCancel) {
  setWindowTitle(QStringLiteral("Sorting..."));
  sortStatus->setText(QStringLiteral("In progress..."));
  estimate->setText(interruptedByCancel ? QStringLiteral("Interrupted!") : QStringLiteral("Done!"));
  if (flags_) flags_->cancel = true;
  if (role_ == TButtonRole::AsksToStop) role_ = TButtonRole::ClosesCancelled;
}

void TForm3::ShowSortProgress(int percent) {
  sortBar->setValue(percent);
}

void TForm3::Finished(bool sortStopped) {
  setWindowTitle(QStringLiteral("Finished!"));
  sortStatus->setText(sortStopped ? QStringLiteral("Interrupted!") : QStringLiteral("Done!"));
  button->setText(QStringLiteral("Ok"));
  role_ = TButtonRole::ClosesOk;
}

bool TForm3::CloseAllowed() const {
  return role_ == TButtonRole::ClosesOk || (flags_ && flags_->cancel);
}

void TForm3::onButton() {
  switch (role_) {
    case TButtonRole::AsksToStop:
      // The search notices the flag at its next step and sorts what it has found.
      if (flags_) flags_->cancel = true;
      role_ = TButtonRole::ClosesCancelled;
      break;
    case TButtonRole::ClosesCancelled:
      done(QDialog::Rejected);
      break;
    case TButtonRole::ClosesOk:
      done(QDialog::Accepted);
      break;
  }
}

void TForm3::keyPressEvent(QKeyEvent* event) {
  // Escape presses the button as Enter does; it never closes the dialog by itself.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    button->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TForm3::closeEvent(QCloseEvent* event) {
  if (!CloseAllowed()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace zen
