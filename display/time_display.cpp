// The time line at the bottom right of the map and the time panel above the radar.
#include "display/time_display.h"

#include <cstdio>

#include "display/colours.h"
#include "display/fonts.h"
#include "display/projection.h"

namespace zen {

namespace {

const QColor kClockColour{0x00, 0xFF, 0x00};
const QColor kStatusColour{0xFF, 0x00, 0x00};
const QColor kPanelFrameColour{0xD0, 0xD0, 0xD0};

QString Fixed5(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.5f", value);
  return QString::fromLatin1(buffer);
}

// Text centred on column x.
void CentredText(TCanvas& canvas, int x, int top, const QString& text) {
  canvas.TextOut(x - canvas.TextWidth(text) / 2, top, text);
}

}  // namespace

QString DisplayedTimeText(const TTimeControl& time) {
  return QString::fromStdString(DateRecToText(time.DisplayRecord()));
}

QString TimeLineText(const TTimeControl& time) {
  QString text = DisplayedTimeText(time);
  if (time.Display == TTimeDisplay::Utc) return QString(14, QLatin1Char(' ')) + text + " (UTC)";
  return text + " (UTC " + QString::fromStdString(time.OffsetText()) + ")";
}

void DrawTimeLine(TCanvas& map, const TTimeControl& time) {
  map.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
  map.SetFontColour(kWhite);
  map.SetBrushSolid(kBlack);
  QString text = TimeLineText(time);
  const TMapGeometry area = MapGeometryFor(map.Width(), map.Height());
  map.TextOut(area.Right() - map.TextWidth(text), area.Bottom() + kTimeLineBelowArea, text);
}

TTimePanelStatus TimePanelStatus(const TTimeControl& time) {
  TTimePanelStatus s{};
  bool simulation = time.Mode() == TTimeMode::Simulation;
  s.mode = simulation ? "SIM" : "RT";
  if (!simulation) {
    s.automatic = "CLOCK";
  } else if (time.AutoStep < 0) {
    s.automatic = "AUTO-BCK";
  } else if (time.AutoStep > 0) {
    s.automatic = "AUTO-FWD";
  } else {
    s.automatic = "AUTO-OFF";
  }
  s.scale = time.Display == TTimeDisplay::Utc ? "UTC" : "LCL";
  return s;
}

void DrawTimePanel(QImage& panel, const TTimeControl& time, bool altView) {
  TCanvas canvas(panel);
  const int w = canvas.Width();
  const int h = canvas.Height();
  canvas.SetBrushSolid(kBlack);
  canvas.FillRect(0, 0, w, h);
  canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 17));
  canvas.SetFontColour(kClockColour);
  QString text = DisplayedTimeText(time);
  if (!altView) {
    CentredText(canvas, w / 2, 21, text.mid(11, 8));
    CentredText(canvas, w / 2, 48, text.left(10));
  } else {
    const TDateRec& r = time.DisplayRecord();
    double day = DayOfYear(r.year, r.month, r.day) + FractionOfDay(r.hour, r.minute, r.second, 0);
    CentredText(canvas, w / 2, 23, Fixed5(day));
    canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 12));
    CentredText(canvas, w / 2, 53, Fixed5(time.DisplayMoment()));
  }

  TTimePanelStatus status = TimePanelStatus(time);
  canvas.SetFont(ZenFont(TFontFace::SansSherif, 8, true));
  canvas.SetFontColour(kStatusColour);
  CentredText(canvas, 20, 2, QString::fromLatin1(status.mode));
  CentredText(canvas, 138, 2, QString::fromLatin1(status.scale));
  CentredText(canvas, 79, 2, QString::fromLatin1(status.automatic));

  canvas.SetPenColour(kPanelFrameColour);
  canvas.SetBrushClear();
  canvas.Rectangle(0, 0, w, h);
  canvas.MoveTo(0, 16);
  canvas.LineTo(w, 16);
  canvas.MoveTo(40, 0);
  canvas.LineTo(40, 16);
  canvas.MoveTo(118, 0);
  canvas.LineTo(118, 16);
}

}  // namespace zen
