// Files from outside the program: read only when they are plain files of a size fitting their
// kind, opened without waiting; written only over plain files, through symbolic links.
#include "core/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zen {

namespace {

// Symbolic links followed before a chain counts as a loop, as the system counts them.
constexpr int kMostLinks = 40;

[[noreturn]] void FailRead(const std::filesystem::path& file, int code, const std::string& reason) {
  throw TFileError("Cannot read " + file.string() + ": " + reason, code, reason);
}

[[noreturn]] void FailWrite(const std::filesystem::path& file, int code,
                            const std::string& reason) {
  throw TFileError("Cannot write " + file.string() + ": " + reason, code, reason);
}

// What a file of mode is, for one that is not a plain file.
std::string KindFault(mode_t mode) {
  return S_ISDIR(mode) ? "is a folder" : "is not a regular file";
}

}  // namespace

std::string TFileError::Reason() const {
  if (!reason_.empty()) return reason_;
  return code_ != 0 ? std::strerror(code_) : what();
}

TInputFile::~TInputFile() {
  if (fd_ >= 0) ::close(fd_);
}

TInputFile::TInputFile(TInputFile&& other) noexcept
    : fd_(other.fd_), size_(other.size_), limit_(other.limit_), read_(other.read_),
      path_(std::move(other.path_)) {
  other.fd_ = -1;
}

TInputFile& TInputFile::operator=(TInputFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    size_ = other.size_;
    limit_ = other.limit_;
    read_ = other.read_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

size_t TInputFile::Read(char* data, size_t length) {
  if (fd_ < 0 || length == 0) return 0;
  for (;;) {
    const ssize_t got = ::read(fd_, data, length);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      FailRead(path_, code, std::strerror(code));
    }
    read_ += static_cast<std::uint64_t>(got);
    // A file that grows while it is read is held to the same limit.
    if (read_ > limit_) {
      FailRead(path_, EFBIG, "too large (more than " + SizeText(limit_) + ")");
    }
    return static_cast<size_t>(got);
  }
}

std::string TInputFile::ReadRest() {
  std::string bytes;
  if (size_ > read_) bytes.reserve(static_cast<size_t>(size_ - read_));
  char block[65536];
  while (const size_t got = Read(block, sizeof block)) bytes.append(block, got);
  return bytes;
}

TInputFile OpenFileToRead(const std::filesystem::path& file, std::uint64_t limit) {
  // Without waiting: opening a named pipe with no writer would never return, and a device may
  // never end.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    const int code = errno;
    FailRead(file, code, code == EISDIR ? KindFault(S_IFDIR) : std::strerror(code));
  }
  TInputFile input;
  input.fd_ = fd;
  input.path_ = file;
  input.limit_ = limit;
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int code = errno;
    FailRead(file, code, std::strerror(code));
  }
  if (!S_ISREG(status.st_mode)) {
    FailRead(file, S_ISDIR(status.st_mode) ? EISDIR : EINVAL, KindFault(status.st_mode));
  }
  const auto size = static_cast<std::uint64_t>(status.st_size < 0 ? 0 : status.st_size);
  if (size > limit) {
    FailRead(file, EFBIG, "too large (" + SizeText(size) + "; at most " + SizeText(limit) + ")");
  }
  // A plain file never waits; reads from here on may block as any file read does.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  input.size_ = size;
  return input;
}

std::string ReadFileBytes(const std::filesystem::path& file, std::uint64_t limit) {
  return OpenFileToRead(file, limit).ReadRest();
}

bool NothingAt(const std::filesystem::path& file) {
  struct stat status {};
  return ::lstat(file.c_str(), &status) != 0 && errno == ENOENT;
}

std::filesystem::path WritableTarget(const std::filesystem::path& file) {
  std::filesystem::path target = file;
  for (int links = 0;; ++links) {
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0) {
      const int code = errno;
      // Nothing there yet: the write makes it (the target of a dangling link too).
      if (code == ENOENT) return target;
      FailWrite(file, code, std::strerror(code));
    }
    if (S_ISREG(status.st_mode)) return target;
    if (!S_ISLNK(status.st_mode)) {
      FailWrite(file, S_ISDIR(status.st_mode) ? EISDIR : EINVAL, KindFault(status.st_mode));
    }
    if (links == kMostLinks) FailWrite(file, ELOOP, std::strerror(ELOOP));
    std::error_code ec;
    const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
    if (ec) FailWrite(file, ec.value(), ec.message());
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
}

std::string SizeText(std::uint64_t bytes) {
  char text[32];
  if (bytes < 1000 * 1000) {
    std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  } else if (bytes < 1000ull * 1000 * 1000) {
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / 1e9);
  }
  return text;
}

std::string PrintableText(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      shown += "\\u00";
      shown += kDigits[next >> 4];
      shown += kDigits[next & 0xF];
      ++i;
    } else if (byte < 0x20 || byte == 0x7F) {
      shown += "\\x";
      shown += kDigits[byte >> 4];
      shown += kDigits[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace zen
