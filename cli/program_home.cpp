// Which folder is the program folder, and filling a per-user folder with the shipped data tree.
#include "cli/program_home.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "core/file_access.h"
#include "tracking/text_file.h"

namespace zen::cli {

namespace fs = std::filesystem;

namespace {

// The installed data tree seen from the installed program file's folder (../share/zenarith).
#ifndef ZEN_DATA_FROM_BIN
#define ZEN_DATA_FROM_BIN "../share/zenarith"
#endif

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Relative file name (with "/") -> content hash of the shipped version copied in.
using TRecord = std::map<std::string, std::uint64_t>;

// FNV-1a over the content: enough to tell whether a copy is still the one made.
bool HashFile(const fs::path& file, std::uint64_t& hash) {
  try {
    TInputFile in = OpenFileToRead(file, kElementFileLimit);
    hash = 14695981039346656037ull;
    char buffer[65536];
    while (const size_t got = in.Read(buffer, sizeof buffer)) {
      for (size_t i = 0; i < got; ++i) {
        hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
      }
    }
  } catch (const TFileError&) {
    return false;
  }
  return true;
}

// A record that cannot be read is taken as none: every copy then counts as the user's own.
TRecord ReadRecord(const fs::path& file) {
  TRecord record;
  std::istringstream in;
  try {
    in.str(ReadFileBytes(file, kSettingsFileLimit));
  } catch (const TFileError&) {
    return record;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 18 || line[16] != ' ') continue;
    std::uint64_t hash = 0;
    std::istringstream digits(line.substr(0, 16));
    if (!(digits >> std::hex >> hash)) continue;
    record[line.substr(17)] = hash;
  }
  return record;
}

// Written whole under another name first: a start cut short leaves the old record.
std::string WriteRecord(const fs::path& file, const TRecord& record) {
  std::string text;
  char digits[17];
  for (const auto& [name, hash] : record) {
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    text += digits;
    text += ' ';
    text += name;
    text += '\n';
  }
  std::string error;
  if (!WriteFileBytes(file, text, error)) {
    return "Cannot write the file " + file.string() + ": " + error + ".";
  }
  return {};
}

// A copy the user can change, even of a read-only original; it replaces target only whole.
std::string CopyIn(const fs::path& from, const fs::path& target) {
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  fs::path part = target.parent_path() / ("." + target.filename().string() + ".new");
  if (!ec) fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec);
  if (!ec)
    fs::permissions(part, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                    ec);
  if (!ec) fs::rename(part, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(part, ignored);
    return "Cannot copy " + from.string() + " to " + target.string() + ": " + ec.message() + ".";
  }
  return {};
}

}  // namespace

THomeChoice ChooseHome(const THomeFacts& facts) {
  THomeChoice choice;
  if (!facts.homeOption.empty()) {
    std::error_code ec;
    fs::path folder = fs::absolute(fs::path(facts.homeOption), ec);
    choice.kind = THomeChoice::Kind::HomeOption;
    choice.folder = (ec ? fs::path(facts.homeOption) : folder).lexically_normal();
    return choice;
  }
  if (facts.installedData.empty() && !facts.programFileFolder.empty() &&
      facts.programFileFolderWritable) {
    choice.kind = THomeChoice::Kind::ProgramFileFolder;
    choice.folder = facts.programFileFolder;
    return choice;
  }
  // XDG_DATA_HOME counts only when absolute; a relative one is to be ignored.
  fs::path base;
  if (fs::path(facts.xdgDataHome).is_absolute()) {
    base = facts.xdgDataHome;
  } else if (fs::path(facts.userHome).is_absolute()) {
    base = fs::path(facts.userHome) / ".local" / "share";
  } else {
    choice.error =
        "No folder for your files: the program's folder cannot be written, and neither "
        "XDG_DATA_HOME nor HOME names one. Start the program with --home DIR.";
    return choice;
  }
  choice.kind = THomeChoice::Kind::UserFolder;
  choice.folder = (base / "zenarith").lexically_normal();
  choice.shippedData = facts.installedData.empty() ? facts.programFileFolder : facts.installedData;
  return choice;
}

fs::path ProgramFileFolder() {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec || program.empty()) return {};
  return program.parent_path();
}

THomeFacts CurrentHomeFacts(const std::string& homeOption) {
  THomeFacts facts;
  facts.homeOption = homeOption;
  facts.programFileFolder = ProgramFileFolder();
  if (!facts.programFileFolder.empty()) {
    facts.programFileFolderWritable = ::access(facts.programFileFolder.c_str(), W_OK) == 0;
    fs::path installed = (facts.programFileFolder / ZEN_DATA_FROM_BIN).lexically_normal();
    std::error_code ec;
    if (fs::is_directory(installed, ec)) facts.installedData = installed;
  }
  facts.xdgDataHome = Env("XDG_DATA_HOME");
  facts.userHome = Env("HOME");
  return facts;
}

fs::path FolderToRead(const THomeChoice& choice, const fs::path& relative) {
  std::error_code ec;
  if (choice.kind == THomeChoice::Kind::UserFolder && !choice.shippedData.empty() &&
      !fs::exists(choice.folder / relative, ec)) {
    return choice.shippedData;
  }
  return choice.folder;
}

std::string AddShippedFiles(const fs::path& shipped, const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    return "Cannot create the folder " + folder.string() + (ec ? ": " + ec.message() : "") + ".";
  }
  // Installed into the user's own data folder: the shipped tree is already in place.
  std::error_code sameError;
  if (shipped.empty() || fs::equivalent(shipped, folder, sameError)) return {};

  const fs::path recordFile = folder / kShippedRecordFile;
  const TRecord record = ReadRecord(recordFile);
  TRecord next;
  for (const char* name : kShippedFolders) {
    const fs::path from = shipped / name;
    if (!fs::is_directory(from, ec)) continue;
    for (auto it = fs::recursive_directory_iterator(from, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      std::error_code typeError;
      if (!it->is_regular_file(typeError)) continue;
      const fs::path relative = it->path().lexically_relative(shipped);
      const fs::path target = folder / relative;
      std::uint64_t shippedHash = 0;
      if (!HashFile(it->path(), shippedHash)) return "Cannot read " + it->path().string() + ".";
      std::error_code statError;
      const fs::file_status status = fs::symlink_status(target, statError);
      std::uint64_t ownHash = 0;
      bool replace = !fs::exists(status);
      if (!replace) {
        // Anything but a readable plain file there is the user's doing; it stays.
        if (!fs::is_regular_file(status) || !HashFile(target, ownHash)) continue;
        auto copied = record.find(relative.generic_string());
        if (ownHash != shippedHash) {
          if (copied == record.end() || copied->second != ownHash) continue;
          replace = true;
        }
      }
      if (replace) {
        std::string problem = CopyIn(it->path(), target);
        if (!problem.empty()) return problem;
      }
      next[relative.generic_string()] = shippedHash;
    }
    if (ec) return "Cannot read the folder " + from.string() + ": " + ec.message() + ".";
  }
  if (next == record) return {};
  return WriteRecord(recordFile, next);
}

}  // namespace zen::cli
