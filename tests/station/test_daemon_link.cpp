// The daemon link against a scripted daemon: every kind of failure and the reconnection with
// growing waits that follows, refusals, the order of commands, Close and destruction.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fake_daemon.h"
#include "station/daemon_link.h"

namespace zen::station {
namespace {

using test::WaitUntil;
using TMode = test::TFakeDaemon::TMode;

// A link to a scripted daemon, and all that the link reported.
struct TBench {
  TBench() {
    QObject::connect(&link, &TDaemonLink::Failed, [this](const QString& m) { failures << m; });
    QObject::connect(&link, &TDaemonLink::Restored, [this](const QString& m) { restored << m; });
    QObject::connect(&link, &TDaemonLink::StateChanged, [this](TLinkState state) {
      if (state == TLinkState::Retrying) waits.push_back(link.RetryWaitMs());
    });
  }
  QString Prefix() const { return QStringLiteral("rotator at 127.0.0.1:%1: ").arg(daemon.Port()); }
  bool OpenAndWaitFor(TLinkState state) {
    link.Open(QStringLiteral("127.0.0.1"), daemon.Port());
    return WaitUntil([&] { return link.State() == state; });
  }
  // The answer lands in answers: its lines, or the failure's message.
  bool Send(const QByteArray& command) {
    return link.Send(command, command == "p" ? 2 : 1, [this, command](const TAnswer& a) {
      answers.push_back(a.ok ? a.lines : QStringList{a.error});
      if (a.ok) ++answered;
      if (a.ok && command == "p") ++readings;
    });
  }

  QStringList failures;
  QStringList restored;
  std::vector<int> waits;
  std::vector<QStringList> answers;
  int answered = 0;
  int readings = 0;  // good answers to "p"
  test::TFakeDaemon daemon;
  TDaemonLink link{QStringLiteral("rotator")};
};

TEST(LinkFailure, FailsTheCommandWaitsLongerAfterEachFailureAndComesBackByItself) {
  const struct {
    TMode mode;
    QByteArray command, answer;
    QString reason;
  } cases[] = {
      {TMode::Refusing, "p", {}, "connection refused"},
      {TMode::HangingUp, "p", {}, "the daemon closed the connection"},
      {TMode::Unreachable, "p", {}, "no connection within 0.15 s"},
      {TMode::Serving, "p", {}, "no answer to \"p\" within 0.15 s"},
      {TMode::Serving, "p", test::TFakeDaemon::kHangUp, "the daemon closed the connection"},
      {TMode::Serving, "p", "1.80\nhello\n", "unexpected answer to \"p\": \"hello\""},
      {TMode::Serving, "K", "0.00\n", "unexpected answer to \"K\": \"0.00\""},
      {TMode::Serving, "f", "RPRT 0\n", "unexpected answer to \"f\": \"RPRT 0\""},
      {TMode::Serving, "f", "\x16\x03\x01\xff\n", "unexpected answer to \"f\": \"????\""},
      {TMode::Serving, "f", QByteArray(5000, '7'), "an answer line longer than 4096 bytes"},
  };
  const QHash<QByteArray, QByteArray> good = {{"p", "1\n2\n"}, {"f", "3\n"}, {"K", "RPRT 0\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason.toStdString() + ", mode " + std::to_string(int(c.mode)));
    TBench b;
    b.link.SetTiming({150, 20, 100});
    b.daemon.SetMode(c.mode);
    b.daemon.script = good;
    b.daemon.script[c.command] = c.answer;
    // The command goes out whenever the link is up, and a reading after it.
    QObject::connect(&b.link, &TDaemonLink::StateChanged, [&](TLinkState state) {
      if (state == TLinkState::Up) b.Send(c.command);
      if (state == TLinkState::Up && c.command != "p") b.Send("p");
    });
    QElapsedTimer clock;
    clock.start();
    b.link.Open(QStringLiteral("127.0.0.1"), b.daemon.Port());
    ASSERT_TRUE(WaitUntil([&] { return b.failures.size() >= 4; }));
    // The waits were waited (coarse timers may end 5 % early), and the deadlines in full.
    EXPECT_GE(clock.elapsed(), 130 + (c.reason.contains("within") ? 4 * 150 : 0));
    EXPECT_EQ(std::vector<int>(b.waits.begin(), b.waits.begin() + 4),
              std::vector<int>({20, 40, 80, 100}));
    const QString failure = b.Prefix() + c.reason;
    EXPECT_EQ(b.failures[3], failure + "; trying again in 0.1 s");
    EXPECT_GE(b.answers.size(), c.mode == TMode::Serving ? 4u : 0u);
    for (const QStringList& a : b.answers) EXPECT_EQ(a, QStringList(failure));

    b.daemon.script = good;
    b.daemon.SetMode(TMode::Serving);
    ASSERT_TRUE(WaitUntil([&] { return b.readings > 0; }));
    // Back after failures, which is said.
    ASSERT_FALSE(b.restored.isEmpty());
    EXPECT_EQ(b.restored.back(), b.Prefix() + "connected again");
    // A good reading shows the daemon working: the next failure is a first one again.
    const size_t since = b.waits.size();
    b.daemon.SetMode(TMode::Refusing);
    ASSERT_TRUE(WaitUntil([&] { return b.waits.size() > since; }));
    EXPECT_EQ(b.waits[since], 20);
  }
}

class Link : public ::testing::Test, protected TBench {};

TEST_F(Link, SendsOneCommandAtATimeInOrderAndARefusalFailsOnlyThatCommand) {
  EXPECT_FALSE(Send("p"));  // not open
  ASSERT_TRUE(OpenAndWaitFor(TLinkState::Up));
  for (const char* command : {"p", "P 180.00 95.00", "K", "p"}) EXPECT_TRUE(Send(command));
  EXPECT_FALSE(Send("f"));
  // Each line answered by hand, and after the refusal text nobody asked for, as the real rotator
  // daemon may write; the next command must not take it for its answer.
  const QByteArray exchange[][3] = {{"p", "1\n2\n", ""},
                                    {"P 180.00 95.00", "RPRT -5\n", "Model: dummy\n1\n"},
                                    {"K", "RPRT 0\n", ""},
                                    {"p", "1\n2\n", ""}};
  for (size_t i = 0; i < std::size(exchange); ++i) {
    ASSERT_TRUE(WaitUntil([&] { return daemon.received.size() > qsizetype(i); }));
    test::Spin(50);  // time to send what it should not
    ASSERT_EQ(daemon.received.size(), qsizetype(i) + 1);
    EXPECT_EQ(daemon.received.back(), exchange[i][0]);
    daemon.Push(exchange[i][1]);
    ASSERT_TRUE(WaitUntil([&] { return answers.size() > i; }));
    daemon.Push(exchange[i][2]);
  }
  const QString refusal = Prefix() + "\"P 180.00 95.00\": the device timed out (RPRT -5)";
  EXPECT_EQ(answers, std::vector<QStringList>({{"1", "2"}, {refusal}, {}, {"1", "2"}}));
  EXPECT_EQ(failures, QStringList(refusal));
  EXPECT_EQ(link.State(), TLinkState::Up);
}

TEST_F(Link, CloseFailsTheWaitingCommandsAndEndsTheRetries) {
  link.SetTiming({kAnswerTimeoutMs, 20, 20});
  ASSERT_TRUE(OpenAndWaitFor(TLinkState::Up));
  ASSERT_TRUE(Send("p"));
  link.Close();
  EXPECT_EQ(answers, std::vector<QStringList>({{Prefix() + "disconnected"}}));
  EXPECT_TRUE(failures.empty());
  daemon.SetMode(TMode::Refusing);
  ASSERT_TRUE(OpenAndWaitFor(TLinkState::Retrying));
  link.Close();
  test::Spin(100);
  EXPECT_EQ(link.State(), TLinkState::Off);
}

TEST_F(Link, DestroyedLinkCallsNothingBack) {
  // One link owes an answer, the next is between attempts; neither may call back once gone.
  for (const TLinkState awaited : {TLinkState::Up, TLinkState::Retrying}) {
    if (awaited == TLinkState::Retrying) daemon.SetMode(TMode::Refusing);
    int calls = 0;
    auto doomed = std::make_unique<TDaemonLink>(QStringLiteral("radio"));
    doomed->SetTiming({kAnswerTimeoutMs, 10, 10});
    doomed->Open(QStringLiteral("127.0.0.1"), daemon.Port());
    ASSERT_TRUE(WaitUntil([&] { return doomed->State() == awaited; }));
    ASSERT_TRUE(awaited != TLinkState::Up || doomed->Send("p", 2, [&](auto) { ++calls; }));
    QObject::connect(doomed.get(), &TDaemonLink::Failed, [&] { ++calls; });
    QObject::connect(doomed.get(), &TDaemonLink::StateChanged, [&] { ++calls; });
    doomed.reset();
    test::Spin(100);
    EXPECT_EQ(calls, 0);
  }
}

TEST(LinkFailure, OnlyAGoodReadingEndsTheGrowingWaits) {
  // Each daemon takes every set command and answers the reading with garbage: the link goes down
  // after a set has succeeded each time, and must still wait longer each time.
  for (const QByteArray& reading : {QByteArray("nan\n0\n"), QByteArray("12.5\ninf\n")}) {
    SCOPED_TRACE(reading.toStdString());
    TBench b;
    b.link.SetTiming({500, 20, 200});
    b.daemon.script = {{"P 1.00 2.00", "RPRT 0\n"}, {"p", reading}};
    QObject::connect(&b.link, &TDaemonLink::StateChanged, [&](TLinkState state) {
      if (state != TLinkState::Up) return;
      b.link.SendReplacing("P 1.00 2.00", {});
      b.Send("p");
    });
    b.link.Open(QStringLiteral("127.0.0.1"), b.daemon.Port());
    ASSERT_TRUE(WaitUntil([&] { return b.waits.size() >= 5; }));
    EXPECT_EQ(std::vector<int>(b.waits.begin(), b.waits.begin() + 5),
              std::vector<int>({20, 40, 80, 160, 200}));
    EXPECT_TRUE(b.failures[0].startsWith(b.Prefix() + "unexpected answer to \"p\""))
        << b.failures[0].toStdString();
  }
}

TEST_F(Link, ANewerSetReplacesTheOneNotYetSentInItsPlace) {
  ASSERT_TRUE(OpenAndWaitFor(TLinkState::Up));
  QStringList done;  // whose done ran, in order
  const auto note = [&](const char* name) {
    return [&done, name](const TAnswer& a) {
      done << QString::fromLatin1(name) + (a.ok ? "" : " failed");
    };
  };
  // On the wire at once, so not replaced by anything.
  ASSERT_TRUE(link.SendReplacing("P 1.00 1.00", note("P1")));
  ASSERT_TRUE(link.Send("p", 2, note("p")));
  ASSERT_TRUE(link.SendReplacing("P 2.00 2.00", note("P2")));
  EXPECT_EQ(link.Waiting(), 3);
  // The two later moves each take the place of the one before: P2, then P3, never go out.
  ASSERT_TRUE(link.SendReplacing("P 3.00 3.00", note("P3")));
  ASSERT_TRUE(link.SendReplacing("K", note("K")));
  EXPECT_EQ(link.Waiting(), 3);
  EXPECT_TRUE(link.SetWaiting());
  const QByteArray answers[] = {"RPRT 0\n", "4\n5\n", "RPRT 0\n"};
  for (qsizetype i = 0; i < 3; ++i) {
    ASSERT_TRUE(WaitUntil([&] { return daemon.received.size() > i; }));
    daemon.Push(answers[i]);
    ASSERT_TRUE(WaitUntil([&] { return done.size() > i; }));
  }
  EXPECT_EQ(daemon.received, QList<QByteArray>({"P 1.00 1.00", "p", "K"}));
  EXPECT_EQ(done, QStringList({"P1", "p", "K"}));
  EXPECT_FALSE(link.SetWaiting());
  // A reading that has not gone out is dropped, its done not run; one on the wire is answered.
  ASSERT_TRUE(link.Send("p", 2, note("p on the wire")));
  ASSERT_TRUE(link.Send("p", 2, note("p dropped")));
  bool drained = false;
  QObject::connect(&link, &TDaemonLink::Drained, [&] { drained = true; });
  link.DropUnsentReads();
  EXPECT_EQ(link.Waiting(), 1);
  ASSERT_TRUE(WaitUntil([&] { return daemon.received.size() == 4; }));
  daemon.Push("4\n5\n");
  ASSERT_TRUE(WaitUntil([&] { return drained; }));
  test::Spin(50);
  EXPECT_EQ(done.back(), "p on the wire");
  EXPECT_EQ(done.size(), 4);
  EXPECT_TRUE(restored.isEmpty()) << "the first connection is no reconnection";
}

TEST_F(Link, ARefusalNamesItsCommandAndOneThatRepeatsIsSaidOncePerPeriodWithItsCount) {
  constexpr int kPeriodMs = 400;
  link.SetTiming({kAnswerTimeoutMs, kFirstRetryMs, kLongestRetryMs, kPeriodMs});
  daemon.script = {{"P 1.00 2.00", "RPRT -1\n"}, {"P 3.00 4.00", "RPRT -1\n"}, {"K", "RPRT -1\n"}};
  ASSERT_TRUE(OpenAndWaitFor(TLinkState::Up));
  // A refused move sent again and again, as a station does each cycle, for three periods and a
  // bit; once in the middle another kind of command is refused with the same code.
  QElapsedTimer clock;
  clock.start();
  int refusals = 0;
  std::vector<int> refusalsWhenSaid;  // the count of refused moves when each was said
  QObject::connect(&link, &TDaemonLink::Failed, [&](const QString& m) {
    if (m.contains("\"P ")) refusalsWhenSaid.push_back(refusals);
  });
  bool sentK = false;
  std::function<void(const TAnswer&)> again = [&](const TAnswer& a) {
    if (!a.ok) ++refusals;
    if (clock.elapsed() > 3 * kPeriodMs + kPeriodMs / 2) return;
    const QByteArray move = refusals % 2 ? "P 3.00 4.00" : "P 1.00 2.00";
    if (!sentK && clock.elapsed() > kPeriodMs / 2) {
      sentK = true;
      link.SendReplacing("K", [&, move](const TAnswer&) { link.SendReplacing(move, again); });
      return;
    }
    link.SendReplacing(move, again);
  };
  link.SendReplacing("P 1.00 2.00", again);
  ASSERT_TRUE(WaitUntil([&] { return clock.elapsed() > 4 * kPeriodMs && link.Waiting() == 0; }));
  ASSERT_TRUE(sentK);
  ASSERT_GE(refusals, 6) << "a refusal every 100 ms or so";
  ASSERT_GE(failures.size(), 3);
  EXPECT_EQ(failures[0], Prefix() + "\"P 1.00 2.00\": the value was refused as invalid (RPRT -1)");
  // The other command's refusal is said at once, named.
  EXPECT_EQ(failures.filter("\"K\": the value was refused as invalid (RPRT -1)").size(), 1);
  // Said once a period: three or four times, not once per refusal; each later report counts
  // the refusals since the one before, so none is lost.
  const QStringList moves = failures.filter("\"P ");
  EXPECT_GE(moves.size(), 3);
  EXPECT_LE(moves.size(), 5);
  EXPECT_LT(moves.size(), refusals);
  ASSERT_EQ(size_t(moves.size()), refusalsWhenSaid.size());
  for (qsizetype i = 1; i < moves.size(); ++i) {
    const int count = refusalsWhenSaid[size_t(i)] - refusalsWhenSaid[size_t(i) - 1];
    // (Once only, on a machine so slow that a period passed between two refusals: no count.)
    EXPECT_TRUE(moves[i].endsWith(
        count == 1 ? QStringLiteral("(RPRT -1)")
                   : QStringLiteral("(RPRT -1); %1 times since the last report").arg(count)))
        << moves[i].toStdString();
  }
}

}  // namespace
}  // namespace zen::station
