// One running program per user: a lock file named "ZenarithMutex" held for the process's life.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace zen {

inline constexpr const char* kInstanceLockName = "ZenarithMutex";

// The user's runtime folder (XDG_RUNTIME_DIR, else one of the user's own under /tmp), or the
// temporary folder where none can be made.
QString DefaultLockFolder();

class TSingleInstance {
 public:
  enum class TResult { Acquired, HeldElsewhere, Unavailable, Invalid };

  // HeldElsewhere: a running instance holds the lock. Unavailable: the lock cannot be made at
  // all (folder not writable or full); the program then runs without the guard rather than not
  // at all, and Problem() says so. Invalid: something that is no lock stands at its name (a
  // folder, a link, a named pipe, or a file that cannot be replaced); Problem() names it and how
  // to remove it. An empty or garbage file that no process holds is replaced.
  TResult Acquire(const QString& lockFolder);
  QString LockPath() const { return lockPath_; }
  // What the user is to be told after Unavailable or Invalid.
  const QString& Problem() const { return problem_; }

 private:
  QString lockPath_;
  QString problem_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace zen
