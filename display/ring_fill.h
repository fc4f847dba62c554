// Filling closed rings of any length into an image, each pixel by the share of its area inside.
#pragma once

#include <QImage>
#include <QPointF>
#include <functional>
#include <vector>

namespace zen {

// Asked now and then during a long drawing whether to go on; false stops it.
using TKeepDrawing = std::function<bool()>;

// Fills ring, in the image's own (device) pixels and closed by the fill, with colour: every
// pixel is blended with colour by the share of its area that the ring covers. Where a ring runs
// over itself, what it winds round is filled (twice round is filled, not cancelled), and the
// edge pixels of those parts may come out fuller than their share. Time and memory grow with
// the ring's length in pixels and the rows it spans, never with the square of its points, so a
// ring of any shape can be filled, and the filling can be stopped between rows. image is
// Format_RGB32. False when keepGoing said to stop (the ring is then filled in part).
bool FillRing(QImage& image, const std::vector<QPointF>& ring, QRgb colour,
              const TKeepDrawing& keepGoing = {});

}  // namespace zen
