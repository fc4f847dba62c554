// A scripted stand-in for a rotator or radio daemon on 127.0.0.1, served from the test's own
// event loop.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>

#include "loopback_server.h"

namespace zen::test {

class TFakeDaemon : private TCoreApplication {
 public:
  // How it meets a connection: served; refused, as a daemon that died; accepted and closed at
  // once; or left unanswered, its backlog full, so that the connection never completes.
  enum class TMode { Serving, Refusing, HangingUp, Unreachable };
  static inline const QByteArray kHangUp = "<hang up>";  // an answer that closes the connection

  TFakeDaemon() {
    clock.start();
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (mode_ == TMode::HangingUp) socket->disconnectFromHost();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          while (socket->canReadLine()) {
            received.append(socket->readLine().chopped(1));
            receivedAtNs.append(clock.nsecsElapsed());
            const QByteArray& line = received.back();
            const QByteArray answer =
                script.contains(line) || !answerer ? script.value(line) : answerer(line);
            if (answer == kHangUp) {
              socket->disconnectFromHost();
            } else if (answerDelayMs > 0) {
              QTimer::singleShot(answerDelayMs, socket,
                                 [socket, answer] { socket->write(answer); });
            } else {
              socket->write(answer);
            }
          }
        });
      }
    });
    SetMode(TMode::Serving);
  }
  quint16 Port() const { return port_; }

  // Drops every connection, then listens (on the port of the last time) as mode says.
  void SetMode(TMode mode) {
    mode_ = mode;
    server_.close();
    filler_.abort();
    qDeleteAll(server_.findChildren<QTcpSocket*>());
    if (mode == TMode::Refusing) return;
    server_.setListenBacklogSize(mode == TMode::Unreachable ? 0 : 50);
    server_.listen(QHostAddress::LocalHost, port_);
    port_ = server_.serverPort();
    if (mode != TMode::Unreachable) return;
    // The kernel queues one connection beyond a backlog of none; the filler takes that place.
    server_.pauseAccepting();
    filler_.connectToHost(QHostAddress::LocalHost, port_);
    filler_.waitForConnected(1000);
  }
  // Text nobody asked for, to every connection.
  void Push(const QByteArray& bytes) {
    for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>()) socket->write(bytes);
  }

  // The answer each line gets; other lines get answerer's, or none without it.
  QHash<QByteArray, QByteArray> script;
  std::function<QByteArray(const QByteArray& line)> answerer;
  // A slow daemon: each answer goes out this long after its line came.
  int answerDelayMs = 0;
  QList<QByteArray> received;
  QList<qint64> receivedAtNs;  // when each line came, on clock
  QElapsedTimer clock;         // started with the daemon

 private:
  QTcpServer server_;
  QTcpSocket filler_;
  quint16 port_ = 0;
  TMode mode_ = TMode::Serving;
};

}  // namespace zen::test
