// The screen check and the window's placement for each screen size.
#include <gtest/gtest.h>

#include <ostream>

#include "app/window_plan.h"

namespace zen {
namespace {

struct TScreenCase {
  int width;
  int height;
  int depth;
  bool ok;
  bool fullScreen;
  bool fixedBorder;
};

void PrintTo(const TScreenCase& c, std::ostream* os) {
  *os << c.width << "x" << c.height << "x" << c.depth;
}

class WindowPlan : public ::testing::TestWithParam<TScreenCase> {};

TEST_P(WindowPlan, RefusesSmallScreensAndFillsExactOnes) {
  const TScreenCase& c = GetParam();
  TWindowPlan plan = PlanWindow(c.width, c.height, c.depth);
  EXPECT_EQ(plan.screenOk, c.ok);
  if (!c.ok) return;
  EXPECT_EQ(plan.fullScreen, c.fullScreen);
  EXPECT_EQ(plan.fixedBorder, c.fixedBorder);
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowPlan,
                         ::testing::Values(TScreenCase{800, 600, 16, true, true, false},
                                           TScreenCase{1024, 768, 24, true, false, true},
                                           TScreenCase{800, 768, 32, true, false, true},
                                           TScreenCase{1280, 600, 16, true, false, true},
                                           TScreenCase{799, 600, 32, false, false, false},
                                           TScreenCase{800, 599, 32, false, false, false},
                                           TScreenCase{800, 600, 15, false, false, false},
                                           TScreenCase{1920, 1080, 8, false, false, false}));

TEST(WindowPlan, MessageForASmallScreen) {
  EXPECT_EQ(ScreenTooSmallText(), QStringLiteral("Minimum screen resolution is 800x600x16bit."));
}

TEST(WindowLayout, DocumentedAt800x600AndNothingOverlapsAtAnySize) {
  const TWindowLayout first = LayOutWindow(800, 600);
  EXPECT_EQ(first.map, QRect(3, 2, 630, 390));
  EXPECT_EQ(first.sidePanel, QRect(634, 0, 167, 417));
  EXPECT_EQ(first.sidePanelShortHeight, 324);
  EXPECT_EQ(first.timePanel, QRect(634, 334, 158, 81));
  EXPECT_EQ(first.radar, QRect(624, 419, 176, 161));
  EXPECT_EQ(first.pages, QRect(18, 400, 602, 169));
  EXPECT_EQ(first.pageTabs, QRect(18, 567, 602, 17));
  EXPECT_EQ(first.messagePanel, QRect(260, 233, 185, 41));
  EXPECT_EQ(first.footer, QRect(0, 587, 800, 13));
  const QSize sizes[] = {{1024, 768}, {1600, 1000}, {1920, 1080}, {3840, 2160}, {800, 1400},
                         {2600, 600}};
  for (const QSize& size : sizes) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    const TWindowLayout l = LayOutWindow(size.width(), size.height());
    // The side panel's last column lies one pixel beyond the window, as documented.
    const QRect window(0, 0, size.width() + 1, size.height());
    const QRect areas[] = {l.map, l.sidePanel, l.radar, l.pages, l.pageTabs, l.footer};
    for (size_t i = 0; i < std::size(areas); ++i) {
      EXPECT_TRUE(window.contains(areas[i])) << i;
      for (size_t j = i + 1; j < std::size(areas); ++j) {
        // The tabs lie over the pages' last two rows, as in the documented layout.
        const bool tabsOverPages = i == 3 && j == 4;
        EXPECT_EQ(areas[i].intersects(areas[j]), tabsOverPages) << i << " and " << j;
      }
    }
    EXPECT_TRUE(l.mapSpace.contains(l.map));
    EXPECT_TRUE(l.sidePanel.contains(l.timePanel));
    EXPECT_GE(l.map.width(), 630);
    EXPECT_GE(l.map.height(), 390);
    // The map takes the room it is given along one side at least, less a step of 5 x 3.
    EXPECT_TRUE(l.mapSpace.width() - l.map.width() < 5 || l.mapSpace.height() - l.map.height() < 3);
    EXPECT_GE(l.radar.width(), 176);
  }
}

}  // namespace
}  // namespace zen
