// One running program per user: a lock file named "ZenarithMutex" held for the process's life.
#include "app/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QStandardPaths>

namespace zen {

namespace {

// What stands at the lock's name when it is not a plain file; empty for a plain file or for
// nothing at all.
QString OtherThanFile(const QString& path) {
  struct stat status {};
  if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return QString();
  if (S_ISREG(status.st_mode)) return QString();
  if (S_ISDIR(status.st_mode)) return QStringLiteral("a folder");
  if (S_ISLNK(status.st_mode)) return QStringLiteral("a symbolic link");
  return QStringLiteral("not a regular file");
}

// True when no process holds the lock file at path: a running instance keeps an exclusive
// lock on it for its whole life, which ends with the process however it ends.
bool NobodyHolds(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(),
                        O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

QString RemoveAdvice(const QString& path, bool folder) {
  return QStringLiteral("Remove it (%1 '%2') and start the program again.")
      .arg(folder ? QStringLiteral("rm -r") : QStringLiteral("rm"), path);
}

}  // namespace

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
  problem_.clear();
  for (int attempt = 0; attempt < 2; ++attempt) {
    // What is no plain file is refused before the lock looks at it: reading who holds a named
    // pipe would wait for a writer for ever.
    const QString other = OtherThanFile(lockPath_);
    if (!other.isEmpty()) {
      problem_ = QStringLiteral("The lock file %1 is %2, not a lock. %3")
                     .arg(lockPath_, other, RemoveAdvice(lockPath_, other == "a folder"));
      return TResult::Invalid;
    }
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock is stale only when its process has gone, never merely because it is old: the
    // first instance may run for weeks.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return TResult::Acquired;
    const QLockFile::LockError error = lock_->error();
    lock_.reset();
    if (error != QLockFile::LockFailedError) {
      problem_ = QStringLiteral("Cannot make the lock file %1 (%2), which keeps a second copy of "
                                "the program from using the same files at once. The program "
                                "runs without it: do not start it twice.")
                     .arg(lockPath_, error == QLockFile::PermissionError
                                         ? QStringLiteral("no permission, or no room left")
                                         : QStringLiteral("an unknown error"));
      return TResult::Unavailable;
    }
    // A plain file is there. A running instance's lock says who holds it; anything else is no
    // lock at all, and would end every start silently.
    qint64 pid = 0;
    QString host;
    QString application;
    if (QLockFile(lockPath_).getLockInfo(&pid, &host, &application)) return TResult::HeldElsewhere;
    // Empty or garbage. A starting instance holds its file from the moment it makes it, before
    // it writes who it is; a file nobody holds is left over, and is replaced.
    if (!NobodyHolds(lockPath_)) return TResult::HeldElsewhere;
    if (!QFile::remove(lockPath_)) {
      problem_ = QStringLiteral("The lock file %1 is not a valid lock and cannot be removed. %2")
                     .arg(lockPath_, RemoveAdvice(lockPath_, false));
      return TResult::Invalid;
    }
  }
  problem_ = QStringLiteral("The lock file %1 is not a valid lock. %2")
                 .arg(lockPath_, RemoveAdvice(lockPath_, false));
  return TResult::Invalid;
}

}  // namespace zen
