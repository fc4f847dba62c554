// One line-protocol connection to a rotator or radio daemon: commands in turn, answers checked,
// and reconnection with growing waits after any failure, without ever blocking the thread.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QTcpSocket;

namespace zen::station {

inline constexpr int kAnswerTimeoutMs = 2000;  // an answer later than this: the link counts as down
inline constexpr int kFirstRetryMs = 1000;     // reconnection waits 1, 2, 4 ... s
inline constexpr int kLongestRetryMs = 30000;  // ... up to 30 s
// Commands queued at once, the one on the wire included. A controller sends a few per second;
// more waiting than this means the daemon is slower than the station and old commands are stale.
inline constexpr int kMostWaitingCommands = 4;
// The longest answer line; the daemons' lines are a few dozen bytes.
inline constexpr int kLongestLineBytes = 4096;
// A refusal that comes again and again (each cycle) is said once in this long, with its count.
inline constexpr int kRepeatReportMs = 60000;

enum class TLinkState { Off, Connecting, Up, Retrying };

struct TAnswer {
  bool ok = false;
  QStringList lines;  // the value lines of a get command; empty for a set command
  QString error;      // why it failed, beginning with the device and its address
};

// The waits the link uses; only tests shorten them.
struct TLinkTiming {
  int answerTimeoutMs = kAnswerTimeoutMs;
  int firstRetryMs = kFirstRetryMs;
  int longestRetryMs = kLongestRetryMs;
  int repeatReportMs = kRepeatReportMs;
};

// What is wrong with the value lines of a get command's answer, or an empty text when they are
// good; an answer with something wrong counts as garbage.
using TValueCheck = std::function<QString(const QStringList& values)>;

class TDaemonLink : public QObject {
  Q_OBJECT

 public:
  // device ("rotator", "radio", "uplink radio") names the link in every message.
  explicit TDaemonLink(QString device, QObject* parent = nullptr);
  // Pending commands are dropped without their done: nothing is called back from here.
  ~TDaemonLink() override;

  // Connects; from then on reconnects by itself after any failure, until Close. Opening an open
  // link first closes it.
  void Open(const QString& host, quint16 port);
  // Drops the link and the pending commands (their done runs with ok=false, "disconnected");
  // no more retries.
  void Close();

  TLinkState State() const { return state_; }
  QString Address() const;  // "host:port", an IPv6 host in brackets
  QString Name() const;     // "rotator at host:port"
  // The latest failure, e.g. "rotator at localhost:4533: connection refused; trying again in 4 s".
  QString LastError() const { return lastError_; }
  int RetryWaitMs() const { return retryWaitMs_; }  // the wait before the next attempt
  void SetTiming(const TLinkTiming& timing) { timing_ = timing; }

  // Queues one command line (no newline) whose good answer has answerLines lines. The daemons'
  // short commands tell their kind by case: an upper-case letter sets (its one answer line is
  // "RPRT 0"), a lower-case one gets value lines, which must read as numbers, the only values
  // the station reads, and pass check when one is given. Refused (false, done not called)
  // unless the link is Up and fewer than kMostWaitingCommands wait. done runs on this object's
  // thread with the answer or the failure; it may send, close or deleteLater the link, but not
  // delete it.
  bool Send(const QByteArray& command, int answerLines, std::function<void(const TAnswer&)> done,
            TValueCheck check = {});
  // A set command that supersedes any set command still waiting to go out: that one is
  // replaced in its place in the queue, and its done is never called. A device should go where
  // the newest command says, not work through the ones that went stale while the daemon was
  // slow.
  bool SendReplacing(const QByteArray& command, std::function<void(const TAnswer&)> done);
  // Commands queued, the one on the wire included.
  int Waiting() const { return int(queue_.size()); }
  // A set command is queued, on the wire or not.
  bool SetWaiting() const;
  // Get commands that have not gone out are dropped, their done not called: nobody will read
  // their answers.
  void DropUnsentReads();

 signals:
  void StateChanged(zen::station::TLinkState state);
  // Every failure, as LastError, except a refusal said less than repeatReportMs ago: that one
  // is counted and said again, with its count, once the time is up.
  void Failed(const QString& message);
  // The link is up again after a failure: "rotator at localhost:4533: connected again".
  void Restored(const QString& message);
  // The last queued command has its answer or failed: nothing waits.
  void Drained();

 private:
  struct TCommand {
    QByteArray line;
    int answerLines = 1;
    bool sets = false;
    bool onWire = false;
    QStringList values;
    std::function<void(const TAnswer&)> done;
    TValueCheck check;
  };
  // A refusal of one kind (command word and code) and how often it came since it was said.
  struct TRepeat {
    QElapsedTimer said;
    int count = 0;
  };

  void Connect();
  void DropSocket();
  void SetState(TLinkState state);
  QString Prefix() const;
  void OnConnected();
  void OnSocketError();
  void OnReadyRead();
  void OnDeadline();
  void OnQuietEnough();
  void SendNext();
  // Reads the complete lines of the buffer as the answer of the command on the wire.
  void ReadAnswer();
  // The command on the wire has its whole answer (or a refusal): it leaves the queue.
  void Finish(const TAnswer& answer);
  // The link is down for reason: every waiting command fails, a reconnection is timed.
  void Fail(const QString& reason);
  // The message to say for a refusal, or empty while the same refusal was said lately.
  QString RefusalToSay(const QByteArray& command, int code, const QString& message);
  void EmitDrainedIfIdle();

  QString device_;
  QString host_;
  quint16 port_ = 0;
  TLinkTiming timing_;
  TLinkState state_ = TLinkState::Off;
  QString lastError_;
  int retryWaitMs_ = 0;
  int nextRetryWaitMs_ = kFirstRetryMs;
  bool failedSinceUp_ = false;
  QHash<QString, TRepeat> repeats_;
  QTcpSocket* socket_ = nullptr;  // a fresh one per attempt, so a dropped one cannot call back
  QByteArray buffer_;
  std::deque<TCommand> queue_;
  // After a refusal the daemon may go on writing text nobody asked for; the next command waits
  // until the line is quiet, so that text is not read as its answer.
  bool settling_ = false;
  QElapsedTimer settlingClock_;
  // Children, so that they move with the link to another thread.
  QTimer* deadline_;  // the connection attempt or the answer on the wire
  QTimer* retry_;
  QTimer* quiet_;
};

}  // namespace zen::station
