// Filling closed rings of any length into an image, each pixel by the share of its area inside.
//
// Every edge leaves, in each pixel row it crosses, the change it makes to the covered share
// from one pixel to the next; a running sum along the row then gives each pixel's share. The
// work is the edges' length in pixels plus the rows' cells, whatever the ring's shape: no list
// of crossings is kept or sorted per row.
#include "display/ring_fill.h"

#include <algorithm>
#include <cmath>

namespace zen {

namespace {

// The cells of one band of rows worked on at once, at most.
constexpr qsizetype kBandCells = qsizetype(1) << 20;
// Edges laid down between two questions whether to go on.
constexpr int kEdgesBetweenChecks = 4096;
// Shares closer than this to 0 or 1 are taken as 0 or 1: less than half a colour step.
constexpr double kShareEpsilon = 1.0 / 512.0;

struct TEdge {
  double xTop;
  double yTop;
  double yBottom;
  double slope;  // dx / dy
  double sign;   // +1 running down the image, -1 running up
};

// The share of the pixel column [column, column + 1) that lies right of a segment whose x
// runs evenly over [x0, x1]: the mean of clamp(column + 1 - x, 0, 1).
double RightShare(double column, double x0, double x1) {
  const double width = x1 - x0;
  if (width < 1e-9) return std::clamp(column + 1.0 - x0, 0.0, 1.0);
  const double whole = std::max(0.0, std::min(x1, column) - x0);
  const double a = column + 1.0 - std::clamp(x0, column, column + 1.0);
  const double b = column + 1.0 - std::clamp(x1, column, column + 1.0);
  return (whole + (a * a - b * b) / 2.0) / width;
}

// The cells of one row, and the span of them that edges have touched.
struct TRowCells {
  float* cells;
  qsizetype& first;
  qsizetype& last;
};

// Lays down the part of an edge within one row, from x = xa to x = xb over a height whose
// signed share of the row is height: the change of the covered share at each column.
void LayDown(TRowCells row, int left, double xa, double xb, double height) {
  const double x0 = std::min(xa, xb);
  const double x1 = std::max(xa, xb);
  const int first = static_cast<int>(std::floor(x0));
  const int last = std::max(first, static_cast<int>(std::ceil(x1)) - 1);
  row.first = std::min<qsizetype>(row.first, first - left);
  row.last = std::max<qsizetype>(row.last, last + 1 - left);
  float* cells = row.cells - left;
  if (last == first) {
    // Within one column, the commonest case: its share is that right of the segment's middle.
    const double share = height * (first + 1.0 - (x0 + x1) / 2.0);
    cells[first] += static_cast<float>(share);
    cells[first + 1] += static_cast<float>(height - share);
    return;
  }
  double before = 0.0;
  for (int column = first; column <= last; ++column) {
    const double share = height * RightShare(column, x0, x1);
    cells[column] += static_cast<float>(share - before);
    before = share;
  }
  cells[last + 1] += static_cast<float>(height - before);
}

QRgb Blend(QRgb under, QRgb colour, double share) {
  auto mix = [share](int from, int to) {
    return static_cast<int>(std::lround(from + (to - from) * share));
  };
  return qRgb(mix(qRed(under), qRed(colour)), mix(qGreen(under), qGreen(colour)),
              mix(qBlue(under), qBlue(colour)));
}

}  // namespace

bool FillRing(QImage& image, const std::vector<QPointF>& ring, QRgb colour,
              const TKeepDrawing& keepGoing) {
  if (ring.size() < 3 || image.isNull()) return true;
  double minX = ring.front().x();
  double maxX = minX;
  double minY = ring.front().y();
  double maxY = minY;
  std::vector<TEdge> edges;
  edges.reserve(ring.size());
  for (size_t i = 0; i < ring.size(); ++i) {
    const QPointF& a = ring[i];
    const QPointF& b = ring[(i + 1) % ring.size()];
    minX = std::min(minX, a.x());
    maxX = std::max(maxX, a.x());
    minY = std::min(minY, a.y());
    maxY = std::max(maxY, a.y());
    if (a.y() == b.y()) continue;  // covers nothing
    const bool down = a.y() < b.y();
    const QPointF& top = down ? a : b;
    const QPointF& bottom = down ? b : a;
    edges.push_back({top.x(), top.y(), bottom.y(), (bottom.x() - top.x()) / (bottom.y() - top.y()),
                     down ? 1.0 : -1.0});
  }
  if (!(std::isfinite(minX) && std::isfinite(maxX) && std::isfinite(minY) && std::isfinite(maxY))) {
    return true;
  }
  // Columns from the ring's left edge, so that everything left of the image still counts, to
  // one past its right edge, where the change of the last column it touches lands.
  const int left = static_cast<int>(std::floor(minX));
  const qsizetype width = static_cast<qsizetype>(std::floor(maxX)) + 2 - left;
  const int firstRow = std::max(0, static_cast<int>(std::floor(minY)));
  const int endRow = std::min(image.height(), static_cast<int>(std::ceil(maxY)));
  if (firstRow >= endRow || width <= 0) return true;
  const int bandRows =
      static_cast<int>(std::clamp<qsizetype>(kBandCells / width, 1, endRow - firstRow));
  // Every cell is back to 0 once its row is read, so a band starts on clean cells.
  std::vector<float> cells(static_cast<size_t>(width * bandRows), 0.0f);
  std::vector<qsizetype> firstTouched(static_cast<size_t>(bandRows));
  std::vector<qsizetype> lastTouched(static_cast<size_t>(bandRows));
  // The cells over the image's columns; those left of it still count towards the sums.
  const qsizetype firstInside = std::max<qsizetype>(0, -left);
  const qsizetype endInside = std::min<qsizetype>(width, qsizetype(image.width()) - left);
  const QRgb solid = colour | 0xFF000000u;

  for (int bandTop = firstRow; bandTop < endRow; bandTop += bandRows) {
    if (keepGoing && !keepGoing()) return false;
    const int bandEnd = std::min(endRow, bandTop + bandRows);
    std::fill(firstTouched.begin(), firstTouched.end(), width);
    std::fill(lastTouched.begin(), lastTouched.end(), -1);
    int sinceCheck = 0;
    for (const TEdge& edge : edges) {
      if (edge.yBottom <= bandTop || edge.yTop >= bandEnd) continue;
      if (++sinceCheck == kEdgesBetweenChecks) {
        sinceCheck = 0;
        if (keepGoing && !keepGoing()) return false;
      }
      const int from = std::max(bandTop, static_cast<int>(std::floor(edge.yTop)));
      const int to = std::min(bandEnd, static_cast<int>(std::ceil(edge.yBottom)));
      for (int y = from; y < to; ++y) {
        const double ya = std::max(edge.yTop, static_cast<double>(y));
        const double yb = std::min(edge.yBottom, static_cast<double>(y) + 1.0);
        if (yb <= ya) continue;
        // Held to the ring's own span: rounding must not carry a point past its columns.
        const double xa = std::clamp(edge.xTop + (ya - edge.yTop) * edge.slope, minX, maxX);
        const double xb = std::clamp(edge.xTop + (yb - edge.yTop) * edge.slope, minX, maxX);
        const auto r = static_cast<size_t>(y - bandTop);
        LayDown({cells.data() + static_cast<qsizetype>(r) * width, firstTouched[r], lastTouched[r]},
                left, xa, xb, edge.sign * (yb - ya));
      }
    }
    for (int y = bandTop; y < bandEnd; ++y) {
      const auto r = static_cast<size_t>(y - bandTop);
      auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
      float* row = cells.data() + static_cast<qsizetype>(r) * width;
      // Left of the first cell touched and right of the last the sum is 0: the ring is closed.
      double sum = 0.0;
      for (qsizetype i = firstTouched[r]; i <= lastTouched[r]; ++i) {
        sum += row[i];
        row[i] = 0.0f;
        const double share = std::fabs(sum);
        if (share < kShareEpsilon || i < firstInside || i >= endInside) continue;
        QRgb& pixel = pixels[left + i];
        pixel = share > 1.0 - kShareEpsilon ? solid : Blend(pixel, colour, share);
      }
    }
  }
  return true;
}

}  // namespace zen
