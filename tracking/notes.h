// Notes kept per satellite in the program folder's "Notes" folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zen {

inline constexpr const char* kNotesEmpty = "Notes is empty.";
inline constexpr size_t kNotesMaxCharacters = 5120;

std::filesystem::path NotesFilePath(const std::filesystem::path& programFolder,
                                    const std::string& catalogNumber);

// The memo's lines: the file's lines, or the single line "Notes is empty." without a file.
// Throws TFileError when the file exists but cannot be read.
std::vector<std::string> ZapodawajNotes(const std::filesystem::path& file);

// Saves edited notes: lines are written through a temporary file; no line at all deletes the
// file. Returns the lines the memo shows afterwards. Throws TFileError with the file's name
// and the reason when the file cannot be written or deleted; the old file is then unchanged.
std::vector<std::string> SaveNotes(const std::filesystem::path& file,
                                   const std::vector<std::string>& lines);

}  // namespace zen
