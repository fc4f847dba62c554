// Notes kept per satellite in the program folder's "Notes" folder.
#include "tracking/notes.h"

#include <system_error>

#include "tracking/text_file.h"

namespace zen {

std::filesystem::path NotesFilePath(const std::filesystem::path& programFolder,
                                    const std::string& catalogNumber) {
  return programFolder / "Notes" / (catalogNumber + ".txt");
}

std::vector<std::string> ZapodawajNotes(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {kNotesEmpty};
  return ReadTextLines(file, kSettingsFileLimit);
}

std::vector<std::string> SaveNotes(const std::filesystem::path& file,
                                   const std::vector<std::string>& lines) {
  if (lines.empty()) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (ec) throw TFileError("Cannot delete " + file.string() + ": " + ec.message());
    return {kNotesEmpty};
  }
  WriteTextLines(file, lines);
  return lines;
}

}  // namespace zen
