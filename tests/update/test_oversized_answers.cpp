// Answers far larger than an element file may be, refused by "zenarith update" as it is run:
// the program stops reading at the limit, keeps the file it would have replaced, and its peak
// memory, as the system's time program measures it, stays far below the answer's size.
#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "loopback_server.h"
#include "test_support.h"
#include "update/element_download.h"

// AddressSanitizer keeps freed memory aside and maps shadow memory, which the resident size
// counts: there the peak says nothing about the program's own use.
#if defined(__SANITIZE_ADDRESS__)
#define ZEN_MEMORY_MEASURED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEN_MEMORY_MEASURED 0
#endif
#endif
#ifndef ZEN_MEMORY_MEASURED
#define ZEN_MEMORY_MEASURED 1
#endif

namespace zen {
namespace {

// Far below the answers sent, and far above what the program needs without them.
constexpr qint64 kPeakLimitKb = 150 * 1024;
// What the server offers at most: well past the limit, so a program that read on would be
// seen reading on, and bounded, so the test ends by itself whatever the program does.
constexpr qint64 kOffered = 3 * kLargestAnswerBytes;

// Named sets "SAT n" with the epoch of 30 May 2026, as an element service sends them.
QByteArray Sets(int from, int count) {
  QByteArray text;
  for (int n = from; n < from + count; ++n) {
    auto [l1, l2] = test::MakeLinePair(n);
    text += "SAT " + QByteArray::number(n) + "\r\n" +
            test::Patched(l1, 19, "26150.50000000").c_str() + "\r\n" + l2.c_str() + "\r\n";
  }
  return text;
}

struct TMeasuredRun {
  bool ended = false;
  int code = -1;
  QString err;
  qint64 peakKb = -1;  // maximum resident size; -1 when the time program did not say
};

class OversizedAnswer : public ::testing::Test, private test::TCoreApplication {
 protected:
  void SetUp() override {
#if !defined(ZEN_PROGRAM_FILE) || !defined(ZEN_TIME_PROGRAM)
    GTEST_SKIP() << "the program or the system's time program (package time) is not known";
#endif
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(server.Listening());
    ASSERT_TRUE(QDir(home.path()).mkpath("Tle"));
    QFile out(Target());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(previous);
  }

  QString Target(const char* suffix = "") const {
    return home.filePath("Tle/test.tle") + suffix;
  }

  // "zenarith update --url URL --output Tle/test.tle" under the time program, the loopback
  // server answering meanwhile; a run not ended after two minutes is stopped.
  TMeasuredRun Run(const QString& url) {
    TMeasuredRun run;
#if defined(ZEN_PROGRAM_FILE) && defined(ZEN_TIME_PROGRAM)
    QProcess program;
    QEventLoop loop;
    QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&program, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    program.start(QStringLiteral(ZEN_TIME_PROGRAM),
                  {"-v", QStringLiteral(ZEN_PROGRAM_FILE), "update", "--url", url, "--output",
                   Target(), "--timeout", "60"});
    loop.exec();
    if (program.state() != QProcess::NotRunning) {
      program.kill();
      program.waitForFinished();
      return run;
    }
    run.ended = program.exitStatus() == QProcess::NormalExit;
    run.code = program.exitCode();
    run.err = QString::fromLocal8Bit(program.readAllStandardError());
    const QRegularExpressionMatch peak =
        QRegularExpression(QStringLiteral("Maximum resident set size \\(kbytes\\): (\\d+)"))
            .match(run.err);
    if (peak.hasMatch()) run.peakKb = peak.captured(1).toLongLong();
#endif
    return run;
  }

  QTemporaryDir home;
  test::TLoopbackServer server;
  const QByteArray previous = Sets(1, 35);
};

TEST_F(OversizedAnswer, IsRefusedAtTheLimitWithoutTheMemoryOfTheAnswer) {
  // Sound element sets all along: only the size may refuse them.
  const QByteArray sets = Sets(1, 400).repeated(2).left(0x10000);
  const struct {
    const char* label;
    QByteArray head;
    QByteArray piece;
  } rows[] = {
      {"a length of 10 GB",
       "HTTP/1.1 200 OK\r\nContent-Length: 10737418240\r\nConnection: close\r\n\r\n", sets},
      {"an endless chunked body",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n",
       "10000\r\n" + sets + "\r\n"},
  };
  int i = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    const QString path = QStringLiteral("/huge%1").arg(++i);
    server.Stream(path, row.head, row.piece, kOffered);
    const TMeasuredRun run = Run(server.Url(path));
    ASSERT_TRUE(run.ended) << run.err.toStdString();
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("the answer is larger than 64 MB")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Tle/test.tle is kept as it was.")) << run.err.toStdString();
    // The program stopped reading: the server never had to offer all it had.
    EXPECT_LT(server.Sent(path), kOffered);
    QFile kept(Target());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), previous);
    EXPECT_FALSE(QFile::exists(Target(".part")));
    EXPECT_FALSE(QFile::exists(Target(".bak")));
    ASSERT_GT(run.peakKb, 0) << run.err.toStdString();
    std::printf("[ peak     ] %s: %lld MB, %lld MB sent\n", row.label, run.peakKb / 1024,
                server.Sent(path) / (1024 * 1024));
#if ZEN_MEMORY_MEASURED
    EXPECT_LT(run.peakKb, kPeakLimitKb);
#endif
  }
}

}  // namespace
}  // namespace zen
