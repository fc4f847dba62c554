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

}  // namespace
}  // namespace zen
