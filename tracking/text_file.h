// Text files the program keeps: read with any line end and encoding fallback, written safely.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_access.h"
#include "core/text_encoding.h"

namespace zen {

// Lines of a text file; CR LF, LF and CR all end a line. Bytes that are not valid UTF-8 are
// taken as Windows-1252 (files from single-byte systems) and returned as UTF-8. Throws as
// ReadFileBytes (core/file_access.h) for a file that is missing, not a plain file or larger
// than limit.
std::vector<std::string> ReadTextLines(const std::filesystem::path& file, std::uint64_t limit);

// Writes lines as UTF-8 with CR LF into a temporary file beside the target (the target's name
// and ".tmp"), puts it on disk and renames it into place, so neither a failed write nor a
// power loss leaves anything but the previous copy or the new one whole. A symbolic link stays
// and the file it leads to is written (WritableTarget); a target that is a folder, a device or
// a named pipe is refused. The new file keeps the permissions of the one it replaces. Throws
// TFileError naming the file and the reason; the temporary is removed on failure.
void WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines);

// Writes bytes as they are through a temporary file renamed into place, as WriteTextLines.
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);
// The same for callers that show the failure: false with its reason (TFileError::Reason) in
// error.
bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes, std::string& error);

// Renames from to to (replacing it) and puts the rename on disk. to must be a plain file or
// nothing (see WritableTarget). Throws TFileError naming to.
void RenameIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace zen
