// An HTTP server on 127.0.0.1 for the update tests: canned answers by path, served from the
// test's own event loop, so no test reaches outside the machine.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QHostAddress>
#include <QSet>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <memory>

namespace zen::test {

// A base, so the application exists before a fixture's sockets do.
struct TCoreApplication {
  TCoreApplication() {
    static int argc = 1;
    static char name[] = "zen_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  }
};

class TLoopbackServer {
 public:
  TLoopbackServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
  }

  bool Listening() const { return server_.isListening(); }
  QString Url(const QString& path, const char* scheme = "http") const {
    return QString::fromLatin1(scheme) + QStringLiteral("://127.0.0.1:") +
           QString::number(server_.serverPort()) + path;
  }
  int Hits(const QString& path) const { return hits_.value(path); }

  // The whole answer (status line, headers, body) sent for path, then the connection closes.
  void Answer(const QString& path, const QByteArray& raw) { answers_[path] = raw; }
  // Requests for path are read and never answered.
  void Hang(const QString& path) { hanging_.insert(path); }
  // Requests for path get head (status line and headers), then piece after piece for as long
  // as the client takes them, at most limit bytes in all; then the connection closes. Only a
  // little is queued at a time, so the server holds no more than a piece or two in memory.
  void Stream(const QString& path, const QByteArray& head, const QByteArray& piece, qint64 limit) {
    streams_[path] = {head, piece, limit};
  }
  // Bytes written to the client for path, head included, of all its requests.
  qint64 Sent(const QString& path) const { return sent_.value(path); }

  static QByteArray Http(int status, const QByteArray& body, const QByteArray& headers = {}) {
    return "HTTP/1.1 " + QByteArray::number(status) +
           " Canned\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n" + headers + "\r\n" + body;
  }

 private:
  void Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      auto request = std::make_shared<QByteArray>();
      QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
        *request += socket->readAll();
        // A TLS greeting to a plain server: answered in plain text, which no handshake takes.
        if (request->startsWith('\x16')) {
          socket->write("HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
          socket->disconnectFromHost();
          return;
        }
        if (!request->contains("\r\n\r\n")) return;
        const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
        const QString path = words.size() > 1 ? QString::fromLatin1(words[1]) : QString();
        request->clear();
        ++hits_[path];
        if (hanging_.contains(path)) return;
        if (streams_.contains(path)) {
          Feed(socket, path);
          return;
        }
        socket->write(answers_.value(path, Http(404, "no such file")));
        socket->disconnectFromHost();
      });
    }
  }

  void Feed(QTcpSocket* socket, const QString& path) {
    const TStream stream = streams_.value(path);
    auto left = std::make_shared<qint64>(stream.limit);
    socket->write(stream.head);
    sent_[path] += stream.head.size();
    auto more = [this, socket, path, stream, left] {
      constexpr qint64 kQueued = 256 * 1024;
      while (*left > 0 && socket->bytesToWrite() < kQueued &&
             socket->state() == QAbstractSocket::ConnectedState) {
        const QByteArray piece = stream.piece.left(std::min<qint64>(*left, stream.piece.size()));
        socket->write(piece);
        *left -= piece.size();
        sent_[path] += piece.size();
      }
      if (*left <= 0) socket->disconnectFromHost();
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
  }

  struct TStream {
    QByteArray head;
    QByteArray piece;
    qint64 limit = 0;
  };

  QTcpServer server_;
  QHash<QString, QByteArray> answers_;
  QSet<QString> hanging_;
  QHash<QString, TStream> streams_;
  QHash<QString, int> hits_;
  QHash<QString, qint64> sent_;
};

}  // namespace zen::test
