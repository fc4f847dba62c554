// Typed clients of the rotator's and the radio's daemons.
#include "station/station_clients.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <cmath>
#include <utility>

namespace zen::station {

namespace {

// Beyond any radio, and well inside the range where rounding to a whole number is exact.
constexpr double kHighestHz = 1e12;

// Always with a '.', to the hundredth; never "-0.00", which a daemon need not take for zero.
QByteArray Hundredths(double value) {
  double rounded = std::round(value * 100.0) / 100.0;
  if (rounded == 0.0) rounded = 0.0;
  return QByteArray::number(rounded, 'f', 2);
}

}  // namespace

TRotatorClient::TRotatorClient(QObject* parent)
    : QObject(parent), link_(QStringLiteral("rotator"), this) {}

bool TRotatorClient::Point(double azDeg, double elDeg, std::function<void(const TAnswer&)> done) {
  if (!std::isfinite(azDeg) || !std::isfinite(elDeg)) return false;
  return link_.SendReplacing("P " + Hundredths(azDeg) + ' ' + Hundredths(elDeg), std::move(done));
}

bool TRotatorClient::Park(std::function<void(const TAnswer&)> done) {
  return link_.SendReplacing("K", std::move(done));
}

bool TRotatorClient::ReadPosition() {
  TValueCheck check;
  if (geometry_) {
    check = [geometry = *geometry_](const QStringList& values) {
      const double azDeg = values[0].toDouble();
      const double elDeg = values[1].toDouble();
      const double lowestDeg = LowestAzimuthDeg(geometry.range) - kReadBackSlackDeg;
      const double highestDeg = HighestAzimuthDeg(geometry.range) + kReadBackSlackDeg;
      if (azDeg >= lowestDeg && azDeg <= highestDeg && elDeg >= -kReadBackSlackDeg &&
          elDeg <= HighestElevationDeg(geometry) + kReadBackSlackDeg) {
        return QString();
      }
      return QStringLiteral("outside the rotator's range, azimuth %1 to %2, elevation 0 to %3")
          .arg(LowestAzimuthDeg(geometry.range))
          .arg(HighestAzimuthDeg(geometry.range))
          .arg(HighestElevationDeg(geometry));
    };
  }
  return link_.Send(
      "p", 2,
      [this](const TAnswer& answer) {
        // The link lets through only numbers; a failure has been reported by the link.
        if (answer.ok) emit PositionRead(answer.lines[0].toDouble(), answer.lines[1].toDouble());
      },
      std::move(check));
}

TRigClient::TRigClient(QString device, QObject* parent)
    : QObject(parent), link_(std::move(device), this) {}

bool TRigClient::Tune(double hz, std::function<void(const TAnswer&)> done) {
  if (!(hz >= 0.0 && hz <= kHighestHz)) return false;
  return link_.SendReplacing("F " + QByteArray::number(std::llround(hz)), std::move(done));
}

bool TRigClient::ReadFrequency() {
  return link_.Send("f", 1, [this](const TAnswer& answer) {
    if (answer.ok) emit FrequencyRead(answer.lines[0].toDouble());
  });
}

QString ParseDaemonAddress(const QString& text, quint16 defaultPort, QString& host, quint16& port) {
  const QString address = text.trimmed();
  const QString needs = QStringLiteral("needs HOST:PORT, e.g. localhost:%1").arg(defaultPort);
  QString hostPart;
  QString portPart;
  if (address.startsWith(QLatin1Char('['))) {
    const qsizetype close = address.indexOf(QLatin1Char(']'));
    if (close < 0) return needs;
    hostPart = address.mid(1, close - 1);
    const QString rest = address.mid(close + 1);
    if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':'))) return needs;
    if (QHostAddress(hostPart).protocol() != QAbstractSocket::IPv6Protocol) {
      return QStringLiteral("\"%1\" is not an IPv6 address").arg(hostPart);
    }
    portPart = rest.mid(1);
    if (rest.isEmpty()) portPart = QString::number(defaultPort);
  } else {
    // Two colons or more can only be an IPv6 address, whose port would be ambiguous.
    if (address.count(QLatin1Char(':')) > 1) {
      return QStringLiteral("an IPv6 address goes in brackets, e.g. [::1]:%1").arg(defaultPort);
    }
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    hostPart = colon < 0 ? address : address.left(colon);
    portPart = colon < 0 ? QString::number(defaultPort) : address.mid(colon + 1);
    static const QRegularExpression kHostName(QStringLiteral("^[A-Za-z0-9._-]+$"));
    if (hostPart.isEmpty()) return needs;
    if (!kHostName.match(hostPart).hasMatch()) {
      return QStringLiteral("\"%1\" is not a host name or address").arg(hostPart);
    }
  }
  static const QRegularExpression kDigits(QStringLiteral("^[0-9]{1,5}$"));
  const int portNumber = kDigits.match(portPart).hasMatch() ? portPart.toInt() : 0;
  if (portNumber < 1 || portNumber > 65535) {
    return QStringLiteral("the port must be a whole number from 1 to 65535, not \"%1\"")
        .arg(portPart);
  }
  host = hostPart;
  port = quint16(portNumber);
  return {};
}

}  // namespace zen::station
