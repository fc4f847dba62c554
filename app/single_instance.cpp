// One running program per user: a lock file named "ZenarithMutex" held for the process's life.
#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace zen {

QString DefaultLockFolder() {
  // Without XDG_RUNTIME_DIR Qt makes the user's own folder under /tmp (mode 0700, checked to
  // be the user's), at the price of a warning. The shared /tmp itself would make the lock one
  // per machine: another user's instance, or a stale lock of theirs that this user may not
  // remove, would end every start here silently.
  QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
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
