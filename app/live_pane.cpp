// The side panel's "Info" tab: the live table with the sky's table below it, scrolled as one.
#include "app/live_pane.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zen {

TLivePane::TLivePane(QWidget* parent) : QScrollArea(parent) {
  setObjectName(QStringLiteral("livePane"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWidgetResizable(true);
}

int TLivePane::ContentWidth(int paneWidthPx) const {
  return paneWidthPx - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
}

void TLivePane::Hold(QTableWidget* live, QTableWidget* sky) {
  live_ = live;
  sky_ = sky;
  auto* content = new QWidget;
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  for (QTableWidget* table : {live, sky}) {
    table->setFrameShape(QFrame::NoFrame);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->addWidget(table);
    // The tables never scroll themselves: the wheel over them scrolls the pane.
    table->viewport()->installEventFilter(this);
  }
  column->addStretch();
  setWidget(content);
  setFocusProxy(live);
  // Below the rows, in a tab taller than both tables, the empty part of a table as before.
  content->setBackgroundRole(QPalette::Base);
  content->setAutoFillBackground(true);
  FitHeights();
}

void TLivePane::showEvent(QShowEvent* event) {
  FitHeights();
  QScrollArea::showEvent(event);
}

bool TLivePane::eventFilter(QObject* watched, QEvent* event) {
  const bool overTable = (live_ != nullptr && watched == live_->viewport()) ||
                         (sky_ != nullptr && watched == sky_->viewport());
  if (overTable && event->type() == QEvent::Wheel) {
    QApplication::sendEvent(verticalScrollBar(), event);
    return true;
  }
  return QScrollArea::eventFilter(watched, event);
}

void TLivePane::FitHeights() {
  for (QTableWidget* table : {live_, sky_}) {
    if (table != nullptr) table->setFixedHeight(table->verticalHeader()->length());
  }
}

}  // namespace zen
