// Element updates against a loopback HTTP server: what replaces a file, what leaves it
// untouched with a message naming the source, the two-hour pause, and the update command.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <sstream>

#include "loopback_server.h"
#include "test_support.h"
#include "tracking/update_sources.h"
#include "update/source_update.h"
#include "update/update_command.h"

namespace zen {
namespace {

// Named sets renumbered from the test sets, all with the epoch yyddd.dddddddd.
QByteArray Sets(std::initializer_list<int> numbers, const char* epoch) {
  QByteArray text;
  for (int n : numbers) {
    auto [l1, l2] = test::MakeLinePair(n);
    text += "SAT " + QByteArray::number(n) + "\r\n" + test::Patched(l1, 19, epoch).c_str() +
            "\r\n" + l2.c_str() + "\r\n";
  }
  return text;
}

QByteArray FileBytes(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

constexpr int64_t kNow = 1780000000;  // 2026-05-28 20:26:40 UTC

class ElementUpdate : public ::testing::Test, private test::TCoreApplication {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(server.Listening());
    ASSERT_TRUE(QDir(home.path()).mkpath("Tle"));
    QFile out(Tle());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(previous);
  }

  QString Tle(const char* suffix = "") const { return home.filePath("Tle/test.tle") + suffix; }
  QString SourcesFile() const { return home.filePath(kUpdateSourcesFile); }
  // One source, "test", refreshing Tle/test.tle from url.
  void Source(const QString& url) {
    WriteUpdateSources(SourcesFile().toStdString(), {{"test", url.toStdString(), "test.tle", 0}});
  }

  std::vector<TDownloadOutcome> Run(bool insist = false, int64_t now = kNow,
                                    std::function<void(TSourceUpdate&)> whileRunning = {},
                                    int timeoutMs = 10000) {
    TSourceUpdate update(home.path());
    update.clock = [now] { return now; };
    update.SetTimeoutMs(timeoutMs);
    std::vector<TDownloadOutcome> outcomes;
    bool finished = false;
    QEventLoop loop;
    QObject::connect(&update, &TSourceUpdate::JobDone,
                     [&](const TDownloadOutcome& o) { outcomes.push_back(o); });
    QObject::connect(&update, &TSourceUpdate::Finished, [&] {
      finished = true;
      loop.quit();
    });
    if (whileRunning) {
      QObject::connect(&update, &TSourceUpdate::JobStarted, [&] { whileRunning(update); });
    }
    update.Start({}, insist);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    if (!finished) loop.exec();
    EXPECT_TRUE(finished);
    return outcomes;
  }

  QTemporaryDir home;
  test::TLoopbackServer server;
  const QByteArray previous = Sets({1, 2, 3, 4}, "01352.14768052");
  const QByteArray fresh = Sets({1, 2, 3, 4, 5}, "26150.50000000");
};

TEST_F(ElementUpdate, GoodAnswerReplacesTheFileKeepsTheBackupAndTheFetchTime) {
  server.Answer("/good", test::TLoopbackServer::Http(200, fresh));
  Source(server.Url("/good"));
  const auto outcomes = Run();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].status, TDownloadStatus::Replaced) << outcomes[0].message.toStdString();
  EXPECT_EQ(outcomes[0].sets, 5);
  // Day 150 of 2026 is 30 May.
  EXPECT_TRUE(
      outcomes[0].message.startsWith("test: 5 element sets, newest epoch "
                                     "2026-05-30 12:00:00 UTC"))
      << outcomes[0].message.toStdString();
  EXPECT_EQ(FileBytes(Tle()), fresh);
  EXPECT_EQ(FileBytes(Tle(".bak")), previous);
  EXPECT_FALSE(QFile::exists(Tle(".part")));
  EXPECT_EQ(ReadUpdateSources(SourcesFile().toStdString())[0].lastFetchUnix, kNow);
}

TEST_F(ElementUpdate, ARedirectIsFollowedAndAnOmmAnswerIsTaken) {
  // Three rows of the public service's stations group, 30 May 2026.
  const QByteArray csv =
      "OBJECT_NAME,OBJECT_ID,EPOCH,MEAN_MOTION,ECCENTRICITY,INCLINATION,RA_OF_ASC_NODE,"
      "ARG_OF_PERICENTER,MEAN_ANOMALY,EPHEMERIS_TYPE,CLASSIFICATION_TYPE,NORAD_CAT_ID,"
      "ELEMENT_SET_NO,REV_AT_EPOCH,BSTAR,MEAN_MOTION_DOT,MEAN_MOTION_DDOT\r\n"
      "ISS (ZARYA),1998-067A,2026-05-30T12:25:10.468992,15.49496548,0.0007245,51.6337,27.5746,"
      "114.708,245.4664,0,U,25544,999,56901,0.00021767,0.00011776,0.0\r\n"
      "POISK,2009-060A,2026-05-30T12:25:10.468992,15.49496548,0.0007245,51.6337,27.5746,"
      "114.708,245.4664,0,U,36086,999,56899,0.00021767,0.00011776,0.0\r\n"
      "CSS (TIANHE),2021-035A,2026-05-30T10:34:16.870656,15.60022969,0.0010598,41.4693,"
      "69.9411,308.7458,51.2433,0,U,48274,999,29039,0.00035725,0.00029586,0.0\r\n";
  server.Answer("/moved", test::TLoopbackServer::Http(301, "", "Location: /csv\r\n"));
  server.Answer("/csv", test::TLoopbackServer::Http(200, csv, "Content-Type: text/csv\r\n"));
  Source(server.Url("/moved"));
  const auto outcomes = Run();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].status, TDownloadStatus::Replaced) << outcomes[0].message.toStdString();
  EXPECT_EQ(outcomes[0].sets, 3);
  EXPECT_TRUE(outcomes[0].message.contains("newest epoch 2026-05-30 12:25:10 UTC"));
  EXPECT_EQ(server.Hits("/csv"), 1);
  EXPECT_EQ(FileBytes(Tle()), csv);
}

TEST_F(ElementUpdate, EveryBadAnswerLeavesThePreviousFileWithAMessageNamingTheSource) {
  const QByteArray html =
      "<!DOCTYPE html>\n<html><head><title>Error</title></head>\n<body><h1>Service "
      "unavailable</h1>\n<p>Please try again later.</p>\n</body></html>\n";
  const QByteArray cut = fresh.left(fresh.size() - 30);  // inside the last set's line 2
  const struct {
    const char* label;
    QString path;
    QByteArray raw;  // empty: the request is never answered
    const char* scheme = "http";
  } rows[] = {
      {"HTML error page", "/html", test::TLoopbackServer::Http(200, html)},
      {"empty answer", "/empty", test::TLoopbackServer::Http(200, "")},
      {"truncated answer", "/short",
       "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(fresh.size()) +
           "\r\nConnection: close\r\n\r\n" + cut},
      {"cut answer of unknown length", "/cut",
       "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + cut},
      {"far fewer sets", "/few", test::TLoopbackServer::Http(200, Sets({7}, "26150.5"))},
      {"one satellite a hundred times", "/copies",
       test::TLoopbackServer::Http(200, Sets({7}, "26150.5").repeated(100))},
      {"404", "/gone", test::TLoopbackServer::Http(404, "not here")},
      {"403", "/busy", test::TLoopbackServer::Http(403, "too many requests")},
      {"500", "/broken", test::TLoopbackServer::Http(500, "internal error")},
      {"slow server", "/slow", {}},
      {"redirect loop", "/loop", test::TLoopbackServer::Http(302, "", "Location: /loop\r\n")},
      {"TLS failure", "/tls", test::TLoopbackServer::Http(200, fresh), "https"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    if (row.raw.isEmpty()) {
      server.Hang(row.path);
    } else {
      server.Answer(row.path, row.raw);
    }
    Source(server.Url(row.path, row.scheme));
    // Long enough for the first request of the process, short for the one never answered.
    const auto outcomes = Run(false, kNow, {}, row.raw.isEmpty() ? 400 : 10000);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].status, TDownloadStatus::Failed);
    EXPECT_TRUE(outcomes[0].message.startsWith("test: ")) << outcomes[0].message.toStdString();
    EXPECT_TRUE(outcomes[0].message.endsWith("Tle/test.tle is kept as it was."))
        << outcomes[0].message.toStdString();
    EXPECT_EQ(FileBytes(Tle()), previous);
    EXPECT_FALSE(QFile::exists(Tle(".bak")));
    EXPECT_FALSE(QFile::exists(Tle(".part")));
    EXPECT_EQ(ReadUpdateSources(SourcesFile().toStdString())[0].lastFetchUnix, 0);
  }
  EXPECT_GE(server.Hits("/loop"), 2);
}

TEST_F(ElementUpdate, AFileFarSmallerThanItsBackupDoesNotReplaceIt) {
  QByteArray backup;
  for (int n = 1; n <= 35; ++n) backup += Sets({n}, "26140.5");
  QFile out(Tle(".bak"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(backup);
  out.close();
  server.Answer("/good", test::TLoopbackServer::Http(200, fresh));
  Source(server.Url("/good"));
  const auto outcomes = Run();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].status, TDownloadStatus::Replaced) << outcomes[0].message.toStdString();
  EXPECT_TRUE(outcomes[0].message.endsWith(
      "Tle/test.tle updated; its previous copy, of only 4 element sets, was not kept in place "
      "of Tle/test.tle.bak, of 35 element sets."))
      << outcomes[0].message.toStdString();
  EXPECT_EQ(FileBytes(Tle()), fresh);
  EXPECT_EQ(FileBytes(Tle(".bak")), backup);
}

TEST_F(ElementUpdate, ASourceIsNotFetchedAgainWithinTwoHoursUnlessInsisted) {
  server.Answer("/good", test::TLoopbackServer::Http(200, fresh));
  Source(server.Url("/good"));
  ASSERT_EQ(Run()[0].status, TDownloadStatus::Replaced);
  const struct {
    int64_t now;
    bool insist;
    TDownloadStatus expected;
    int hits;
  } rows[] = {
      {kNow + 60, false, TDownloadStatus::Skipped, 1},
      {kNow + kFetchPauseSeconds - 1, false, TDownloadStatus::Skipped, 1},
      {kNow + 61, true, TDownloadStatus::Replaced, 2},
      // The pause runs from the last successful fetch, the insisted one.
      {kNow + kFetchPauseSeconds, false, TDownloadStatus::Skipped, 2},
      {kNow + 61 + kFetchPauseSeconds, false, TDownloadStatus::Replaced, 3},
  };
  for (const auto& row : rows) {
    const auto outcomes = Run(row.insist, row.now);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].status, row.expected) << outcomes[0].message.toStdString();
    EXPECT_EQ(server.Hits("/good"), row.hits) << row.now - kNow;
  }
}

TEST_F(ElementUpdate, CancelStopsTheRunningFetchAndTheRest) {
  server.Hang("/slow");
  server.Answer("/good", test::TLoopbackServer::Http(200, fresh));
  WriteUpdateSources(SourcesFile().toStdString(),
                     {{"first", server.Url("/slow").toStdString(), "test.tle", 0},
                      {"second", server.Url("/good").toStdString(), "other.tle", 0}});
  const auto outcomes = Run(false, kNow, [](TSourceUpdate& update) { update.Cancel(); });
  ASSERT_EQ(outcomes.size(), 2u);
  for (const auto& o : outcomes) EXPECT_EQ(o.status, TDownloadStatus::Cancelled);
  EXPECT_EQ(FileBytes(Tle()), previous);
  EXPECT_FALSE(QFile::exists(home.filePath("Tle/other.tle")));
  EXPECT_EQ(server.Hits("/good"), 0);
}

TEST_F(ElementUpdate, CommandExitsNonZeroWhenASourceFailed) {
  server.Answer("/good", test::TLoopbackServer::Http(200, fresh));
  const QString output = home.filePath("Tle/one.tle");
  const struct {
    std::vector<std::string> args;
    int code;
    const char* said;  // in the output (0) or the errors (1)
  } rows[] = {
      {{"--url", server.Url("/good").toStdString(), "--output", output.toStdString()},
       0,
       "5 element sets"},
      {{"--url", server.Url("/gone").toStdString(), "--output", output.toStdString()},
       1,
       "HTTP 404"},
      {{"--home", home.path().toStdString(), "--source", "test"}, 0, "test: 5 element sets"},
      {{"--home", home.path().toStdString()}, 0, "test: skipped"},
      {{"--home", home.path().toStdString(), "--source", "nothing"}, 1, "nothing: no source"},
      {{"--url", "file:///etc/passwd", "--output", output.toStdString()}, 2, "--url needs"},
  };
  Source(server.Url("/good"));
  for (const auto& row : rows) {
    cli::TUpdateWords words;
    ASSERT_EQ(cli::ParseUpdateWords(row.args, words), "");
    words.timeoutSeconds = 5;
    std::ostringstream out, err;
    EXPECT_EQ(RunUpdateCommand(words, out, err), row.code) << row.said;
    EXPECT_NE((row.code == 0 ? out : err).str().find(row.said), std::string::npos)
        << out.str() << err.str();
  }
  EXPECT_EQ(FileBytes(output), fresh);
}

}  // namespace
}  // namespace zen
