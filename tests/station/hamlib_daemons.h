// The daemons of Hamlib with their dummy devices (model 1), started on a free port of
// 127.0.0.1 for one test and killed when it ends.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTcpServer>
#include <memory>

namespace zen::test {

// A port nothing listens on now (the probe lets it go again).
inline quint16 FreePort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

// One daemon with its dummy device on 127.0.0.1; killed when the test ends.
class TDaemonProcess {
 public:
  TDaemonProcess(const char* name, quint16 port)
      : program_(QStandardPaths::findExecutable(QString::fromLatin1(name))), port_(port) {}
  bool Installed() const { return !program_.isEmpty(); }
  bool Start() {
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->start(program_, {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port_)});
    return process_->waitForStarted();
  }
  void Kill() {
    process_->kill();
    process_->waitForFinished();
  }
  ~TDaemonProcess() {
    if (process_ && process_->state() != QProcess::NotRunning) Kill();
  }

 private:
  QString program_;
  quint16 port_;
  std::unique_ptr<QProcess> process_;
};

}  // namespace zen::test
