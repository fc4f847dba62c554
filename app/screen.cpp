// The pictures of the window: the map, the radar (or the logo) and the time panel, drawn from
// the model into images and shown by image views.
#include "app/screen.h"

#include "display/canvas.h"
#include "display/map_background.h"
#include "display/map_primitives.h"
#include "display/projection.h"
#include "display/time_display.h"

namespace zen {

namespace {

// Sizes closer together than this are one drag of the window's edge.
constexpr int kSettleMs = 150;

}  // namespace

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
  worldTimer_ = new QTimer(mapView);
  worldTimer_->setSingleShot(true);
  worldTimer_->setInterval(kSettleMs);
  QObject::connect(worldTimer_, &QTimer::timeout, mapView, [this] { RequestWorld(); });
  world_.drawn = [this](const QImage& world) { WorldDrawn(world); };
  world_.loaded = [this](const QString& problem) {
    if (!problem.isEmpty() && worldLoadFailed) worldLoadFailed(problem);
  };
  world_.tooHeavyNow = [this] {
    if (worldTooHeavy) worldTooHeavy();
  };
}

TMapScene TScreen::Scene() const {
  TMapScene scene{tracker_.list, tracker_.cycle, tracker_.Site(),
                  tracker_.show, bitmaps_,       tracker_.time};
  scene.largeWorld = largeWorld_.isNull() ? nullptr : &largeWorld_;
  scene.mapGeometry = MapGeometryFor(qRound(Img.deviceIndependentSize().width()),
                                     qRound(Img.deviceIndependentSize().height()));
  scene.radarGeometry = RadarGeometryFor(qRound(Lgo.deviceIndependentSize().width()),
                                         qRound(Lgo.deviceIndependentSize().height()));
  return scene;
}

namespace {

// An image of a logical size at a device pixel ratio, black.
QImage Picture(QSizeF logical, qreal ratio) {
  QImage image((logical * ratio).toSize(), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::black);
  return image;
}

}  // namespace

void TScreen::Resize(QSize map, QSize radar, double timePanelScale, qreal devicePixelRatio) {
  const bool mapChanged = map != Img.deviceIndependentSize().toSize() ||
                          devicePixelRatio != Img.devicePixelRatio();
  if (mapChanged) {
    Img = Picture(map, devicePixelRatio);
    // The world of the former size never stands in for this one: the bitmap does, until the
    // world for this size is drawn. A window being dragged larger gets it when it stops.
    largeWorld_ = QImage();
    const bool dragging = lastResize_.isValid() && lastResize_.elapsed() < kSettleMs;
    lastResize_.start();
    if (dragging) {
      world_.Cancel();
      worldTimer_->start();
    } else {
      worldTimer_->stop();
      RequestWorld();
    }
  }
  if (radar != Lgo.deviceIndependentSize().toSize() || devicePixelRatio != Lgo.devicePixelRatio()) {
    Lgo = Picture(radar, devicePixelRatio);
    // The logo is painted again at the next redraw while the radar is off.
    this->radar.RadarWasShown = true;
  }
  const qreal panelRatio = timePanelScale * devicePixelRatio;
  if (panelRatio != Tmx.devicePixelRatio()) {
    Tmx = Picture(QSizeF(kTimePanelWidth, kTimePanelHeight), panelRatio);
  }
}

void TScreen::LoadVectorMap(const QString& path) {
  largeWorld_ = QImage();
  world_.Load(path);
  RequestWorld();
}

void TScreen::RequestWorld() {
  const QSize size = Img.deviceIndependentSize().toSize();
  if (IsDocumentedMap(size.width(), size.height(), Img.devicePixelRatio())) {
    world_.Cancel();
    return;
  }
  const TMapGeometry area = MapGeometryFor(size.width(), size.height());
  world_.Draw(QSize(area.width, area.height), Img.devicePixelRatio());
}

void TScreen::WorldDrawn(const QImage& world) {
  // Only the world of the map as it now is: a picture of another size is never drawn in.
  const QSize size = Img.deviceIndependentSize().toSize();
  const TMapGeometry area = MapGeometryFor(size.width(), size.height());
  if (world.deviceIndependentSize().toSize() != QSize(area.width, area.height) ||
      world.devicePixelRatio() != Img.devicePixelRatio()) {
    return;
  }
  largeWorld_ = world;
  if (worldReady) worldReady();
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
  DrawLogo(canvas, bitmaps_);
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
