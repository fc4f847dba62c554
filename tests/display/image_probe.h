// Questions about the pixels of a rendered image.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace zen::test {

inline bool IsColour(const QImage& image, int x, int y, const QColor& colour) {
  return image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFFu) == (colour.rgb() & 0xFFFFFFu);
}

// The smallest rectangle holding every pixel that differs from background; empty if none.
inline QRect ChangedArea(const QImage& image, const QColor& background) {
  QRect area;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFFu) != (background.rgb() & 0xFFFFFFu)) {
        area |= QRect(x, y, 1, 1);
      }
    }
  }
  return area;
}

inline int CountColour(const QImage& image, const QColor& colour, const QRect& within) {
  int count = 0;
  QRect r = within.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) {
      if (IsColour(image, x, y, colour)) ++count;
    }
  }
  return count;
}

inline QImage BlackImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

}  // namespace zen::test
