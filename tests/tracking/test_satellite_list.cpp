// The tracked list: loading with saved choices, adding, removing, cropping and the active one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "tracking/satellite_list.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

// Writes sets named "S<number>" and loads them; numbers may repeat.
class SatelliteList : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zen_satlist_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_ / "Tle");
  }
  void TearDown() override { fs::remove_all(dir_); }

  TTrackedView Load(const std::vector<int>& numbers, std::vector<std::string> trackedIds = {},
                    std::string activeId = "") {
    std::ofstream out(dir_ / "Tle" / "sats.tle", std::ios::binary);
    for (int n : numbers) {
      auto [l1, l2] = test::MakeLinePair(n);
      out << "S" << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
    }
    out.close();
    list_.TleFileName = "Tle/sats.tle";
    list_.TrackedIds = std::move(trackedIds);
    list_.ActiveId = std::move(activeId);
    return list_.zapodawajSatelity(dir_);
  }

  std::vector<std::string> Tracked() const { return list_.TrackedNames(); }
  static std::vector<int> Range(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
  }

  fs::path dir_;
  TSatelliteList list_;
};

using Names = std::vector<std::string>;

TEST_F(SatelliteList, LoadTracksSavedIdsInFileOrderWithTheActiveFocused) {
  TTrackedView view = Load({5, 7, 9, 11}, {"00011", "00007"}, "00011");
  EXPECT_EQ(list_.LoadedCount, 4);
  EXPECT_EQ(Tracked(), (Names{"S7", "S11"}));
  EXPECT_EQ(list_.ActiveSat, 2);
  EXPECT_EQ(view.focusedRow, 1);
  EXPECT_EQ(view.selection, (TSelection{1}));
  EXPECT_EQ(list_.Catalog.CatalogFlags[2], 1);
  EXPECT_EQ(list_.Catalog.CatalogFlags[1], 0);
  EXPECT_EQ(list_.InfoShownSat, -1);
}

TEST_F(SatelliteList, SavedIdsMatchByNumberWhateverTheirForm) {
  // "340000" sorts before "99999" as text and "A0000" is 100000: only the value counts.
  Load({99999, 100000, 339999, 5}, {"A0000", "5", "339999"}, "Z9999");
  EXPECT_EQ(Tracked(), (Names{"S100000", "S339999", "S5"}));
  EXPECT_EQ(list_.ActiveSat, 2);
  EXPECT_EQ(list_.CatalogNumberOf(1), "100000");
  EXPECT_EQ(list_.CatalogNumberOf(3), "00005");
}

TEST_F(SatelliteList, NoActiveIdMatchLeavesNoneActive) {
  for (const char* activeId : {"", "99999"}) {
    Load({5, 7}, {"00005", "00007"}, activeId);
    EXPECT_EQ(list_.TrackedCount, 2);
    EXPECT_EQ(list_.ActiveSat, 0) << activeId;
  }
}

TEST_F(SatelliteList, RepeatedNumbersAreAllTrackedAndTheLastMatchIsActive) {
  Load({5, 8, 5, 8}, {"00008"}, "00008");
  EXPECT_EQ(list_.TrackedCount, 2);
  EXPECT_EQ(list_.ActiveSat, 2);
  EXPECT_EQ(list_.TrackedSats[2].catalogIndex, 4);
}

TEST_F(SatelliteList, LoadTracksEverySavedIdHoweverMany) {
  std::vector<std::string> ids;
  for (int i = 5000; i >= 2; --i) ids.push_back(std::to_string(i));  // "1" is left out
  Load(Range(1, 5000), ids, "4999");
  EXPECT_EQ(list_.TrackedCount, 4999);
  EXPECT_EQ(list_.NameOf(1), "S2");
  EXPECT_EQ(list_.NameOf(4999), "S5000");
  EXPECT_EQ(list_.ActiveSat, 4998);
  EXPECT_EQ(list_.Catalog.CatalogFlags[1], 0);
}

TEST_F(SatelliteList, MissingOrUnreadableFileGivesAnEmptyCatalogue) {
  Load({1, 2}, {"00001"}, "00001");
  list_.TleFileName = "Tle/absent.tle";
  std::string error;
  list_.zapodawajSatelity(dir_, &error);
  EXPECT_EQ(list_.LoadedCount, 0);
  EXPECT_EQ(list_.TrackedCount, 0);
  EXPECT_EQ(list_.ActiveSat, 0);
  EXPECT_TRUE(error.empty());
  list_.TleFileName = "Tle";  // a folder cannot be read
  list_.zapodawajSatelity(dir_, &error);
  EXPECT_EQ(list_.LoadedCount, 0);
  EXPECT_FALSE(error.empty());
}

TEST_F(SatelliteList, AddAllTracksEveryOneNotYetTracked) {
  Load(Range(1, 3000), {"00003"}, "");
  TSelection none;
  list_.AddTr(true, false, 0, none);
  EXPECT_EQ(list_.TrackedCount, 3000);
  EXPECT_EQ(list_.NameOf(1), "S3");
  EXPECT_EQ(list_.NameOf(2), "S1");
  EXPECT_EQ(list_.NameOf(3), "S2");
  EXPECT_EQ(list_.NameOf(3000), "S3000");
  EXPECT_EQ(list_.ActiveSat, 0);  // the list was not empty before
}

TEST_F(SatelliteList, AddingToAnEmptyListMakesTheFirstActive) {
  Load(Range(1, 5));
  TSelection selected{1, 3};
  TTrackedView view = list_.AddTr(false, false, 0, selected);
  EXPECT_EQ(Tracked(), (Names{"S2", "S4"}));
  EXPECT_EQ(list_.ActiveSat, 1);
  EXPECT_TRUE(selected.empty());
  EXPECT_EQ(view.selection, (TSelection{0}));
  EXPECT_EQ(view.focusedRow, 0);
}

TEST_F(SatelliteList, AddWithActivateEndsOnTheLastAdded) {
  Load(Range(1, 5));
  TSelection first{0};
  list_.AddTr(false, false, 0, first);
  TSelection more{2, 4};
  list_.AddTr(false, true, 0, more);
  EXPECT_EQ(Tracked(), (Names{"S1", "S3", "S5"}));
  EXPECT_EQ(list_.ActiveSat, 3);
}

TEST_F(SatelliteList, RefusedRowsStaySelected) {
  Load(Range(1, 210));
  TSelection first{0, 1};
  list_.AddTr(false, false, 0, first);
  TSelection again{0, 5};  // row 0 is already tracked
  list_.AddTr(false, false, 0, again);
  EXPECT_EQ(again, (TSelection{0}));
  TSelection all;
  for (int i = 0; i < 210; ++i) all.insert(i);
  list_.AddTr(false, false, 0, all);
  EXPECT_EQ(list_.TrackedCount, 210);
  // Only the three tracked before stay selected (already tracked).
  EXPECT_EQ(all, (TSelection{0, 1, 5}));
}

TEST_F(SatelliteList, AddByPositionActivatesAndLeavesTheSelection) {
  Load(Range(1, 5));
  TSelection selected{0};
  list_.AddTr(false, false, 4, selected);
  EXPECT_EQ(Tracked(), (Names{"S4"}));
  EXPECT_EQ(list_.ActiveSat, 1);
  EXPECT_EQ(selected, (TSelection{0}));
  list_.AddTr(false, false, 2, selected);
  EXPECT_EQ(list_.ActiveSat, 2);
}

struct RemoveCase {
  const char* what;
  bool all;
  bool keepSelected;
  int position;
  TSelection selection;
  int activeBefore;
  Names remaining;
  int activeAfter;
};

TEST_F(SatelliteList, RemoveKeepsTheActiveRuleInEveryCase) {
  const RemoveCase cases[] = {
      {"remove active last", false, false, 0, {3}, 4, {"S1", "S2", "S3"}, 3},
      {"remove before active", false, false, 0, {0}, 3, {"S2", "S3", "S4"}, 2},
      {"remove after active", false, false, 0, {3}, 2, {"S1", "S2", "S3"}, 2},
      {"remove active middle", false, false, 0, {1}, 2, {"S1", "S3", "S4"}, 2},
      {"remove several", false, false, 0, {0, 2}, 4, {"S2", "S4"}, 2},
      {"remove all", true, false, 0, {}, 2, {}, 0},
      {"crop nothing selected", false, true, 0, {}, 2, {}, 0},
      {"crop keeps selected", false, true, 0, {1, 3}, 4, {"S2", "S4"}, 2},
      {"by position", false, false, 2, {0}, 4, {"S1", "S3", "S4"}, 3},
      {"position out of range", false, false, 9, {}, 1, {"S1", "S2", "S3", "S4"}, 1},
  };
  for (const RemoveCase& c : cases) {
    Load(Range(1, 4));
    TSelection all{0, 1, 2, 3};
    list_.AddTr(false, false, 0, all);
    list_.ActiveSat = c.activeBefore;
    TTrackedView view = list_.RemoveTr(c.all, c.keepSelected, c.position, c.selection);
    EXPECT_EQ(Tracked(), c.remaining) << c.what;
    EXPECT_EQ(list_.ActiveSat, c.activeAfter) << c.what;
    if (list_.ActiveSat > 0) {
      EXPECT_EQ(view.focusedRow, list_.ActiveSat - 1) << c.what;
      EXPECT_EQ(view.selection.count(list_.ActiveSat - 1), 1u) << c.what;
    }
    int flagged = 0;
    for (int i = 1; i <= 4; ++i) flagged += list_.Catalog.CatalogFlags[static_cast<size_t>(i)];
    EXPECT_EQ(flagged, list_.TrackedCount) << c.what;
  }
}

TEST_F(SatelliteList, RemovingTheOnlySatelliteLeavesNoneActive) {
  Load(Range(1, 2));
  TSelection one{0};
  list_.AddTr(false, false, 0, one);
  list_.RemoveTr(false, false, 0, {0});
  EXPECT_EQ(list_.TrackedCount, 0);
  EXPECT_EQ(list_.ActiveSat, 0);
}

TEST_F(SatelliteList, ShowNextWrapsBothWays) {
  Load(Range(1, 3));
  TSelection all{0, 1, 2};
  list_.AddTr(false, false, 0, all);
  list_.ActiveSat = 3;
  list_.ShowNext(false);
  EXPECT_EQ(list_.ActiveSat, 1);
  list_.ShowNext(true);
  EXPECT_EQ(list_.ActiveSat, 3);
  list_.ShowNext(true);
  EXPECT_EQ(list_.ActiveSat, 2);
  TSatelliteList empty;
  empty.ShowNext(false);
  EXPECT_EQ(empty.ActiveSat, 0);
  empty.ShowNext(true);
  EXPECT_EQ(empty.ActiveSat, 0);
}

TEST_F(SatelliteList, ClickMakesTheRowActiveWithinTheList) {
  Load(Range(1, 3));
  list_.ClickTracked(0);
  EXPECT_EQ(list_.ActiveSat, 0);  // empty list: nothing
  TSelection all{0, 1, 2};
  list_.AddTr(false, false, 0, all);
  list_.ClickTracked(1);
  EXPECT_EQ(list_.ActiveSat, 2);
  list_.ClickTracked(7);
  EXPECT_EQ(list_.ActiveSat, 3);
}

TEST(ListButton, CaptionsAndHintsByTab) {
  EXPECT_STREQ(ListButtonText(TListTab::Loaded).caption, "&Start track");
  EXPECT_STREQ(ListButtonText(TListTab::Tracked).hint, "Stop tracking selected sats");
  EXPECT_STREQ(ListButtonText(TListTab::Info).caption, "&Show next");
  EXPECT_STREQ(ListButtonText(TListTab::Info).hint, "Toggle active sat");
}

TEST(FileNames, InsideTheProgramFolderRelativeElseAbsolute) {
  fs::path home = fs::temp_directory_path() / "zen_home_names";
  EXPECT_EQ(StoredFileName(home / "Tle" / "a.tle", home), "Tle/a.tle");
  EXPECT_EQ(StoredFileName(home / "a.tle", home), "a.tle");
  EXPECT_EQ(StoredFileName("/elsewhere/b.tle", home), "/elsewhere/b.tle");
  EXPECT_EQ(ExpandFileName("Tle\\a.tle", home), home / "Tle" / "a.tle");
  EXPECT_EQ(ExpandFileName("/elsewhere/b.tle", home), fs::path("/elsewhere/b.tle"));
}

}  // namespace
}  // namespace zen

namespace zen {
namespace {

TEST_F(SatelliteList, AReloadKeepsTheTrackedInTheirOrderAndLeavesTheSettingsList) {
  Load({1, 2, 3, 4}, {"00002"}, "00002");
  TSelection none;
  list_.RemoveTr(true, false, 0, {});
  for (int position : {4, 3, 1}) list_.AddTr(false, false, position, none);  // the last active
  ASSERT_EQ(Tracked(), (Names{"S4", "S3", "S1"}));
  // The new file has no S3, brings S5 and holds the sets in another order.
  {
    std::ofstream out(dir_ / "Tle" / "sats.tle", std::ios::binary);
    for (int n : {5, 1, 4, 2}) {
      auto [l1, l2] = test::MakeLinePair(n);
      out << "S" << n << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
    }
  }
  int lacking = -1;
  TTrackedView view = list_.ReloadKeepingTracked(dir_, nullptr, &lacking);
  EXPECT_EQ(lacking, 1) << "S3";
  EXPECT_EQ(list_.LoadedCount, 4);
  EXPECT_EQ(Tracked(), (Names{"S4", "S1"}));
  EXPECT_EQ(list_.ActiveSat, 2);
  EXPECT_EQ(view.focusedRow, 1);
  EXPECT_EQ(list_.TrackedSats[1].catalogIndex, 3);
  EXPECT_EQ(list_.Catalog.CatalogFlags[4], 0);  // S2 stays untracked
  EXPECT_EQ(list_.TrackedIds, (std::vector<std::string>{"00002"}));
  EXPECT_EQ(list_.ActiveId, "00002");
}

}  // namespace
}  // namespace zen
