// How the window sits on the screen: refused, full screen, or framed and centred.
#include "app/window_plan.h"

namespace zen {

TWindowPlan PlanWindow(int screenWidthPx, int screenHeightPx, int depthBits) {
  TWindowPlan plan;
  plan.screenOk =
      screenWidthPx >= kClientWidth && screenHeightPx >= kClientHeight && depthBits > 15;
  if (!plan.screenOk) return plan;
  plan.fixedBorder = screenWidthPx > kClientWidth || screenHeightPx > kClientHeight;
  plan.fullScreen = !plan.fixedBorder;
  return plan;
}

QString ScreenTooSmallText() {
  return QStringLiteral("Minimum screen resolution is 800x600x16bit.");
}

}  // namespace zen
