// The pictures of the window: the map, the radar (or the logo) and the time panel, drawn from
// the model into images and shown by image views.
#include "app/screen.h"

#include "display/canvas.h"
#include "display/map_background.h"
#include "display/map_primitives.h"
#include "display/projection.h"
#include "display/time_display.h"

namespace zen {

TScreen::TScreen(const TTracker& tracker, const TBitmaps& bitmaps, QWidget* window,
                 QWidget* timePanelParent)
    : Img(kMapImageWidth, kMapImageHeight, QImage::Format_RGB32),
      Lgo(kRadarImageWidth, kRadarImageHeight, QImage::Format_RGB32),
      Tmx(kTimePanelWidth, kTimePanelHeight, QImage::Format_RGB32),
      tracker_(tracker),
      bitmaps_(bitmaps) {
  Img.fill(Qt::black);
  Lgo.fill(Qt::black);
  Tmx.fill(Qt::black);
  mapView = new TImageView(&Img, window);
  mapView->setObjectName(QStringLiteral("Img"));
  radarView = new TImageView(&Lgo, window);
  radarView->setObjectName(QStringLiteral("Lgo"));
  timePanelView = new TImageView(&Tmx, timePanelParent);
  timePanelView->setGeometry(0, 0, kTimePanelWidth, kTimePanelHeight);
}

TMapScene TScreen::Scene() const {
  return TMapScene{tracker_.list, tracker_.cycle, tracker_.Site(),
                   tracker_.show, bitmaps_,       tracker_.time};
}

void TScreen::DrawScreen(bool backgroundOnly) {
  TMapScene scene = Scene();
  ::zen::DrawScreen(Img, scene, backgroundOnly);
  mapView->update();
  if (backgroundOnly) return;
  DrawTimePanelIfShown();
  TRadarDraw drawn = radar.DrawRadar(Lgo, scene);
  radarView->setCursor(drawn.crosshair ? Qt::CrossCursor : Qt::ArrowCursor);
  if (drawn.painted) radarView->update();
}

void TScreen::WyswietlCzas() {
  {
    TCanvas canvas(Img);
    DrawTimeLine(canvas, tracker_.time);
  }
  mapView->update();
  DrawTimePanelIfShown();
}

void TScreen::DrawTimePanelIfShown() {
  if (!tracker_.view.timePanelShown) return;
  DrawTimePanel(Tmx, tracker_.time, tracker_.view.timePanelAltView);
  timePanelView->update();
}

void TScreen::DrawLogoArea() {
  TCanvas canvas(Lgo);
  DrawCentredOnBlack(canvas, bitmaps_.LogoBitmap);
  radarView->update();
}

void TScreen::MarkSites(const std::vector<TMapPoint>& points) {
  {
    TCanvas canvas(Img);
    for (const TMapPoint& p : points) {
      DrawPoint(canvas, tracker_.show, bitmaps_, pkSite, QString(), p.lat, p.lon, false);
    }
  }
  mapView->update();
}

}  // namespace zen
