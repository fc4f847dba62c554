// How the window sits on the screen: refused, full screen, or framed and centred.
#pragma once

#include <QString>

namespace zen {

inline constexpr int kClientWidth = 800;
inline constexpr int kClientHeight = 600;

struct TWindowPlan {
  bool screenOk = false;     // at least 800 x 600 at 16 bits per pixel
  bool fullScreen = false;   // exactly 800 x 600: maximized, on top, minimized when left
  bool fixedBorder = false;  // larger in either direction: a single fixed border
};

TWindowPlan PlanWindow(int screenWidthPx, int screenHeightPx, int depthBits);

// The message for a screen that is too small or too shallow.
QString ScreenTooSmallText();

}  // namespace zen
