// The world map drawn from outlines: known places, agreement with the world bitmap, and the
// reader's refusal of damaged files.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "display/vector_map.h"
#include "gui_application.h"
#include "image_probe.h"

namespace zen {
namespace {

const QString kShippedData = QStringLiteral(ZEN_SOURCE_DIR "/resources/Data");

const TVectorMap& ShippedMap() {
  static const TVectorMap map = [] {
    TVectorMap read;
    QString problem;
    EXPECT_TRUE(ReadVectorMap(kShippedData + "/world.vec", read, problem)) << qPrintable(problem);
    return read;
  }();
  return map;
}

// A map file written by hand, as the format describes it.
void PutVarint(std::string& out, uint32_t value) {
  for (; value >= 0x80; value >>= 7) out.push_back(char((value & 0x7F) | 0x80));
  out.push_back(char(value));
}
void PutStep(std::string& out, int32_t step) {
  PutVarint(out, step < 0 ? uint32_t(-2 * int64_t(step) - 1) : uint32_t(2 * step));
}
// A map of one land ring through points given in thousandths of a degree.
QByteArray RingMap(const std::vector<std::pair<int32_t, int32_t>>& points) {
  std::string out("ZVMP\x01\x01", 6);
  PutVarint(out, uint32_t(points.size()));
  std::pair<int32_t, int32_t> last{0, 0};
  for (const auto& point : points) {
    PutStep(out, point.first - last.first);
    PutStep(out, point.second - last.second);
    last = point;
  }
  out.append(2, '\0');  // no borders, no coastlines
  return QByteArray(out.data(), qsizetype(out.size()));
}
// A square ring of count points, the last corner repeated.
QByteArray RingOfPoints(uint32_t count) {
  std::vector<std::pair<int32_t, int32_t>> points(count, {0, -1000});
  points[0] = {0, 0};
  points[1] = {1000, 0};
  points[2] = {1000, -1000};
  return RingMap(points);
}

QByteArray OneLineMap(int32_t lon0, int32_t lat0, int32_t lon1, int32_t lat1) {
  std::string out("ZVMP\x01", 5);
  PutVarint(out, 0);  // land rings
  PutVarint(out, 0);  // borders
  PutVarint(out, 1);  // coastlines: one of two points
  PutVarint(out, 2);
  PutStep(out, lon0);
  PutStep(out, lat0);
  PutStep(out, lon1 - lon0);
  PutStep(out, lat1 - lat0);
  return QByteArray(out.data(), qsizetype(out.size()));
}

TEST(VectorMapFile, DecodesStepsInThousandthsOfADegree) {
  TVectorMap map;
  QString problem;
  ASSERT_TRUE(ParseVectorMap(OneLineMap(-180000, 90000, 12345, -67891), map, problem))
      << qPrintable(problem);
  ASSERT_EQ(map.coastlines.size(), 1u);
  EXPECT_EQ(map.coastlines[0][0], QPointF(-180, 90));
  EXPECT_DOUBLE_EQ(map.coastlines[0][1].x(), 12.345);
  EXPECT_DOUBLE_EQ(map.coastlines[0][1].y(), -67.891);
}

struct TDamageCase {
  const char* name;
  QByteArray bytes;
  const char* reason;  // a pattern the reason given matches
};

class DamagedVectorMap : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(DamagedVectorMap, IsRefusedWithAReasonAndLeavesTheMapAlone) {
  TVectorMap map;
  map.borders = {{QPointF(1, 2), QPointF(3, 4)}};
  QString problem;
  EXPECT_FALSE(ParseVectorMap(GetParam().bytes, map, problem));
  EXPECT_TRUE(problem.contains(QRegularExpression(QLatin1String(GetParam().reason))))
      << qPrintable(problem);
  ASSERT_EQ(map.borders.size(), 1u);
  EXPECT_TRUE(map.land.empty() && map.coastlines.empty());
}

QByteArray Shipped() {
  QFile file(kShippedData + "/world.vec");
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Replaced(QByteArray bytes, int at, char value) {
  bytes[at] = value;
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedVectorMap,
    ::testing::Values(
        TDamageCase{"Empty", QByteArray(), "not a map"},
        TDamageCase{"MagicOnly", Shipped().left(4), "not a map"},
        TDamageCase{"HeaderOnly", Shipped().left(5), "ends"},
        TDamageCase{"CutInTheFirstPath", Shipped().left(9), "ends|more than the data holds"},
        TDamageCase{"CutHalfWay", Shipped().left(Shipped().size() / 2),
                    "ends|more than the data holds"},
        TDamageCase{"LastByteMissing", Shipped().chopped(1), "ends"},
        TDamageCase{"ByteAfterTheEnd", Shipped() + '\0', "follow"},
        TDamageCase{"BadMagic", Replaced(Shipped(), 0, 'X'), "not a map"},
        TDamageCase{"LaterVersion", Replaced(Shipped(), 4, 2), "version 2"},
        TDamageCase{"PathCountTooLarge",
                    QByteArray("ZVMP\x01\xFF\xFF\xFF\x7F", 9) + QByteArray(64, '\0'),
                    "count 268435455 is more than the data holds"},
        TDamageCase{"NumberTooLong", QByteArray("ZVMP\x01\xFF\xFF\xFF\xFF\x7F", 10), "too long"},
        TDamageCase{"EastOfTheDateLine", OneLineMap(180001, 0, 0, 0), "off the globe"},
        TDamageCase{"SouthOfThePole", OneLineMap(0, 0, 10, -90001), "off the globe"},
        TDamageCase{"RingOfMorePointsThanAllowed", RingOfPoints(kMaxRingPoints + 1),
                    "land rings has 200001 points, more than the 200000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VectorMapFile, TakesARingOfTheMostPointsAllowed) {
  TVectorMap map;
  QString problem;
  ASSERT_TRUE(ParseVectorMap(RingOfPoints(kMaxRingPoints), map, problem)) << qPrintable(problem);
  EXPECT_EQ(map.land.at(0).size(), size_t(kMaxRingPoints));
}

TEST(VectorMapFile, ReadRefusesWhatIsNoRegularFileOrTooLarge) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile large(folder.path() + "/large.vec");
  ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(kMaxVectorMapBytes + 1));
  large.close();
  for (const QString& path : {folder.path(), folder.path() + "/missing.vec", large.fileName()}) {
    TVectorMap map;
    QString problem;
    EXPECT_FALSE(ReadVectorMap(path, map, problem)) << qPrintable(path);
    EXPECT_FALSE(problem.isEmpty());
  }
}

struct TPlaceCase {
  const char* name;
  double lon;
  double lat;
  bool land;
};

class VectorMapPlaces : public ::testing::TestWithParam<TPlaceCase> {
 protected:
  static const QImage& Rendering() {
    // 900 x 540 at twice the pixels: 1800 x 1080 device pixels.
    static const QImage image =
        (test::EnsureGuiApplication(), RenderVectorMap(ShippedMap(), QSize(900, 540), 2.0));
    return image;
  }
};

TEST_P(VectorMapPlaces, LieOnLandOrSea) {
  const QImage& image = Rendering();
  ASSERT_EQ(image.size(), QSize(1800, 1080));
  EXPECT_EQ(image.devicePixelRatio(), 2.0);
  const TPlaceCase& place = GetParam();
  const int x = int((place.lon + 180) / 360 * image.width());
  const int y = int((90 - place.lat) / 180 * image.height());
  EXPECT_TRUE(test::IsColour(image, x, y, place.land ? kMapLandColour : kMapOceanColour))
      << QColor(image.pixel(x, y)).name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VectorMapPlaces,
    ::testing::Values(
        TPlaceCase{"Sahara", 13, 26, true}, TPlaceCase{"CentralAustralia", 134, -24, true},
        TPlaceCase{"Siberia", 100, 62, true}, TPlaceCase{"InteriorBrazil", -52, -10, true},
        TPlaceCase{"Greenland", -40, 75, true}, TPlaceCase{"Antarctica", 0, -85, true},
        TPlaceCase{"Chukotka", 175, 66, true}, TPlaceCase{"MidPacific", -150, 0, false},
        TPlaceCase{"SouthAtlantic", -20, -35, false}, TPlaceCase{"IndianOcean", 80, -30, false},
        TPlaceCase{"NorthAtlantic", -40, 40, false}, TPlaceCase{"ArcticOcean", 0, 87, false},
        TPlaceCase{"CaspianSea", 51, 42, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Land and sea told apart by brightness, halfway between their colours.
bool LooksLikeLand(QRgb rgb) {
  const int middle = (kMapLandColour.red() + kMapLandColour.green() + kMapLandColour.blue() +
                      kMapOceanColour.red() + kMapOceanColour.green() + kMapOceanColour.blue()) /
                     2;
  return qRed(rgb) + qGreen(rgb) + qBlue(rgb) >= middle;
}

TEST(VectorMap, AgreesWithTheWorldBitmapAtItsSize) {
  test::EnsureGuiApplication();
  QImage bitmap(kShippedData + "/world.bmp");
  ASSERT_EQ(bitmap.size(), QSize(600, 360));
  const QImage drawn = RenderVectorMap(ShippedMap(), bitmap.size(), 1.0);
  int agree = 0;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      agree += LooksLikeLand(bitmap.pixel(x, y)) == LooksLikeLand(drawn.pixel(x, y));
    }
  }
  const double share = double(agree) / (600 * 360);
  EXPECT_GT(share, 0.97);
  std::printf("land and sea agree on %.2f%% of the pixels\n", share * 100);
}

// A land ring of nearly the most points allowed, a star of thin spikes: more points than the
// toolkit's filler takes in one piece, in a shape it cannot cut into smaller ones.
TEST(VectorMap, FillsALandRingOfAnyShapeUpToTheMostPoints) {
  test::EnsureGuiApplication();
  constexpr int kPoints = int(kMaxRingPoints) - 2;
  std::vector<std::pair<int32_t, int32_t>> star;
  for (int i = 0; i < kPoints; ++i) {
    const double a = -2.0 * M_PI * i / kPoints;  // clockwise, as land runs
    const double radius = i % 2 == 0 ? 70000 : 20000;
    star.emplace_back(int32_t(std::lround(radius * std::cos(a))),
                      int32_t(std::lround(radius * std::sin(a))));
  }
  TVectorMap map;
  QString problem;
  ASSERT_TRUE(ParseVectorMap(RingMap(star), map, problem)) << qPrintable(problem);
  const QImage image = RenderVectorMap(map, QSize(900, 540), 1.0);
  // Within the inner radius all round, land; beyond the spikes, sea.
  for (const auto& [lon, lat] : {std::pair{0, 0}, {15, 0}, {0, -15}, {-10, 10}}) {
    EXPECT_TRUE(test::IsColour(image, (lon + 180) * 900 / 360, (90 - lat) * 3, kMapLandColour))
        << lon << "," << lat;
  }
  EXPECT_TRUE(test::IsColour(image, 700, 270, kMapOceanColour));
}

}  // namespace
}  // namespace zen
