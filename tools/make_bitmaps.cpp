// Makes the bitmaps of resources/Data: world map copy, Sun and satellite symbols, radar chart
// and logo, the symbols and the logo also drawn at two and three times their size ("@2x",
// "@3x") for screens with that many device pixels per pixel.
//
//   zen_make_bitmaps WORLD_600x360.bmp OUTPUT_FOLDER
//
// The symbols are drawn smooth at four times their size, scaled down and laid on a dark matte
// like the map's; pixels that stay mostly empty take the key colour that marks transparency,
// which the program reads from pixel (1, 1). The key colour never appears inside a symbol.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <cstdio>
#include <functional>

#include "display/radar_view.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSupersample = 4;
const QColor kKeyColour(255, 0, 255);
// Between the map's ocean (10, 22, 38) and land (46, 56, 64), so symbol edges blend on both.
const QColor kMatte(28, 38, 50);
// Below this coverage a pixel is background.
constexpr double kCoverageThreshold = 0.3;

using TPaint = std::function<void(QPainter&)>;

// paint draws in the units of the base size width x height; the result is scale times that
// size, drawn at it, and has the key colour at (1, 1).
QImage MakeSymbol(int width, int height, int scale, const TPaint& paint) {
  width *= scale;
  height *= scale;
  QImage big(width * kSupersample, height * kSupersample, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(kSupersample * scale, kSupersample * scale);
    paint(p);
  }
  QImage small = big.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_ARGB32);
  QImage out(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      QColor c = QColor::fromRgba(small.pixel(x, y));
      double a = c.alphaF();
      if (a < kCoverageThreshold) {
        out.setPixel(x, y, kKeyColour.rgb());
        continue;
      }
      auto blend = [a](int value, int matte) {
        return static_cast<int>(std::lround(value * a + matte * (1.0 - a)));
      };
      QColor mixed(blend(c.red(), kMatte.red()), blend(c.green(), kMatte.green()),
                   blend(c.blue(), kMatte.blue()));
      if (mixed == kKeyColour) mixed.setBlue(254);
      out.setPixel(x, y, mixed.rgb());
    }
  }
  if (out.pixel(1, 1) != kKeyColour.rgb()) {
    std::fprintf(stderr, "symbol covers pixel (1, 1)\n");
    std::exit(1);
  }
  return out;
}

void PaintSun(QPainter& p) {
  QPointF c(7.5, 7.5);
  QPen ray(QColor(255, 206, 60), 1.1, Qt::SolidLine, Qt::RoundCap);
  p.setPen(ray);
  for (int i = 0; i < 8; ++i) {
    double a = i * kPi / 4.0;
    p.drawLine(c + QPointF(std::cos(a) * 5.0, std::sin(a) * 5.0),
               c + QPointF(std::cos(a) * 7.0, std::sin(a) * 7.0));
  }
  QRadialGradient disc(c, 3.8, c - QPointF(1.0, 1.0));
  disc.setColorAt(0.0, QColor(255, 252, 200));
  disc.setColorAt(1.0, QColor(255, 190, 20));
  p.setPen(QPen(QColor(255, 170, 0), 0.6));
  p.setBrush(disc);
  p.drawEllipse(c, 3.7, 3.7);
}

// A box body with a solar wing either side, centred on (cx, cy).
void PaintSatellite(QPainter& p, double cx, double cy, const QColor& wing, const QColor& wingLine,
                    const QColor& body) {
  p.setPen(QPen(QColor(200, 200, 200), 0.7));
  p.drawLine(QPointF(cx - 4.5, cy), QPointF(cx + 4.5, cy));
  p.setPen(QPen(wingLine, 0.5));
  p.setBrush(wing);
  QRectF left(cx - 7.3, cy - 2.3, 4.4, 4.6);
  QRectF right(cx + 2.9, cy - 2.3, 4.4, 4.6);
  p.drawRect(left);
  p.drawRect(right);
  p.setPen(QPen(wingLine, 0.45));
  for (const QRectF& r : {left, right}) {
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
  }
  p.setPen(QPen(QColor(30, 30, 30), 0.5));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(cx - 2.2, cy - 2.6, 4.4, 5.2), 0.8, 0.8);
}

void PaintSatLit(QPainter& p) {
  PaintSatellite(p, 7.5, 4.5, QColor(0, 225, 255), QColor(0, 110, 140), QColor(245, 245, 235));
}

void PaintSatEclipsed(QPainter& p) {
  PaintSatellite(p, 7.5, 4.5, QColor(255, 102, 102), QColor(140, 40, 40), QColor(150, 150, 160));
}

void PaintSatActive(QPainter& p) {
  p.setPen(QPen(QColor(255, 235, 90), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(7.5, 7.5), 6.6, 6.6);
  PaintSatellite(p, 7.5, 7.5, QColor(255, 225, 60), QColor(150, 110, 0), QColor(255, 255, 255));
}

QFont Font(int pixels, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}


// The radar's sky chart, as the program draws it at other sizes: the horizon 68 pixels round
// the image centre, rings at 30 and 60 degrees of elevation, the cardinal directions.
QImage MakeRadar() {
  const int w = 176, h = 161;
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  // Pixel (W div 2, H div 2) is the zenith; its centre is half a pixel further in.
  zen::PaintSkyChart(p, QPointF(w / 2 + 0.5, h / 2 + 0.5), 68.0);
  return img;
}

// The logo: the Earth seen from space, textured with the world map, with an orbit and a
// satellite, and the program's name. Drawn in the units of its base size and scale times as
// large.
QImage MakeLogo(const QImage& world, int scale) {
  const int w = 176, h = 161;
  QImage img(w * scale, h * scale, QImage::Format_RGB32);
  img.fill(Qt::black);
  const QPointF centre(88.0, 64.0);
  const double radius = 44.0;
  const double lon0 = 10.0 * kPi / 180.0, lat0 = 28.0 * kPi / 180.0;
  // Faint glow of the atmosphere.
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (scale != 1) p.scale(scale, scale);
    QRadialGradient glow(centre, radius + 9.0);
    glow.setColorAt(radius / (radius + 9.0), QColor(60, 130, 200, 150));
    glow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius + 9.0, radius + 9.0);
  }
  // Orthographic globe, four samples per pixel, lit from the upper left.
  const double light[3] = {-0.55, -0.45, 0.70};
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      double r = 0, g = 0, b = 0;
      int inside = 0;
      for (int s = 0; s < 4; ++s) {
        double px = ((x + 0.25 + 0.5 * (s % 2)) / scale - centre.x()) / radius;
        double py = ((y + 0.25 + 0.5 * (s / 2)) / scale - centre.y()) / radius;
        double rr = px * px + py * py;
        if (rr > 1.0) continue;
        double pz = std::sqrt(1.0 - rr);
        double lat = std::asin(-py * std::cos(lat0) + pz * std::sin(lat0));
        double lon = lon0 + std::atan2(px, pz * std::cos(lat0) + py * std::sin(lat0));
        double u = std::fmod(lon * 180.0 / kPi + 540.0, 360.0) / 360.0 * world.width();
        double v = (90.0 - lat * 180.0 / kPi) / 180.0 * world.height();
        QColor t = QColor::fromRgb(world.pixel(std::min(world.width() - 1, static_cast<int>(u)),
                                               std::min(world.height() - 1, static_cast<int>(v))));
        double shade = 0.35 + 0.9 * std::max(0.0, px * light[0] + py * light[1] + pz * light[2]);
        // Lift the dark map colours so the globe reads as blue sea and grey land.
        r += std::min(255.0, (t.red() * 1.6 + 6) * shade);
        g += std::min(255.0, (t.green() * 1.8 + 14) * shade);
        b += std::min(255.0, (t.blue() * 2.2 + 30) * shade);
        ++inside;
      }
      if (inside == 0) continue;
      QColor under = QColor::fromRgb(img.pixel(x, y));
      double a = inside / 4.0;
      img.setPixel(x, y,
                   qRgb(static_cast<int>(r / inside * a + under.red() * (1 - a)),
                        static_cast<int>(g / inside * a + under.green() * (1 - a)),
                        static_cast<int>(b / inside * a + under.blue() * (1 - a))));
    }
  }
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (scale != 1) p.scale(scale, scale);
  // The orbit: an ellipse tilted round the globe; its far half is hidden by the Earth.
  QTransform tilt;
  tilt.translate(centre.x(), centre.y());
  tilt.rotate(-20.0);
  QRectF orbit(-74.0, -17.0, 148.0, 34.0);
  QPainterPath orbitPath;
  orbitPath.addEllipse(orbit);
  orbitPath = tilt.map(orbitPath);
  QPainterPath globe;
  globe.addEllipse(centre, radius, radius);
  // In the orbit's own frame the half below its major axis passes in front of the Earth.
  QPainterPath nearHalf;
  nearHalf.addRect(QRectF(-80.0, 0.0, 160.0, 30.0));
  nearHalf = tilt.map(nearHalf);
  QPainterPath everywhere;
  everywhere.addRect(QRectF(0, 0, w, h));
  p.setPen(QPen(QColor(255, 200, 80, 200), 1.3));
  p.setBrush(Qt::NoBrush);
  p.save();
  p.setClipPath(everywhere.subtracted(globe).subtracted(nearHalf));
  p.drawPath(orbitPath);
  p.restore();
  p.save();
  p.setClipPath(nearHalf);
  p.drawPath(orbitPath);
  p.restore();
  // The satellite on the near side of the orbit.
  QPointF sat = tilt.map(QPointF(std::cos(1.2) * 74.0, std::sin(1.2) * 17.0));
  p.setPen(Qt::NoPen);
  QRadialGradient halo(sat, 6.0);
  halo.setColorAt(0.0, QColor(255, 240, 170, 230));
  halo.setColorAt(1.0, QColor(255, 200, 80, 0));
  p.setBrush(halo);
  p.drawEllipse(sat, 6.0, 6.0);
  p.setBrush(QColor(255, 250, 225));
  p.drawEllipse(sat, 2.0, 2.0);
  // The name.
  QFont title = Font(19, true);
  title.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
  p.setFont(title);
  QLinearGradient ink(0, 122, 0, 144);
  ink.setColorAt(0.0, QColor(236, 242, 248));
  ink.setColorAt(1.0, QColor(150, 184, 210));
  p.setPen(QPen(QBrush(ink), 1.0));
  p.drawText(QRectF(0, 118, w, 26), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("ZENARITH"));
  p.setFont(Font(9, false));
  p.setPen(QColor(120, 150, 172));
  p.drawText(QRectF(0, 143, w, 14), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("satellite tracker  1.0"));
  return img;
}

bool Save(const QImage& image, const QString& folder, const QString& name) {
  QString path = QDir(folder).filePath(name);
  // 24 bits per pixel, as the program's other bitmaps.
  if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("wrote %s (%d x %d)\n", qPrintable(path), image.width(), image.height());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zen_make_bitmaps WORLD_600x360.bmp OUTPUT_FOLDER\n");
    return 2;
  }
  // Text needs a font system but no screen.
  int qtArgc = 3;
  char platformOption[] = "-platform";
  char platformName[] = "offscreen";
  char* qtArgv[] = {argv[0], platformOption, platformName, nullptr};
  QGuiApplication application(qtArgc, qtArgv);

  QString worldPath = QString::fromLocal8Bit(argv[1]);
  QString folder = QString::fromLocal8Bit(argv[2]);
  QImage world(worldPath);
  if (world.isNull() || world.width() != 600 || world.height() != 360) {
    std::fprintf(stderr, "%s is not a 600 x 360 image\n", argv[1]);
    return 1;
  }
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "cannot create %s\n", argv[2]);
    return 1;
  }
  // The map is taken byte for byte.
  QString worldOut = QDir(folder).filePath(QStringLiteral("world.bmp"));
  if (QFileInfo(worldOut).absoluteFilePath() != QFileInfo(worldPath).absoluteFilePath()) {
    QFile::remove(worldOut);
    if (!QFile::copy(worldPath, worldOut)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(worldOut));
      return 1;
    }
  }
  const struct {
    const char* name;
    int width;
    int height;
    TPaint paint;
  } symbols[] = {{"sun", 15, 15, PaintSun},
                 {"sat_i", 15, 9, PaintSatLit},
                 {"sat_e", 15, 9, PaintSatEclipsed},
                 {"sat_s", 15, 15, PaintSatActive}};
  // "name.bmp" at the base size, "name@2x.bmp" and "name@3x.bmp" at twice and three times it.
  auto fileName = [](const char* name, int scale) {
    return QString::fromLatin1(name) +
           (scale == 1 ? QStringLiteral(".bmp") : QStringLiteral("@%1x.bmp").arg(scale));
  };
  for (int scale = 1; scale <= 3; ++scale) {
    for (const auto& symbol : symbols) {
      const QImage image = MakeSymbol(symbol.width, symbol.height, scale, symbol.paint);
      if (!Save(image, folder, fileName(symbol.name, scale))) return 1;
    }
    if (scale == 1 && !Save(MakeRadar(), folder, QStringLiteral("radar.bmp"))) return 1;
    if (!Save(MakeLogo(world, scale), folder, fileName("zenarith", scale))) return 1;
  }
  return 0;
}
