// The cycle's team: helpers sleep between ticks and are woken by a generation count; the
// pieces of a tick are handed out by one atomic counter.
#include "tracking/cycle_team.h"

namespace zen {

TCycleTeam::TCycleTeam(int members) {
  for (int member = 1; member < members; ++member) {
    helpers_.emplace_back([this] { HelperLoop(); });
  }
}

TCycleTeam::~TCycleTeam() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

void TCycleTeam::TakePieces() {
  for (int k = nextPiece_.fetch_add(1, std::memory_order_relaxed); k < pieces_;
       k = nextPiece_.fetch_add(1, std::memory_order_relaxed)) {
    call_(context_, k);
  }
}

void TCycleTeam::HelperLoop() {
  unsigned seen = 0;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
    if (quit_) return;
    seen = generation_;
    lock.unlock();
    TakePieces();
    lock.lock();
    if (--busyHelpers_ == 0) done_.notify_one();
  }
}

void TCycleTeam::Run(int pieces, TPieceCall call, void* context) {
  {
    // The mutex orders the work's description before any helper reads it, and everything
    // the helpers wrote before the caller reads it.
    std::lock_guard<std::mutex> lock(mutex_);
    call_ = call;
    context_ = context;
    pieces_ = pieces;
    nextPiece_.store(0, std::memory_order_relaxed);
    busyHelpers_ = static_cast<int>(helpers_.size());
    ++generation_;
  }
  wake_.notify_all();
  TakePieces();
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [&] { return busyHelpers_ == 0; });
}

}  // namespace zen
