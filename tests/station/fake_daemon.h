// The scripted stand-in for a rotator or radio daemon, and the waiting helpers the station tests
// share.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <functional>
#include <ostream>

#include "station/fake_daemon_server.h"

// Texts in failure messages as text rather than as arrays of code units.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace zen::test {

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

}  // namespace zen::test
