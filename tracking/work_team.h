// A fixed team of threads that run one piece of work after another, the calling thread
// among them.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zen {

class TWorkTeam {
 public:
  // members counts the calling thread: members - 1 threads are started.
  explicit TWorkTeam(int members);
  ~TWorkTeam();
  TWorkTeam(const TWorkTeam&) = delete;
  TWorkTeam& operator=(const TWorkTeam&) = delete;

  int Members() const { return static_cast<int>(helpers_.size()) + 1; }

  // Runs work(member) on every member at once, the calling thread as member 0, and returns
  // when all have returned. While the caller waits for the others it calls whileWaiting
  // every few milliseconds (on the calling thread).
  void Run(const std::function<void(int member)>& work, const std::function<void()>& whileWaiting);

 private:
  void HelperLoop(int member);

  std::vector<std::thread> helpers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  const std::function<void(int)>* work_ = nullptr;
  unsigned generation_ = 0;
  int running_ = 0;
  bool quit_ = false;
};

}  // namespace zen
