// Downloaded element files: counting their sets, the verdict against the file they would
// replace, the replacement with its backup, and the sources list with its two-hour pause.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/scratch_folder.h"
#include "test_support.h"
#include "tracking/element_update.h"
#include "tracking/text_file.h"
#include "tracking/update_sources.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

std::string Sets(std::initializer_list<int> numbers) {
  std::string text;
  for (int n : numbers) {
    auto [l1, l2] = test::MakeLinePair(n);
    text += "SAT " + std::to_string(n) + "\n" + l1 + "\n" + l2 + "\n";
  }
  return text;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : "<missing>";
}

void Write(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

TEST(ElementCount, ReferenceGroupCountsAlikeAsElementLinesAndAsCsv) {
  const fs::path data = test::ReferenceDataDir();
  const fs::path lines = data / "tle" / "stations_2026-05-30.tle";
  // Every set of the reference files is whole: one "1 " line per set.
  int lineOnes = 0;
  std::istringstream text(Read(lines));
  for (std::string line; std::getline(text, line);) lineOnes += line.rfind("1 ", 0) == 0;
  const TElementCount fromLines = CountElementSets(lines);
  const TElementCount fromCsv = CountElementSets(data / "omm" / "stations_2026-05-30.csv");
  EXPECT_EQ(fromLines.valid, lineOnes);
  EXPECT_EQ(fromLines.invalid, 0);
  EXPECT_EQ(fromCsv.valid, lineOnes);
  EXPECT_EQ(fromCsv.invalid, 0);
  // Both carry the epoch to well under a millisecond.
  EXPECT_NEAR(fromCsv.newestEpochJd, fromLines.newestEpochJd, 1e-8);
}

TEST(ElementCount, NewestEpochAndCutSets) {
  test::TScratchFolder folder("zen_count_");
  auto [l1, l2] = test::MakeLinePair(7);
  const std::string later = test::Patched(l1, 19, "01360.75000000");
  Write(folder.path() / "a.tle", Sets({1, 2}) + "LATER\n" + later + "\n" + l2 + "\n");
  const TElementCount count = CountElementSets(folder.path() / "a.tle");
  EXPECT_EQ(count.valid, 3);
  // 2001 January 0.0 is JD 2451909.5.
  EXPECT_NEAR(count.newestEpochJd, 2451909.5 + 360.75, 1e-9);
  Write(folder.path() / "b.tle", Sets({1, 2}).substr(0, 120));
  EXPECT_EQ(CountElementSets(folder.path() / "b.tle").invalid, 1);
  EXPECT_EQ(CountElementSets(folder.path() / "missing.tle").valid, 0);
  EXPECT_TRUE(std::isnan(CountElementSets(folder.path() / "missing.tle").newestEpochJd));
}

TEST(ElementCount, AnswerIsJudgedAgainstTheFileItReplaces) {
  const struct {
    int valid, invalid, current;
    bool accepted;
  } rows[] = {
      {0, 0, 0, false}, {0, 9, 0, false},  {10, 1, 10, false}, {4, 0, 10, false},
      {5, 0, 10, true}, {5, 0, 11, false}, {1, 0, 0, true},    {12, 0, 10, true},
  };
  for (const auto& r : rows) {
    TElementCount answer, current;
    answer.valid = answer.distinct = r.valid;
    answer.invalid = r.invalid;
    current.valid = current.distinct = r.current;
    EXPECT_EQ(AnswerProblem(answer, current).empty(), r.accepted)
        << r.valid << " " << r.invalid << " " << r.current;
  }
}

std::string Repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

// Sets 1..n.
std::string Satellites(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += Sets({i});
  return text;
}

// Rows of a mean-elements message in CSV.
constexpr const char* kCsvHead =
    "OBJECT_NAME,OBJECT_ID,EPOCH,MEAN_MOTION,ECCENTRICITY,INCLINATION,RA_OF_ASC_NODE,"
    "ARG_OF_PERICENTER,MEAN_ANOMALY,EPHEMERIS_TYPE,CLASSIFICATION_TYPE,NORAD_CAT_ID,"
    "ELEMENT_SET_NO,REV_AT_EPOCH,BSTAR,MEAN_MOTION_DOT,MEAN_MOTION_DDOT\r\n";
std::string IssRow(const char* epoch) {
  return std::string("ISS (ZARYA),1998-067A,") + epoch +
         ",15.49496548,0.0007245,51.6337,27.5746,114.708,245.4664,0,U,25544,999,56901,"
         "0.00021767,0.00011776,0.0\r\n";
}

// The rule counts satellites: copies of one satellite are one, in element lines and messages
// alike, whichever side of the comparison repeats them; a transmitter list counts transmitters,
// of which one satellite has several.
TEST(ElementCount, RepeatedSatellitesCountOnce) {
  test::TScratchFolder folder("zen_distinct_");
  // Transmitters of one satellite.
  auto list = [](int n) {
    std::string json = "[";
    for (int i = 0; i < n; ++i) {
      json += (i ? "," : "") + std::string("{\"norad_cat_id\": 25544, \"alive\": true, ") +
              "\"type\": \"Transmitter\", \"downlink_low\": 145800000, \"mode\": \"FM\"}";
    }
    return json + "]";
  };
  const struct {
    const char* label;
    std::string answer, current;
    TSourceKind kind;
    int valid, distinct;
    bool accepted;
  } rows[] = {
      {"one satellite a hundred times", Repeated(Sets({7}), 100), Satellites(35),
       TSourceKind::Elements, 100, 1, false},
      {"17 satellites three times each", Repeated(Satellites(17), 3), Satellites(35),
       TSourceKind::Elements, 51, 17, false},
      {"18 satellites, one of them 40 times", Satellites(18) + Repeated(Sets({3}), 39),
       Satellites(35), TSourceKind::Elements, 57, 18, true},
      {"one set for a file of one satellite 35 times", Sets({7}), Repeated(Sets({7}), 35),
       TSourceKind::Elements, 1, 1, true},
      {"one satellite at three epochs in a message",
       kCsvHead + IssRow("2026-05-28T01:00:00") + IssRow("2026-05-30T12:25:10.468992") +
           IssRow("2026-05-29T23:00:00"),
       Satellites(3), TSourceKind::Elements, 3, 1, false},
      {"four transmitters of one satellite", list(4), list(4), TSourceKind::Transmitters, 4, 4,
       true},
      {"one transmitter for four", list(1), list(4), TSourceKind::Transmitters, 1, 1, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    Write(folder.path() / "answer", r.answer);
    Write(folder.path() / "current", r.current);
    const auto count = r.kind == TSourceKind::Transmitters ? CountTransmitters : CountElementSets;
    const TElementCount answer = count(folder.path() / "answer");
    EXPECT_EQ(answer.valid, r.valid);
    EXPECT_EQ(answer.distinct, r.distinct);
    EXPECT_EQ(answer.invalid, 0);
    const std::string problem = AnswerProblem(answer, count(folder.path() / "current"), r.kind);
    EXPECT_EQ(problem.empty(), r.accepted) << problem;
  }
  // The satellite's newest epoch is that of its newest set, wherever it stands.
  Write(folder.path() / "newest.csv", kCsvHead + IssRow("2026-05-30T12:25:10.468992"));
  Write(folder.path() / "all.csv", rows[4].answer);
  EXPECT_EQ(CountElementSets(folder.path() / "all.csv").newestEpochJd,
            CountElementSets(folder.path() / "newest.csv").newestEpochJd);
  Write(folder.path() / "answer", rows[0].answer);
  EXPECT_EQ(AnswerProblem(CountElementSets(folder.path() / "answer"), {100, 0, 35}),
            "the answer holds only 100 element sets of 1 satellite, far fewer than the 35 "
            "satellites of the file it would replace");
}

TEST(ElementReplace, GoodAnswerTakesThePlaceAndARefusedOneChangesNothing) {
  test::TScratchFolder folder("zen_replace_");
  const fs::path target = folder.path() / "Tle" / "x.tle";
  // No file yet: written, nothing to back up; the folder is made.
  TReplaceOutcome first = ReplaceElementFile(target, Sets({1, 2}));
  EXPECT_TRUE(first.replaced) << first.problem;
  EXPECT_FALSE(first.backupKept);
  EXPECT_EQ(Read(target), Sets({1, 2}));

  const TReplaceOutcome second = ReplaceElementFile(target, Sets({3, 4, 5}));
  EXPECT_TRUE(second.replaced) << second.problem;
  EXPECT_EQ(second.previous.valid, 2);
  EXPECT_EQ(Read(target), Sets({3, 4, 5}));
  EXPECT_EQ(Read(BackupFileOf(target)), Sets({1, 2}));

  for (const std::string& bad : {std::string(), std::string("<html>Bad gateway</html>\n"),
                                 Sets({6}), Sets({6, 7}).substr(0, 200)}) {
    const TReplaceOutcome refused = ReplaceElementFile(target, bad);
    EXPECT_FALSE(refused.replaced) << bad;
    EXPECT_FALSE(refused.problem.empty());
    EXPECT_EQ(Read(target), Sets({3, 4, 5}));
    EXPECT_EQ(Read(BackupFileOf(target)), Sets({1, 2}));
    EXPECT_FALSE(fs::exists(target.string() + ".part"));
  }
}

// The file replaced becomes the backup only when the half rule would take it in the backup's
// place: a file emptied or shrunk since never pushes out the sound copy.
TEST(ElementReplace, AFarSmallerFileNeverPushesOutTheBackup) {
  test::TScratchFolder folder("zen_backup_");
  const fs::path target = folder.path() / "x.tle";
  const std::string answer = Satellites(40);
  const struct {
    const char* label;
    std::string backup;  // empty: none
    std::string previous;
    bool replacesBackup;
  } rows[] = {
      {"no backup yet", "", Satellites(3), true},
      {"as many as the backup", Satellites(35), Sets({36}) + Satellites(34), true},
      {"half of the backup", Satellites(34), Satellites(17), true},
      {"just under half of the backup", Satellites(35), Satellites(17), false},
      {"one satellite a hundred times", Satellites(35), Repeated(Sets({7}), 100), false},
      {"nothing readable", Satellites(35), "<html>Bad gateway</html>\n", false},
      {"a backup of nothing readable", "<html>Bad gateway</html>\n", Satellites(1), true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    fs::remove(BackupFileOf(target));
    if (!r.backup.empty()) Write(BackupFileOf(target), r.backup);
    Write(target, r.previous);
    const TReplaceOutcome outcome = ReplaceElementFile(target, answer);
    EXPECT_TRUE(outcome.replaced) << outcome.problem;
    EXPECT_EQ(Read(target), answer);
    EXPECT_EQ(Read(BackupFileOf(target)), r.replacesBackup ? r.previous : r.backup);
    EXPECT_EQ(outcome.backupKept, r.replacesBackup);
    EXPECT_EQ(outcome.backupHeld, !r.replacesBackup);
    EXPECT_FALSE(fs::exists(PartFileOf(target)));
  }
}

TEST(UpdateSources, ListRoundTripsAndAFetchTimeKeepsTheRestOfTheFile) {
  test::TScratchFolder folder("zen_sources_");
  const fs::path file = folder.path() / "Setup" / "sources.set";
  EXPECT_EQ(ReadUpdateSources(file), DefaultUpdateSources());
  EXPECT_EQ(SourceListProblem(DefaultUpdateSources()), "");
  const std::vector<TUpdateSource> list = {
      {"Mine", "http://127.0.0.1:8080/a?x=1&y=2", "mine.txt", 0},
      {"weather", "https://example.org/w.csv", "weather.csv", 1780000000},
      {"radios", "https://example.org/t.json", "transmitters.json", 0, TSourceKind::Transmitters}};
  WriteUpdateSources(file, list);
  EXPECT_EQ(ReadUpdateSources(file), list);
  // A line the user added by hand survives the program's own write.
  Write(file, Read(file) + "; my note\r\n");
  RecordFetchTime(file, "MINE", 1780003600);
  EXPECT_EQ(ReadUpdateSources(file)[0].lastFetchUnix, 1780003600);
  EXPECT_EQ(ReadUpdateSources(file)[1], list[1]);
  EXPECT_NE(Read(file).find("; my note"), std::string::npos);
}

TEST(UpdateSources, FetchTimesReadAsUtcMoments) {
  EXPECT_EQ(FetchTimeText(1780000000), "2026-05-28 20:26:40");
  EXPECT_EQ(FetchTimeText(951782400), "2000-02-29 00:00:00");
  EXPECT_EQ(FetchTimeText(0), "never");
  for (const char* bad : {"2026-02-29 00:00:00", "2026-05-28 24:00:00", "2026-5-28 20:26:40",
                          "never", "2026-05-28T20:26:40"}) {
    int64_t unix = -1;
    EXPECT_FALSE(ParseFetchTime(bad, unix)) << bad;
  }
  for (int64_t t : {int64_t{1}, int64_t{951782400}, int64_t{1780000000}, int64_t{4102444799}}) {
    int64_t back = 0;
    EXPECT_TRUE(ParseFetchTime(FetchTimeText(t), back)) << t;
    EXPECT_EQ(back, t);
  }
}

TEST(UpdateSources, PauseAfterAFetch) {
  const TUpdateSource s{"a", "https://h/x", "x.tle", 1000000};
  EXPECT_FALSE(FetchDue(s, 1000000 + kFetchPauseSeconds - 1, false));
  EXPECT_TRUE(FetchDue(s, 1000000 + kFetchPauseSeconds - 1, true));
  EXPECT_TRUE(FetchDue(s, 1000000 + kFetchPauseSeconds, false));
  EXPECT_TRUE(FetchDue(s, 999999, false)) << "a fetch time ahead of the clock";
  EXPECT_TRUE(FetchDue({"a", "https://h/x", "x.tle", 0}, 1, false));
}

TEST(UpdateSources, SourcesThatCannotBeFetchedSafelyAreRefused) {
  const TUpdateSource good{"ok", "https://h/x", "x.tle", 0};
  auto with = [&](auto change) {
    TUpdateSource s = good;
    change(s);
    return s;
  };
  const TUpdateSource bad[] = {
      with([](TUpdateSource& s) { s.name = ""; }),
      with([](TUpdateSource& s) { s.name = "a]b"; }),
      with([](TUpdateSource& s) { s.name = " ok"; }),
      with([](TUpdateSource& s) { s.url = "ftp://h/x"; }),
      with([](TUpdateSource& s) { s.url = "https://"; }),
      with([](TUpdateSource& s) { s.url = "file:///etc/passwd"; }),
      with([](TUpdateSource& s) { s.file = "../Setup/zenarith.set"; }),
      with([](TUpdateSource& s) { s.file = "a/b.tle"; }),
      with([](TUpdateSource& s) { s.file = ".."; }),
      with([](TUpdateSource& s) { s.file = "x.tle.bak"; }),
      with([](TUpdateSource& s) { s.kind = TSourceKind::Transmitters; }),
      // Texts a terminal would act on, wherever they stand.
      with([](TUpdateSource& s) { s.name = "o\x1B[2Jk"; }),
      with([](TUpdateSource& s) { s.name = "o\xC2\x9Bk"; }),
      with([](TUpdateSource& s) { s.url = "https://h/\x1B]0;x\x07"; }),
      with([](TUpdateSource& s) { s.file = "x\x08.tle"; }),
  };
  EXPECT_EQ(SourceProblem(good), "");
  for (const TUpdateSource& s : bad) {
    const std::string problem = SourceProblem(s);
    EXPECT_NE(problem, "") << s.name << " " << s.url << " " << s.file;
    EXPECT_EQ(PrintableText(problem), problem);
  }
  EXPECT_NE(SourceListProblem({good, with([](TUpdateSource& s) { s.name = "OK"; })}), "");
  EXPECT_NE(SourceListProblem({good, with([](TUpdateSource& s) { s.name = "two"; })}), "");
  EXPECT_EQ(SourceListProblem({good, {"two", "http://h/y", "y.tle", 0}}), "");
  // One file name in two folders is two files; one transmitter list fetched twice is not.
  const TUpdateSource list{"t", "http://h/t", "transmitters.json", 0, TSourceKind::Transmitters};
  EXPECT_EQ(SourceListProblem({list, {"e", "http://h/e", "transmitters.json", 0}}), "");
  EXPECT_NE(SourceListProblem(
                {list, with([](TUpdateSource& s) {
                   s = {"u", "http://h/u", "transmitters.json", 0, TSourceKind::Transmitters};
                 })}),
            "");
}

// A list file that is there and cannot be read, or holds nothing, is said, never taken for a
// list of no sources that a fetch time or an edit would then write over.
TEST(UpdateSources, AListThatCannotBeReadIsNeverWrittenOver) {
  test::TScratchFolder folder("zen_sources_");
  const fs::path file = folder.path() / "sources.set";
  const struct {
    const char* label;
    std::function<void()> make;
    const char* reason;  // empty: read as a list
    size_t sources;
  } rows[] = {
      {"nothing", [] {}, "", DefaultUpdateSources().size()},
      {"folder", [&] { fs::create_directory(file); }, "is a folder", 0},
      {"pipe", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }, "is not a regular file", 0},
      {"empty", [&] { Write(file, ""); }, "is empty", 0},
      {"blanks", [&] { Write(file, "\xEF\xBB\xBF \r\n\t\r\n"); }, "is empty", 0},
      {"too large", [&] { Write(file, std::string(kSettingsFileLimit + 1, ';')); }, "too large", 0},
      {"comments alone", [&] { WriteUpdateSources(file, {}); }, "", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    fs::remove_all(file);
    row.make();
    const fs::file_type kind = fs::symlink_status(file).type();
    const std::string before = kind == fs::file_type::regular ? Read(file) : "";
    std::vector<TUpdateSource> sources;
    try {
      sources = ReadUpdateSources(file);
      EXPECT_STREQ(row.reason, "");
    } catch (const TFileError& error) {
      EXPECT_EQ(error.Reason().substr(0, std::strlen(row.reason)), row.reason) << error.what();
      EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos);
      EXPECT_THROW(RecordFetchTime(file, "stations", 1780000000), TFileError);
    }
    EXPECT_EQ(sources.size(), row.sources);
    if (*row.reason == '\0' && kind == fs::file_type::regular) {
      // A source the list does not hold is not added to it.
      RecordFetchTime(file, "stations", 1780000000);
    }
    EXPECT_EQ(fs::symlink_status(file).type(), kind);
    if (kind == fs::file_type::regular) {
      EXPECT_EQ(Read(file), before);
    }
  }
}

TEST(TransmitterUpdate, ReplacesTheListOnlyWithAUsableList) {
  test::TScratchFolder folder("zen_transmitters_");
  const fs::path target = folder.path() / "Data" / "transmitters.json";
  auto entries = [](int n) {
    std::string json = "[";
    for (int i = 0; i < n; ++i) {
      json += (i ? "," : "") + std::string("{\"norad_cat_id\": ") + std::to_string(25544 + i) +
              ", \"description\": \"FM\", \"alive\": true, \"type\": \"Transmitter\", "
              "\"uplink_low\": null, \"uplink_high\": null, \"downlink_low\": 145800000, "
              "\"downlink_high\": null, \"mode\": \"FM\", \"invert\": false, \"baud\": null}";
    }
    return json + "]";
  };
  const TReplaceOutcome first = ReplaceElementFile(target, entries(4), TSourceKind::Transmitters);
  ASSERT_TRUE(first.replaced) << first.problem;
  EXPECT_EQ(first.answer.valid, 4);
  const struct {
    std::string answer;
    const char* problem;
  } refused[] = {
      {"<html>Bad gateway</html>", "no readable transmitters"},
      {entries(3).substr(0, 150), "no readable transmitters"},
      {"[]", "no transmitters"},
      {entries(1), "only 1 transmitter, far fewer than the 4"},
  };
  for (const auto& r : refused) {
    const TReplaceOutcome outcome = ReplaceElementFile(target, r.answer, TSourceKind::Transmitters);
    EXPECT_FALSE(outcome.replaced) << r.answer;
    EXPECT_NE(outcome.problem.find(r.problem), std::string::npos) << outcome.problem;
    EXPECT_EQ(Read(target), entries(4));
  }
  const TReplaceOutcome second = ReplaceElementFile(target, entries(2), TSourceKind::Transmitters);
  EXPECT_TRUE(second.replaced) << second.problem;
  EXPECT_EQ(Read(BackupFileOf(target)), entries(4));
}

}  // namespace
}  // namespace zen
