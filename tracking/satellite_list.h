// The catalogue of loaded element sets, the tracked list and the active satellite.
#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "tracking/sat_state.h"

namespace zen {

// Selected rows of a list view, 0-based.
using TSelection = std::set<int>;

// The Tracked list's selection and focused row after a command (-1: leave the focus alone).
struct TTrackedView {
  TSelection selection;
  int focusedRow = -1;
};

enum class TListTab { Loaded = 0, Tracked = 1, Info = 2 };

struct TListButtonText {
  const char* caption;
  const char* hint;
};
TListButtonText ListButtonText(TListTab tab);

// An element file read, possibly on a worker thread, for a list to take over.
struct TCatalogRead {
  std::unique_ptr<TCatalog> catalog = std::make_unique<TCatalog>();
  int count = 0;
  // Why the file could not be read; empty for a missing file or a good read.
  std::string error;
};

// Reads file (nothing when it is empty) whole; never throws. Touches nothing shared, so any
// thread may call it; bytesRead, when given, counts the bytes read as it goes.
TCatalogRead ReadCatalog(const std::filesystem::path& file,
                         std::atomic<uint64_t>* bytesRead = nullptr);

class TSatelliteList {
 public:
  // Loads TleFileName (relative to programFolder) and rebuilds both lists from TrackedIds and
  // ActiveId. A missing or unreadable file gives an empty catalogue; readError then says why
  // the file could not be read (empty for a missing file or a good read).
  TTrackedView zapodawajSatelity(const std::filesystem::path& programFolder,
                                 std::string* readError = nullptr);

  // Loads TleFileName again and tracks the satellites tracked before that are still in it, in
  // the same order, with the same one active; TrackedIds and ActiveId (the settings' list) are
  // left as they were. readError as zapodawajSatelity; lacking, when given, counts the
  // satellites (catalogue numbers) tracked before that the file no longer holds.
  TTrackedView ReloadKeepingTracked(const std::filesystem::path& programFolder,
                                    std::string* readError = nullptr, int* lacking = nullptr);

  // The two loads above with the file already read (by ReadCatalog of TleFileName).
  TTrackedView TakeCatalog(TCatalogRead read, std::string* readError = nullptr);
  TTrackedView TakeCatalogKeepingTracked(TCatalogRead read, std::string* readError = nullptr,
                                         int* lacking = nullptr);

  // Tracks the Loaded rows (0-based) in the order given, skipping those tracked already; the
  // first added becomes active when nothing was tracked.
  TTrackedView AddRows(const std::vector<int>& rows);

  // Adds Loaded rows (all, the selected ones when position is 0, else catalogue entry
  // `position`) to the tracked list. Rows added through the selection are unselected in
  // loadedSelection; refused rows stay selected.
  TTrackedView AddTr(bool all, bool activate, int position, TSelection& loadedSelection);

  // Removes tracked rows: all; with position 0 those whose selected state differs from
  // keepSelected (the selected ones, or for keepSelected the unselected ones: crop); else the
  // row at `position` (1-based).
  TTrackedView RemoveTr(bool all, bool keepSelected, int position, TSelection trackedSelection);

  // "Show next" on the Info tab: the next (or with shift the previous) tracked satellite.
  void ShowNext(bool backwards);
  // A click on a row of the Tracked list (0-based); nothing happens in an empty list.
  void ClickTracked(int row);

  // The Tracked list's selection as the tab change to "Tracked" leaves it.
  TTrackedView TrackedTabView() const;

  // An active satellite is set and lies within the tracked list.
  bool HasActiveSat() const { return ActiveSat >= 1 && ActiveSat <= TrackedCount; }

  std::vector<std::string> LoadedNames() const;
  std::vector<std::string> TrackedNames() const;
  const std::string& NameOf(int trackedPosition) const;
  const TCatalogSet& ElementsOf(int trackedPosition) const;
  std::string CatalogNumberOf(int trackedPosition) const;

  TCatalog Catalog;
  int LoadedCount = 0;
  // 1-based; entry 0 unused. Sized at each load for every loaded set, so that neither adding
  // nor a compute cycle allocates.
  std::vector<TSatState> TrackedSats = std::vector<TSatState>(1);
  int TrackedCount = 0;
  int ActiveSat = 0;  // 1-based position in TrackedSats, 0 = none
  int InfoShownSat = -1;
  std::string TleFileName;  // relative to the program folder when inside it, else absolute
  std::vector<std::string> TrackedIds;
  std::string ActiveId;
  // Changes with every load, so caches of decoded sets know when to start again.
  uint64_t CatalogGeneration = 0;

 private:
  TTrackedView ActiveView(TSelection selection) const;
  void Remove(int position);
  void Track(int slot);
};

// The element-file name as stored: relative to the program folder for a file inside it
// (with "/"), else absolute.
std::string StoredFileName(const std::filesystem::path& file,
                           const std::filesystem::path& programFolder);
// A stored name back to a full path; "\" is read as a folder separator too.
std::filesystem::path ExpandFileName(const std::string& stored,
                                     const std::filesystem::path& programFolder);

}  // namespace zen
