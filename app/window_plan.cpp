// How the window sits on the screen: refused, full screen, or framed and centred.
#include "app/window_plan.h"

#include <algorithm>
#include <cmath>

#include "display/footer.h"
#include "display/projection.h"
#include "display/time_display.h"

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

TWindowLayout LayOutWindow(int widthPx, int heightPx) {
  const int w = std::max(widthPx, kClientWidth);
  const int h = std::max(heightPx, kClientHeight);
  TWindowLayout l;
  l.scale = std::min(static_cast<double>(w) / kClientWidth, static_cast<double>(h) / kClientHeight);
  auto grown = [&l](int px) { return static_cast<int>(std::lround(px * l.scale)); };
  l.footer = QRect(0, h - kFooterHeight, w, kFooterHeight);
  // The radar in the bottom right corner, 7 pixels above the footer.
  const QSize radar(grown(kRadarImageWidth), grown(kRadarImageHeight));
  l.radar = QRect(w - radar.width(), l.footer.top() - 7 - radar.height(), radar.width(),
                  radar.height());
  // The side column over it: the lists, and the time panel at their foot when shown. Its
  // last column lies one pixel beyond the window, as documented.
  const int sideLeft = w - grown(kClientWidth - 634);
  l.sidePanel = QRect(sideLeft, 0, w - sideLeft + 1, l.radar.top() - 2);
  l.sidePanelShortHeight = l.sidePanel.height() - grown(417 - 324);
  l.timePanel = QRect(sideLeft, l.sidePanel.bottom() + 1 - grown(417 - 334),
                      grown(kTimePanelWidth), grown(kTimePanelHeight));
  // The pages under the map, beside the radar: a quarter of the extra height, 200 at most,
  // goes to them for longer lists.
  const int extraRows = std::min(200, (h - kClientHeight) / 4);
  l.pageTabs = QRect(18, h - 33, l.radar.left() - 4 - 18, 17);
  l.pages = QRect(18, h - 200 - extraRows, l.pageTabs.width(), 169 + extraRows);
  l.mapSpace = QRect(3, 2, sideLeft - 4, l.pages.top() - 10);
  const QSize map = MapImageSizeFor(l.mapSpace.width(), l.mapSpace.height());
  l.map = QRect(l.mapSpace.left() + (l.mapSpace.width() - map.width()) / 2,
                l.mapSpace.top() + (l.mapSpace.height() - map.height()) / 2, map.width(),
                map.height());
  l.messagePanel = QRect(l.map.left() + 257, l.map.top() + 231, 185, 41)
                       .translated((l.map.width() - kMapImageWidth) / 2,
                                   (l.map.height() - kMapImageHeight) / 2);
  return l;
}

QString ScreenTooSmallText() {
  return QStringLiteral("Minimum screen resolution is 800x600x16bit.");
}

}  // namespace zen
