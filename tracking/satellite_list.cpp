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

TTrackedView TSatelliteList::zapodawajSatelity(const std::filesystem::path& programFolder,
                                               std::string* readError) {
  TrackedCount = 0;
  InfoShownSat = -1;
  ActiveSat = 0;
  ++CatalogGeneration;
  if (readError != nullptr) readError->clear();
  LoadedCount = 0;
  if (!TleFileName.empty()) {
    try {
      LoadedCount = Catalog.ReadElementFile(ExpandFileName(TleFileName, programFolder));
    } catch (const std::exception& error) {
      // An unreadable file leaves an empty catalogue; the caller may tell the user why.
      LoadedCount = 0;
      if (readError != nullptr) *readError = error.what();
    }
  }
  // Settings name satellites by number: "5", "00005" and "A0000" find the sets they mean, and
  // text order never matters.
  std::vector<int64_t> trackedNumbers;
  for (const std::string& id : TrackedIds) {
    if (std::optional<int64_t> number = CatalogNumberOfText(id)) trackedNumbers.push_back(*number);
  }
  std::sort(trackedNumbers.begin(), trackedNumbers.end());
  const std::optional<int64_t> activeNumber = CatalogNumberOfText(ActiveId);
  for (int i = 1; i <= LoadedCount; ++i) {
    Catalog.CatalogFlags[static_cast<size_t>(i)] = 0;
    const int64_t number = Catalog.CatalogElements[static_cast<size_t>(i)].number;
    bool wanted =
        number >= 0 && std::binary_search(trackedNumbers.begin(), trackedNumbers.end(), number);
    if (wanted && TrackedCount < MaxTracked) {
      if (activeNumber == number) ActiveSat = TrackedCount + 1;
      Catalog.CatalogFlags[static_cast<size_t>(i)] = 1;
      ++TrackedCount;
      TrackedSats[static_cast<size_t>(TrackedCount)] = TSatState{};
      TrackedSats[static_cast<size_t>(TrackedCount)].catalogIndex = i;
    }
  }
  return ActiveView({});
}

TTrackedView TSatelliteList::ReloadKeepingTracked(const std::filesystem::path& programFolder,
                                                  std::string* readError, int* lacking) {
  std::vector<std::string> tracked;
  for (int i = 1; i <= TrackedCount; ++i) tracked.push_back(CatalogNumberOf(i));
  const std::string active = HasActiveSat() ? CatalogNumberOf(ActiveSat) : std::string();
  std::vector<std::string> settingsIds = std::move(TrackedIds);
  std::string settingsActive = std::move(ActiveId);
  TrackedIds = tracked;
  ActiveId = active;
  zapodawajSatelity(programFolder, readError);
  TrackedIds = std::move(settingsIds);
  ActiveId = std::move(settingsActive);
  // zapodawajSatelity tracks in file order; the user's order is the list's.
  auto rank = [&](const TSatState& state) {
    const std::string& key =
        Catalog.CatalogElements[static_cast<size_t>(state.catalogIndex)].elements.catalogNumber;
    return std::find(tracked.begin(), tracked.end(), key) - tracked.begin();
  };
  std::stable_sort(TrackedSats.begin() + 1, TrackedSats.begin() + 1 + TrackedCount,
                   [&](const TSatState& a, const TSatState& b) { return rank(a) < rank(b); });
  ActiveSat = 0;
  for (int i = 1; i <= TrackedCount && !active.empty(); ++i) {
    if (CatalogNumberOf(i) == active) {
      ActiveSat = i;
      break;
    }
  }
  if (lacking != nullptr) {
    std::vector<std::string> kept;
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
    if (TrackedCount >= MaxTracked || Catalog.CatalogFlags[slot] != 0) continue;
    ++TrackedCount;
    if (position == 0) loadedSelection.erase(k);
    Catalog.CatalogFlags[slot] = 1;
    TrackedSats[static_cast<size_t>(TrackedCount)] = TSatState{};
    TrackedSats[static_cast<size_t>(TrackedCount)].catalogIndex = k + 1;
    if (ActiveSat == 0 && count0 == 0) ActiveSat = 1;
    if (activate || position != 0) ActiveSat = TrackedCount;
  }
  // With an active satellite the Tracked list shows it alone selected; without one the
  // caller keeps the list's selection (focusedRow -1 says so).
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
  // Removes row c (1-based) and moves the selection of the rows below it up by one.
  auto removeRow = [&](int c) {
    Remove(c);
    TSelection shifted;
    for (int row : trackedSelection) {
      if (row < c - 1) shifted.insert(row);
      if (row > c - 1) shifted.insert(row - 1);
    }
    trackedSelection = std::move(shifted);
  };
  if (position != 0) {
    // Only one line goes: the first that matches.
    int c = all ? 1 : position;
    if (c >= 1 && c <= TrackedCount) removeRow(c);
  } else {
    // Scan from the first line; after each removal start again, as the rows have moved up.
    for (int c = 1; c <= TrackedCount;) {
      bool selected = trackedSelection.count(c - 1) > 0;
      if (all || selected != keepSelected) {
        removeRow(c);
        c = 1;
      } else {
        ++c;
      }
    }
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
