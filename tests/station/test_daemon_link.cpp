// The daemon link against a scripted daemon: answers, refusals, every kind of failure, the
// reconnection that follows each, and the growing waits between attempts.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "fake_daemon.h"
#include "station/daemon_link.h"

namespace zen::station {
namespace {

using test::TFakeDaemon;
using test::WaitUntil;

class Link : public ::testing::Test, private test::TCoreApplication {
 protected:
  Link() {
    QObject::connect(&link, &TDaemonLink::Failed,
                     [this](const QString& m) { failures.push_back(m); });
    QObject::connect(&link, &TDaemonLink::StateChanged, [this](TLinkState state) {
      if (state == TLinkState::Retrying) waits.push_back(link.RetryWaitMs());
    });
  }

  QString Prefix() const { return QStringLiteral("rotator at 127.0.0.1:%1: ").arg(daemon.Port()); }
  void OpenAndWaitUp() {
    link.Open(QStringLiteral("127.0.0.1"), daemon.Port());
    ASSERT_TRUE(WaitUntil([&] { return link.State() == TLinkState::Up; }));
  }
  // The answer to one command; a command the link refuses answers "not sent".
  TAnswer Ask(const QByteArray& command, int answerLines) {
    auto answer = std::make_shared<TAnswer>();
    auto answered = std::make_shared<bool>(false);
    if (!link.Send(command, answerLines,
                   [=](const TAnswer& a) { *answer = a, *answered = true; })) {
      return {false, {}, QStringLiteral("not sent")};
    }
    EXPECT_TRUE(WaitUntil([&] { return *answered; }));
    return *answer;
  }

  TFakeDaemon daemon;
  TDaemonLink link{QStringLiteral("rotator")};
  std::vector<QString> failures;
  std::vector<int> waits;
};

TEST_F(Link, ComesUpByItselfOnceTheDaemonListens) {
  daemon.Stop();
  link.Open(QStringLiteral("127.0.0.1"), daemon.Port());
  ASSERT_TRUE(WaitUntil([&] { return link.State() == TLinkState::Retrying; }));
  EXPECT_EQ(link.LastError(), Prefix() + "connection refused; trying again in 1 s");
  EXPECT_EQ(link.RetryWaitMs(), kFirstRetryMs);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0], link.LastError());

  ASSERT_TRUE(daemon.Start());
  daemon.On("p", TFakeDaemon::Answer("1.80\n-2.5\n"));
  ASSERT_TRUE(WaitUntil([&] { return link.State() == TLinkState::Up; }, 4000));
  const TAnswer answer = Ask("p", 2);
  EXPECT_TRUE(answer.ok) << answer.error.toStdString();
  EXPECT_EQ(answer.lines, QStringList({"1.80", "-2.5"}));
}

TEST_F(Link, WaitsDoubleUpToTheLongestWhileRefused) {
  link.SetTiming({kAnswerTimeoutMs, 20, 300});
  daemon.Stop();
  link.Open(QStringLiteral("127.0.0.1"), daemon.Port());
  ASSERT_TRUE(WaitUntil([&] { return waits.size() >= 8; }));
  EXPECT_EQ(std::vector<int>(waits.begin(), waits.begin() + 8),
            std::vector<int>({20, 40, 80, 160, 300, 300, 300, 300}));
  EXPECT_TRUE(link.LastError().endsWith("trying again in 0.3 s")) << link.LastError().toStdString();
}

TEST_F(Link, DaemonThatHangsUpAtOnceIsNotRetriedFaster) {
  link.SetTiming({kAnswerTimeoutMs, 20, 300});
  daemon.CloseOnAccept(true);
  link.Open(QStringLiteral("127.0.0.1"), daemon.Port());
  ASSERT_TRUE(WaitUntil([&] { return waits.size() >= 4; }));
  EXPECT_EQ(std::vector<int>(waits.begin(), waits.begin() + 4),
            std::vector<int>({20, 40, 80, 160}));
  EXPECT_GE(daemon.Connections(), 4);
}

TEST_F(Link, WaitsStartOverAfterAnAnsweredCommand) {
  link.SetTiming({kAnswerTimeoutMs, 20, 300});
  daemon.Stop();
  link.Open(QStringLiteral("127.0.0.1"), daemon.Port());
  ASSERT_TRUE(WaitUntil([&] { return waits.size() >= 3; }));
  ASSERT_TRUE(daemon.Start());
  daemon.On("K", TFakeDaemon::Answer("RPRT 0\n"));
  ASSERT_TRUE(WaitUntil([&] { return link.State() == TLinkState::Up; }));
  EXPECT_TRUE(Ask("K", 1).ok);
  daemon.Stop();
  ASSERT_TRUE(WaitUntil([&] { return link.State() != TLinkState::Up; }));
  EXPECT_EQ(waits.back(), 20);
}

struct TFailureCase {
  const char* name;
  QByteArray command;
  int answerLines;
  TFakeDaemon::TReply reply;
  QString reason;
  int earliestMs;  // the failure must not come sooner
  QByteArray goodAnswer;
};

void PrintTo(const TFailureCase& c, std::ostream* out) {
  *out << c.name;
}

class LinkFailure : public Link, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(LinkFailure, FailsTheCommandAndReconnects) {
  const TFailureCase& c = GetParam();
  link.SetTiming({kAnswerTimeoutMs, 50, 1000});
  OpenAndWaitUp();
  daemon.On(c.command, c.reply);
  QElapsedTimer clock;
  clock.start();
  const TAnswer failed = Ask(c.command, c.answerLines);
  EXPECT_GE(clock.elapsed(), c.earliestMs);
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.error, Prefix() + c.reason);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0], Prefix() + c.reason + "; trying again in 0.05 s");

  // Once the daemon behaves, the link is back without being asked.
  daemon.On(c.command, TFakeDaemon::Answer(c.goodAnswer));
  ASSERT_TRUE(
      WaitUntil([&] { return daemon.Connections() == 2 && link.State() == TLinkState::Up; }));
  EXPECT_TRUE(Ask(c.command, c.answerLines).ok);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkFailure,
    ::testing::Values(TFailureCase{"NoAnswer", "p", 2, TFakeDaemon::Silent(),
                                   "no answer to \"p\" within 2 s", 1800, "1\n2\n"},
                      TFailureCase{"ClosedMidCommand", "p", 2, TFakeDaemon::Close(),
                                   "the daemon closed the connection", 0, "1\n2\n"},
                      TFailureCase{"TextForANumber", "p", 2, TFakeDaemon::Answer("1.80\nhello\n"),
                                   "unexpected answer to \"p\": \"hello\"", 0, "1\n2\n"},
                      TFailureCase{"ValueForASet", "K", 1, TFakeDaemon::Answer("0.00\n"),
                                   "unexpected answer to \"K\": \"0.00\"", 0, "RPRT 0\n"},
                      TFailureCase{"BareSuccessForAGet", "f", 1, TFakeDaemon::Answer("RPRT 0\n"),
                                   "unexpected answer to \"f\": \"RPRT 0\"", 0, "3\n"},
                      TFailureCase{"BinaryBytes", "f", 1, TFakeDaemon::Answer("\x16\x03\x01\xff\n"),
                                   "unexpected answer to \"f\": \"????\"", 0, "3\n"},
                      TFailureCase{"EndlessLine", "f", 1,
                                   TFakeDaemon::Answer(QByteArray(5000, '7')),
                                   "an answer line longer than 4096 bytes", 0, "3\n"}),
    [](const auto& info) { return info.param.name; });

TEST_F(Link, RefusalFailsOnlyThatCommandAndUnaskedTextIsIgnored) {
  OpenAndWaitUp();
  // As the real rotator daemon may, it writes on after the refusal.
  daemon.On("P 180.00 95.00", TFakeDaemon::Answer("RPRT -5\n", 0, "Model: dummy\n1\nmin_az=0\n"));
  daemon.On("p", TFakeDaemon::Answer("12.00\n3.00\n", 60));
  TAnswer next;
  ASSERT_TRUE(link.Send("P 180.00 95.00", 1, [&](const TAnswer& refused) {
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, Prefix() + "the device timed out (RPRT -5)");
    EXPECT_TRUE(link.Send("p", 2, [&](const TAnswer& a) { next = a; }));
  }));
  ASSERT_TRUE(WaitUntil([&] { return next.ok || !next.error.isEmpty(); }));
  EXPECT_EQ(next.lines, QStringList({"12.00", "3.00"})) << next.error.toStdString();
  EXPECT_EQ(failures, std::vector<QString>({Prefix() + "the device timed out (RPRT -5)"}));

  daemon.Push("unasked\n");
  test::Spin(100);
  EXPECT_TRUE(Ask("p", 2).ok);
  EXPECT_EQ(link.State(), TLinkState::Up);
  EXPECT_EQ(daemon.Connections(), 1);
}

TEST_F(Link, SendsOneCommandAtATimeInOrderAndQueuesOnlyAFew) {
  EXPECT_FALSE(link.Send("p", 2, {}));  // not open
  OpenAndWaitUp();
  daemon.On("p", TFakeDaemon::Answer("1\n2\n", 40));
  daemon.On("f", TFakeDaemon::Answer("145800000\n", 40));
  daemon.On("K", TFakeDaemon::Answer("RPRT 0\n", 40));
  std::vector<QStringList> answers;
  const auto keep = [&](const TAnswer& a) {
    answers.push_back(a.ok ? a.lines : QStringList{a.error});
  };
  for (const char* command : {"p", "f", "K", "p"}) {
    EXPECT_TRUE(link.Send(command, command == QByteArray("p") ? 2 : 1, keep));
  }
  EXPECT_FALSE(link.Send("f", 1, keep));
  ASSERT_TRUE(WaitUntil([&] { return answers.size() == 4; }));
  test::Spin(100);
  EXPECT_EQ(answers, std::vector<QStringList>({{"1", "2"}, {"145800000"}, {}, {"1", "2"}}));
  EXPECT_EQ(daemon.Received(), QList<QByteArray>({"p", "f", "K", "p"}));
  EXPECT_EQ(daemon.Overlaps(), 0);
}

TEST_F(Link, CloseFailsWaitingCommandsAndStopsRetrying) {
  link.SetTiming({kAnswerTimeoutMs, 20, 300});
  OpenAndWaitUp();
  std::vector<TAnswer> answers;
  ASSERT_TRUE(link.Send("p", 2, [&](const TAnswer& a) { answers.push_back(a); }));
  link.Close();
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].error, Prefix() + "disconnected");
  EXPECT_EQ(link.State(), TLinkState::Off);
  test::Spin(200);
  EXPECT_EQ(link.State(), TLinkState::Off);
  EXPECT_EQ(daemon.Connections(), 1);
  EXPECT_TRUE(failures.empty());
}

TEST_F(Link, ConnectionThatNeverCompletesTimesOut) {
  // A listener whose one-place backlog is already taken: the kernel drops further attempts'
  // first packets, so they stay unanswered.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  const quint16 port = ntohs(address.sin_port);
  QTcpSocket filler;
  filler.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(WaitUntil([&] { return filler.state() == QAbstractSocket::ConnectedState; }));

  link.Open(QStringLiteral("127.0.0.1"), port);
  EXPECT_TRUE(WaitUntil([&] { return link.State() == TLinkState::Retrying; }, 5000));
  EXPECT_EQ(link.LastError(), QStringLiteral("rotator at 127.0.0.1:%1: no connection within 2 s; "
                                             "trying again in 1 s")
                                  .arg(port));
  link.Close();
  close(listener);
}

TEST_F(Link, DestroyedLinkCallsNothingBack) {
  TFakeDaemon gone;
  gone.Stop();
  // One link owes an answer, the other is between attempts; neither may call back once gone.
  for (const quint16 port : {daemon.Port(), gone.Port()}) {
    int calls = 0;
    auto doomed = std::make_unique<TDaemonLink>(QStringLiteral("radio"));
    doomed->SetTiming({kAnswerTimeoutMs, 10, 10});
    doomed->Open(QStringLiteral("127.0.0.1"), port);
    const TLinkState awaited = port == gone.Port() ? TLinkState::Retrying : TLinkState::Up;
    ASSERT_TRUE(WaitUntil([&] { return doomed->State() == awaited; }));
    if (awaited == TLinkState::Up) {
      ASSERT_TRUE(doomed->Send("p", 2, [&](const TAnswer&) { ++calls; }));
    }
    QObject::connect(doomed.get(), &TDaemonLink::Failed, [&] { ++calls; });
    QObject::connect(doomed.get(), &TDaemonLink::StateChanged, [&] { ++calls; });
    doomed.reset();
    test::Spin(100);
    EXPECT_EQ(calls, 0) << port;
  }
}

}  // namespace
}  // namespace zen::station
