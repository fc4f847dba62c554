// Typed clients of the rotator's and the radio's daemons, each over its own link, and the
// daemon address as the user writes it.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "station/daemon_link.h"

namespace zen::station {

inline constexpr quint16 kRotatorDaemonPort = 4533;
inline constexpr quint16 kRigDaemonPort = 4532;

class TRotatorClient : public QObject {
  Q_OBJECT

 public:
  explicit TRotatorClient(QObject* parent = nullptr);

  TDaemonLink& Link() { return link_; }

  // Each returns false when not sent (link not up, too many waiting, or a value that is not a
  // number); done then never runs. Angles go out to the hundredth of a degree.
  bool Point(double azDeg, double elDeg, std::function<void(bool ok)> done = {});
  bool Park(std::function<void(bool ok)> done = {});
  bool ReadPosition();  // answered by PositionRead

 signals:
  void PositionRead(double azDeg, double elDeg);

 private:
  TDaemonLink link_;  // a child as well, so that it moves with the client to another thread
};

class TRigClient : public QObject {
  Q_OBJECT

 public:
  explicit TRigClient(QString device = QStringLiteral("radio"), QObject* parent = nullptr);

  TDaemonLink& Link() { return link_; }

  // The frequency goes out in whole hertz, rounded; false as for the rotator, and for a
  // frequency below zero or beyond any radio.
  bool Tune(double hz, std::function<void(bool ok)> done = {});
  bool ReadFrequency();  // answered by FrequencyRead

 signals:
  void FrequencyRead(double hz);

 private:
  TDaemonLink link_;  // a child as well, so that it moves with the client to another thread
};

// "host:port" text → parts; a bare host takes defaultPort; an IPv6 address goes in brackets,
// "[::1]:4533". Returns an empty text, or what is wrong; host and port change only on success.
QString ParseDaemonAddress(const QString& text, quint16 defaultPort, QString& host, quint16& port);

}  // namespace zen::station
