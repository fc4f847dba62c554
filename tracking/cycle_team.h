// A few threads kept by the compute cycle to share one tick's satellites with the thread that
// runs the cycle. Started once and kept: a tick neither starts a thread nor allocates.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace zen {

class TCycleTeam {
 public:
  // members counts the calling thread: members - 1 threads are started.
  explicit TCycleTeam(int members);
  ~TCycleTeam();
  TCycleTeam(const TCycleTeam&) = delete;
  TCycleTeam& operator=(const TCycleTeam&) = delete;

  int Members() const { return static_cast<int>(helpers_.size()) + 1; }

  // Calls piece(k) once for every k in [0, pieces), the calling thread and the helpers each
  // taking the next piece not yet taken, and returns when all are done. A helper the system
  // wakes late simply takes fewer pieces.
  template <class TPiece>
  void Share(int pieces, TPiece& piece) {
    Run(pieces, [](void* context, int k) { (*static_cast<TPiece*>(context))(k); }, &piece);
  }

 private:
  using TPieceCall = void (*)(void* context, int piece);

  void Run(int pieces, TPieceCall call, void* context);
  void TakePieces();
  void HelperLoop();

  std::vector<std::thread> helpers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  unsigned generation_ = 0;  // one more for every Run; helpers wait for it to change
  int busyHelpers_ = 0;
  bool quit_ = false;
  TPieceCall call_ = nullptr;
  void* context_ = nullptr;
  int pieces_ = 0;
  std::atomic<int> nextPiece_{0};
};

}  // namespace zen
