// A map scene for display tests: real tracked list and compute cycle, synthetic bitmaps
// whose inks can be told apart, and helpers to place satellites and track samples exactly.
#pragma once

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/elements.h"
#include "display/bitmaps.h"
#include "display/map_screen.h"
#include "display/projection.h"
#include "gui_application.h"
#include "test_support.h"

namespace zen::test {

inline const QColor kWorldInk(0x10, 0x20, 0x60);
inline const QColor kRadarInk(0x30, 0x30, 0x30);
inline const QColor kLogoInk(0x80, 0x40, 0x00);
inline const QColor kSunInk(0xF0, 0xC0, 0x10);
inline const QColor kLitInk(0x10, 0xC0, 0xF0);
inline const QColor kEclipsedInk(0xC0, 0x30, 0x30);
inline const QColor kActiveInk(0xF0, 0xF0, 0x40);
inline const QColor kSymbolKey(0xFF, 0x00, 0xFF);

inline QImage Filled(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// A 7 x 7 symbol: the key colour round a 3 x 3 block of ink at its centre.
inline QImage SymbolBitmap(const QColor& ink) {
  QImage image = Filled(7, 7, kSymbolKey);
  for (int y = 2; y <= 4; ++y) {
    for (int x = 2; x <= 4; ++x) image.setPixel(x, y, ink.rgb());
  }
  return WithTransparentColour(image);
}

inline TBitmaps SyntheticBitmaps() {
  TBitmaps b;
  b.WorldBitmap = Filled(kMapAreaWidth, kMapAreaHeight, kWorldInk);
  b.SunBitmap = SymbolBitmap(kSunInk);
  b.SatLitBitmap = SymbolBitmap(kLitInk);
  b.SatEclipsedBitmap = SymbolBitmap(kEclipsedInk);
  b.SatActiveBitmap = SymbolBitmap(kActiveInk);
  b.RadarBitmap = Filled(140, 140, kRadarInk);
  b.LogoBitmap = Filled(60, 40, kLogoInk);
  return b;
}

// The built-in sets renumbered 40001.., named names[i], written to a file in dir and loaded
// into list, every one tracked and none active.
inline void LoadTracked(TSatelliteList& list, const std::filesystem::path& dir,
                        const std::vector<std::string>& names) {
  std::filesystem::create_directories(dir);
  std::filesystem::path file = dir / "scene.tle";
  {
    std::ofstream out(file, std::ios::binary);
    for (size_t i = 0; i < names.size(); ++i) {
      const TNamedElements& s = SelfTestSatellites[1];
      char number[8];
      std::snprintf(number, sizeof number, "%5d", static_cast<int>(40001 + i));
      out << names[i] << "\n"
          << Patched(s.line1, 3, number) << "\n"
          << Patched(s.line2, 3, number) << "\n";
    }
  }
  list.TleFileName = file.string();
  list.zapodawajSatelity(dir);
  TSelection none;
  list.AddTr(true, false, 0, none);
  list.ActiveSat = 0;
}

// Owns everything a TMapScene refers to.
struct TSceneParts {
  TSceneParts() {
    EnsureGuiApplication();
    bitmaps = SyntheticBitmaps();
    site.name = "Home";
    site.sign = "HM";
    site.latitude = 52.0;
    site.longitude = 21.0;
    show.sun = false;
    show.solarIllumination = false;
    show.grid = false;
    show.visibleZone = false;
    show.trackLine = false;
    show.trackMarkers = false;
    show.satNames = false;
    show.radarNames = false;
    show.radarTrack = false;
    show.radarMarkers = false;
  }

  TMapScene Scene() const { return TMapScene{list, cycle, site, show, bitmaps, time}; }

  // Satellite i (1-based) at a sub-point and sky direction, computed, eclipse state given.
  void Place(int i, double lat, double lon, double az = 0.0, double el = -10.0, int eclipse = 0,
             double altitudeKm = 400.0) {
    TSatState& s = list.TrackedSats[static_cast<size_t>(i)];
    s.computed = true;
    s.latitude = lat;
    s.longitude = lon;
    s.azimuth = az;
    s.elevation = el;
    s.eclipse = static_cast<uint8_t>(eclipse);
    s.geodetic.altitude = altitudeKm;
  }

  // Every track sample computed, placed by fn(k, sample).
  template <typename F>
  void Track(F fn) {
    for (int k = 0; k < kTrackSamples; ++k) {
      TTrackSample& s = cycle.ActiveTrack[static_cast<size_t>(k)];
      s = TTrackSample{};
      s.computed = true;
      fn(k, s);
    }
  }

  QImage Map(bool backgroundOnly = false) const {
    QImage image = Filled(kMapImageWidth, kMapImageHeight, Qt::white);
    DrawScreen(image, Scene(), backgroundOnly);
    return image;
  }

  TSatelliteList list;
  TComputeCycle cycle;
  TSite site;
  TShowOptions show;
  TBitmaps bitmaps;
  TTimeControl time;
};

}  // namespace zen::test
