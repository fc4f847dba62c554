// Text files the program keeps: read with any line end and encoding fallback, written safely.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_encoding.h"

namespace zen {

// A file that could not be read or written; the message names the file and the reason.
class TFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // code: the system's error number of the failure (errno), for callers that show its text alone.
  TFileError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
  // 0 when the failure has no system error number.
  int Code() const { return code_; }
  // The system's text of the error number, or the whole message when there is none.
  std::string Reason() const;

 private:
  int code_ = 0;
};

// The whole content of a regular file. Throws TFileError naming the file and the system's reason
// when it cannot be opened or read, and for anything but a regular file (a folder, a device, a
// named pipe), which would never end or never start.
std::string ReadFileBytes(const std::filesystem::path& file);

// Lines of a text file; CR LF, LF and CR all end a line. Bytes that are not valid UTF-8 are
// taken as Windows-1252 (files from single-byte systems) and returned as UTF-8. Throws as
// ReadFileBytes.
std::vector<std::string> ReadTextLines(const std::filesystem::path& file);

// Writes lines as UTF-8 with CR LF into a temporary file beside the target (the target's name
// and ".tmp"), puts it on disk and renames it into place, so neither a failed write nor a
// power loss leaves anything but the previous copy or the new one whole. Throws TFileError
// naming the file and the reason; the temporary is removed on failure.
void WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines);

// Writes bytes as they are through a temporary file renamed into place, as WriteTextLines.
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);
// The same for callers that show the failure: false with its reason (TFileError::Reason) in
// error.
bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes, std::string& error);

// Renames from to to (replacing it) and puts the rename on disk. Throws TFileError naming to.
void RenameIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace zen
