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

std::string ReadFileBytes(const std::filesystem::path& file) {
  auto fail = [&file](const std::string& reason, int code) {
    throw TFileError("Cannot read " + file.string() + ": " + reason, code);
  };
  // Opened without waiting, so a named pipe with no writer cannot hold the program; only a
  // regular file is read.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const int code = errno;
    fail(std::strerror(code), code);
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int code = errno;
    ::close(fd);
    fail(std::strerror(code), code);
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(fd);
    if (S_ISDIR(status.st_mode)) fail(std::strerror(EISDIR), EISDIR);
    fail("not a regular file", EINVAL);
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(std::max<off_t>(status.st_size, 0)));
  char block[65536];
  for (;;) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      fail(std::strerror(code), code);
    }
    if (got == 0) break;
    bytes.append(block, static_cast<size_t>(got));
  }
  ::close(fd);
  return bytes;
}

std::vector<std::string> ReadTextLines(const std::filesystem::path& file) {
  std::string text = ToUtf8(ReadFileBytes(file));
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

std::string TFileError::Reason() const {
  return code_ != 0 ? std::strerror(code_) : what();
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
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) Fail(file, errno);
  // Nothing of the temporary may stay behind a failure; the previous copy is not touched
  // until the rename.
  auto abandon = [&](int code, bool open) {
    if (open) ::close(fd);
    ::unlink(temporary.c_str());
    Fail(file, code);
  };
  if (const int code = WriteAll(fd, bytes.data(), bytes.size())) abandon(code, true);
  // On disk before it takes the old copy's name: a power loss after the rename must find the
  // new text whole, not an empty or cut file.
  if (::fsync(fd) != 0) abandon(errno, true);
  // close reports what a network or full file system kept back until now. It is not retried
  // after EINTR: on Linux the descriptor is gone by then.
  if (::close(fd) != 0) abandon(errno, false);
  if (::rename(temporary.c_str(), file.c_str()) != 0) abandon(errno, false);
  // The rename itself is only durable once the folder is written.
  if (const int code = SyncFolder(FolderOf(file))) Fail(file, code);
}

void RenameIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) Fail(to, errno);
  if (const int code = SyncFolder(FolderOf(to))) Fail(to, code);
}

}  // namespace zen
