// The pictures of the window: the map, the radar (or the logo) and the time panel, drawn from
// the model into images and shown by image views.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <functional>
#include <QWidget>
#include <vector>

#include "app/image_view.h"
#include "app/tracker.h"
#include "display/bitmaps.h"
#include "display/map_screen.h"
#include "display/projection.h"
#include "display/radar_view.h"
#include "display/vector_map.h"
#include "display/world_painter.h"

namespace zen {

class TScreen {
 public:
  // The views are children of window; bitmaps are loaded before the first redraw.
  TScreen(const TTracker& tracker, const TBitmaps& bitmaps, QWidget* window,
          QWidget* timePanelParent);

  TMapScene Scene() const;

  // Pictures for views of these sizes (logical pixels) on a screen of this device pixel ratio:
  // the map and the radar at the screen's resolution, the time panel its documented drawing
  // grown by timePanelScale. Nothing is drawn here; when the map's size or ratio changed, the
  // world for it is drawn anew on the world painter's thread, and the map shows the bitmap
  // smoothed until it is ready.
  void Resize(QSize map, QSize radar, double timePanelScale, qreal devicePixelRatio);
  // The world for maps other than the documented one, read from its file on the world painter's
  // thread; worldLoadFailed follows with the problem when it cannot be used. Without it, maps
  // other than the documented one show the bitmap smoothed.
  void LoadVectorMap(const QString& path);
  std::function<void(const QString& problem)> worldLoadFailed;
  // Ends the world's drawing for good and waits for its thread.
  void StopWorld() { world_.Stop(); }
  std::chrono::milliseconds WorldDrawingLimit() const { return world_.Limit(); }
  // Runs when the world for the map as it now is has been drawn; the window redraws.
  std::function<void()> worldReady;
  // Runs once when the outlines took too long to draw; the map keeps to the bitmap.
  std::function<void()> worldTooHeavy;
  // The world drawn for the map as it now is, or none (the bitmap stands in).
  const QImage& LargeWorld() const { return largeWorld_; }

  // The map and, unless backgroundOnly, the radar and the time texts.
  void DrawScreen(bool backgroundOnly);
  // WyswietlCzas: the map's time line and the time panel.
  void WyswietlCzas();
  // The logo in the radar's place, as at start-up.
  void DrawLogoArea();
  // Site markers without labels on the map as it stands; the next redraw takes them away.
  void MarkSites(const std::vector<TMapPoint>& points);

  QImage Img;  // the map
  QImage Lgo;  // the radar or the logo
  QImage Tmx;  // the time panel
  TImageView* mapView;
  TImageView* radarView;
  TImageView* timePanelView;
  TRadarView radar;

 private:
  const TTracker& tracker_;
  const TBitmaps& bitmaps_;
  TWorldPainter world_;
  QImage largeWorld_;
  // While the window is being dragged to new sizes the world is drawn once the sizes settle;
  // meanwhile the map shows the bitmap smoothed.
  QTimer* worldTimer_;
  QElapsedTimer lastResize_;

  // Asks for the world of the map as it now is, when it needs one.
  void RequestWorld();
  void WorldDrawn(const QImage& world);

  void DrawTimePanelIfShown();
};

}  // namespace zen
