// The catalogue of loaded element sets, the tracked list and the active satellite.
#include "tracking/satellite_list.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "core/alpha5.h"

namespace zen {

TListButtonText ListButtonText(TListTab tab) {
  switch (tab) {
    case TListTab::Loaded:
      return {"&Start track", "Track selected sats"};
    case TListTab::Tracked:
      return {"&Stop track", "Stop tracking selected sats"};
    case TListTab::Info:
      return {"&Show next", "Toggle active sat"};
  }
  return {"", ""};
}

std::string StoredFileName(const std::filesystem::path& file,
                           const std::filesystem::path& programFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path full = fs::weakly_canonical(fs::absolute(file, ec), ec);
  fs::path home = fs::weakly_canonical(fs::absolute(programFolder, ec), ec);
  fs::path relative = full.lexically_relative(home);
  if (!relative.empty() && *relative.begin() != ".." && relative.is_relative()) {
    return relative.generic_string();
  }
  return full.generic_string();
}

std::filesystem::path ExpandFileName(const std::string& stored,
                                     const std::filesystem::path& programFolder) {
  std::string name = stored;
  std::replace(name.begin(), name.end(), '\\', '/');
  std::filesystem::path p(name);
  if (p.is_absolute()) return p;
  return (programFolder / p).lexically_normal();
}

TCatalogRead ReadCatalog(const std::filesystem::path& file, std::atomic<uint64_t>* bytesRead) {
  TCatalogRead read;
  if (file.empty()) return read;
  read.catalog->BytesRead = bytesRead;
  try {
    read.count = read.catalog->ReadElementFile(file);
  } catch (const std::exception& error) {
    // An unreadable file leaves an empty catalogue; the caller may tell the user why.
    read.catalog = std::make_unique<TCatalog>();
    read.count = 0;
    read.error = error.what();
  }
  read.catalog->BytesRead = nullptr;
  return read;
}

TTrackedView TSatelliteList::zapodawajSatelity(const std::filesystem::path& programFolder,
                                               std::string* readError) {
  const std::filesystem::path file =
      TleFileName.empty() ? std::filesystem::path() : ExpandFileName(TleFileName, programFolder);
  return TakeCatalog(ReadCatalog(file), readError);
}

TTrackedView TSatelliteList::TakeCatalog(TCatalogRead read, std::string* readError) {
  TrackedCount = 0;
  InfoShownSat = -1;
  ActiveSat = 0;
  ++CatalogGeneration;
  if (readError != nullptr) *readError = read.error;
  Catalog.Swap(*read.catalog);
  LoadedCount = read.count;
  Catalog.CatalogFlags.assign(static_cast<size_t>(LoadedCount) + 1, 0);
  TrackedSats.assign(static_cast<size_t>(LoadedCount) + 1, TSatState{});
  // Settings name satellites by number: "5", "00005" and "A0000" find the sets they mean, and
  // text order never matters.
  std::vector<int64_t> trackedNumbers;
  trackedNumbers.reserve(TrackedIds.size());
  for (const std::string& id : TrackedIds) {
    if (std::optional<int64_t> number = CatalogNumberOfText(id)) trackedNumbers.push_back(*number);
  }
  std::sort(trackedNumbers.begin(), trackedNumbers.end());
  const std::optional<int64_t> activeNumber = CatalogNumberOfText(ActiveId);
  for (int i = 1; i <= LoadedCount; ++i) {
    const int64_t number = Catalog.CatalogElements[static_cast<size_t>(i)].number;
    if (number >= 0 && std::binary_search(trackedNumbers.begin(), trackedNumbers.end(), number)) {
      if (activeNumber == number) ActiveSat = TrackedCount + 1;
      Track(i);
    }
  }
  return ActiveView({});
}

TTrackedView TSatelliteList::ReloadKeepingTracked(const std::filesystem::path& programFolder,
                                                  std::string* readError, int* lacking) {
  const std::filesystem::path file =
      TleFileName.empty() ? std::filesystem::path() : ExpandFileName(TleFileName, programFolder);
  return TakeCatalogKeepingTracked(ReadCatalog(file), readError, lacking);
}

TTrackedView TSatelliteList::TakeCatalogKeepingTracked(TCatalogRead read, std::string* readError,
                                                       int* lacking) {
  std::vector<std::string> tracked;
  tracked.reserve(static_cast<size_t>(TrackedCount));
  for (int i = 1; i <= TrackedCount; ++i) tracked.push_back(CatalogNumberOf(i));
  const std::string active = HasActiveSat() ? CatalogNumberOf(ActiveSat) : std::string();
  std::vector<std::string> settingsIds = std::move(TrackedIds);
  std::string settingsActive = std::move(ActiveId);
  TrackedIds = tracked;
  ActiveId = active;
  TakeCatalog(std::move(read), readError);
  TrackedIds = std::move(settingsIds);
  ActiveId = std::move(settingsActive);
  // TakeCatalog tracks in file order; the user's order is the list's. Each number's place in
  // that order is found once, through a sorted copy.
  std::vector<std::pair<std::string, size_t>> order;
  order.reserve(tracked.size());
  for (size_t k = 0; k < tracked.size(); ++k) order.emplace_back(tracked[k], k);
  std::sort(order.begin(), order.end());
  auto rank = [&](const TSatState& state) {
    const std::string& key =
        Catalog.CatalogElements[static_cast<size_t>(state.catalogIndex)].elements.catalogNumber;
    auto it = std::lower_bound(order.begin(), order.end(), std::make_pair(key, size_t{0}));
    return it != order.end() && it->first == key ? it->second : tracked.size();
  };
  std::vector<std::pair<size_t, int>> ranked;
  ranked.reserve(static_cast<size_t>(TrackedCount));
  for (int i = 1; i <= TrackedCount; ++i) {
    ranked.emplace_back(rank(TrackedSats[static_cast<size_t>(i)]),
                        TrackedSats[static_cast<size_t>(i)].catalogIndex);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (int i = 1; i <= TrackedCount; ++i) {
    TrackedSats[static_cast<size_t>(i)] = TSatState{};
    TrackedSats[static_cast<size_t>(i)].catalogIndex = ranked[static_cast<size_t>(i - 1)].second;
  }
  ActiveSat = 0;
  for (int i = 1; i <= TrackedCount && !active.empty(); ++i) {
    if (CatalogNumberOf(i) == active) {
      ActiveSat = i;
      break;
    }
  }
  if (lacking != nullptr) {
    std::vector<std::string> kept;
    kept.reserve(static_cast<size_t>(TrackedCount));
    for (int i = 1; i <= TrackedCount; ++i) kept.push_back(CatalogNumberOf(i));
    std::sort(kept.begin(), kept.end());
    std::sort(tracked.begin(), tracked.end());
    tracked.erase(std::unique(tracked.begin(), tracked.end()), tracked.end());
    *lacking = static_cast<int>(std::count_if(tracked.begin(), tracked.end(), [&](const auto& key) {
      return !std::binary_search(kept.begin(), kept.end(), key);
    }));
  }
  return ActiveView({});
}

void TSatelliteList::Track(int slot) {
  Catalog.CatalogFlags[static_cast<size_t>(slot)] = 1;
  ++TrackedCount;
  TrackedSats[static_cast<size_t>(TrackedCount)] = TSatState{};
  TrackedSats[static_cast<size_t>(TrackedCount)].catalogIndex = slot;
}

TTrackedView TSatelliteList::ActiveView(TSelection selection) const {
  TTrackedView view;
  view.selection = std::move(selection);
  if (ActiveSat > 0) {
    view.selection.insert(ActiveSat - 1);
    view.focusedRow = ActiveSat - 1;
  }
  return view;
}

TTrackedView TSatelliteList::AddTr(bool all, bool activate, int position,
                                   TSelection& loadedSelection) {
  int count0 = TrackedCount;
  for (int k = 0; k < LoadedCount; ++k) {
    bool candidate = all || (position == 0 && loadedSelection.count(k) > 0) || position == k + 1;
    if (!candidate) continue;
    size_t slot = static_cast<size_t>(k + 1);
    if (Catalog.CatalogFlags[slot] != 0) continue;
    if (position == 0) loadedSelection.erase(k);
    Track(k + 1);
    if (ActiveSat == 0 && count0 == 0) ActiveSat = 1;
    if (activate || position != 0) ActiveSat = TrackedCount;
  }
  // With an active satellite the Tracked list shows it alone selected; without one the
  // caller keeps the list's selection (focusedRow -1 says so).
  if (ActiveSat > 0) return ActiveView({});
  return TTrackedView{{}, -1};
}

TTrackedView TSatelliteList::AddRows(const std::vector<int>& rows) {
  const int count0 = TrackedCount;
  for (int row : rows) {
    if (row < 0 || row >= LoadedCount || Catalog.CatalogFlags[static_cast<size_t>(row + 1)] != 0)
      continue;
    Track(row + 1);
  }
  if (ActiveSat == 0 && count0 == 0 && TrackedCount > 0) ActiveSat = 1;
  if (ActiveSat > 0) return ActiveView({});
  return TTrackedView{{}, -1};
}

void TSatelliteList::Remove(int c) {
  Catalog.CatalogFlags[static_cast<size_t>(TrackedSats[static_cast<size_t>(c)].catalogIndex)] = 0;
  for (int j = c; j < TrackedCount; ++j) {
    TrackedSats[static_cast<size_t>(j)] = TrackedSats[static_cast<size_t>(j + 1)];
  }
  --TrackedCount;
  if (c < ActiveSat) --ActiveSat;
}

TTrackedView TSatelliteList::RemoveTr(bool all, bool keepSelected, int position,
                                      TSelection trackedSelection) {
  if (position != 0) {
    // Only one line goes: the first that matches; the selection below it moves up by one.
    int c = all ? 1 : position;
    if (c >= 1 && c <= TrackedCount) {
      Remove(c);
      TSelection shifted;
      for (int row : trackedSelection) {
        if (row < c - 1) shifted.insert(row);
        if (row > c - 1) shifted.insert(row - 1);
      }
      trackedSelection = std::move(shifted);
    }
  } else {
    // Every matching row goes in one pass; the rows kept move up, their selection with them,
    // and the active satellite stays on its row or, when that goes, on the next one kept.
    TSelection kept;
    int to = 0;
    int removedAboveActive = 0;
    for (int c = 1; c <= TrackedCount; ++c) {
      TSatState& state = TrackedSats[static_cast<size_t>(c)];
      const bool selected = trackedSelection.count(c - 1) > 0;
      if (all || selected != keepSelected) {
        Catalog.CatalogFlags[static_cast<size_t>(state.catalogIndex)] = 0;
        if (c < ActiveSat) ++removedAboveActive;
        continue;
      }
      ++to;
      if (to != c) TrackedSats[static_cast<size_t>(to)] = state;
      if (selected) kept.insert(kept.end(), to - 1);
    }
    TrackedCount = to;
    ActiveSat -= removedAboveActive;
    trackedSelection = std::move(kept);
  }
  if (ActiveSat > TrackedCount) ActiveSat = TrackedCount;
  return ActiveView(std::move(trackedSelection));
}

void TSatelliteList::ShowNext(bool backwards) {
  ActiveSat += backwards ? -1 : 1;
  if (ActiveSat > TrackedCount) ActiveSat = TrackedCount > 0 ? 1 : 0;
  if (ActiveSat < 1) ActiveSat = TrackedCount;
}

void TSatelliteList::ClickTracked(int row) {
  if (TrackedCount == 0) return;
  ActiveSat = std::clamp(row + 1, 1, TrackedCount);
}

TTrackedView TSatelliteList::TrackedTabView() const {
  return ActiveView({});
}

std::vector<std::string> TSatelliteList::LoadedNames() const {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(LoadedCount));
  for (int i = 1; i <= LoadedCount; ++i)
    names.push_back(Catalog.CatalogNames[static_cast<size_t>(i)]);
  return names;
}

std::vector<std::string> TSatelliteList::TrackedNames() const {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(TrackedCount));
  for (int i = 1; i <= TrackedCount; ++i) names.push_back(NameOf(i));
  return names;
}

const std::string& TSatelliteList::NameOf(int trackedPosition) const {
  return Catalog.CatalogNames[static_cast<size_t>(
      TrackedSats[static_cast<size_t>(trackedPosition)].catalogIndex)];
}

const TCatalogSet& TSatelliteList::ElementsOf(int trackedPosition) const {
  return Catalog.CatalogElements[static_cast<size_t>(
      TrackedSats[static_cast<size_t>(trackedPosition)].catalogIndex)];
}

std::string TSatelliteList::CatalogNumberOf(int trackedPosition) const {
  return ElementsOf(trackedPosition).elements.catalogNumber;
}

}  // namespace zen
