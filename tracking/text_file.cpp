// Text files the program keeps: read with any line end and encoding fallback, written safely.
#include "tracking/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <cerrno>
#include <cstring>

namespace zen {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, int code) {
  throw TFileError("Cannot write " + file.string() + ": " + std::strerror(code), code);
}

// Writes all of data, going on after interrupted and partial writes; 0 or the error code.
int WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    // No error and nothing taken: the device has no room left.
    if (written == 0) return ENOSPC;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return 0;
}

int SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int code = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return code;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

std::vector<std::string> ReadTextLines(const std::filesystem::path& file, std::uint64_t limit) {
  std::string text = ToUtf8(ReadFileBytes(file, limit));
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  WriteFileBytes(file, text);
}

bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  try {
    WriteFileBytes(file, bytes);
  } catch (const TFileError& e) {
    error = e.Reason();
    return false;
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  return true;
}

void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  // Through a symbolic link to the file it leads to, whose folder takes the temporary: the
  // rename then stays on one file system and the link is kept.
  const std::filesystem::path target = WritableTarget(file);
  struct stat previous {};
  const bool replacing = ::stat(target.c_str(), &previous) == 0;
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  // A leftover of a write cut short is ours to remove; a folder of that name stays and fails
  // the write. The temporary is only ever made new, never opened through a link or a pipe.
  if (::unlink(temporary.c_str()) != 0 && errno != ENOENT) Fail(file, errno);
  const int fd = ::open(temporary.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) Fail(file, errno);
  // Nothing of the temporary may stay behind a failure; the previous copy is not touched
  // until the rename.
  auto abandon = [&](int code, bool open) {
    if (open) ::close(fd);
    ::unlink(temporary.c_str());
    Fail(file, code);
  };
  // The file replaced keeps who may read it: a private file stays private.
  if (replacing && ::fchmod(fd, previous.st_mode & 07777) != 0) abandon(errno, true);
  if (const int code = WriteAll(fd, bytes.data(), bytes.size())) abandon(code, true);
  // On disk before it takes the old copy's name: a power loss after the rename must find the
  // new text whole, not an empty or cut file.
  if (::fsync(fd) != 0) abandon(errno, true);
  // close reports what a network or full file system kept back until now. It is not retried
  // after EINTR: on Linux the descriptor is gone by then.
  if (::close(fd) != 0) abandon(errno, false);
  if (::rename(temporary.c_str(), target.c_str()) != 0) abandon(errno, false);
  // The rename itself is only durable once the folder is written.
  if (const int code = SyncFolder(FolderOf(target))) Fail(file, code);
}

void RenameIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
  // Checked just before: a device or a named pipe is never replaced.
  WritableTarget(to);
  if (::rename(from.c_str(), to.c_str()) != 0) Fail(to, errno);
  if (const int code = SyncFolder(FolderOf(to))) Fail(to, code);
}

}  // namespace zen
