// A control that shows one off-screen image at its top-left corner and reports the mouse.
#include "app/image_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace zen {

TImageView::TImageView(const QImage* image, QWidget* parent) : QWidget(parent), image_(image) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void TImageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), *image_);
}

void TImageView::wheelEvent(QWheelEvent* event) {
  int delta = event->angleDelta().y();
  if (onWheel && delta != 0 && onWheel(delta, event->modifiers())) {
    event->accept();
    return;
  }
  event->ignore();
}

void TImageView::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(event->position().toPoint(), event->buttons(), event->modifiers());
}

void TImageView::mousePressEvent(QMouseEvent* event) {
  if (onPress) onPress(event->position().toPoint(), event->button(), event->modifiers());
}

void TImageView::leaveEvent(QEvent* event) {
  if (onLeave) onLeave();
  QWidget::leaveEvent(event);
}

}  // namespace zen
