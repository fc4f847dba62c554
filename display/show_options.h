// The display choices of the Options page that the map and radar primitives obey.
#pragma once

namespace zen {

// Mirrors the "Show" and "Radar" check boxes; the settings file reads and writes it.
struct TShowOptions {
  // Map.
  bool trackLine = true;     // "Track line"
  bool trackMarkers = true;  // "Track markers"
  bool satSymbols = true;    // "Sat symbols"
  bool satColors = true;     // "Sat colors"
  bool satNames = true;      // "Sat names"
  // Radar.
  bool radarNames = true;    // "Names"
  bool radarTrack = true;    // "Track"
  bool radarMarkers = true;  // "Markers"
};

}  // namespace zen
