// One line-protocol connection to a rotator or radio daemon.
#include "station/daemon_link.h"

#include <QNetworkProxy>
#include <QPointer>
#include <QTcpSocket>
#include <algorithm>
#include <cmath>
#include <utility>

#include "station/daemon_report.h"

namespace zen::station {

namespace {

// How long the line must stay quiet after a refusal before the next command goes out.
constexpr int kQuietMs = 100;
// The most of a bad answer line a message quotes.
constexpr int kQuotedBytes = 40;

// "1 s", "30 s"; the shortened waits of tests as "0.02 s".
QString Seconds(int ms) {
  return (ms % 1000 == 0 ? QString::number(ms / 1000) : QString::number(ms / 1000.0, 'g', 3)) +
         QStringLiteral(" s");
}

// A line as a message may quote it: cut short, and only printable ASCII, since it may be any
// bytes at all.
QString Quoted(const QByteArray& line) {
  QByteArray shown = line.left(kQuotedBytes);
  for (char& c : shown) {
    if (c < ' ' || c > '~') c = '?';
  }
  if (line.size() > kQuotedBytes) shown += "...";
  return QLatin1Char('"') + QString::fromLatin1(shown) + QLatin1Char('"');
}

bool IsNumber(const QByteArray& text) {
  bool ok = false;
  const double value = text.toDouble(&ok);
  return ok && std::isfinite(value);
}

// The daemons' short commands: an upper-case letter sets, a lower-case one gets.
bool IsSetCommand(const QByteArray& command) {
  return command.front() >= 'A' && command.front() <= 'Z';
}

}  // namespace

TDaemonLink::TDaemonLink(QString device, QObject* parent)
    : QObject(parent),
      device_(std::move(device)),
      deadline_(new QTimer(this)),
      retry_(new QTimer(this)),
      quiet_(new QTimer(this)) {
  for (QTimer* timer : {deadline_, retry_, quiet_}) timer->setSingleShot(true);
  // A coarse timer may fire 5% early: a slow answer would be called missing before its time.
  deadline_->setTimerType(Qt::PreciseTimer);
  connect(deadline_, &QTimer::timeout, this, &TDaemonLink::OnDeadline);
  connect(retry_, &QTimer::timeout, this, &TDaemonLink::Connect);
  connect(quiet_, &QTimer::timeout, this, &TDaemonLink::OnQuietEnough);
}

TDaemonLink::~TDaemonLink() {
  DropSocket();
}

QString TDaemonLink::Address() const {
  const QString host = host_.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host_) : host_;
  return host + QLatin1Char(':') + QString::number(port_);
}

QString TDaemonLink::Name() const {
  return QStringLiteral("%1 at %2").arg(device_, Address());
}

QString TDaemonLink::Prefix() const {
  return Name() + QStringLiteral(": ");
}

void TDaemonLink::Open(const QString& host, quint16 port) {
  QPointer<TDaemonLink> guard(this);
  if (state_ != TLinkState::Off) Close();
  if (!guard) return;
  host_ = host;
  port_ = port;
  lastError_.clear();
  failedSinceUp_ = false;
  repeats_.clear();
  retryWaitMs_ = 0;
  nextRetryWaitMs_ = timing_.firstRetryMs;
  Connect();
}

void TDaemonLink::Close() {
  retry_->stop();
  deadline_->stop();
  quiet_->stop();
  settling_ = false;
  DropSocket();
  buffer_.clear();
  retryWaitMs_ = 0;
  std::deque<TCommand> waiting;
  waiting.swap(queue_);
  QPointer<TDaemonLink> guard(this);
  SetState(TLinkState::Off);
  const QString message = Prefix() + QStringLiteral("disconnected");
  for (TCommand& command : waiting) {
    if (!guard) return;
    if (command.done) command.done({false, {}, message});
  }
  if (guard && !waiting.empty()) EmitDrainedIfIdle();
}

void TDaemonLink::Connect() {
  DropSocket();
  buffer_.clear();
  QPointer<TDaemonLink> guard(this);
  SetState(TLinkState::Connecting);
  if (!guard || state_ != TLinkState::Connecting) return;
  socket_ = new QTcpSocket(this);
  // A daemon on the station's network is never reached through a web proxy.
  socket_->setProxy(QNetworkProxy::NoProxy);
  connect(socket_, &QTcpSocket::connected, this, &TDaemonLink::OnConnected);
  connect(socket_, &QTcpSocket::readyRead, this, &TDaemonLink::OnReadyRead);
  connect(socket_, &QTcpSocket::errorOccurred, this, &TDaemonLink::OnSocketError);
  connect(socket_, &QTcpSocket::disconnected, this, &TDaemonLink::OnSocketError);
  deadline_->start(timing_.answerTimeoutMs);
  socket_->connectToHost(host_, port_);
}

void TDaemonLink::DropSocket() {
  QTcpSocket* socket = std::exchange(socket_, nullptr);
  if (socket == nullptr) return;
  socket->disconnect(this);
  socket->abort();
  // It may be the sender of the signal being handled.
  socket->deleteLater();
}

void TDaemonLink::SetState(TLinkState state) {
  if (state_ == state) return;
  state_ = state;
  emit StateChanged(state);
}

void TDaemonLink::OnConnected() {
  deadline_->stop();
  // Commands are single short lines: each should leave at once, not wait to fill a segment.
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  const bool again = std::exchange(failedSinceUp_, false);
  QPointer<TDaemonLink> guard(this);
  SetState(TLinkState::Up);
  if (guard && again) emit Restored(Prefix() + QStringLiteral("connected again"));
  if (guard) SendNext();
}

void TDaemonLink::OnSocketError() {
  switch (socket_->error()) {
    case QAbstractSocket::ConnectionRefusedError:
      Fail(QStringLiteral("connection refused"));
      break;
    case QAbstractSocket::RemoteHostClosedError:
    case QAbstractSocket::UnknownSocketError:  // disconnected without an error
      Fail(QStringLiteral("the daemon closed the connection"));
      break;
    case QAbstractSocket::HostNotFoundError:
      Fail(QStringLiteral("host not found"));
      break;
    default:
      Fail(socket_->errorString());
      break;
  }
}

bool TDaemonLink::Send(const QByteArray& command, int answerLines,
                       std::function<void(const TAnswer&)> done, TValueCheck check) {
  if (state_ != TLinkState::Up || int(queue_.size()) >= kMostWaitingCommands) return false;
  if (command.isEmpty() || command.contains('\n') || command.contains('\r')) return false;
  const bool sets = IsSetCommand(command);
  if (answerLines < 1 || (sets && answerLines != 1)) return false;
  queue_.push_back({command, answerLines, sets, false, {}, std::move(done), std::move(check)});
  SendNext();
  return true;
}

bool TDaemonLink::SendReplacing(const QByteArray& command,
                                std::function<void(const TAnswer&)> done) {
  if (state_ != TLinkState::Up || command.isEmpty() || !IsSetCommand(command)) return false;
  if (command.contains('\n') || command.contains('\r')) return false;
  const auto stale = [](const TCommand& waiting) { return waiting.sets && !waiting.onWire; };
  const auto first = std::find_if(queue_.begin(), queue_.end(), stale);
  if (first == queue_.end()) return Send(command, 1, std::move(done));
  first->line = command;
  first->done = std::move(done);
  queue_.erase(std::remove_if(std::next(first), queue_.end(), stale), queue_.end());
  return true;
}

bool TDaemonLink::SetWaiting() const {
  return std::any_of(queue_.begin(), queue_.end(),
                     [](const TCommand& command) { return command.sets; });
}

void TDaemonLink::DropUnsentReads() {
  const size_t before = queue_.size();
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                              [](const TCommand& c) { return !c.sets && !c.onWire; }),
               queue_.end());
  if (queue_.size() != before) EmitDrainedIfIdle();
}

void TDaemonLink::EmitDrainedIfIdle() {
  if (queue_.empty()) emit Drained();
}

void TDaemonLink::SendNext() {
  if (state_ != TLinkState::Up || settling_ || queue_.empty() || queue_.front().onWire) return;
  // Whatever came since the last answer was not asked for.
  buffer_.clear();
  queue_.front().onWire = true;
  socket_->write(queue_.front().line + '\n');
  deadline_->start(timing_.answerTimeoutMs);
}

void TDaemonLink::OnReadyRead() {
  buffer_ += socket_->readAll();
  if (settling_) {
    buffer_.clear();
    if (settlingClock_.hasExpired(timing_.answerTimeoutMs)) {
      Fail(QStringLiteral("the daemon keeps writing text nobody asked for"));
    } else {
      quiet_->start(kQuietMs);
    }
    return;
  }
  if (queue_.empty() || !queue_.front().onWire) {
    buffer_.clear();
    return;
  }
  ReadAnswer();
}

void TDaemonLink::ReadAnswer() {
  for (qsizetype end = buffer_.indexOf('\n'); end >= 0; end = buffer_.indexOf('\n')) {
    const QByteArray line = buffer_.left(end).trimmed();
    buffer_.remove(0, end + 1);
    if (line.isEmpty()) continue;
    TCommand& command = queue_.front();
    const auto unexpected = [&] {
      Fail(QStringLiteral("unexpected answer to \"%1\": %2")
               .arg(QString::fromLatin1(command.line), Quoted(line)));
    };
    if (line.startsWith("RPRT")) {
      bool number = false;
      const int code = line.mid(4).trimmed().toInt(&number);
      // A get command answers its values, never a bare success.
      if (!number || (code == 0 && !command.sets)) return unexpected();
      if (code == 0) return Finish({true, {}, {}});
      // The daemon is there and working; only the command failed, so the link stays up.
      const QString message = Prefix() + QLatin1Char('"') + QString::fromLatin1(command.line) +
                              QStringLiteral("\": ") + ReportText(code);
      lastError_ = message;
      const QString said = RefusalToSay(command.line, code, message);
      settling_ = true;
      settlingClock_.start();
      quiet_->start(kQuietMs);
      QPointer<TDaemonLink> guard(this);
      Finish({false, {}, message});
      if (guard && !said.isEmpty()) emit Failed(said);
      return;
    }
    if (command.sets || !IsNumber(line)) return unexpected();
    command.values.append(QString::fromLatin1(line));
    if (command.values.size() == command.answerLines) {
      const QString wrong = command.check ? command.check(command.values) : QString();
      if (!wrong.isEmpty()) {
        return Fail(QStringLiteral("unexpected answer to \"%1\": \"%2\" (%3)")
                        .arg(QString::fromLatin1(command.line),
                             command.values.join(QLatin1Char(' ')), wrong));
      }
      return Finish({true, std::move(command.values), {}});
    }
  }
  if (buffer_.size() > kLongestLineBytes) {
    Fail(QStringLiteral("an answer line longer than %1 bytes").arg(kLongestLineBytes));
  }
}

void TDaemonLink::Finish(const TAnswer& answer) {
  deadline_->stop();
  TCommand command = std::move(queue_.front());
  queue_.pop_front();
  // What follows a complete answer was not asked for.
  buffer_.clear();
  // Only a good reading shows the daemon working: one that takes every command but answers
  // readings with garbage would otherwise be reconnected without the waits growing.
  if (answer.ok && !command.sets) nextRetryWaitMs_ = timing_.firstRetryMs;
  QPointer<TDaemonLink> guard(this);
  if (command.done) command.done(answer);
  if (!guard) return;
  SendNext();
  EmitDrainedIfIdle();
}

QString TDaemonLink::RefusalToSay(const QByteArray& command, int code, const QString& message) {
  const qsizetype blank = command.indexOf(' ');
  const QString key = QString::fromLatin1(blank < 0 ? command : command.left(blank)) +
                      QLatin1Char(' ') + QString::number(code);
  TRepeat& repeat = repeats_[key];
  ++repeat.count;
  if (repeat.said.isValid() && !repeat.said.hasExpired(timing_.repeatReportMs)) return {};
  QString said = message;
  if (repeat.count > 1) {
    said += QStringLiteral("; %1 times since the last report").arg(repeat.count);
  }
  repeat.count = 0;
  repeat.said.start();
  return said;
}

void TDaemonLink::OnDeadline() {
  if (state_ == TLinkState::Connecting) {
    Fail(QStringLiteral("no connection within %1").arg(Seconds(timing_.answerTimeoutMs)));
  } else if (state_ == TLinkState::Up && !queue_.empty() && queue_.front().onWire) {
    Fail(QStringLiteral("no answer to \"%1\" within %2")
             .arg(QString::fromLatin1(queue_.front().line), Seconds(timing_.answerTimeoutMs)));
  }
}

void TDaemonLink::OnQuietEnough() {
  settling_ = false;
  SendNext();
}

void TDaemonLink::Fail(const QString& reason) {
  DropSocket();
  deadline_->stop();
  quiet_->stop();
  settling_ = false;
  buffer_.clear();
  retryWaitMs_ = std::min(nextRetryWaitMs_, timing_.longestRetryMs);
  nextRetryWaitMs_ =
      retryWaitMs_ > timing_.longestRetryMs / 2 ? timing_.longestRetryMs : retryWaitMs_ * 2;
  const QString failure = Prefix() + reason;
  failedSinceUp_ = true;
  lastError_ = failure + QStringLiteral("; trying again in ") + Seconds(retryWaitMs_);
  std::deque<TCommand> waiting;
  waiting.swap(queue_);
  retry_->start(retryWaitMs_);
  QPointer<TDaemonLink> guard(this);
  SetState(TLinkState::Retrying);
  if (!guard) return;
  emit Failed(lastError_);
  for (TCommand& command : waiting) {
    if (!guard) return;
    if (command.done) command.done({false, {}, failure});
  }
  if (guard && !waiting.empty()) EmitDrainedIfIdle();
}

}  // namespace zen::station
