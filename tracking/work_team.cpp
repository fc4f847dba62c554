// The work team: helpers sleep between pieces of work and are woken by a generation count.
#include "tracking/work_team.h"

#include <chrono>

namespace zen {

namespace {

constexpr std::chrono::milliseconds kWaitingCallInterval{15};

}  // namespace

TWorkTeam::TWorkTeam(int members) {
  for (int member = 1; member < members; ++member) {
    helpers_.emplace_back([this, member] { HelperLoop(member); });
  }
}

TWorkTeam::~TWorkTeam() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

void TWorkTeam::HelperLoop(int member) {
  unsigned seen = 0;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
    if (quit_) return;
    seen = generation_;
    const std::function<void(int)>* work = work_;
    lock.unlock();
    (*work)(member);
    lock.lock();
    if (--running_ == 0) done_.notify_all();
  }
}

void TWorkTeam::Run(const std::function<void(int)>& work,
                    const std::function<void()>& whileWaiting) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    work_ = &work;
    running_ = static_cast<int>(helpers_.size());
    ++generation_;
  }
  wake_.notify_all();
  work(0);
  std::unique_lock<std::mutex> lock(mutex_);
  while (!done_.wait_for(lock, kWaitingCallInterval, [&] { return running_ == 0; })) {
    lock.unlock();
    if (whileWaiting) whileWaiting();
    lock.lock();
  }
}

}  // namespace zen
