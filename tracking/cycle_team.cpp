// The cycle's team: the pieces of a tick are handed out by one atomic counter.
#include "tracking/cycle_team.h"

namespace zen {

void TCycleTeam::TShare::TakePieces() {
  for (int k = next.fetch_add(1, std::memory_order_relaxed); k < pieces;
       k = next.fetch_add(1, std::memory_order_relaxed)) {
    call(context, k);
  }
}

}  // namespace zen
