// Makes resources/Data/world.vec, the outlines the map is drawn from when it is larger than the
// world bitmap, from the Natural Earth 1:50m countries and coastlines (public domain,
// https://www.naturalearthdata.com) as GeoJSON.
//
// Run from the source folder:
//   cmake --build build --target zen_make_world_map
//   build/tools/zen_make_world_map naturalearth_countries50.geojson
//       naturalearth_coastline50.geojson resources/Data/world.vec
// (all arguments on one line).
//
// The countries come as Polygon or MultiPolygon features, or as one LineString feature per ring
// with a "hole" property. The outline of all of them together is the land; the stretches two
// rings share are the borders. Rings are cut into arcs at the points where three or more of
// them meet, and each arc is simplified once, the same for both rings that share it, so that
// neighbours still meet exactly and the filled land shows no seam. The coastlines are simplified
// line by line. The format is described in display/vector_map.h; the file written is read back
// with the program's own reader before the tool reports success.
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "display/vector_map.h"

namespace {

// Points in thousandths of a degree: (longitude, latitude).
using TPoint = std::pair<int32_t, int32_t>;
using TLine = std::vector<TPoint>;

constexpr double kUnitsPerDegree = 1000.0;
// How far a simplified line may stray from the original: 0.01 degree, a tenth of a pixel on a
// map 3600 pixels wide.
constexpr double kTolerance = 10.0;

TPoint ToPoint(const nlohmann::json& position) {
  const double lon = std::clamp(position.at(0).get<double>(), -180.0, 180.0);
  const double lat = std::clamp(position.at(1).get<double>(), -90.0, 90.0);
  return {int32_t(std::lround(lon * kUnitsPerDegree)), int32_t(std::lround(lat * kUnitsPerDegree))};
}

// The positions as points, with repeats of the same point in a row dropped.
TLine ToLine(const nlohmann::json& positions) {
  TLine line;
  for (const auto& position : positions) {
    const TPoint point = ToPoint(position);
    if (line.empty() || line.back() != point) line.push_back(point);
  }
  return line;
}

double DistanceToSegment(const TPoint& p, const TPoint& a, const TPoint& b) {
  const double dx = double(b.first) - a.first;
  const double dy = double(b.second) - a.second;
  const double px = double(p.first) - a.first;
  const double py = double(p.second) - a.second;
  const double length2 = dx * dx + dy * dy;
  if (length2 == 0) return std::hypot(px, py);
  const double t = std::clamp((px * dx + py * dy) / length2, 0.0, 1.0);
  return std::hypot(px - t * dx, py - t * dy);
}

// Douglas-Peucker: keeps the ends and every point needed to stay within kTolerance.
TLine Simplify(const TLine& line) {
  if (line.size() < 3) return line;
  std::vector<bool> keep(line.size(), false);
  keep.front() = keep.back() = true;
  std::vector<std::pair<size_t, size_t>> spans{{0, line.size() - 1}};
  while (!spans.empty()) {
    const auto [first, last] = spans.back();
    spans.pop_back();
    double farthest = 0;
    size_t at = first;
    for (size_t i = first + 1; i < last; ++i) {
      const double d = DistanceToSegment(line[i], line[first], line[last]);
      if (d > farthest) {
        farthest = d;
        at = i;
      }
    }
    if (farthest > kTolerance) {
      keep[at] = true;
      spans.emplace_back(first, at);
      spans.emplace_back(at, last);
    }
  }
  TLine simplified;
  for (size_t i = 0; i < line.size(); ++i) {
    if (keep[i]) simplified.push_back(line[i]);
  }
  return simplified;
}

// The same arc gives the same result whichever way round a ring runs along it.
bool RunsBackwards(const TLine& arc) {
  if (arc.front() != arc.back()) return arc.back() < arc.front();
  return arc.size() > 2 && arc[arc.size() - 2] < arc[1];
}

TLine SimplifyArc(TLine arc) {
  const bool backwards = RunsBackwards(arc);
  if (backwards) std::reverse(arc.begin(), arc.end());
  TLine simplified = Simplify(arc);
  if (backwards) std::reverse(simplified.begin(), simplified.end());
  return simplified;
}

// A line that jumps more than half way round the globe is cut there, so that none is drawn
// across the whole map.
std::vector<TLine> CutAtJumps(const TLine& line) {
  std::vector<TLine> pieces(1);
  for (const TPoint& point : line) {
    if (!pieces.back().empty() &&
        std::abs(point.first - pieces.back().back().first) > 180 * kUnitsPerDegree) {
      pieces.emplace_back();
    }
    pieces.back().push_back(point);
  }
  std::erase_if(pieces, [](const TLine& piece) { return piece.size() < 2; });
  return pieces;
}

struct TRing {
  TLine points;  // open: the last point is not the first again
  bool hole = false;
};

void AddRing(const nlohmann::json& positions, bool hole, std::vector<TRing>& rings) {
  TLine line = ToLine(positions);
  if (line.size() > 1 && line.front() == line.back()) line.pop_back();
  if (line.size() >= 3) rings.push_back({std::move(line), hole});
}

std::vector<TRing> ReadCountries(const nlohmann::json& collection) {
  std::vector<TRing> rings;
  for (const auto& feature : collection.at("features")) {
    const auto& geometry = feature.at("geometry");
    const std::string type = geometry.at("type").get<std::string>();
    const auto& coordinates = geometry.at("coordinates");
    if (type == "LineString") {
      const auto& properties = feature.value("properties", nlohmann::json::object());
      AddRing(coordinates, properties.value("hole", false), rings);
    } else if (type == "Polygon" || type == "MultiPolygon") {
      const auto polygons = type == "Polygon" ? nlohmann::json::array({coordinates}) : coordinates;
      for (const auto& polygon : polygons) {
        for (size_t i = 0; i < polygon.size(); ++i) AddRing(polygon[i], i > 0, rings);
      }
    }
  }
  return rings;
}

std::vector<TLine> ReadCoastlines(const nlohmann::json& collection) {
  std::vector<TLine> lines;
  for (const auto& feature : collection.at("features")) {
    const auto& geometry = feature.at("geometry");
    const std::string type = geometry.at("type").get<std::string>();
    const auto& coordinates = geometry.at("coordinates");
    if (type == "LineString") {
      lines.push_back(ToLine(coordinates));
    } else if (type == "MultiLineString") {
      for (const auto& part : coordinates) lines.push_back(ToLine(part));
    }
  }
  return lines;
}

using TEdge = std::pair<TPoint, TPoint>;

TEdge EdgeOf(const TPoint& a, const TPoint& b) {
  return a < b ? TEdge{a, b} : TEdge{b, a};
}

struct TTopology {
  std::vector<TLine> land;
  std::vector<TLine> borders;
};

// Twice the signed area; the rings are written all running the same way round.
double SignedArea(const TLine& ring) {
  double sum = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const TPoint& a = ring[i];
    const TPoint& b = ring[(i + 1) % ring.size()];
    sum += double(a.first) * b.second - double(b.first) * a.second;
  }
  return sum;
}

// The outline of all countries together: the edges of the simplified rings that no other ring
// shares, chained into rings. An enclave's edges are shared by the hole round it, so it merges
// into its neighbour; water that countries surround without covering (the Caspian Sea) stays
// a ring of its own, running anticlockwise.
std::vector<TLine> LandOutlines(const std::vector<TRing>& rings) {
  std::map<TEdge, int> uses;
  for (const TRing& ring : rings) {
    for (size_t i = 0; i < ring.points.size(); ++i) {
      ++uses[EdgeOf(ring.points[i], ring.points[(i + 1) % ring.points.size()])];
    }
  }
  std::multimap<TPoint, TPoint> next;
  for (const TRing& ring : rings) {
    if (ring.hole) continue;
    for (size_t i = 0; i < ring.points.size(); ++i) {
      const TPoint& to = ring.points[(i + 1) % ring.points.size()];
      if (uses[EdgeOf(ring.points[i], to)] == 1) next.emplace(ring.points[i], to);
    }
  }
  std::vector<TLine> outlines;
  size_t unclosed = 0;
  while (!next.empty()) {
    const TPoint start = next.begin()->first;
    TLine outline{start};
    bool closed = false;
    for (auto edge = next.begin(); edge != next.end(); edge = next.find(outline.back())) {
      const TPoint to = edge->second;
      next.erase(edge);
      if (to == start) {
        closed = true;
        break;
      }
      outline.push_back(to);
    }
    if (closed && outline.size() >= 3) {
      outlines.push_back(std::move(outline));
    } else if (!closed) {
      ++unclosed;
    }
  }
  if (unclosed != 0) std::fprintf(stderr, "%zu land outlines do not close\n", unclosed);
  return outlines;
}

TTopology SimplifyCountries(const std::vector<TRing>& rings) {
  std::map<TPoint, std::set<TPoint>> neighbours;
  std::map<TEdge, int> edgeUses;
  for (const TRing& ring : rings) {
    const TLine& p = ring.points;
    for (size_t i = 0; i < p.size(); ++i) {
      const TPoint& next = p[(i + 1) % p.size()];
      neighbours[p[i]].insert(next);
      neighbours[next].insert(p[i]);
      ++edgeUses[EdgeOf(p[i], next)];
    }
  }

  TTopology topology;
  std::vector<TRing> simplifiedRings;
  std::set<TLine> bordersSeen;
  for (const TRing& ring : rings) {
    const TLine& p = ring.points;
    const size_t n = p.size();
    // Arcs end where the ring meets more than one other line; a ring that meets none starts at
    // its smallest point, which every ring running along it chooses alike.
    std::vector<size_t> nodes;
    for (size_t i = 0; i < n; ++i) {
      if (neighbours[p[i]].size() != 2) nodes.push_back(i);
    }
    if (nodes.empty()) nodes.push_back(size_t(std::min_element(p.begin(), p.end()) - p.begin()));

    TLine simplifiedRing;
    for (size_t k = 0; k < nodes.size(); ++k) {
      const size_t from = nodes[k];
      const size_t to = nodes[(k + 1) % nodes.size()];
      TLine arc{p[from]};
      for (size_t i = (from + 1) % n;; i = (i + 1) % n) {
        arc.push_back(p[i]);
        if (i == to) break;
      }
      const TLine simplified = SimplifyArc(arc);
      simplifiedRing.insert(simplifiedRing.end(), simplified.begin(), simplified.end() - 1);
      if (edgeUses[EdgeOf(arc[0], arc[1])] >= 2) {
        TLine key = simplified;
        if (RunsBackwards(key)) std::reverse(key.begin(), key.end());
        if (bordersSeen.insert(key).second) {
          for (TLine& piece : CutAtJumps(simplified)) topology.borders.push_back(std::move(piece));
        }
      }
    }
    if (simplifiedRing.size() >= 3) {
      // Outer rings run clockwise (east, then south), holes the other way.
      if ((SignedArea(simplifiedRing) > 0) != ring.hole) {
        std::reverse(simplifiedRing.begin(), simplifiedRing.end());
      }
      simplifiedRings.push_back({std::move(simplifiedRing), ring.hole});
    }
  }
  topology.land = LandOutlines(simplifiedRings);
  return topology;
}

void PutVarint(std::string& out, uint32_t value) {
  while (value >= 0x80) {
    out.push_back(char((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(char(value));
}

uint32_t Zigzag(int32_t value) {
  return (uint32_t(value) << 1) ^ uint32_t(value >> 31);
}

void PutSection(std::string& out, const std::vector<TLine>& lines) {
  PutVarint(out, uint32_t(lines.size()));
  for (const TLine& line : lines) {
    PutVarint(out, uint32_t(line.size()));
    TPoint previous{0, 0};
    for (const TPoint& point : line) {
      PutVarint(out, Zigzag(point.first - previous.first));
      PutVarint(out, Zigzag(point.second - previous.second));
      previous = point;
    }
  }
}

size_t PointCount(const std::vector<TLine>& lines) {
  size_t count = 0;
  for (const TLine& line : lines) count += line.size();
  return count;
}

nlohmann::json ReadJson(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot open ") + path);
  return nlohmann::json::parse(in);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s COUNTRIES.geojson COASTLINES.geojson OUTPUT.vec\n", argv[0]);
    return 2;
  }
  try {
    const std::vector<TRing> rings = ReadCountries(ReadJson(argv[1]));
    TTopology topology = SimplifyCountries(rings);
    std::vector<TLine> coastlines;
    for (const TLine& line : ReadCoastlines(ReadJson(argv[2]))) {
      for (TLine& piece : CutAtJumps(Simplify(line))) coastlines.push_back(std::move(piece));
    }

    std::string bytes("ZVMP\x01", 5);
    PutSection(bytes, topology.land);
    PutSection(bytes, topology.borders);
    PutSection(bytes, coastlines);

    zen::TVectorMap check;
    QString problem;
    if (!zen::ParseVectorMap(QByteArray(bytes.data(), qsizetype(bytes.size())), check, problem)) {
      std::fprintf(stderr, "the map made does not read back: %s\n", qPrintable(problem));
      return 1;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[3]);
    std::printf(
        "%zu land rings (%zu points), %zu borders (%zu points), %zu coastlines (%zu points): "
        "%zu bytes\n",
        topology.land.size(), PointCount(topology.land), topology.borders.size(),
        PointCount(topology.borders), coastlines.size(), PointCount(coastlines), bytes.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
