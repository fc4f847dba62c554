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
  enum class TResult { Acquired, HeldElsewhere, Unavailable };

  // Unavailable: the lock cannot be made at all (folder not writable); the program then runs
  // without the guard rather than not at all.
  TResult Acquire(const QString& lockFolder);
  QString LockPath() const { return lockPath_; }

 private:
  QString lockPath_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace zen
