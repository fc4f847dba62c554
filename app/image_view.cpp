// A control that shows one off-screen image over its whole area and reports the mouse in the
// image's logical pixels.
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
  // The image covers the view: its logical size is the view's, or (the time panel) its
  // documented drawing at a ratio that fills it.
  painter.drawImage(rect(), *image_);
}

QPoint TImageView::ImagePixel(QPointF position) const {
  const QSizeF logical = image_->deviceIndependentSize();
  if (width() <= 0 || height() <= 0 || logical.toSize() == size()) return position.toPoint();
  return QPointF(position.x() * logical.width() / width(),
                 position.y() * logical.height() / height())
      .toPoint();
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
  if (onMove) onMove(ImagePixel(event->position()), event->buttons(), event->modifiers());
}

void TImageView::mousePressEvent(QMouseEvent* event) {
  if (onPress) onPress(ImagePixel(event->position()), event->button(), event->modifiers());
}

void TImageView::leaveEvent(QEvent* event) {
  if (onLeave) onLeave();
  QWidget::leaveEvent(event);
}

}  // namespace zen
