// A control that shows one off-screen image at its top-left corner.
#include "app/image_view.h"

#include <QPainter>

namespace zen {

TImageView::TImageView(const QImage* image, QWidget* parent) : QWidget(parent), image_(image) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), *image_);
}

}  // namespace zen
