// A scripted stand-in for a rotator or radio daemon on 127.0.0.1, served from the test's own
// event loop, and the waiting helpers the station tests share.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <ostream>

// Texts in failure messages as text rather than as arrays of code units.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace zen::test {

// A base, so the application exists before a fixture's sockets do.
struct TCoreApplication {
  TCoreApplication() {
    static int argc = 1;
    static char name[] = "zen_station_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  }
};

// Runs the event loop until done() holds or timeoutMs pass; true when it holds.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 8000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.hasExpired(timeoutMs)) return false;
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

inline void Spin(int ms) {
  WaitUntil([] { return false; }, ms);
}

class TFakeDaemon {
 public:
  // What a command line gets: its bytes after delayMs, then tail after a little longer (text
  // nobody asked for); or no answer at all; or the connection closed.
  struct TReply {
    enum { Answer, Silent, Close } kind = Answer;
    QByteArray bytes;
    int delayMs = 0;
    QByteArray tail;
  };
  static TReply Answer(QByteArray bytes, int delayMs = 0, QByteArray tail = {}) {
    return {TReply::Answer, std::move(bytes), delayMs, std::move(tail)};
  }
  static TReply Silent() { return {TReply::Silent, {}, 0, {}}; }
  static TReply Close() { return {TReply::Close, {}, 0, {}}; }

  TFakeDaemon() {
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
    Start();
  }

  // Listens on the port of the last time (the first time, any free one).
  bool Start() {
    if (!server_.listen(QHostAddress::LocalHost, port_)) return false;
    port_ = server_.serverPort();
    return true;
  }
  // Stops listening and drops every connection, as a daemon that died.
  void Stop() {
    server_.close();
    for (const QPointer<QTcpSocket>& socket : sockets_) {
      if (socket) socket->abort();
    }
    sockets_.clear();
  }
  quint16 Port() const { return port_; }

  // Lines not scripted get no answer, as unknown commands get none from the real daemons.
  void On(const QByteArray& line, TReply reply) { replies_[line] = std::move(reply); }
  void CloseOnAccept(bool close) { closeOnAccept_ = close; }
  // Text nobody asked for, to every connection.
  void Push(const QByteArray& bytes) {
    for (const QPointer<QTcpSocket>& socket : sockets_) {
      if (socket) socket->write(bytes);
    }
  }

  int Connections() const { return connections_; }
  const QList<QByteArray>& Received() const { return received_; }
  // Lines that came while the answer to an earlier one was still owed.
  int Overlaps() const { return overlaps_; }

 private:
  void Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      ++connections_;
      sockets_.append(socket);
      QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      if (closeOnAccept_) {
        socket->disconnectFromHost();
        continue;
      }
      auto owed = std::make_shared<bool>(false);
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, owed] {
        while (socket->canReadLine()) {
          const QByteArray line = socket->readLine().chopped(1);
          received_.append(line);
          if (*owed) ++overlaps_;
          const TReply reply = replies_.value(line, Silent());
          if (reply.kind == TReply::Close) socket->disconnectFromHost();
          if (reply.kind != TReply::Answer) continue;
          *owed = true;
          QTimer::singleShot(reply.delayMs, socket, [socket, owed, reply] {
            *owed = false;
            socket->write(reply.bytes);
            if (!reply.tail.isEmpty()) {
              QTimer::singleShot(10, socket, [socket, reply] { socket->write(reply.tail); });
            }
          });
        }
      });
    }
  }

  QTcpServer server_;
  quint16 port_ = 0;
  bool closeOnAccept_ = false;
  QHash<QByteArray, TReply> replies_;
  QList<QPointer<QTcpSocket>> sockets_;
  QList<QByteArray> received_;
  int connections_ = 0;
  int overlaps_ = 0;
};

}  // namespace zen::test
