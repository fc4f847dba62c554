// A control that shows one off-screen image over its whole area and reports the mouse in the
// image's logical pixels.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace zen {

class TImageView : public QWidget {
  Q_OBJECT

 public:
  // image is owned by the caller and outlives the view; repaint the view after drawing.
  TImageView(const QImage* image, QWidget* parent);

  // The window's handlers; image pixel coordinates. onWheel returns true when it used the event.
  std::function<bool(int delta, Qt::KeyboardModifiers modifiers)> onWheel;
  std::function<void(QPoint pixel, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)>
      onMove;
  std::function<void(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)>
      onPress;
  std::function<void()> onLeave;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  const QImage* image_;

  // The image pixel (logical) under a position in the view.
  QPoint ImagePixel(QPointF position) const;
};

}  // namespace zen
