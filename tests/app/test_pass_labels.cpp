// The pass picture's minute labels on real passes (overhead, low, east to west, north to
// south), drawn at the smallest and the largest sizes the pass window gives them: no label
// covers a compass letter or another label.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>

#include "app/pass_window.h"
#include "app/prediction_commands.h"
#include "app_fixture.h"
#include "prediction/search.h"
#include "test_support.h"

namespace zen::test {
namespace {

// The difference of two azimuths, 0..180 degrees.
double AzimuthApart(double a, double b) {
  const double d = std::fmod(std::abs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

struct TShape {
  const char* what;
  bool (*fits)(const TPassLine&);
};

const TShape kShapes[] = {
    {"overhead", [](const TPassLine& p) { return p.culmination.elevation >= 75.0; }},
    {"low", [](const TPassLine& p) { return p.culmination.elevation <= 15.0; }},
    {"east to west or west to east",
     [](const TPassLine& p) {
       return (AzimuthApart(p.rise.azimuth, 90.0) <= 40.0 &&
               AzimuthApart(p.set.azimuth, 270.0) <= 40.0) ||
              (AzimuthApart(p.rise.azimuth, 270.0) <= 40.0 &&
               AzimuthApart(p.set.azimuth, 90.0) <= 40.0);
     }},
    {"north to south or south to north",
     [](const TPassLine& p) {
       return (AzimuthApart(p.rise.azimuth, 0.0) <= 30.0 &&
               AzimuthApart(p.set.azimuth, 180.0) <= 30.0) ||
              (AzimuthApart(p.rise.azimuth, 180.0) <= 30.0 &&
               AzimuthApart(p.set.azimuth, 0.0) <= 30.0);
     }},
};

// Two days of every visual satellite over Torun, in any light, from the horizon up.
TSearchRequest TwoDays() {
  TSearchRequest request;
  request.latitudeDeg = 53.0217;
  request.longitudeDeg = 18.6107;
  request.altitudeM = 65.0;
  request.utcOffsetHours = 1.0;
  request.periodStartLocal = DateRecToJulian(TDateRec{2026, 2, 11, 1, 0, 0, 0});
  request.periodEndLocal = request.periodStartLocal + 2.0;
  request.illuminationRequired = false;
  request.maxSunElevationDeg = 90.0;
  request.minSatElevationDeg = 0.0;
  request.brief = true;
  request.threads = 2;
  TCatalog catalog;
  catalog.ReadEverySet(ReferenceDataDir() / "tle" / "visual_2026-02-11.tle",
                       [&](const std::string& name, const TCatalogSet& set) {
                         request.satellites.push_back(SearchSatelliteOf(name, set));
                       });
  return request;
}

// The picture's size in a pass window of a frame size.
QSize PictureSizeAt(QSize windowSize) {
  TScriptedDialogs dialogs;
  TPassWindow window(dialogs);
  window.resize(windowSize);
  TPassPlot plot;
  window.ShowPlot(plot);
  window.resize(windowSize.expandedTo(window.minimumSize()));
  const QSize size = window.Picture().size() / window.Picture().devicePixelRatio();
  window.close();
  return size;
}

// The pixels of the compass letters: what a picture of no path shows outside the horizon in
// the sky plot's part of the image, away from the curve's labels, the title and the facts.
std::vector<QPoint> LetterInk(QSize size, double ratio) {
  TPassPlot empty;
  const QImage chart = RenderPassPlot(empty, size, ratio);
  const TPassPlotLayout layout = PassPlotLayoutFor(size);
  const QPointF centre = layout.skyDisc.center() * ratio;
  const double horizon = layout.skyDisc.width() / 2.0 * ratio;
  const double right = (layout.curveArea.left() - layout.textPx * 3.2) * ratio;
  const double bottom = layout.factsArea.top() * ratio;
  std::vector<QPoint> ink;
  for (int y = 0; y < chart.height() && y < bottom; ++y) {
    for (int x = 0; x < chart.width() && x < right; ++x) {
      if (std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y()) < horizon + 3.0 * ratio) {
        continue;
      }
      if (chart.pixelColor(x, y) != kPassPlotBackground) ink.emplace_back(x, y);
    }
  }
  return ink;
}

TEST(PassLabels, MinuteLabelsKeepOffTheCompassLettersAndEachOther) {
  EnsureApplication();
  const TSearchRequest request = TwoDays();
  ASSERT_GT(request.satellites.size(), 100u);
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);

  // Up to three passes of each shape, each a few minutes long, no pass twice.
  std::vector<std::pair<std::string, TPassLine>> passes;
  for (const TShape& shape : kShapes) {
    int taken = 0;
    for (const TPassLine& pass : outcome.passes) {
      if (taken == 3) break;
      if (pass.DurationSeconds() < 240 || !shape.fits(pass)) continue;
      const bool chosen = std::any_of(passes.begin(), passes.end(), [&](const auto& p) {
        return p.second.satellite == pass.satellite && p.second.rise.timeUtc == pass.rise.timeUtc;
      });
      if (chosen) continue;
      passes.emplace_back(shape.what, pass);
      ++taken;
    }
    EXPECT_GE(taken, 1) << "no " << shape.what << " pass";
  }

  // The smallest window, and one filling a 4K screen; the smallest also at twice the pixels.
  const QSize smallest = PictureSizeAt(QSize(1, 1));
  const QSize largest = PictureSizeAt(QSize(3840, 2160));
  ASSERT_LT(smallest.width(), 700);
  ASSERT_GT(largest.height(), 2000);
  const struct {
    QSize size;
    double ratio;
  } views[] = {{smallest, 1.0}, {smallest, 2.0}, {largest, 1.0}};

  int labelsShown = 0;
  for (const auto& view : views) {
    const std::vector<QPoint> letters = LetterInk(view.size, view.ratio);
    ASSERT_GT(letters.size(), 40u) << "the four letters are drawn";
    const TPassPlotLayout layout = PassPlotLayoutFor(view.size);
    for (const auto& [what, pass] : passes) {
      SCOPED_TRACE(what + " pass of " + pass.culmination.sat + " at " +
                   std::to_string(view.size.width()) + "x" + std::to_string(view.size.height()) +
                   " ratio " + std::to_string(view.ratio));
      const TPassPlot plot = PlotOfPass(request, pass);
      std::vector<QRectF> shown;
      for (const TMinuteMark& mark : SkyMinuteMarks(plot, layout)) {
        if (mark.labelShown) shown.push_back(mark.labelBox);
      }
      labelsShown += static_cast<int>(shown.size());
      for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(QRectF(QPointF(), view.size).contains(shown[i]));
        for (size_t j = i + 1; j < shown.size(); ++j) {
          EXPECT_FALSE(shown[i].intersects(shown[j]));
        }
        // The label's text with its one-pixel shadow.
        const QRectF covered(shown[i].topLeft() * view.ratio,
                             (shown[i].bottomRight() + QPointF(1.0, 1.0)) * view.ratio);
        const auto inside = std::find_if(letters.begin(), letters.end(), [&](QPoint p) {
          return covered.contains(QPointF(p) + QPointF(0.5, 0.5));
        });
        EXPECT_TRUE(inside == letters.end())
            << "the label at " << shown[i].x() << "," << shown[i].y()
            << " covers a letter's pixel at " << inside->x() << "," << inside->y();
      }
    }
  }
  EXPECT_GT(labelsShown, 50);
}

}  // namespace
}  // namespace zen::test
