// The display options of the Options page, as plain values the settings files keep.
#pragma once

namespace zen {

enum class TRadarMode { On = 0, Off = 1, Auto = 2 };
enum class TSatOnTrack { Begin = 0, Middle = 1, End = 2 };

struct TShowOptions {
  // "Show" group.
  bool sun = true;                // "Sun"
  bool solarIllumination = true;  // "Solar illum."
  bool grid = false;              // "Grid"
  bool hints = true;              // "Hints"
  bool satSymbols = true;         // "Sat symbols"
  bool satColors = true;          // "Sat colors"
  bool satNames = true;           // "Sat names"
  bool trackLine = true;          // "Track line"
  bool trackMarkers = true;       // "Track markers"
  bool visibleZone = true;        // "Visible zone"
  // "Sat on track" and "Auto 'Sat on track'".
  TSatOnTrack satOnTrack = TSatOnTrack::Begin;
  bool middleAfterGoToMarker = true;  // "Mid. after go to marker"
  bool beginAfterReturnToRt = true;   // "Beg. after return to RT"
  // "Radar" group.
  TRadarMode radarMode = TRadarMode::Auto;
  bool radarNames = true;    // "Names"
  bool radarTrack = true;    // "Track"
  bool radarMarkers = true;  // "Markers"
  // Shown below the "Show" group: the Moon in its phase on the map, the radar and a pass's sky
  // plot. Off unless chosen, so the views and the settings files stay as they were for everyone
  // who never turns it on.
  bool moon = false;  // "Moon"
  bool operator==(const TShowOptions&) const = default;
};

}  // namespace zen
