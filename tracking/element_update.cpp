// Replacing an element file by a downloaded one: the download is counted as element sets,
// judged against the file it would replace, and only then renamed into place, with the
// previous file kept beside it.
#include "tracking/element_update.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <system_error>
#include <unordered_set>

#include "core/catalog.h"
#include "core/elements.h"
#include "core/omm.h"
#include "tracking/text_file.h"
#include "tracking/transmitters.h"

namespace zen {

namespace {

void NoteEpoch(double epochJd, TElementCount& count) {
  if (std::isfinite(epochJd) && !(epochJd <= count.newestEpochJd)) count.newestEpochJd = epochJd;
}

std::string Plural(int n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

}  // namespace

std::string CountText(const TElementCount& count, TSourceKind kind) {
  if (kind == TSourceKind::Transmitters) return Plural(count.valid, "transmitter", "transmitters");
  if (count.valid == count.distinct) return Plural(count.valid, "element set", "element sets");
  return Plural(count.valid, "element set", "element sets") + " of " +
         Plural(count.distinct, "satellite", "satellites");
}

namespace {

[[noreturn]] void FailWrite(const std::filesystem::path& file, int code) {
  throw TFileError("Cannot write " + file.string() + ": " + std::strerror(code), code);
}

// Throws TFileError when the temporary's name is taken by anything but a plain file or a
// symbolic link, which an update may remove: a folder, a device or a named pipe is the user's.
void CheckTemporary(const std::filesystem::path& part) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::symlink_status(part, ec);
  switch (status.type()) {
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::regular:
    case std::filesystem::file_type::symlink:
      return;
    case std::filesystem::file_type::directory:
      throw TFileError("Cannot write " + part.string() + ": is a folder", EISDIR, "is a folder");
    default:
      if (ec) throw TFileError("Cannot write " + part.string() + ": " + ec.message(), ec.value());
      throw TFileError("Cannot write " + part.string() + ": is not a regular file", EINVAL,
                       "is not a regular file");
  }
}

}  // namespace

TElementCount CountElementSets(const std::filesystem::path& file) {
  TElementCount count;
  // A satellite is its catalogue number; a set whose columns hold no number is told by their
  // text.
  std::unordered_set<int64_t> numbers;
  std::unordered_set<std::string> texts;
  // On the heap: a catalogue holds a thousand slots.
  auto catalog = std::make_unique<TCatalog>();
  count.valid = catalog->ReadEverySet(file, [&](const std::string&, const TCatalogSet& set) {
    if (set.number >= 0) {
      numbers.insert(set.number);
    } else {
      texts.insert(set.elements.catalogNumber);
    }
    if (set.decodable) NoteEpoch(set.elements.epochJulian, count);
  });
  count.invalid = catalog->InvalidElementCount;
  count.distinct = static_cast<int>(numbers.size() + texts.size());
  return count;
}

TElementCount CountTransmitters(const std::filesystem::path& file) {
  const TTransmitterList list = ReadTransmitters(file);
  TElementCount count;
  count.valid = static_cast<int>(list.items.size());
  count.distinct = count.valid;
  // The public database holds entries without a frequency and the like: those are skipped as
  // the station skips them. Only a text that is not a list at all is damage.
  count.invalid = list.problem.empty() ? 0 : 1;
  return count;
}

std::string AnswerProblem(const TElementCount& answer, const TElementCount& current,
                          TSourceKind kind) {
  const char* what = kind == TSourceKind::Transmitters ? "transmitters" : "element sets";
  if (answer.valid == 0) {
    return answer.invalid == 0 ? std::string("the answer holds no ") + what
                               : std::string("the answer holds no readable ") + what;
  }
  if (answer.invalid > 0) {
    return "the answer holds " + std::to_string(answer.invalid) + " unreadable " +
           (answer.invalid == 1 ? "piece" : "pieces") + ", so it may be cut off or damaged";
  }
  if (2 * static_cast<long long>(answer.distinct) < current.distinct) {
    // Satellites named as such where a text repeats one, sets otherwise.
    const bool repeats = answer.valid != answer.distinct || current.valid != current.distinct;
    return "the answer holds only " + CountText(answer, kind) + ", far fewer than the " +
           std::to_string(current.distinct) + (repeats ? " satellites" : "") +
           " of the file it would replace";
  }
  return {};
}

bool MayReplaceBackup(const TElementCount& previous, const TElementCount& backup) {
  // Integer halves: 2 * distinct cannot overflow an int count of sets in memory.
  return 2 * static_cast<long long>(previous.distinct) >= backup.distinct;
}

std::filesystem::path BackupFileOf(const std::filesystem::path& target) {
  std::filesystem::path backup = target;
  backup += ".bak";
  return backup;
}

std::filesystem::path PartFileOf(const std::filesystem::path& target) {
  std::filesystem::path part = target;
  part += ".part";
  return part;
}

std::string ElementTargetProblem(const std::filesystem::path& target) {
  try {
    const std::filesystem::path file = WritableTarget(target);
    CheckTemporary(PartFileOf(file));
    if (!NothingAt(file)) WritableTarget(BackupFileOf(file));
  } catch (const TFileError& error) {
    return error.what();
  }
  return {};
}

TAnswerFile::TAnswerFile(const std::filesystem::path& target) {
  // Through a symbolic link: the link stays, and the file it leads to takes the download,
  // with the temporary and the backup beside it on its own file system.
  file_ = WritableTarget(target);
  std::error_code ec;
  if (!file_.parent_path().empty()) {
    std::filesystem::create_directories(file_.parent_path(), ec);
    if (ec) {
      throw TFileError(
          "Cannot make the folder " + file_.parent_path().string() + ": " + ec.message(),
          ec.value());
    }
  }
  const std::filesystem::path part = PartFileOf(file_);
  CheckTemporary(part);
  // A leftover of an update cut short, or a link in its place: ours to remove, never to
  // write through. The temporary is only ever made new.
  if (::unlink(part.c_str()) != 0 && errno != ENOENT) FailWrite(part, errno);
  fd_ =
      ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd_ < 0) FailWrite(part, errno);
  part_ = part;
  // The file replaced keeps who may read it: a private file stays private.
  struct stat previous {};
  if (::stat(file_.c_str(), &previous) == 0 && ::fchmod(fd_, previous.st_mode & 07777) != 0) {
    const int code = errno;
    Discard();
    FailWrite(part, code);
  }
}

TAnswerFile::~TAnswerFile() {
  if (!placed_) Discard();
}

void TAnswerFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  // Only the plain file this update made: a folder or a pipe put there since is not ours.
  std::error_code ec;
  if (!part_.empty() &&
      std::filesystem::symlink_status(part_, ec).type() == std::filesystem::file_type::regular) {
    std::filesystem::remove(part_, ec);
  }
  part_.clear();
}

void TAnswerFile::Append(std::string_view bytes) {
  if (fd_ < 0) FailWrite(part_, EBADF);
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, data, left);
    if (written < 0 && errno == EINTR) continue;
    // No error and nothing taken: the device has no room left.
    if (written <= 0) FailWrite(part_, written < 0 ? errno : ENOSPC);
    data += written;
    left -= static_cast<size_t>(written);
    size_ += static_cast<std::uint64_t>(written);
  }
}

TReplaceOutcome TAnswerFile::Replace(TSourceKind kind) {
  TReplaceOutcome outcome;
  outcome.backup = BackupFileOf(file_);
  if (fd_ < 0 || placed_) {
    outcome.problem = "Cannot write " + PartFileOf(file_).string() + ": already closed";
    return outcome;
  }
  if (size_ == 0) {
    outcome.problem = "the answer was empty";
    Discard();
    return outcome;
  }
  try {
    // On disk before it takes the old copy's name: a power loss after the rename must find
    // the new file whole. close reports what a network or full file system kept back.
    const int fd = fd_;
    fd_ = -1;
    if (::fsync(fd) != 0) {
      const int code = errno;
      ::close(fd);
      FailWrite(part_, code);
    }
    if (::close(fd) != 0) FailWrite(part_, errno);
    const auto count = kind == TSourceKind::Transmitters ? CountTransmitters : CountElementSets;
    outcome.answer = count(part_);
    outcome.previous = count(file_);
    outcome.problem = AnswerProblem(outcome.answer, outcome.previous, kind);
    if (outcome.problem.empty()) {
      if (!NothingAt(file_)) {
        outcome.backupCount = count(outcome.backup);
        if (MayReplaceBackup(outcome.previous, outcome.backupCount)) {
          WriteFileBytes(outcome.backup, ReadFileBytes(file_, kElementFileLimit));
          outcome.backupKept = true;
        } else {
          outcome.backupHeld = true;
        }
      }
      RenameIntoPlace(part_, file_);
      placed_ = true;
      outcome.replaced = true;
    }
  } catch (const std::exception& error) {
    outcome.problem = error.what();
    outcome.replaced = false;
    outcome.backupKept = false;
    outcome.backupHeld = false;
  }
  if (!placed_) Discard();
  return outcome;
}

TReplaceOutcome ReplaceElementFile(const std::filesystem::path& target, std::string_view answer,
                                   TSourceKind kind) {
  TReplaceOutcome outcome;
  if (answer.empty()) {
    outcome.problem = "the answer was empty";
    return outcome;
  }
  try {
    TAnswerFile file(target);
    file.Append(answer);
    return file.Replace(kind);
  } catch (const std::exception& error) {
    outcome.problem = error.what();
  }
  return outcome;
}

}  // namespace zen
