// What the tests of the whole station share: the ISS of a reference element file, a pass of it
// that rises near north (which the dummy rotator, turning some six degrees a second from 0,
// reaches quickly in the -180..180 range), and a daemon's own answer to a read command.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <string>

#include "core/catalog.h"
#include "station/pass_window.h"

namespace zen::test {

inline constexpr const char* kIssElementFile =
    ZEN_SOURCE_DIR "/tests/data/tle/amateur_2025-04-29.tle";
// Midnight (UTC) of the file's epoch day.
inline constexpr double kIssEpochDayJd = 2460794.5;

inline TElements IssElements() {
  TCatalog catalog;
  TElements found;
  catalog.ReadEverySet(kIssElementFile, [&found](const std::string&, const TCatalogSet& set) {
    if (set.number == 25544) found = set.elements;
  });
  return found;
}

// Of the passes of the five days from the epoch day, the one rising nearest to north.
inline station::TPassWindow PassRisingNearestNorth(const station::TLookAt& lookAt) {
  station::TPassWindow best;
  double bestOffNorthDeg = 360.0;
  for (station::TPassWindow pass = station::FindPass(lookAt, kIssEpochDayJd, 0.0);
       pass.Valid() && pass.riseJd < kIssEpochDayJd + 5.0;
       pass = station::FindPass(lookAt, pass.setJd + 60.0 / 86400.0, 0.0)) {
    const double az = lookAt(pass.riseJd).azDeg;
    if (std::min(az, 360.0 - az) < bestOffNorthDeg) {
      best = pass;
      bestOffNorthDeg = std::min(az, 360.0 - az);
    }
  }
  return best;
}

// The daemon's own answer lines to a read command ("p", "f"); fewer when it does not answer
// within three seconds.
inline QList<QByteArray> AskDaemon(quint16 port, const QByteArray& command, int lines) {
  QTcpSocket socket;
  socket.connectToHost(QStringLiteral("127.0.0.1"), port);
  QList<QByteArray> answer;
  if (!socket.waitForConnected(2000)) return answer;
  socket.write(command + "\n");
  QElapsedTimer clock;
  clock.start();
  while (answer.size() < lines && !clock.hasExpired(3000)) {
    socket.waitForReadyRead(100);
    while (socket.canReadLine()) answer << socket.readLine().trimmed();
  }
  return answer;
}

}  // namespace zen::test
