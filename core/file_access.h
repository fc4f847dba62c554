// Files from outside the program: read only when they are plain files of a size fitting their
// kind, opened without waiting; written only over plain files, through symbolic links.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace zen {

// A file that could not be read or written; the message names the file and the reason.
class TFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // code: the system's error number of the failure (errno), for callers that show its text alone.
  TFileError(const std::string& message, int code, std::string reason = {})
      : std::runtime_error(message), code_(code), reason_(std::move(reason)) {}
  // 0 when the failure has no system error number.
  int Code() const { return code_; }
  // Why, without the file's name: "is a folder", "too large (...)", the system's text of the
  // error number, or the whole message when there is neither.
  std::string Reason() const;

 private:
  int code_ = 0;
  std::string reason_;
};

// The largest file of each kind the program reads. Each is far above any real file of its kind
// and far below what would stall the window or fill the memory: a help page of 50 MB would keep
// the window busy for many seconds.
inline constexpr std::uint64_t kMegabyte = 1000 * 1000;
// Settings, the sources list, a satellite's notes.
inline constexpr std::uint64_t kSettingsFileLimit = 4 * kMegabyte;
// The Iridium status table: a hundred rows of a line each.
inline constexpr std::uint64_t kTableFileLimit = 1 * kMegabyte;
// One page of the help.
inline constexpr std::uint64_t kHelpPageLimit = 4 * kMegabyte;
// Location databases: the world's list of places is under 100 KB, a country's under a few MB.
inline constexpr std::uint64_t kLocationFileLimit = 16 * kMegabyte;
// Bitmaps, the world's outlines, the transmitter list.
inline constexpr std::uint64_t kDataFileLimit = 64 * kMegabyte;
// Element files: the whole public catalogue as mean-elements XML is under 100 MB.
inline constexpr std::uint64_t kElementFileLimit = 512 * kMegabyte;

// An open file to read: a plain file (a symbolic link to one is followed) of at most the limit
// it was opened with. Closes itself.
class TInputFile {
 public:
  TInputFile() = default;
  ~TInputFile();
  TInputFile(TInputFile&& other) noexcept;
  TInputFile& operator=(TInputFile&& other) noexcept;
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Its size when opened.
  std::uint64_t Size() const { return size_; }
  // Up to length bytes into data; fewer only at the end, 0 there. Going on past the limit the
  // file was opened with (it grew since), or a failure of the system, throws TFileError.
  size_t Read(char* data, size_t length);
  // All that is left of it.
  std::string ReadRest();
  const std::filesystem::path& Path() const { return path_; }

 private:
  friend TInputFile OpenFileToRead(const std::filesystem::path& file, std::uint64_t limit);
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t limit_ = 0;
  std::uint64_t read_ = 0;
  std::filesystem::path path_;
};

// Opens file to read without waiting (a named pipe with no writer, or a device, would hold the
// program for good), and only when it is a plain file of at most limit bytes. Throws TFileError
// "Cannot read FILE: REASON", the reason being "is a folder", "is not a regular file", "too
// large (SIZE; at most LIMIT)" or the system's text (Code() then holds the error number, ENOENT
// for a missing file).
TInputFile OpenFileToRead(const std::filesystem::path& file, std::uint64_t limit);

// The whole content of a plain file of at most limit bytes; throws as OpenFileToRead.
std::string ReadFileBytes(const std::filesystem::path& file, std::uint64_t limit);

// True when nothing at all is at file (not even a dangling symbolic link).
bool NothingAt(const std::filesystem::path& file);

// Where a write of file goes: file itself, or the file its symbolic links lead to (a relative
// link read from the link's own folder), so that the link stays and its target is written.
// Throws TFileError "Cannot write FILE: REASON" when that is a folder or anything else but a
// plain file (a device or a named pipe is never replaced), or when the links go round.
std::filesystem::path WritableTarget(const std::filesystem::path& file);

// "12.5 MB", "900 bytes": a size in a message.
std::string SizeText(std::uint64_t bytes);

// Text from a file as a message may show it: control bytes (a terminal would act on them) as
// "\xHH", the C1 controls of UTF-8 as "\u00HH", the rest as it is.
std::string PrintableText(std::string_view text);

}  // namespace zen
