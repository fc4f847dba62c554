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

namespace zen {

class TScreen {
 public:
  // The views are children of window; bitmaps are loaded before the first redraw.
  TScreen(const TTracker& tracker, const TBitmaps& bitmaps, QWidget* window,
          QWidget* timePanelParent);

  TMapScene Scene() const;

  // Pictures for views of these sizes (logical pixels) on a screen of this device pixel ratio:
  // the map and the radar at the screen's resolution, the time panel its documented drawing
  // grown by timePanelScale. Nothing is drawn here; the world for a larger map is made anew
  // when the map's size or ratio changed.
  void Resize(QSize map, QSize radar, double timePanelScale, qreal devicePixelRatio);
  // The world for maps other than the documented one; without it they show the bitmap smoothed.
  void SetVectorMap(TVectorMap map);
  // Runs when the world for a larger map is ready after a run of resizes; the window redraws.
  std::function<void()> worldReady;

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
  TVectorMap vectorMap_;
  bool hasVectorMap_ = false;
  QImage largeWorld_;
  // While the window is being dragged to new sizes the world is drawn once the sizes settle;
  // meanwhile the map shows the bitmap smoothed.
  QTimer* worldTimer_;
  QElapsedTimer lastResize_;

  void MakeLargeWorld();

  void DrawTimePanelIfShown();
};

}  // namespace zen
