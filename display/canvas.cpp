// A drawing surface over one image, with the pen, brush and font the drawing code leaves set.
#include "display/canvas.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zen {

namespace {

bool HoldsWholePixels(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

TCanvas::TCanvas(QImage& image)
    : image_(image),
      painter_(&image),
      ratio_(image.devicePixelRatio()),
      width_(ratio_ == 1.0 ? image.width() : qRound(image.width() / ratio_)),
      height_(ratio_ == 1.0 ? image.height() : qRound(image.height() / ratio_)) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  ApplyPen();
  ApplyBrush();
  // Pixels are copied in directly only where a logical pixel is a device pixel.
  if (painter_.isActive() && HoldsWholePixels(image.format())) {
    devicePixels_ = image.bits();
    stride_ = image.bytesPerLine();
    if (ratio_ == 1.0) pixels_ = devicePixels_;
  }
}

void TCanvas::ApplyPen() {
  QPen pen(penColour_);
  pen.setWidth(penWidthPx_);
  // One device pixel, however many a logical pixel covers.
  if (penWidthPx_ == 1 && ratio_ != 1.0) pen.setCosmetic(true);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
}

void TCanvas::ApplyBrush() {
  painter_.setBrush(brushClear_ ? QBrush(Qt::NoBrush) : QBrush(brushColour_));
}

void TCanvas::SetPenColour(const QColor& colour) {
  penColour_ = colour;
  ApplyPen();
}

void TCanvas::SetPenWidth(int widthPx) {
  penWidthPx_ = widthPx < 1 ? 1 : widthPx;
  ApplyPen();
}

void TCanvas::SetBrushSolid(const QColor& colour) {
  brushColour_ = colour;
  brushClear_ = false;
  ApplyBrush();
}

void TCanvas::SetBrushClear() {
  brushClear_ = true;
  ApplyBrush();
}

void TCanvas::SetFont(const QFont& font) {
  font_ = font;
  painter_.setFont(font_);
}

void TCanvas::SetFontColour(const QColor& colour) {
  fontColour_ = colour;
}

void TCanvas::FillRect(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  painter_.fillRect(QRect(left, top, right - left, bottom - top), brushColour_);
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  if (penWidthPx_ > 1 || ratio_ != 1.0) {
    painter_.drawLine(penPos_, QPoint(x, y));
    penPos_ = {x, y};
    return;
  }
  // Bresenham from the pen position, stopping one pixel short of (x, y) so that joined
  // segments do not set their shared pixel twice.
  int x0 = penPos_.x();
  int y0 = penPos_.y();
  int dx = std::abs(x - x0);
  int dy = -std::abs(y - y0);
  int sx = x0 < x ? 1 : -1;
  int sy = y0 < y ? 1 : -1;
  int error = dx + dy;
  QPolygon points;
  points.reserve(dx - dy + 1);
  while (x0 != x || y0 != y) {
    points.append(QPoint(x0, y0));
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
  if (!points.isEmpty()) painter_.drawPoints(points);
  penPos_ = {x, y};
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (right - left < 2 || bottom - top < 2) return;
  painter_.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right - left < 2 || bottom - top < 2) return;
  painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void TCanvas::SetPixel(int x, int y, const QColor& colour) {
  if (ratio_ != 1.0) {
    painter_.fillRect(QRect(x, y, 1, 1), colour);
    return;
  }
  QPen saved = painter_.pen();
  painter_.setPen(QPen(colour, 1));
  painter_.drawPoint(x, y);
  painter_.setPen(saved);
}

int TCanvas::TextWidth(const QString& text) {
  return QFontMetrics(font_, &image_).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) {
  return QFontMetrics(font_, &image_).height();
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  QFontMetrics metrics(font_, &image_);
  // Measuring shapes the text a second time: only the cell behind it needs the width.
  if (!brushClear_) {
    painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), brushColour_);
  }
  QPen saved = painter_.pen();
  painter_.setPen(fontColour_);
  painter_.drawText(QPoint(x, y + metrics.ascent()), text);
  painter_.setPen(saved);
}

const TCanvas::TOpaqueRuns& TCanvas::OpaqueRunsOf(const QImage& bitmap) {
  const qint64 key = bitmap.cacheKey();
  for (const TOpaqueRuns& known : opaqueRuns_) {
    if (known.bitmapKey == key) return known;
  }
  TOpaqueRuns found;
  found.bitmapKey = key;
  found.usable = bitmap.format() == QImage::Format_ARGB32;
  for (int row = 0; found.usable && row < bitmap.height(); ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(bitmap.constScanLine(row));
    for (int column = 0; column < bitmap.width(); ++column) {
      const int alpha = qAlpha(line[column]);
      if (alpha == 0) continue;
      if (alpha != 0xFF) {
        found.usable = false;
        break;
      }
      TOpaqueRun* last = found.runs.empty() ? nullptr : &found.runs.back();
      if (last != nullptr && last->row == row && last->column + last->length == column) {
        ++last->length;
      } else {
        found.runs.push_back({row, column, 1});
      }
    }
  }
  opaqueRuns_.push_back(std::move(found));
  return opaqueRuns_.back();
}

// Satellite symbols are drawn thousands of times a redraw, and QPainter's setup for each one
// costs far more than copying its few dozen pixels. A bitmap with a transparent key colour
// (every pixel either opaque or clear) is therefore copied here run by run, with the same
// result.
bool TCanvas::CopyOpaquePixels(int x, int y, const QImage& bitmap) {
  if (pixels_ == nullptr) return false;
  const TOpaqueRuns& opaque = OpaqueRunsOf(bitmap);
  if (!opaque.usable) return false;
  const int width = image_.width();
  const int height = image_.height();
  const uchar* const source = bitmap.constBits();
  const qsizetype sourceStride = bitmap.bytesPerLine();
  for (const TOpaqueRun& run : opaque.runs) {
    const int row = y + run.row;
    if (row < 0 || row >= height) continue;
    const int from = std::max(x + run.column, 0);
    const int to = std::min(x + run.column + run.length, width);
    const auto* in = reinterpret_cast<const QRgb*>(source + run.row * sourceStride);
    auto* out = reinterpret_cast<QRgb*>(pixels_ + row * stride_);
    for (int column = from; column < to; ++column) out[column] = in[column - x];
  }
  return true;
}

void TCanvas::BlendSquare(QPoint at, int sizeDevicePx, QRgb colour, int alpha256) {
  const int size = std::max(1, sizeDevicePx);
  const int alpha = std::clamp(alpha256, 0, 256);
  // The logical pixel's centre in device pixels, and the square's first device pixel.
  const double centreX = (at.x() + 0.5) * ratio_;
  const double centreY = (at.y() + 0.5) * ratio_;
  const int left = static_cast<int>(std::floor(centreX - size / 2.0));
  const int top = static_cast<int>(std::floor(centreY - size / 2.0));
  if (devicePixels_ == nullptr) {
    QColor ink = QColor::fromRgb(colour);
    ink.setAlpha(std::min(255, alpha));
    painter_.fillRect(QRectF(left / ratio_, top / ratio_, size / ratio_, size / ratio_), ink);
    return;
  }
  const int fromX = std::max(left, 0);
  const int toX = std::min(left + size, image_.width());
  const int fromY = std::max(top, 0);
  const int toY = std::min(top + size, image_.height());
  // Red and blue in one word, green in another: two multiplications blend a pixel.
  const quint32 inkRb = colour & 0x00FF00FFu;
  const quint32 inkG = colour & 0x0000FF00u;
  const auto keep = static_cast<quint32>(256 - alpha);
  const auto take = static_cast<quint32>(alpha);
  for (int y = fromY; y < toY; ++y) {
    auto* row = reinterpret_cast<QRgb*>(devicePixels_ + y * stride_);
    for (int x = fromX; x < toX; ++x) {
      const quint32 old = row[x];
      const quint32 rb = (((old & 0x00FF00FFu) * keep + inkRb * take) >> 8) & 0x00FF00FFu;
      const quint32 g = (((old & 0x0000FF00u) * keep + inkG * take) >> 8) & 0x0000FF00u;
      row[x] = (old & 0xFF000000u) | rb | g;
    }
  }
}

void TCanvas::Draw(int x, int y, const QImage& bitmap) {
  if (bitmap.isNull()) return;
  if (CopyOpaquePixels(x, y, bitmap)) return;
  painter_.drawImage(QPoint(x, y), bitmap);
}

void TCanvas::DrawStretched(const QRect& target, const QImage& image) {
  if (image.isNull() || target.isEmpty()) return;
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter_.drawImage(target, image);
  painter_.restore();
}

}  // namespace zen
