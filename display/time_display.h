// The time line at the bottom right of the map and the time panel above the radar.
#pragma once

#include <QImage>
#include <QString>

#include "display/canvas.h"
#include "tracking/time_control.h"

namespace zen {

inline constexpr int kTimePanelWidth = 158;
inline constexpr int kTimePanelHeight = 81;
// The time line's top lies this far below the map area (376 on the documented map); its right
// edge is the area's (615).
inline constexpr int kTimeLineBelowArea = 1;

// yyyy-mm-dd hh:mm:ss of the moment the "Time" choice shows.
QString DisplayedTimeText(const TTimeControl& time);

// The map's time line: "<14 blanks><time> (UTC)" or "<time> (UTC +h:mm)", right-aligned at
// the map area's right edge (x = 615 on the documented map), on an opaque black background so
// a longer line leaves no trace.
QString TimeLineText(const TTimeControl& time);
void DrawTimeLine(TCanvas& map, const TTimeControl& time);

// The status words of the panel: calculation mode, automatic state, time scale.
struct TTimePanelStatus {
  const char* mode;
  const char* automatic;
  const char* scale;
};
TTimePanelStatus TimePanelStatus(const TTimeControl& time);

// The panel image: status row, then the clock (time over date), or in the alternative view
// the day of the year with its fraction over the Julian date.
void DrawTimePanel(QImage& panel, const TTimeControl& time, bool altView);

}  // namespace zen
