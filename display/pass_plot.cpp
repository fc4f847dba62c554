// The picture of one pass or flare: the sky plot, the elevation curve and the numbers.
#include "display/pass_plot.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/numeric.h"
#include "core/timescale.h"
#include "display/fonts.h"
#include "display/moon_symbol.h"

namespace zen {

namespace {

// Moments this close to a whole minute (in minutes) count as on it: a Julian date of this era
// holds about 40 microseconds.
constexpr double kMinuteSlack = 1e-4;
// A path longer than this gets no minute marks: they would be a solid band.
constexpr long long kMostMinuteMarks = 20000;

// A night sky like the radar's, the text light on it.
const QColor kSkyInner{16, 36, 54};
const QColor kSkyOuter{7, 18, 30};
const QColor kCurveFill{10, 24, 38};
const QColor kSpokeColour{26, 48, 64};
const QColor kGridColour{44, 78, 98};
const QColor kFrameColour{70, 110, 132};
const QColor kHorizonColour{104, 158, 186};
const QColor kRingLabelColour{64, 104, 126};
const QColor kLetterColour{150, 186, 206};
const QColor kNorthColour{232, 236, 240};
const QColor kTextColour{220, 226, 232};
const QColor kCaptionColour{132, 156, 174};
const QColor kMinuteLabelColour{176, 192, 206};
const QColor kMarkFill{245, 245, 245};
const QColor kMarkOutline{0, 0, 0};
const QColor kShadowColour{0, 0, 0};

// Font sizes from the layout's text size.
double TitlePx(double textPx) {
  return textPx * 1.35;
}
double LetterPx(double textPx) {
  return textPx * 1.15;
}
double MinutePx(double textPx) {
  return std::max(8.0, textPx * 0.82);
}
double TickLabelPx(double textPx) {
  return std::max(8.0, textPx * 0.9);
}
// The room round the horizon for the compass letters.
double LetterPad(double textPx) {
  return LetterPx(textPx) * 1.5;
}

QFont TextFont(double px, bool bold = false) {
  return ZenFontPixels(TFontFace::MsSansSerif, std::max(1, static_cast<int>(std::lround(px))),
                       bold);
}

double Horizon(const TPassPlotLayout& layout) {
  return std::min(layout.skyDisc.width(), layout.skyDisc.height()) / 2.0;
}

// The square round the horizon that holds the letters and the minute labels.
QRectF SkyCell(const TPassPlotLayout& layout) {
  const double pad = LetterPad(layout.textPx);
  return layout.skyDisc.adjusted(-pad, -pad, pad, pad);
}

// Sizes of the sky plot's drawing, grown with its horizon.
double PathWidth(double horizon) {
  return std::clamp(horizon * 0.02, 2.0, 4.0);
}
double TickHalf(double horizon) {
  return std::clamp(horizon * 0.04, 4.0, 8.0);
}
double SunRadius(double horizon) {
  return std::clamp(horizon * 0.055, 4.0, 12.0);
}
double MarkSize(double horizon) {
  return std::clamp(horizon * 0.045, 4.0, 9.0);
}

// A compass letter round the horizon: the cell it is centred in, and the rectangle its text
// fills there.
struct TCompassLetter {
  QString letter;
  bool north = false;
  QRectF cell;
  QRectF text;
};

QFont LetterFont(double textPx) {
  return TextFont(LetterPx(textPx), true);
}

std::array<TCompassLetter, 4> CompassLetters(const TPassPlotLayout& layout) {
  const QPointF c = layout.skyDisc.center();
  const double pad = LetterPad(layout.textPx);
  const double away = Horizon(layout) + pad / 2.0;
  const QFontMetricsF metrics(LetterFont(layout.textPx));
  const struct {
    char letter;
    QPointF dir;
  } directions[] = {{'N', {0, -1}}, {'E', {1, 0}}, {'S', {0, 1}}, {'W', {-1, 0}}};
  std::array<TCompassLetter, 4> letters;
  for (size_t i = 0; i < letters.size(); ++i) {
    TCompassLetter& l = letters[i];
    l.letter = QString(QLatin1Char(directions[i].letter));
    l.north = directions[i].dir.y() < 0;
    l.cell = QRectF(QPointF(), QSizeF(pad * 1.5, pad));
    l.cell.moveCenter(c + directions[i].dir * away);
    l.text = metrics.boundingRect(l.cell, Qt::AlignCenter, l.letter);
  }
  return letters;
}

// The rings' elevations, just inside them right of north: the text and where it fills.
struct TRingLabel {
  QString text;
  QPointF baseline;
  QRectF box;
};

std::array<TRingLabel, 2> RingLabels(const TPassPlotLayout& layout) {
  const QPointF c = layout.skyDisc.center();
  const QFontMetricsF small(TextFont(MinutePx(layout.textPx)));
  std::array<TRingLabel, 2> labels;
  const double elevations[] = {30.0, 60.0};
  for (size_t i = 0; i < labels.size(); ++i) {
    const double r = (90.0 - elevations[i]) / 90.0 * Horizon(layout);
    TRingLabel& label = labels[i];
    label.text = QString::number(elevations[i]) + QStringLiteral("°");
    label.baseline = QPointF(c.x() + 3.0, c.y() - r + small.ascent() + 1.0);
    label.box = QRectF(label.baseline.x(), label.baseline.y() - small.ascent(),
                       small.horizontalAdvance(label.text), small.ascent() + small.descent());
  }
  return labels;
}

double Length(QPointF v) {
  return std::hypot(v.x(), v.y());
}

// hh:mm of a whole minute of UTC (minutes since the Julian epoch) on the local clock.
QString LocalMinuteText(long long utcMinute, long long offsetMinutes) {
  // Julian days begin at noon.
  const long long local = utcMinute + offsetMinutes + 720;
  const long long ofDay = ((local % 1440) + 1440) % 1440;
  return QString::fromStdString(TwoDigits(static_cast<unsigned>(ofDay / 60)) + ":" +
                                TwoDigits(static_cast<unsigned>(ofDay % 60)));
}

long long OffsetMinutes(double utcOffsetHours) {
  return std::isfinite(utcOffsetHours) ? std::llround(utcOffsetHours * 60.0) : 0;
}

std::vector<QPointF> SkyPoints(const TPassPlotLayout& layout, const std::vector<TTrackPoint>& pts) {
  std::vector<QPointF> sky;
  sky.reserve(pts.size());
  for (const TTrackPoint& point : pts) {
    sky.push_back(SkyPlotPoint(layout.skyDisc, point.azimuthDeg, point.elevationDeg));
  }
  return sky;
}

std::vector<QPointF> CurvePoints(const TPassPlotLayout& layout,
                                 const std::vector<TTrackPoint>& pts) {
  std::vector<QPointF> curve;
  curve.reserve(pts.size());
  const double from = pts.front().timeUtc;
  const double to = pts.back().timeUtc;
  for (const TTrackPoint& point : pts) {
    curve.push_back(CurvePoint(layout, from, to, point.timeUtc, point.elevationDeg));
  }
  return curve;
}

// The direction of the path through points i..j, widened until the ends differ (a satellite
// that stands still has none: across the image).
QPointF PathDirection(const std::vector<QPointF>& points, size_t i, size_t j) {
  size_t lo = i;
  size_t hi = j;
  while (Length(points[hi] - points[lo]) < 1e-6 && (lo > 0 || hi + 1 < points.size())) {
    if (lo > 0) --lo;
    if (hi + 1 < points.size()) ++hi;
  }
  const QPointF d = points[hi] - points[lo];
  const double length = Length(d);
  return length < 1e-6 ? QPointF(1.0, 0.0) : d / length;
}

// The path through points, the part round each point in its light: a change of light falls
// halfway between the points either side of it.
void DrawLitPath(QPainter& p, const std::vector<QPointF>& points, const std::vector<bool>& sunlit,
                 double width) {
  if (points.empty()) return;
  auto draw = [&p, width](const QPolygonF& run, bool lit) {
    QPen pen(lit ? kPassSunlitColour : kPassDarkColour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    if (run.size() == 1) {
      p.drawPoint(run.front());
    } else {
      p.drawPolyline(run);
    }
  };
  QPolygonF run{points.front()};
  bool lit = sunlit.front();
  for (size_t i = 1; i < points.size(); ++i) {
    if (sunlit[i] != lit) {
      const QPointF middle = (points[i - 1] + points[i]) / 2.0;
      run << middle;
      draw(run, lit);
      run = QPolygonF{middle};
      lit = sunlit[i];
    }
    run << points[i];
  }
  draw(run, lit);
}

std::vector<bool> SunlitOf(const std::vector<TTrackPoint>& pts) {
  std::vector<bool> sunlit;
  sunlit.reserve(pts.size());
  for (const TTrackPoint& point : pts) sunlit.push_back(point.sunlit);
  return sunlit;
}

// Text with a dark edge below and right, so that it reads over the path and the grid.
void ShadowedText(QPainter& p, const QRectF& box, const QString& text, const QColor& colour) {
  p.setPen(kShadowColour);
  p.drawText(box.translated(1.0, 1.0), Qt::AlignCenter, text);
  p.setPen(colour);
  p.drawText(box, Qt::AlignCenter, text);
}

// Rise a triangle up, set one down, the culmination a diamond, a flare a star, anything else
// a ring.
void DrawMarkSymbol(QPainter& p, QPointF at, const std::string& label, double size) {
  p.setPen(QPen(kMarkOutline, 1.0));
  p.setBrush(kMarkFill);
  QPolygonF shape;
  if (label == "Rise") {
    shape << at + QPointF(0, -size) << at + QPointF(size, size * 0.8)
          << at + QPointF(-size, size * 0.8);
  } else if (label == "Set") {
    shape << at + QPointF(0, size) << at + QPointF(size, -size * 0.8)
          << at + QPointF(-size, -size * 0.8);
  } else if (label == "Max") {
    shape << at + QPointF(0, -size) << at + QPointF(size, 0) << at + QPointF(0, size)
          << at + QPointF(-size, 0);
  } else if (label == "Flare") {
    for (int k = 0; k < 16; ++k) {
      const double r = k % 2 == 0 ? size * 1.25 : size * 0.45;
      const double a = kPi * k / 8.0;
      shape << at + QPointF(r * std::sin(a), -r * std::cos(a));
    }
  } else {
    p.drawEllipse(at, size * 0.8, size * 0.8);
  }
  if (!shape.isEmpty()) p.drawPolygon(shape);
  p.setBrush(Qt::NoBrush);
}

QFont MarkFont(double textPx) {
  return TextFont(textPx * 0.9, true);
}

// Where a mark's label goes: above and right of its symbol, or left of it or below it when it
// would leave bounds.
QRectF MarkLabelBox(QPointF at, const QString& text, double size, const QRectF& bounds,
                    const QFontMetricsF& metrics) {
  const double w = metrics.horizontalAdvance(text) + 2.0;
  const double h = metrics.height();
  QRectF box(at.x() + size + 2.0, at.y() - size - h * 0.6, w, h);
  if (box.right() > bounds.right()) box.moveRight(at.x() - size - 2.0);
  if (box.top() < bounds.top()) box.moveTop(at.y() + size);
  return box;
}

void DrawMarkLabel(QPainter& p, QPointF at, const std::string& label, double size,
                   const QRectF& bounds) {
  if (label.empty()) return;
  const QString text = QString::fromStdString(label);
  ShadowedText(p, MarkLabelBox(at, text, size, bounds, QFontMetricsF(p.font())), text, kTextColour);
}

void DrawTitle(QPainter& p, const TPassPlot& plot, const TPassPlotLayout& layout) {
  const double text = layout.textPx;
  const QRectF row(layout.factsArea.left(), 0.0, layout.factsArea.width(),
                   std::max(1.0, layout.curveArea.top() - text * 0.6));
  p.setFont(TextFont(TitlePx(text), true));
  p.setPen(kTextColour);
  const QFontMetricsF metrics(p.font());
  p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter,
             metrics.elidedText(QString::fromStdString(plot.title), Qt::ElideRight, row.width()));
}

void DrawSkyChart(QPainter& p, const TPassPlotLayout& layout) {
  const QPointF c = layout.skyDisc.center();
  const double horizon = Horizon(layout);
  const double text = layout.textPx;
  QRadialGradient sky(c, horizon);
  sky.setColorAt(0.0, kSkyInner);
  sky.setColorAt(1.0, kSkyOuter);
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawEllipse(c, horizon, horizon);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kSpokeColour, 1.0));
  for (int az = 0; az < 360; az += 30) {
    const double a = Radians(az);
    p.drawLine(c, c + QPointF(std::sin(a), -std::cos(a)) * horizon);
  }
  p.setPen(QPen(kGridColour, 1.0));
  for (double elevation : {30.0, 60.0}) {
    const double r = (90.0 - elevation) / 90.0 * horizon;
    p.drawEllipse(c, r, r);
  }
  p.setPen(QPen(kHorizonColour, 1.5));
  p.drawEllipse(c, horizon, horizon);
  p.setFont(TextFont(MinutePx(text)));
  p.setPen(kRingLabelColour);
  for (const TRingLabel& label : RingLabels(layout)) p.drawText(label.baseline, label.text);
  p.setFont(LetterFont(text));
  for (const TCompassLetter& l : CompassLetters(layout)) {
    p.setPen(l.north ? kNorthColour : kLetterColour);
    p.drawText(l.cell, Qt::AlignCenter, l.letter);
  }
}

void DrawSun(QPainter& p, const TPassPlot& plot, const TPassPlotLayout& layout) {
  const TPassTrack& track = plot.track;
  if (!(track.sunElevationDeg >= 0.0)) return;
  const double r = SunRadius(Horizon(layout));
  const QPointF at = SkyPlotPoint(layout.skyDisc, track.sunAzimuthDeg, track.sunElevationDeg);
  p.setPen(Qt::NoPen);
  p.setBrush(kPassSunColour);
  p.drawEllipse(at, r, r);
  p.setBrush(Qt::NoBrush);
}

// The Moon's path while it is up, thin, and its symbol in its phase at the event's moment, or
// where it is up nearest to that moment when it is down then.
void DrawMoon(QPainter& p, const TPassPlot& plot, const TPassPlotLayout& layout) {
  const TMoonTrack& moon = plot.moon;
  if (moon.points.empty()) return;
  auto up = [](const TMoonSample& s) { return s.elevationDeg >= 0.0; };
  const double atUtc = moon.atEvent.timeUtc;
  const TMoonSample* shown = up(moon.atEvent) ? &moon.atEvent : nullptr;
  QPen pen(kPassMoonPathColour, PathWidth(Horizon(layout)) * 0.5);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  for (size_t i = 0; i < moon.points.size(); ++i) {
    const TMoonSample& a = moon.points[i];
    if (!up(a)) continue;
    if (!up(moon.atEvent) &&
        (shown == nullptr || std::fabs(a.timeUtc - atUtc) < std::fabs(shown->timeUtc - atUtc))) {
      shown = &a;
    }
    if (i + 1 < moon.points.size() && up(moon.points[i + 1])) {
      const TMoonSample& b = moon.points[i + 1];
      p.drawLine(SkyPlotPoint(layout.skyDisc, a.azimuthDeg, a.elevationDeg),
                 SkyPlotPoint(layout.skyDisc, b.azimuthDeg, b.elevationDeg));
    }
  }
  if (shown == nullptr) return;
  DrawMoonSymbol(p, SkyPlotPoint(layout.skyDisc, shown->azimuthDeg, shown->elevationDeg),
                 SunRadius(Horizon(layout)),
                 SkyChartTowardSun(shown->azimuthDeg, shown->elevationDeg, moon.sunAzimuthDeg,
                                   moon.sunElevationDeg),
                 moon.illuminated);
}

void DrawSkyPath(QPainter& p, const TPassPlot& plot, const TPassPlotLayout& layout) {
  const std::vector<TTrackPoint>& pts = plot.track.points;
  const double horizon = Horizon(layout);
  DrawLitPath(p, SkyPoints(layout, pts), SunlitOf(pts), PathWidth(horizon));
  const std::vector<TMinuteMark> minutes = SkyMinuteMarks(plot, layout);
  for (const TMinuteMark& minute : minutes) {
    QPen pen(minute.sunlit ? kPassSunlitColour : kPassDarkColour, PathWidth(horizon) * 0.75);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(minute.tick);
  }
  p.setFont(TextFont(MinutePx(layout.textPx)));
  for (const TMinuteMark& minute : minutes) {
    if (minute.labelShown) ShadowedText(p, minute.labelBox, minute.label, kMinuteLabelColour);
  }
  const double size = MarkSize(horizon);
  p.setFont(MarkFont(layout.textPx));
  for (const TPlotMark& mark : plot.marks) {
    const QPointF at = SkyPlotPoint(layout.skyDisc, mark.azimuthDeg, mark.elevationDeg);
    DrawMarkSymbol(p, at, mark.label, size);
    DrawMarkLabel(p, at, mark.label, size, SkyCell(layout));
  }
}

void DrawCurveAxes(QPainter& p, const TPassPlot& plot, const TPassPlotLayout& layout) {
  const QRectF& area = layout.curveArea;
  const double text = layout.textPx;
  p.setPen(Qt::NoPen);
  p.setBrush(kCurveFill);
  p.drawRect(area);
  p.setBrush(Qt::NoBrush);
  const std::vector<TTimeTick> ticks = CurveTimeTicks(plot, layout);
  const double tickLength = std::max(3.0, text * 0.3);
  for (const TTimeTick& tick : ticks) {
    const double x = tick.labelBox.center().x();
    p.setPen(QPen(kSpokeColour, 1.0));
    p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    p.setPen(QPen(kFrameColour, 1.0));
    p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + tickLength));
  }
  p.setPen(QPen(kGridColour, 1.0));
  for (double elevation : {30.0, 60.0}) {
    const double y = area.bottom() - elevation / 90.0 * area.height();
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
  }
  p.setPen(QPen(kFrameColour, 1.0));
  p.drawRect(area);
  p.setFont(TextFont(TickLabelPx(text)));
  p.setPen(kCaptionColour);
  for (double elevation : {0.0, 30.0, 60.0, 90.0}) {
    const double y = area.bottom() - elevation / 90.0 * area.height();
    // The 0 sits on the axis rather than across it, clear of the first time label.
    const double shift = elevation == 0.0 ? -text * 0.45 : 0.0;
    const QRectF box(area.left() - text * 3.0, y - text + shift, text * 2.6, text * 2.0);
    p.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
               QString::number(elevation) + QStringLiteral("°"));
  }
  for (const TTimeTick& tick : ticks) p.drawText(tick.labelBox, Qt::AlignCenter, tick.label);
}

void DrawCurve(QPainter& p, const TPassPlot& plot, const TPassPlotLayout& layout) {
  const std::vector<TTrackPoint>& pts = plot.track.points;
  const double width = PathWidth(Horizon(layout));
  p.save();
  p.setClipRect(layout.curveArea.adjusted(-width, -width, width, width));
  DrawLitPath(p, CurvePoints(layout, pts), SunlitOf(pts), width);
  p.restore();
  const double from = pts.front().timeUtc;
  const double to = pts.back().timeUtc;
  const double size = MarkSize(Horizon(layout));
  const double slack = kMinuteSlack / kMinutesPerDay;
  p.setFont(MarkFont(layout.textPx));
  for (const TPlotMark& mark : plot.marks) {
    if (mark.timeUtc < from - slack || mark.timeUtc > to + slack) continue;
    const QPointF at = CurvePoint(layout, from, to, mark.timeUtc, mark.elevationDeg);
    DrawMarkSymbol(p, at, mark.label, size);
    DrawMarkLabel(p, at, mark.label, size, layout.curveArea);
  }
}

void DrawNoPath(QPainter& p, const TPassPlotLayout& layout) {
  p.setFont(TextFont(layout.textPx * 1.2, true));
  p.setPen(kCaptionColour);
  p.drawText(layout.curveArea, Qt::AlignCenter, QStringLiteral("No path"));
}

// Caption and value pairs down one column, or two when there are more than three or more than
// fit in one; the font shrinks until the rows fit.
void DrawFacts(QPainter& p, const TPassPlot& plot, const TPassPlotLayout& layout) {
  const auto& facts = plot.facts;
  if (facts.empty()) return;
  const QRectF& area = layout.factsArea;
  const int count = static_cast<int>(facts.size());
  double px = layout.textPx;
  QFont font = TextFont(px);
  double rowHeight = QFontMetricsF(font).height() * 1.25;
  const int rowsThatFit = std::max(1, static_cast<int>(area.height() / rowHeight));
  const int columns = count > 3 || count > rowsThatFit ? 2 : 1;
  const int rows = (count + columns - 1) / columns;
  if (rows * rowHeight > area.height()) {
    px = std::max(7.0, px * area.height() / (rows * rowHeight));
    font = TextFont(px);
    rowHeight = QFontMetricsF(font).height() * 1.25;
  }
  p.setFont(font);
  const QFontMetricsF metrics(font);
  const double columnGap = px * 2.0;
  const double columnWidth = (area.width() - columnGap * (columns - 1)) / columns;
  std::vector<QString> captions;
  std::vector<double> captionWidths(static_cast<size_t>(columns), 0.0);
  for (int i = 0; i < count; ++i) {
    const std::string& caption = facts[static_cast<size_t>(i)].first;
    captions.push_back(caption.empty() ? QString()
                                       : QString::fromStdString(caption) + QStringLiteral(":"));
    double& widest = captionWidths[static_cast<size_t>(i / rows)];
    widest =
        std::max(widest, std::min(metrics.horizontalAdvance(captions.back()), columnWidth * 0.45));
  }
  const double gap = px * 0.7;
  for (int i = 0; i < count; ++i) {
    const double x = area.left() + (i / rows) * (columnWidth + columnGap);
    const double y = area.top() + (i % rows) * rowHeight;
    const double captionWidth = captionWidths[static_cast<size_t>(i / rows)];
    const QRectF captionBox(x, y, captionWidth, rowHeight);
    const QRectF valueBox(x + captionWidth + gap, y, columnWidth - captionWidth - gap, rowHeight);
    p.setPen(kCaptionColour);
    p.drawText(
        captionBox, Qt::AlignLeft | Qt::AlignVCenter,
        metrics.elidedText(captions[static_cast<size_t>(i)], Qt::ElideRight, captionBox.width()));
    p.setPen(kTextColour);
    p.drawText(valueBox, Qt::AlignLeft | Qt::AlignVCenter,
               metrics.elidedText(QString::fromStdString(facts[static_cast<size_t>(i)].second),
                                  Qt::ElideRight, std::max(0.0, valueBox.width())));
  }
}

}  // namespace

QPointF SkyPlotPoint(const QRectF& disc, double azimuthDeg, double elevationDeg) {
  const double horizon = std::min(disc.width(), disc.height()) / 2.0;
  const double r = (90.0 - std::clamp(elevationDeg, 0.0, 90.0)) / 90.0 * horizon;
  const double a = Radians(azimuthDeg);
  return disc.center() + QPointF(r * std::sin(a), -r * std::cos(a));
}

QPointF CurvePoint(const TPassPlotLayout& layout, double fromUtc, double toUtc, double timeUtc,
                   double elevationDeg) {
  const QRectF& area = layout.curveArea;
  const double along = toUtc > fromUtc ? (timeUtc - fromUtc) / (toUtc - fromUtc) : 0.5;
  const double up = std::clamp(elevationDeg, 0.0, 90.0) / 90.0;
  return {area.left() + along * area.width(), area.bottom() - up * area.height()};
}

TPassPlotLayout PassPlotLayoutFor(QSize logicalSize) {
  const double w = std::max(logicalSize.width(), 1);
  const double h = std::max(logicalSize.height(), 1);
  TPassPlotLayout layout;
  const double text = std::clamp(h * 0.03, 10.0, 17.0);
  layout.textPx = text;
  const double margin = std::clamp(h * 0.03, 6.0, 24.0);
  // The title, the plots side by side, then the facts: four rows of them at least.
  const double titleRow = TitlePx(text) * 1.7;
  const double factRow = text * 1.5;
  const double factsHeight = std::min(std::max(h * 0.2, 4.0 * factRow), h * 0.35);
  layout.factsArea =
      QRectF(margin, h - margin - factsHeight, std::max(1.0, w - 2.0 * margin), factsHeight);
  const double top = margin + titleRow;
  const double bottom = layout.factsArea.top() - margin * 0.5;
  const double pad = LetterPad(text);
  const double cell = std::max(0.0, std::min(bottom - top, w * 0.48));
  const double side = std::max(1.0, cell - 2.0 * pad);
  layout.skyDisc = QRectF(margin + pad, top + (bottom - top - cell) / 2.0 + pad, side, side);
  // Left of the curve its elevations ("90°"), right of it half a time label, below it the
  // time labels.
  const double left = margin + cell + margin + text * 2.8;
  const double right = w - margin - text * 1.6;
  const double curveTop = top + text * 0.6;
  const double curveBottom = bottom - text * 1.8;
  layout.curveArea =
      QRectF(left, curveTop, std::max(1.0, right - left), std::max(1.0, curveBottom - curveTop));
  return layout;
}

std::vector<TMinuteMark> SkyMinuteMarks(const TPassPlot& plot, const TPassPlotLayout& layout) {
  std::vector<TMinuteMark> marks;
  const std::vector<TTrackPoint>& pts = plot.track.points;
  if (pts.empty() || !std::isfinite(pts.front().timeUtc) || !std::isfinite(pts.back().timeUtc)) {
    return marks;
  }
  const long long first =
      static_cast<long long>(std::ceil(pts.front().timeUtc * kMinutesPerDay - kMinuteSlack));
  const long long last =
      static_cast<long long>(std::floor(pts.back().timeUtc * kMinutesPerDay + kMinuteSlack));
  if (last < first || last - first > kMostMinuteMarks) return marks;
  const std::vector<QPointF> sky = SkyPoints(layout, pts);
  const QPointF centre = layout.skyDisc.center();
  const double half = TickHalf(Horizon(layout));
  const QRectF cell = SkyCell(layout);
  const QFontMetricsF metrics(TextFont(MinutePx(layout.textPx)));
  const double gap = 2.0;
  const long long offset = OffsetMinutes(plot.utcOffsetHours);
  // The texts of the chart, the compass letters and the rings' elevations, and the marks'
  // symbols and labels are placed first.
  std::vector<QRectF> placed;
  for (const TCompassLetter& letter : CompassLetters(layout)) placed.push_back(letter.text);
  for (const TRingLabel& ring : RingLabels(layout)) placed.push_back(ring.box);
  const double markSize = MarkSize(Horizon(layout));
  const QFontMetricsF markMetrics(MarkFont(layout.textPx));
  for (const TPlotMark& mark : plot.marks) {
    const QPointF at = SkyPlotPoint(layout.skyDisc, mark.azimuthDeg, mark.elevationDeg);
    placed.emplace_back(at - QPointF(markSize, markSize), QSizeF(2 * markSize, 2 * markSize));
    if (!mark.label.empty()) {
      placed.push_back(
          MarkLabelBox(at, QString::fromStdString(mark.label), markSize, cell, markMetrics));
    }
  }
  size_t i = 0;
  for (long long k = first; k <= last; ++k) {
    const double t = static_cast<double>(k) / kMinutesPerDay;
    while (i + 2 < pts.size() && pts[i + 1].timeUtc <= t) ++i;
    const size_t j = std::min(i + 1, pts.size() - 1);
    const double span = pts[j].timeUtc - pts[i].timeUtc;
    const double f = span > 0.0 ? std::clamp((t - pts[i].timeUtc) / span, 0.0, 1.0) : 0.0;
    TMinuteMark mark;
    mark.timeUtc = t;
    mark.at = sky[i] + (sky[j] - sky[i]) * f;
    mark.sunlit = f < 0.5 ? pts[i].sunlit : pts[j].sunlit;
    const QPointF dir = PathDirection(sky, i, j);
    QPointF normal(-dir.y(), dir.x());
    // Labels go on the side away from the zenith, where the path leaves more room.
    if (QPointF::dotProduct(normal, mark.at - centre) < 0.0) normal = -normal;
    mark.tick = QLineF(mark.at - normal * half, mark.at + normal * half);
    mark.label = LocalMinuteText(k, offset);
    const QSizeF size(metrics.horizontalAdvance(mark.label) + 2.0, metrics.height());
    auto boxOnSide = [&](QPointF n) {
      const double reach = std::abs(n.x()) * size.width() / 2 + std::abs(n.y()) * size.height() / 2;
      QRectF box(QPointF(), size);
      box.moveCenter(mark.at + n * (half + gap + reach));
      return box;
    };
    mark.labelBox = boxOnSide(normal);
    if (!cell.contains(mark.labelBox)) {
      const QRectF inside = boxOnSide(-normal);
      if (cell.contains(inside)) mark.labelBox = inside;
    }
    mark.labelShown = std::none_of(placed.begin(), placed.end(), [&](const QRectF& other) {
      return other.adjusted(-1, -1, 1, 1).intersects(mark.labelBox);
    });
    if (mark.labelShown) placed.push_back(mark.labelBox);
    marks.push_back(mark);
  }
  return marks;
}

std::vector<TTimeTick> CurveTimeTicks(const TPassPlot& plot, const TPassPlotLayout& layout) {
  std::vector<TTimeTick> ticks;
  const std::vector<TTrackPoint>& pts = plot.track.points;
  if (pts.empty()) return ticks;
  const double from = pts.front().timeUtc;
  const double to = pts.back().timeUtc;
  if (!std::isfinite(from) || !std::isfinite(to) || !(to > from)) return ticks;
  const QFontMetricsF metrics(TextFont(TickLabelPx(layout.textPx)));
  const double labelWidth = metrics.horizontalAdvance(QStringLiteral("00:00")) + 2.0;
  const double perMinute = layout.curveArea.width() / ((to - from) * kMinutesPerDay);
  // Steps that divide a day, so the ticks fall on round local times every day alike.
  static constexpr std::array<long long, 13> kSteps = {1,  2,   5,   10,  15,  20, 30,
                                                       60, 120, 180, 240, 360, 720};
  long long step = 1440;
  for (long long candidate : kSteps) {
    if (candidate * perMinute >= labelWidth * 1.5) {
      step = candidate;
      break;
    }
  }
  const long long offset = OffsetMinutes(plot.utcOffsetHours);
  const long long first = static_cast<long long>(std::ceil(from * kMinutesPerDay - kMinuteSlack));
  const long long last = static_cast<long long>(std::floor(to * kMinutesPerDay + kMinuteSlack));
  // The first minute whose local time of day is a multiple of the step.
  const long long phase = ((first + offset + 720) % step + step) % step;
  const long long start = phase == 0 ? first : first + step - phase;
  const double text = layout.textPx;
  for (long long k = start; k <= last; k += step) {
    TTimeTick tick;
    tick.timeUtc = static_cast<double>(k) / kMinutesPerDay;
    tick.label = LocalMinuteText(k, offset);
    const double x = CurvePoint(layout, from, to, tick.timeUtc, 0.0).x();
    tick.labelBox = QRectF(x - labelWidth / 2, layout.curveArea.bottom() + text * 0.35, labelWidth,
                           metrics.height());
    ticks.push_back(tick);
  }
  return ticks;
}

QImage RenderPassPlot(const TPassPlot& plot, QSize logicalSize, double devicePixelRatio) {
  const double ratio =
      std::isfinite(devicePixelRatio) && devicePixelRatio > 0.0 ? devicePixelRatio : 1.0;
  const QSize size = logicalSize.expandedTo(QSize(1, 1));
  QImage image(std::max(1, static_cast<int>(std::lround(size.width() * ratio))),
               std::max(1, static_cast<int>(std::lround(size.height() * ratio))),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(kPassPlotBackground);
  const TPassPlotLayout layout = PassPlotLayoutFor(size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  DrawTitle(p, plot, layout);
  DrawSkyChart(p, layout);
  DrawCurveAxes(p, plot, layout);
  if (plot.track.points.empty()) {
    DrawNoPath(p, layout);
  } else {
    DrawSun(p, plot, layout);
    DrawMoon(p, plot, layout);
    DrawSkyPath(p, plot, layout);
    DrawCurve(p, plot, layout);
  }
  DrawFacts(p, plot, layout);
  return image;
}

}  // namespace zen
