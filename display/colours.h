// Colours shared by the map, the radar and the footer.
#pragma once

#include <QColor>

namespace zen {

inline const QColor kWhite{0xFF, 0xFF, 0xFF};
inline const QColor kBlack{0x00, 0x00, 0x00};
// Satellites, tracks and markers in the Earth's umbra.
inline const QColor kUmbraColour{0xFF, 0x66, 0x66};
// The same when sunlit, or whenever "Sat colors" is off on the map.
inline const QColor kLitColour{0x00, 0xFF, 0xFF};
// Compass letters round the map.
inline const QColor kCompassColour{0x90, 0x90, 0x90};

// The element-age line on the map: grey on black, white on the alert red when stale.
inline const QColor kAgeLineColour{0xD0, 0xD0, 0xD0};
inline const QColor kStaleAgeColour{0xA0, 0x10, 0x10};

}  // namespace zen
