// Answers far larger than an element file may be, refused by "zenarith update" as it is run:
// it stops reading at the limit, keeps the file it would have replaced, and its peak memory,
// as the system's time program measures it, stays far below the answer's size.
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

namespace zen {
namespace {

// AddressSanitizer maps shadow memory and keeps freed memory aside, which the resident size
// counts: there the peak says nothing of the program's own use, and only the refusal is checked.
#if defined(__SANITIZE_ADDRESS__)
#define ZEN_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEN_ADDRESS_SANITIZER
#endif
#endif
#ifdef ZEN_ADDRESS_SANITIZER
constexpr bool kPeakMeasured = false;
#else
constexpr bool kPeakMeasured = true;
#endif

TEST(OversizedAnswer, IsRefusedAtTheLimitWithoutTheMemoryOfTheAnswer) {
#if !defined(ZEN_PROGRAM_FILE) || !defined(ZEN_TIME_PROGRAM)
  GTEST_SKIP() << "the program or the system's time program (package time) is not known";
#else
  test::TCoreApplication application;
  test::TLoopbackServer server;
  QTemporaryDir home;
  ASSERT_TRUE(server.Listening() && home.isValid() && QDir(home.path()).mkpath("Tle"));
  // Sound element sets all along: only the size may refuse them.
  QByteArray sets, previous;
  for (int n = 1; n <= 400; ++n) {
    auto [l1, l2] = test::MakeLinePair(n);
    sets += "SAT " + QByteArray::number(n) + "\r\n" + l1.c_str() + "\r\n" + l2.c_str() + "\r\n";
    if (n == 35) previous = sets;
  }
  sets = sets.repeated(2).left(0x10000);
  const QString target = home.filePath("Tle/test.tle");
  QFile out(target);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(previous) == previous.size());
  out.close();
  // Well past the limit, so a program that read on would be seen to, and bounded, so the test
  // ends whatever the program does.
  constexpr qint64 kOffered = 3 * kLargestAnswerBytes;
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
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    const QString path = QStringLiteral("/") + QString::fromLatin1(row.label).replace(' ', '_');
    server.Stream(path, row.head, row.piece, kOffered);
    QProcess program;
    QEventLoop loop;
    QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&program, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    program.start(QStringLiteral(ZEN_TIME_PROGRAM),
                  {"-v", QStringLiteral(ZEN_PROGRAM_FILE), "update", "--url", server.Url(path),
                   "--output", target, "--timeout", "60"});
    loop.exec();
    if (program.state() != QProcess::NotRunning) {
      program.kill();
      program.waitForFinished();
      FAIL() << "the update did not end within two minutes";
    }
    const std::string err = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitCode(), 1) << err;
    EXPECT_NE(err.find("the answer is larger than 64 MB"), std::string::npos) << err;
    EXPECT_NE(err.find("Tle/test.tle is kept as it was."), std::string::npos) << err;
    // It stopped reading: the server never had to offer all it had.
    EXPECT_LT(server.Sent(path), kOffered);
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), previous);
    EXPECT_FALSE(QFile::exists(target + ".part"));
    EXPECT_FALSE(QFile::exists(target + ".bak"));
    const QRegularExpressionMatch peak =
        QRegularExpression(QStringLiteral("Maximum resident set size \\(kbytes\\): (\\d+)"))
            .match(QString::fromStdString(err));
    ASSERT_TRUE(peak.hasMatch()) << err;
    const qint64 peakMb = peak.captured(1).toLongLong() / 1024;
    std::printf("[ peak     ] %s: %lld MB, %lld MB sent\n", row.label, peakMb,
                server.Sent(path) / (1024 * 1024));
    if (kPeakMeasured) {
      EXPECT_LT(peakMb, 150);
    }
  }
#endif
}

}  // namespace
}  // namespace zen
