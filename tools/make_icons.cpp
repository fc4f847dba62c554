// Draws the program's icon, a globe with an inclined orbit and a satellite on it, as PNG files
// of the given pixel sizes. The build runs it; the desktop menu shows its output.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The drawing is laid out on a 256-unit square.
constexpr double kUnits = 256.0;
constexpr QPointF kGlobeCentre(112.0, 144.0);
constexpr double kGlobeRadius = 78.0;
constexpr double kOrbitRx = 106.0;
constexpr double kOrbitRy = 32.0;
constexpr double kOrbitTiltDeg = -24.0;
// Where the satellite rides, in the orbit's own angle (Qt's: counter-clockwise from 3 o'clock;
// 180..360 is the half in front of the globe): beyond the globe's rim, upper right.
constexpr double kSatelliteAtDeg = 10.0;

const QColor kOutline(12, 24, 48);
const QColor kOrbit(255, 196, 61);
const QColor kOrbitBehind(196, 140, 40);

// Lines keep at least about a pixel at the small sizes, where units are a sixteenth of one.
double LineWidth(double units, double pixelsPerUnit, double minimumPixels) {
  return std::max(units, minimumPixels / pixelsPerUnit);
}

QPainterPath OrbitArc(double startDeg, double sweepDeg) {
  QRectF box(-kOrbitRx, -kOrbitRy, 2 * kOrbitRx, 2 * kOrbitRy);
  QPainterPath arc;
  arc.arcMoveTo(box, startDeg);
  arc.arcTo(box, startDeg, sweepDeg);
  return arc;
}

void DrawOrbitHalf(QPainter& p, double pixelsPerUnit, bool front) {
  p.save();
  p.translate(kGlobeCentre);
  p.rotate(kOrbitTiltDeg);
  p.setBrush(Qt::NoBrush);
  double width = LineWidth(8.0, pixelsPerUnit, 1.4);
  p.setPen(QPen(kOutline, width + LineWidth(4.0, pixelsPerUnit, 0.8), Qt::SolidLine, Qt::RoundCap));
  QPainterPath arc = front ? OrbitArc(180.0, 180.0) : OrbitArc(0.0, 180.0);
  p.drawPath(arc);
  p.setPen(QPen(front ? kOrbit : kOrbitBehind, width, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(arc);
  p.restore();
}

// Two land masses of no real shape: at small sizes they only tell "a planet".
void DrawLand(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(78, 170, 92));
  QPainterPath west;
  west.moveTo(70, 84);
  west.cubicTo(96, 66, 126, 72, 128, 94);
  west.cubicTo(130, 114, 104, 112, 100, 132);
  west.cubicTo(96, 152, 112, 170, 96, 188);
  west.cubicTo(78, 178, 70, 156, 62, 140);
  west.cubicTo(50, 118, 54, 96, 70, 84);
  p.drawPath(west);
  QPainterPath east;
  east.moveTo(150, 118);
  east.cubicTo(172, 106, 198, 118, 204, 140);
  east.cubicTo(206, 162, 190, 186, 168, 198);
  east.cubicTo(156, 180, 164, 162, 150, 150);
  east.cubicTo(140, 140, 138, 126, 150, 118);
  p.drawPath(east);
}

void DrawGlobe(QPainter& p, double pixelsPerUnit, bool detailed) {
  QRadialGradient sea(kGlobeCentre + QPointF(-30, -34), kGlobeRadius * 1.5);
  sea.setColorAt(0.0, QColor(110, 190, 245));
  sea.setColorAt(0.55, QColor(36, 110, 196));
  sea.setColorAt(1.0, QColor(14, 48, 110));
  QPainterPath disc;
  disc.addEllipse(kGlobeCentre, kGlobeRadius, kGlobeRadius);
  p.setPen(Qt::NoPen);
  p.setBrush(sea);
  p.drawPath(disc);

  p.save();
  p.setClipPath(disc);
  DrawLand(p);
  if (detailed) {
    // A meridian and two parallels, faint, for the roundness.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 70), LineWidth(2.5, pixelsPerUnit, 0.8)));
    p.drawEllipse(kGlobeCentre, kGlobeRadius * 0.45, kGlobeRadius);
    p.drawLine(QPointF(kGlobeCentre.x(), kGlobeCentre.y() - kGlobeRadius),
               QPointF(kGlobeCentre.x(), kGlobeCentre.y() + kGlobeRadius));
    for (double latitude : {-0.5, 0.5}) {
      double y = kGlobeCentre.y() + latitude * kGlobeRadius;
      double half = kGlobeRadius * std::sqrt(1.0 - latitude * latitude);
      p.drawLine(QPointF(kGlobeCentre.x() - half, y), QPointF(kGlobeCentre.x() + half, y));
    }
  }
  p.restore();

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kOutline, LineWidth(5.0, pixelsPerUnit, 1.0)));
  p.drawPath(disc);
}

void DrawSatellite(QPainter& p, double pixelsPerUnit, double scale) {
  const double rad = kSatelliteAtDeg * M_PI / 180.0;
  p.save();
  p.translate(kGlobeCentre);
  p.rotate(kOrbitTiltDeg);
  p.translate(kOrbitRx * std::cos(rad), -kOrbitRy * std::sin(rad));
  p.rotate(-kOrbitTiltDeg - 40.0);
  p.scale(scale, scale);
  const double outline = LineWidth(3.0, pixelsPerUnit * scale, 0.8);
  p.setPen(QPen(kOutline, outline, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  // Panels on a boom either side, then the body over the boom.
  p.drawLine(QPointF(-34, 0), QPointF(34, 0));
  p.setBrush(QColor(70, 130, 220));
  p.drawRect(QRectF(-44, -9, 26, 18));
  p.drawRect(QRectF(18, -9, 26, 18));
  p.setBrush(QColor(232, 236, 244));
  p.drawRect(QRectF(-11, -11, 22, 22));
  p.restore();
}

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double pixelsPerUnit = size / kUnits;
  p.scale(pixelsPerUnit, pixelsPerUnit);
  const bool detailed = size >= 48;
  DrawOrbitHalf(p, pixelsPerUnit, false);
  DrawGlobe(p, pixelsPerUnit, detailed);
  DrawOrbitHalf(p, pixelsPerUnit, true);
  // The satellite grows at the small sizes, where it would be a dot.
  DrawSatellite(p, pixelsPerUnit, size <= 32 ? 1.3 : 1.0);
  p.end();
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zen_make_icons OUTPUT_FOLDER SIZE...\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 16 || size > 1024) {
      std::fprintf(stderr, "%s is not an icon size (16 to 1024)\n", argv[i]);
      return 2;
    }
    const QString path = QDir(folder).filePath(QStringLiteral("icon-%1.png").arg(size));
    if (!DrawIcon(size).save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
