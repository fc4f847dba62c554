// Which folder is the program folder: the program file's own folder as built, a per-user folder
// for an installed copy, or the one --home names; and filling a per-user folder with the
// shipped data tree.
#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace zen::cli {

// The folders of the program folder that hold shipped files (the rest are made at start).
inline constexpr std::array<const char*, 5> kShippedFolders = {"Data", "Help", "Locations", "Setup",
                                                               "Tle"};

// In a per-user folder: which shipped files were copied in, and with what content.
inline constexpr const char* kShippedRecordFile = ".shipped";

// What the choice depends on, gathered from the system by CurrentHomeFacts().
struct THomeFacts {
  std::string homeOption;                   // --home DIR, empty when not given
  std::filesystem::path programFileFolder;  // the running program file's folder; empty if unknown
  bool programFileFolderWritable = false;
  std::filesystem::path installedData;  // <prefix>/share/zenarith when it exists, else empty
  std::string xdgDataHome;              // $XDG_DATA_HOME
  std::string userHome;                 // $HOME
};

struct THomeChoice {
  enum class Kind { HomeOption, ProgramFileFolder, UserFolder, Unknown };
  Kind kind = Kind::Unknown;
  std::filesystem::path folder;  // the program folder (absolute); empty for Unknown
  // For a per-user folder: where the shipped data tree is read from; empty when none is known.
  std::filesystem::path shippedData;
  std::string error;  // for Unknown: why no folder could be chosen
};

// --home wins. A program file that is not installed keeps its own folder while that folder can
// be written; an installed one (share/zenarith beside bin/), or one in a folder that cannot be
// written, uses $XDG_DATA_HOME/zenarith, or ~/.local/share/zenarith when XDG_DATA_HOME is unset
// or not absolute.
THomeChoice ChooseHome(const THomeFacts& facts);

// The facts of this process: /proc/self/exe, the environment, and whether this user may write
// into the program file's folder.
THomeFacts CurrentHomeFacts(const std::string& homeOption);

// The folder of the running program file, or an empty path when the system does not say.
std::filesystem::path ProgramFileFolder();

// The folder from which a command reads the shipped file `relative` for this choice: the
// program folder, or the shipped tree while a per-user folder has no copy yet (commands never
// fill the folder). Empty when no folder was chosen.
std::filesystem::path FolderToRead(const THomeChoice& choice,
                                   const std::filesystem::path& relative);

// Brings the shipped files into a per-user folder, creating it when missing: a missing file is
// copied; a file still as it was copied (by the record) follows a newer shipped version; a
// file the user changed or made is never replaced. Nothing is written into `shipped`. Returns
// an empty text, or the message naming what failed.
std::string AddShippedFiles(const std::filesystem::path& shipped,
                            const std::filesystem::path& folder);

}  // namespace zen::cli
