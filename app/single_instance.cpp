// One running program per user: a lock file named "ZenarithMutex" held for the process's life.
#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace zen {

QString DefaultLockFolder() {
  // Asking for the runtime folder without XDG_RUNTIME_DIR only earns a warning and a made-up
  // folder under /tmp; the temporary folder says the same without the noise.
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) return runtime;
  }
  return QDir::tempPath();
}

TSingleInstance::TResult TSingleInstance::Acquire(const QString& lockFolder) {
  lockPath_ = QDir(lockFolder).filePath(QString::fromLatin1(kInstanceLockName));
  lock_ = std::make_unique<QLockFile>(lockPath_);
  // A lock is stale only when its process has gone, never merely because it is old: the
  // first instance may run for weeks.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) return TResult::Acquired;
  TResult result =
      lock_->error() == QLockFile::LockFailedError ? TResult::HeldElsewhere : TResult::Unavailable;
  lock_.reset();
  return result;
}

}  // namespace zen
