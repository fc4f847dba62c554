// The outcome of a whole search: the same whatever the number of threads, events grouped and
// sorted, what the listener hears, and a search stopped by cancel or terminate.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>
#include <set>

#include "search_fixture.h"

namespace zen {
namespace {

using test::ExpectSameRows;
using test::TRecordingListener;

// A night over Torun with every sixth of the brightest satellites: a few dozen passes.
TSearchRequest NightRequest(bool brief, int threads) {
  TSearchRequest request = test::TorunRequest(TDateRec{2026, 2, 11, 16, 0, 0, 0}, 8.0);
  const auto sets = test::ReferenceSets("visual_2026-02-11.tle");
  for (size_t i = 0; i < sets.size(); i += 6) request.satellites.push_back(sets[i]);
  request.brief = brief;
  request.threads = threads;
  return request;
}

struct TRun {
  TSearchOutcome outcome;
  TRecordingListener listener;
};

std::unique_ptr<TRun> Search(const TSearchRequest& request,
                             const std::function<void(TRun&, TSearchFlags&)>& arm = {}) {
  auto run = std::make_unique<TRun>();
  TSearchFlags flags;
  if (arm) arm(*run, flags);
  run->outcome = RunSearch(request, flags, &run->listener);
  return run;
}

TEST(SearchOutcome, IsTheSameForAnyNumberOfThreads) {
  const TSearchRequest one = NightRequest(false, 1);
  ZEN_ASSERT_LOADED(one.satellites);
  const auto reference = Search(one);
  const TRecordingListener& heard = reference->listener;
  ASSERT_GE(reference->outcome.totalCount, 8);
  EXPECT_FALSE(heard.calledFromAnotherThread);
  // Counts as the events arrive: the total goes up by one, each satellite's own count too.
  std::map<int, int> perSatellite;
  for (size_t i = 0; i < heard.events.size(); ++i) {
    EXPECT_EQ(heard.events[i].totalCount, static_cast<int>(i) + 1);
    EXPECT_EQ(heard.events[i].satelliteCount, ++perSatellite[heard.events[i].position]);
  }
  // Progress: a bounded number of calls, the global share never going back, ending at 100.
  ASSERT_FALSE(heard.progress.empty());
  EXPECT_LE(heard.progress.size(), 250u);
  for (size_t i = 1; i < heard.progress.size(); ++i) {
    EXPECT_GE(heard.progress[i].second, heard.progress[i - 1].second);
  }
  EXPECT_EQ(heard.progress.back(), std::make_pair(100, 100));
  for (const std::string& estimate : heard.estimates) {
    EXPECT_TRUE(std::regex_match(estimate, std::regex("[0-9]+:[0-5][0-9]"))) << estimate;
  }

  for (int threads : {2, 3, 0}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    const auto other = Search(NightRequest(false, threads));
    EXPECT_EQ(other->outcome.totalCount, reference->outcome.totalCount);
    EXPECT_FALSE(other->listener.calledFromAnotherThread);
    ExpectSameRows(other->listener.RowsInListOrder(), heard.RowsInListOrder());
    ExpectSameRows(other->outcome.rows, reference->outcome.rows);
  }
}

// Full output: rise, culmination, set and an empty row per pass, the groups ordered by their
// culmination time; brief output holds the culmination rows in the same order.
TEST(SearchOutcome, FullGroupsStayTogetherAndBriefRowsAreTheirCulminations) {
  const TSearchRequest request = NightRequest(false, 0);
  ZEN_ASSERT_LOADED(request.satellites);
  const auto full = Search(request);
  const TResultRows& rows = full->outcome.rows;
  const int count = full->outcome.totalCount;
  ASSERT_EQ(rows.size(), 4u * static_cast<size_t>(count));
  std::multiset<std::string> groupsFound;
  std::multiset<std::string> groupsSorted;
  auto groupText = [](const TResultRows& r, size_t i) {
    return r[i]->catalogNumber + DateRecToText(r[i]->time) + DateRecToText(r[i + 1]->time) +
           DateRecToText(r[i + 2]->time);
  };
  const TResultRows found = full->listener.RowsInListOrder();
  for (size_t i = 0; i < rows.size(); i += 4) {
    ASSERT_TRUE(rows[i] && rows[i + 1] && rows[i + 2]);
    EXPECT_FALSE(rows[i + 3]);
    EXPECT_EQ(rows[i]->sat, rows[i + 2]->sat);
    EXPECT_LE(rows[i]->timeUtc, rows[i + 1]->timeUtc);
    EXPECT_LE(rows[i + 1]->timeUtc, rows[i + 2]->timeUtc);
    if (i > 0) {
      EXPECT_LE(DateRecToText(rows[i - 3]->time), DateRecToText(rows[i + 1]->time));
    }
    groupsSorted.insert(groupText(rows, i));
    groupsFound.insert(groupText(found, i));
  }
  EXPECT_EQ(groupsSorted, groupsFound);

  const auto brief = Search(NightRequest(true, 0));
  ASSERT_EQ(brief->outcome.rows.size(), static_cast<size_t>(count));
  TResultRows culminations;
  for (size_t i = 1; i < rows.size(); i += 4) culminations.push_back(rows[i]);
  ExpectSameRows(brief->outcome.rows, culminations);
}

TEST(SearchOutcome, CancelSortsWhatWasFoundAndTerminateStops) {
  const TSearchRequest request = NightRequest(false, 2);
  ZEN_ASSERT_LOADED(request.satellites);
  const int everything = Search(request)->outcome.totalCount;

  const auto cancelledAtOnce = Search(request, [](TRun&, TSearchFlags& f) { f.cancel = true; });
  EXPECT_TRUE(cancelledAtOnce->outcome.interruptedByCancel);
  EXPECT_EQ(cancelledAtOnce->outcome.totalCount, 0);
  ASSERT_EQ(cancelledAtOnce->outcome.rows.size(), 1u);
  EXPECT_FALSE(cancelledAtOnce->outcome.rows[0]);
  EXPECT_EQ(cancelledAtOnce->listener.sortStarted, std::vector<bool>{true});
  EXPECT_EQ(cancelledAtOnce->listener.sortProgress, std::vector<int>{100});

  const auto cancelled = Search(request, [](TRun& run, TSearchFlags& flags) {
    run.listener.onEvent = [&flags] { flags.cancel = true; };
  });
  const TSearchOutcome& c = cancelled->outcome;
  EXPECT_TRUE(c.interruptedByCancel);
  EXPECT_FALSE(c.terminated || c.interruptedInSort);
  EXPECT_GE(c.totalCount, 1);
  EXPECT_LT(c.totalCount, everything);
  EXPECT_EQ(static_cast<int>(cancelled->listener.events.size()), c.totalCount);
  for (size_t i = 5; i < c.rows.size(); i += 4) {
    EXPECT_LE(DateRecToText(c.rows[i - 4]->time), DateRecToText(c.rows[i]->time));
  }

  const auto terminated = Search(request, [](TRun& run, TSearchFlags& flags) {
    run.listener.onEvent = [&flags] { flags.terminate = true; };
  });
  const TSearchOutcome& t = terminated->outcome;
  EXPECT_TRUE(t.terminated);
  EXPECT_TRUE(terminated->listener.sortStarted.empty());
  EXPECT_EQ(terminated->listener.events.size(), 1u);  // nothing more after the terminate
  EXPECT_EQ(std::count_if(t.rows.begin(), t.rows.end(), [](auto& row) { return row.has_value(); }),
            3 * t.totalCount);

  const auto stoppedInSort = Search(request, [](TRun& run, TSearchFlags& flags) {
    run.listener.onSortStarted = [&flags] { flags.terminate = true; };
  });
  EXPECT_TRUE(stoppedInSort->outcome.interruptedInSort);
  EXPECT_FALSE(stoppedInSort->outcome.interruptedByCancel);
  EXPECT_EQ(stoppedInSort->outcome.totalCount, everything);
  EXPECT_TRUE(stoppedInSort->listener.sortProgress.empty());
}

// A search that ran its course ends its satellite line on the last satellite of the list,
// N/N, with that satellite's own count; a cancelled one stays at the satellite of its latest
// event.
TEST(SearchOutcome, TheSatelliteLineEndsAtTheLastSatelliteOfTheList) {
  const TSearchRequest request = NightRequest(true, 2);
  ZEN_ASSERT_LOADED(request.satellites);
  const size_t n = request.satellites.size();
  const struct {
    const char* name;
    std::function<void(TRun&, TSearchFlags&)> arm;
    bool toTheEnd;
  } rows[] = {
      {"to the end", {}, true},
      {"cancelled at the third event",
       [](TRun& run, TSearchFlags& flags) {
         run.listener.onEvent = [&run, &flags] {
           if (run.listener.events.size() == 3) flags.cancel = true;
         };
       },
       false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto run = Search(request, row.arm);
    const TRecordingListener& heard = run->listener;
    ASSERT_GE(heard.events.size(), 3u);
    ASSERT_FALSE(heard.started.empty());
    std::map<int, int> counts;
    for (const test::TRecordedEvent& e : heard.events) counts[e.position] = e.satelliteCount;
    const TRecordingListener::TStarted& last = heard.started.back();
    if (row.toTheEnd) {
      EXPECT_EQ(last.position, static_cast<int>(n));
      EXPECT_EQ(last.line, "Tracked sat " + std::to_string(n) + "/" + std::to_string(n) + ": " +
                               request.satellites.back().name);
      EXPECT_EQ(last.satelliteCount, counts[last.position]);
    } else {
      EXPECT_TRUE(run->outcome.interruptedByCancel);
      EXPECT_EQ(last.position, heard.events.back().position);
    }
  }
}

TEST(SearchOutcome, PeriodOfNoLengthEndsAtOnceAndAReversedOneIsSwapped) {
  TSearchRequest request = NightRequest(true, 0);
  ZEN_ASSERT_LOADED(request.satellites);
  const auto forward = Search(request);
  std::swap(request.periodStartLocal, request.periodEndLocal);
  ExpectSameRows(Search(request)->outcome.rows, forward->outcome.rows);

  request.periodEndLocal = request.periodStartLocal;
  const auto none = Search(request);
  EXPECT_EQ(none->outcome.totalCount, 0);
  ASSERT_EQ(none->outcome.rows.size(), 1u);
  EXPECT_FALSE(none->outcome.rows[0]);
  EXPECT_TRUE(none->listener.events.empty());
  ASSERT_FALSE(none->listener.progress.empty());
  EXPECT_EQ(none->listener.progress.back(), std::make_pair(100, 100));
  EXPECT_EQ(none->listener.sortProgress, std::vector<int>{100});
}

}  // namespace
}  // namespace zen
