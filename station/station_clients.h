// Typed clients of the rotator's and the radio's daemons, each over its own link, and the
// daemon address as the user writes it.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "station/daemon_link.h"
#include "station/rotator_path.h"

namespace zen::station {

inline constexpr quint16 kRotatorDaemonPort = 4533;
inline constexpr quint16 kRigDaemonPort = 4532;

class TRotatorClient : public QObject {
  Q_OBJECT

 public:
  explicit TRotatorClient(QObject* parent = nullptr);

  TDaemonLink& Link() { return link_; }

  // Each returns false when not sent (link not up, too many waiting, or a value that is not a
  // number); done then never runs. Angles go out to the hundredth of a degree. A move replaces
  // one that has not gone out yet, whose done then never runs either.
  bool Point(double azDeg, double elDeg, std::function<void(const TAnswer&)> done = {});
  bool Park(std::function<void(const TAnswer&)> done = {});
  bool ReadPosition();  // answered by PositionRead
  // A position read back more than kReadBackSlackDeg outside this rotator's range is garbage,
  // as a wrong answer is. Until this is called every position is taken.
  void SetGeometry(const TRotatorGeometry& geometry) { geometry_ = geometry; }

 signals:
  void PositionRead(double azDeg, double elDeg);

 private:
  TDaemonLink link_;  // a child as well, so that it moves with the client to another thread
  std::optional<TRotatorGeometry> geometry_;
};

// How far a rotator may report itself outside its range: its own readings overshoot a little.
inline constexpr double kReadBackSlackDeg = 2.0;

class TRigClient : public QObject {
  Q_OBJECT

 public:
  explicit TRigClient(QString device = QStringLiteral("radio"), QObject* parent = nullptr);

  TDaemonLink& Link() { return link_; }

  // The frequency goes out in whole hertz, rounded; false as for the rotator, and for a
  // frequency below zero or beyond any radio. It replaces a frequency not sent yet.
  bool Tune(double hz, std::function<void(const TAnswer&)> done = {});
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
