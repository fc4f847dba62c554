// A few threads kept by the compute cycle to share one tick's satellites with the thread that
// runs the cycle. Started once and kept: a tick neither starts a thread nor allocates.
#pragma once

#include <atomic>
#include <functional>

#include "tracking/work_team.h"

namespace zen {

class TCycleTeam {
 public:
  // members counts the calling thread: members - 1 threads are started.
  explicit TCycleTeam(int members) : team_(members) {}

  int Members() const { return team_.Members(); }

  // Calls piece(k) once for every k in [0, pieces), the calling thread and the helpers each
  // taking the next piece not yet taken, and returns when all are done. A helper the system
  // wakes late simply takes fewer pieces.
  template <class TPiece>
  void Share(int pieces, TPiece& piece) {
    TShare share{pieces, [](void* context, int k) { (*static_cast<TPiece*>(context))(k); },
                 &piece};
    // One pointer captured: the work fits the function's own storage and allocates nothing.
    const std::function<void(int)> work = [s = &share](int) { s->TakePieces(); };
    team_.Run(work, nullptr);
  }

 private:
  struct TShare {
    int pieces;
    void (*call)(void* context, int piece);
    void* context;
    std::atomic<int> next{0};
    void TakePieces();
  };

  TWorkTeam team_;
};

}  // namespace zen
