// World outline files (Data/world.vec) read from bytes: whatever the bytes, the reader either
// refuses them with a reason and leaves the map alone, or gives paths of points on the globe.
#include <QByteArray>
#include <QString>

#include "display/vector_map.h"
#include "fuzz/fuzz_support.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  zen::TVectorMap map;
  map.borders = {{QPointF(1, 2), QPointF(3, 4)}};
  QString problem;
  if (!zen::ParseVectorMap(bytes, map, problem)) {
    Require(!problem.isEmpty(), "a refusal gives its reason");
    Require(map.borders.size() == 1 && map.land.empty() && map.coastlines.empty(),
            "a refused file leaves the map as it was");
    return 0;
  }
  size_t points = 0;
  for (const auto* section : {&map.land, &map.borders, &map.coastlines}) {
    for (const zen::TGeoPath& path : *section) {
      Require(path.size() >= 2, "a path has two points or more");
      for (const QPointF& point : path) {
        Require(point.x() >= -180 && point.x() <= 180 && point.y() >= -90 && point.y() <= 90,
                "a point lies on the globe");
      }
      points += path.size();
    }
  }
  Require(points * 2 <= size, "every point takes two bytes or more");
  return 0;
}
