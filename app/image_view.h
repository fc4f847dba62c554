// A control that shows one off-screen image at its top-left corner.
#pragma once

#include <QImage>
#include <QWidget>

namespace zen {

class TImageView : public QWidget {
  Q_OBJECT

 public:
  // image is owned by the caller and outlives the view; repaint the view after drawing.
  TImageView(const QImage* image, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* image_;
};

}  // namespace zen
