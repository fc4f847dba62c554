// How the window sits on the screen: refused, full screen, or framed and centred.
#pragma once

#include <QRect>
#include <QString>

namespace zen {

inline constexpr int kClientWidth = 800;
inline constexpr int kClientHeight = 600;

struct TWindowPlan {
  bool screenOk = false;     // at least 800 x 600 at 16 bits per pixel
  bool fullScreen = false;   // exactly 800 x 600: maximized, on top, minimized when left
  bool fixedBorder = false;  // larger in either direction: framed, and resizable from 800 x 600
};

// Where everything sits in a client area of any size from 800 x 600 up; at 800 x 600 the
// documented layout. The map takes what the side column and the pages leave, the radar and
// the time panel grow with the window by `scale`, the pages grow a little taller for more rows
// and the side lists take the column's height.
struct TWindowLayout {
  double scale = 1.0;   // min(width / 800, height / 600)
  QRect mapSpace;       // where the map may spread; the map image is centred in it
  QRect map;            // the map image
  QRect sidePanel;      // full height, without the time panel
  int sidePanelShortHeight = 0;
  QRect timePanel;
  QRect radar;
  QRect pages;
  QRect pageTabs;
  QRect messagePanel;  // the "Loading..." notice, over the map
  QRect footer;
  bool operator==(const TWindowLayout&) const = default;
};

TWindowLayout LayOutWindow(int widthPx, int heightPx);

TWindowPlan PlanWindow(int screenWidthPx, int screenHeightPx, int depthBits);

// The message for a screen that is too small or too shallow.
QString ScreenTooSmallText();

}  // namespace zen
