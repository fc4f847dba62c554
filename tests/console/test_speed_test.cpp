// The console's speed test: what it counts and how it reports.
#include <gtest/gtest.h>

#include <atomic>

#include "console/speed_test.h"
#include "core/observer.h"

namespace zen {
namespace {

TEST(SpeedTest, CountsBothBuiltInSetsWithTheirModels) {
  TGeodetic site = ObserverFromSite(52.0, 21.0, 100.0);
  TSpeedTestResult result = RunSpeedTest(site, std::chrono::milliseconds(30));
  EXPECT_FALSE(result.stopped);
  ASSERT_EQ(result.sets.size(), 2u);
  EXPECT_EQ(result.sets[0].model, "SDP4");
  EXPECT_EQ(result.sets[0].name, "MAQSAT H");
  EXPECT_EQ(result.sets[1].model, "SGP4");
  EXPECT_EQ(result.sets[1].name, "ISS");
  EXPECT_GT(result.sets[0].samples, 0);
  EXPECT_GT(result.sets[1].samples, 0);
}

TEST(SpeedTest, StopsAtOnceWhenAsked) {
  std::atomic<bool> stop{true};
  TSpeedTestResult result = RunSpeedTest(TGeodetic{}, std::chrono::hours(1), &stop);
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.sets[0].samples, 0);
}

TEST(SpeedTest, ReportsThousandsOfSamplesPerSecond) {
  TSpeedTestResult result;
  result.perSet = std::chrono::milliseconds(1500);
  // 18,449 samples in 1.5 s are 12.2993 thousand per second; 150 are 0.1.
  result.sets[0] = {"SDP4", "MAQSAT H", 18449};
  result.sets[1] = {"SGP4", "ISS", 150};
  EXPECT_EQ(SpeedTestLine(result), "  SDP4 (MAQSAT H): 12.3 KSPS; SGP4 (ISS): 0.1 KSPS; ");
}

}  // namespace
}  // namespace zen
