// A drawing surface over one image, with the pen, brush and font the drawing code leaves set.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <vector>

namespace zen {

// The drawing rules the map and radar code is written against: a line leaves its end pixel
// unset, and a box given as (left, top)..(right, bottom) covers left..right-1 and
// top..bottom-1. The pen position, pen, brush and font persist between calls, so a
// primitive may rely on what the previous one left.
class TCanvas {
 public:
  explicit TCanvas(QImage& image);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The image's size in logical pixels: the coordinates every call takes. On an image with a
  // device pixel ratio above 1 a logical pixel covers several device pixels, text and shapes
  // are drawn at the device's resolution and lines stay one device pixel thin.
  int Width() const { return width_; }
  int Height() const { return height_; }
  qreal DevicePixelRatio() const { return ratio_; }

  void SetPenColour(const QColor& colour);
  QColor PenColour() const { return penColour_; }
  void SetPenWidth(int widthPx);
  void SetBrushSolid(const QColor& colour);
  void SetBrushClear();
  bool BrushClear() const { return brushClear_; }
  QColor BrushColour() const { return brushColour_; }
  void SetFont(const QFont& font);
  void SetFontColour(const QColor& colour);
  QColor FontColour() const { return fontColour_; }
  const QFont& Font() const { return font_; }

  // Fills with the brush colour, whatever the brush style.
  void FillRect(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  QPoint PenPos() const { return penPos_; }
  // Outlined with the pen, filled with the brush unless it is clear.
  void Ellipse(int left, int top, int right, int bottom);
  void Rectangle(int left, int top, int right, int bottom);
  void SetPixel(int x, int y, const QColor& colour);

  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
  // Metrics of the current font on this image, for measuring many strings at once.
  QFontMetrics Metrics() const { return QFontMetrics(font_, &image_); }
  // Text with its top-left corner at (x, y) in the font colour; a solid brush paints the
  // text's cell behind it first, a clear brush leaves the background.
  void TextOut(int x, int y, const QString& text);

  // Opaque image at a top-left corner; transparent pixels of the image show what is below.
  // An image with a device pixel ratio of its own covers its logical size.
  void Draw(int x, int y, const QImage& bitmap);
  // A square of sizeDevicePx device pixels centred on a logical pixel, colour laid over what is
  // there with alpha out of 256: one dot of a crowded view, blended straight into the pixels.
  void BlendSquare(QPoint at, int sizeDevicePx, QRgb colour, int alpha256);

  // The painter underneath, for drawings the calls here do not cover; whoever uses it saves
  // and restores its state round the use.
  QPainter& Painter() { return painter_; }
  // An image smoothed into a rectangle of another size.
  void DrawStretched(const QRect& target, const QImage& image);

 private:
  QImage& image_;
  QPainter painter_;
  qreal ratio_ = 1.0;
  int width_ = 0;
  int height_ = 0;
  QColor penColour_{Qt::white};
  int penWidthPx_ = 1;
  QColor brushColour_{Qt::white};
  bool brushClear_ = false;
  QFont font_;
  QColor fontColour_{Qt::black};
  QPoint penPos_{0, 0};

  // The opaque pixels of a bitmap as runs along its rows; usable only when every other pixel
  // is fully transparent.
  struct TOpaqueRun {
    int row;
    int column;
    int length;
  };
  struct TOpaqueRuns {
    qint64 bitmapKey = 0;
    bool usable = false;
    std::vector<TOpaqueRun> runs;
  };
  // Bitmaps seen so far on this canvas: a redraw uses a handful, each many times.
  std::vector<TOpaqueRuns> opaqueRuns_;
  // The image's pixels when each is one 32-bit word, so that bitmaps can be copied in; else
  // null. The painter detached the image when it began, so they stay put while it paints.
  uchar* pixels_ = nullptr;
  qsizetype stride_ = 0;
  // The same at any device pixel ratio, for drawing in device pixels.
  uchar* devicePixels_ = nullptr;

  void ApplyPen();
  void ApplyBrush();
  const TOpaqueRuns& OpaqueRunsOf(const QImage& bitmap);
  bool CopyOpaquePixels(int x, int y, const QImage& bitmap);
};

}  // namespace zen
