// The world map drawn from outlines (Data/world.vec), for maps larger than the world bitmap.
#include "display/vector_map.h"

#include <QPainter>
#include <QPen>
#include <cerrno>
#include <cstdint>

#include "core/file_access.h"

namespace zen {
namespace {

constexpr char kMagic[4] = {'Z', 'V', 'M', 'P'};
constexpr int kVersion = 1;
constexpr double kDegreesPerUnit = 1e-3;
constexpr qint64 kMaxLongitudeUnits = 180000;
constexpr qint64 kMaxLatitudeUnits = 90000;
// The fewest bytes a path takes: its point count and two points of two one-byte steps; and a
// point: two one-byte steps. Counts are checked against them before anything is reserved.
constexpr qsizetype kMinPathBytes = 5;
constexpr qsizetype kMinPointBytes = 2;

class TByteReader {
 public:
  explicit TByteReader(const QByteArray& bytes)
      : data_(reinterpret_cast<const uint8_t*>(bytes.constData())), size_(bytes.size()) {}

  qsizetype Left() const { return size_ - at_; }

  bool Byte(uint8_t& value) {
    if (at_ >= size_) return false;
    value = data_[at_++];
    return true;
  }

  // An unsigned varint of at most 32 bits; false at the end of the data or on a longer one.
  bool Varint(uint32_t& value, bool& tooLong) {
    value = 0;
    tooLong = false;
    for (int shift = 0; shift < 35; shift += 7) {
      uint8_t byte = 0;
      if (!Byte(byte)) return false;
      if (shift == 28 && (byte & 0xF0) != 0) {
        tooLong = true;
        return false;
      }
      value |= uint32_t(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }

 private:
  const uint8_t* data_;
  qsizetype size_;
  qsizetype at_ = 0;
};

int64_t Unzigzag(uint32_t value) {
  return int64_t(value >> 1) ^ -int64_t(value & 1);
}

bool ReadNumber(TByteReader& in, uint32_t& value, const char* section, QString& problem) {
  bool tooLong = false;
  if (in.Varint(value, tooLong)) return true;
  problem = tooLong ? QStringLiteral("a number in the %1 is too long").arg(QLatin1String(section))
                    : QStringLiteral("the data ends inside the %1").arg(QLatin1String(section));
  return false;
}

bool ReadSection(TByteReader& in, const char* section, uint32_t maxPoints,
                 std::vector<TGeoPath>& paths, QString& problem) {
  const QLatin1String name(section);
  uint32_t count = 0;
  if (!ReadNumber(in, count, section, problem)) return false;
  if (count > uint64_t(in.Left() / kMinPathBytes)) {
    problem = QStringLiteral("the %1 count %2 is more than the data holds").arg(name).arg(count);
    return false;
  }
  paths.reserve(count);
  for (uint32_t p = 0; p < count; ++p) {
    uint32_t points = 0;
    if (!ReadNumber(in, points, section, problem)) return false;
    if (points < 2) {
      problem = QStringLiteral("a path of the %1 has fewer than two points").arg(name);
      return false;
    }
    if (points > maxPoints) {
      problem = QStringLiteral("a path of the %1 has %2 points, more than the %3 it may have")
                    .arg(name)
                    .arg(points)
                    .arg(maxPoints);
      return false;
    }
    if (points > uint64_t(in.Left() / kMinPointBytes)) {
      problem = QStringLiteral("a point count of the %1 is more than the data holds").arg(name);
      return false;
    }
    TGeoPath path;
    path.reserve(points);
    int64_t lon = 0;
    int64_t lat = 0;
    for (uint32_t i = 0; i < points; ++i) {
      uint32_t dLon = 0;
      uint32_t dLat = 0;
      if (!ReadNumber(in, dLon, section, problem) || !ReadNumber(in, dLat, section, problem)) {
        return false;
      }
      lon += Unzigzag(dLon);
      lat += Unzigzag(dLat);
      if (lon < -kMaxLongitudeUnits || lon > kMaxLongitudeUnits || lat < -kMaxLatitudeUnits ||
          lat > kMaxLatitudeUnits) {
        problem = QStringLiteral("a point of the %1 lies off the globe").arg(name);
        return false;
      }
      path.emplace_back(double(lon) * kDegreesPerUnit, double(lat) * kDegreesPerUnit);
    }
    paths.push_back(std::move(path));
  }
  return true;
}

// Anticlockwise on the map, with latitude growing upwards: a positive signed area.
bool IsWater(const TGeoPath& ring) {
  double twiceArea = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const QPointF& a = ring[i];
    const QPointF& b = ring[(i + 1) % ring.size()];
    twiceArea += a.x() * b.y() - b.x() * a.y();
  }
  return twiceArea > 0;
}

// Longitude and latitude to a position in an area of size whose top left corner is the origin.
struct TToArea {
  double xScale;
  double yScale;
  QPointF operator()(const QPointF& geo) const {
    return {(geo.x() + 180.0) * xScale, (90.0 - geo.y()) * yScale};
  }
};

// Points of a line drawn in one call: the drawing can stop between two such pieces, and no
// one call is long whatever the line.
constexpr size_t kLinePiecePoints = 256;

bool StrokeLines(QPainter& painter, const std::vector<TGeoPath>& lines, const QColor& colour,
                 const TToArea& toArea, const TKeepDrawing& keepGoing) {
  QPen pen(colour);
  pen.setWidthF(1.0);
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  std::vector<QPointF> points;
  for (const TGeoPath& line : lines) {
    // Pieces share their end points, so the line runs on unbroken.
    for (size_t from = 0; from + 1 < line.size(); from += kLinePiecePoints - 1) {
      if (keepGoing && !keepGoing()) return false;
      const size_t to = std::min(line.size(), from + kLinePiecePoints);
      points.clear();
      for (size_t i = from; i < to; ++i) points.push_back(toArea(line[i]));
      painter.drawPolyline(points.data(), int(points.size()));
    }
  }
  return true;
}

}  // namespace

bool ParseVectorMap(const QByteArray& bytes, TVectorMap& map, QString& problem) {
  if (bytes.size() < 5 || !bytes.startsWith(QByteArray::fromRawData(kMagic, 4))) {
    problem = QStringLiteral("not a map file");
    return false;
  }
  TByteReader in(bytes);
  for (int i = 0; i < 4; ++i) {
    uint8_t skip = 0;
    in.Byte(skip);
  }
  uint8_t version = 0;
  in.Byte(version);
  if (version != kVersion) {
    problem = QStringLiteral("map version %1 is not known").arg(version);
    return false;
  }
  TVectorMap read;
  constexpr uint32_t kAnyLength = UINT32_MAX;
  if (!ReadSection(in, "land rings", kMaxRingPoints, read.land, problem) ||
      !ReadSection(in, "borders", kAnyLength, read.borders, problem) ||
      !ReadSection(in, "coastlines", kAnyLength, read.coastlines, problem)) {
    return false;
  }
  if (in.Left() != 0) {
    problem = QStringLiteral("%1 more bytes follow the map").arg(in.Left());
    return false;
  }
  map = std::move(read);
  return true;
}

bool ReadVectorMap(const QString& path, TVectorMap& map, QString& problem) {
  std::string bytes;
  try {
    bytes = ReadFileBytes(path.toStdString(), static_cast<std::uint64_t>(kMaxVectorMapBytes));
  } catch (const TFileError& error) {
    problem = error.Code() == ENOENT ? QStringLiteral("the file is missing")
                                     : QString::fromStdString(error.Reason());
    return false;
  }
  return ParseVectorMap(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), map,
                        problem);
}

QImage RenderVectorMap(const TVectorMap& map, QSize areaLogical, qreal devicePixelRatio,
                       const TKeepDrawing& keepGoing) {
  if (areaLogical.isEmpty() || !(devicePixelRatio > 0)) return {};
  const QSize pixels = (QSizeF(areaLogical) * devicePixelRatio).toSize();
  QImage image(pixels, QImage::Format_RGB32);
  image.fill(kMapOceanColour);

  // Land ring by ring, in the image's own pixels; the water inside land after all the land
  // round it. The rings do not overlap, so no seam shows between them.
  const TToArea toPixels{pixels.width() / 360.0, pixels.height() / 180.0};
  std::vector<QPointF> points;
  for (const bool water : {false, true}) {
    const QRgb colour = (water ? kMapOceanColour : kMapLandColour).rgb();
    for (const TGeoPath& ring : map.land) {
      if (ring.size() < 3 || IsWater(ring) != water) continue;
      points.clear();
      for (const QPointF& geo : ring) points.push_back(toPixels(geo));
      if (!FillRing(image, points, colour, keepGoing)) return {};
    }
  }

  image.setDevicePixelRatio(devicePixelRatio);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QSizeF logical = QSizeF(pixels) / devicePixelRatio;
  const TToArea toArea{logical.width() / 360.0, logical.height() / 180.0};
  if (!StrokeLines(painter, map.borders, kMapBorderColour, toArea, keepGoing) ||
      !StrokeLines(painter, map.coastlines, kMapCoastColour, toArea, keepGoing)) {
    return {};
  }
  painter.end();
  return image;
}

QString VectorMapProblemText(const QString& problem) {
  return QStringLiteral(
             "Cannot load the world outlines Data/world.vec: %1. Maps larger than the "
             "world bitmap show it smoothed.")
      .arg(problem);
}

QString VectorMapTooHeavyText(int limitMs) {
  return QStringLiteral(
             "The world outlines Data/world.vec are too heavy to draw within %1 s. "
             "Maps larger than the world bitmap show it smoothed.")
      .arg(limitMs / 1000.0);
}

}  // namespace zen
