// How many satellites the lists hold and show, as the side panel writes it.
#include "tracking/list_counts.h"

#include <cstdlib>

namespace zen {

namespace {

std::string OwnCount(TListTab tab, const TListCounts& c) {
  const bool loaded = tab == TListTab::Loaded;
  const int total = loaded ? c.loaded : c.tracked;
  const int shown = loaded ? c.loadedShown : c.trackedShown;
  return c.filtered ? MatchCountText(shown, total)
                    : CountText(total) + (loaded ? " loaded" : " tracked");
}

}  // namespace

std::string CountText(int count) {
  std::string digits = std::to_string(std::abs(static_cast<long long>(count)));
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<size_t>(at), 1, ',');
  }
  return count < 0 ? "-" + digits : digits;
}

std::string MatchCountText(int shown, int total) {
  return CountText(shown) + " of " + CountText(total);
}

std::string ListCountText(TListTab tab, const TListCounts& c) {
  if (tab == TListTab::Info) return {};
  const bool loaded = tab == TListTab::Loaded;
  std::string text = CountText(loaded ? c.loaded : c.tracked) + (loaded ? " loaded" : " tracked");
  if (c.filtered) {
    text += "; filter: " +
            MatchCountText(loaded ? c.loadedShown : c.trackedShown, loaded ? c.loaded : c.tracked);
  }
  return text;
}

std::string FilterRowCountText(TListTab tab, const TListCounts& c) {
  if (tab == TListTab::Info) return {};
  const TListTab other = tab == TListTab::Loaded ? TListTab::Tracked : TListTab::Loaded;
  const int otherCount = other == TListTab::Loaded ? c.loaded : c.tracked;
  return OwnCount(tab, c) + "\n" + CountText(otherCount) +
         (other == TListTab::Loaded ? " loaded" : " tracked");
}

}  // namespace zen
