// The pass picture's minute labels on real passes, drawn at the smallest and the largest sizes
// the pass window gives them, keep off the compass letters.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "app/pass_window.h"
#include "app/prediction_commands.h"
#include "app_fixture.h"
#include "prediction/search_fixture.h"

namespace zen::test {
namespace {

QSize PictureSizeAt(QSize windowSize) {
  TScriptedDialogs dialogs;
  TPassWindow window(dialogs);
  window.ShowPlot(TPassPlot{});
  window.resize(windowSize.expandedTo(window.minimumSize()));
  return window.Picture().size() / window.Picture().devicePixelRatio();
}

TEST(PassLabels, MinuteLabelsKeepOffTheCompassLettersAndEachOther) {
  EnsureApplication();
  // Two days of every visual satellite over Torun, in any light, from the horizon up.
  TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 0, 0, 0, 0}, 48.0);
  request.satellites = ReferenceSets("visual_2026-02-11.tle");
  request.illuminationRequired = false;
  request.maxSunElevationDeg = 90.0;
  request.minSatElevationDeg = 0.0;
  request.threads = 2;
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);

  std::vector<TPassPlot> plots;  // every fifth pass, of four minutes or more
  for (size_t i = 0; i < outcome.passes.size(); i += 5) {
    const TPassLine& pass = outcome.passes[i];
    if (pass.DurationSeconds() >= 240) plots.push_back(PlotOfPass(request, pass));
  }
  const QSize smallest = PictureSizeAt(QSize(1, 1));
  const QSize largest = PictureSizeAt(QSize(3840, 2160));
  ASSERT_TRUE(smallest.width() < 700 && largest.height() > 2000);
  int labelsShown = 0;
  for (const auto& [size, ratio] :
       {std::pair{smallest, 1.0}, std::pair{smallest, 2.0}, std::pair{largest, 1.0}}) {
    // The compass letters' pixels: what a picture of no path shows outside the horizon, left of
    // the curve's labels and above the facts.
    const QImage chart = RenderPassPlot(TPassPlot{}, size, ratio);
    const TPassPlotLayout layout = PassPlotLayoutFor(size);
    std::vector<QPointF> letters;
    for (int y = 0; y < std::min<double>(chart.height(), layout.factsArea.top() * ratio); ++y) {
      for (int x = 0; x < (layout.curveArea.left() - layout.textPx * 3.2) * ratio; ++x) {
        const QPointF p = QPointF(x + 0.5, y + 0.5) / ratio;
        if (QLineF(p, layout.skyDisc.center()).length() > layout.skyDisc.width() / 2.0 + 3.0 &&
            chart.pixelColor(x, y) != kPassPlotBackground) {
          letters.push_back(p);
        }
      }
    }
    ASSERT_GT(letters.size(), 40u) << "the four letters are drawn";
    for (const TPassPlot& plot : plots) {
      for (const TMinuteMark& mark : SkyMinuteMarks(plot, layout)) {
        if (!mark.labelShown) continue;
        // The label's text with its one-pixel shadow.
        const QRectF box = mark.labelBox.adjusted(0, 0, 1, 1);
        EXPECT_TRUE(std::none_of(letters.begin(), letters.end(),
                                 [&](const QPointF& p) { return box.contains(p); }))
            << mark.label.toStdString() << " at " << size.width();
        ++labelsShown;
      }
    }
  }
  EXPECT_GT(labelsShown, 50);
}

}  // namespace
}  // namespace zen::test
