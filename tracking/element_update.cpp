// Replacing an element file by a downloaded one: the download is counted as element sets,
// judged against the file it would replace, and only then renamed into place, with the
// previous file kept beside it.
#include "tracking/element_update.h"

#include <cerrno>
#include <cmath>
#include <memory>
#include <system_error>

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

std::string SetsText(int n, TSourceKind kind) {
  if (kind == TSourceKind::Transmitters) {
    return std::to_string(n) + (n == 1 ? " transmitter" : " transmitters");
  }
  return std::to_string(n) + (n == 1 ? " element set" : " element sets");
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
  // On the heap: a catalogue holds a thousand slots.
  auto catalog = std::make_unique<TCatalog>();
  count.valid = catalog->ReadEverySet(file, [&count](const std::string&, const TCatalogSet& set) {
    if (set.decodable) NoteEpoch(set.elements.epochJulian, count);
  });
  count.invalid = catalog->InvalidElementCount;
  return count;
}

TElementCount CountTransmitters(const std::filesystem::path& file) {
  const TTransmitterList list = ReadTransmitters(file);
  TElementCount count;
  count.valid = static_cast<int>(list.items.size());
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
  // Integer halves: 2 * valid cannot overflow an int count of sets in memory.
  if (2 * static_cast<long long>(answer.valid) < current.valid) {
    return "the answer holds only " + SetsText(answer.valid, kind) + ", far fewer than the " +
           std::to_string(current.valid) + " of the file it would replace";
  }
  return {};
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

TReplaceOutcome ReplaceElementFile(const std::filesystem::path& target, std::string_view answer,
                                   TSourceKind kind) {
  TReplaceOutcome outcome;
  if (answer.empty()) {
    outcome.problem = "the answer was empty";
    return outcome;
  }
  std::filesystem::path temporary;
  std::error_code ec;
  try {
    // Through a symbolic link: the link stays, and the file it leads to takes the download,
    // with the temporary and the backup beside it on its own file system.
    const std::filesystem::path file = WritableTarget(target);
    outcome.backup = BackupFileOf(file);
    if (!file.parent_path().empty()) {
      std::filesystem::create_directories(file.parent_path(), ec);
      if (ec)
        throw TFileError("Cannot make the folder " + file.parent_path().string() + ": " +
                         ec.message());
    }
    const std::filesystem::path part = PartFileOf(file);
    CheckTemporary(part);
    // A leftover of an update cut short, or a link in its place: ours to remove, never to
    // write through.
    std::filesystem::remove(part, ec);
    temporary = part;
    WriteFileBytes(temporary, answer);
    const auto count = kind == TSourceKind::Transmitters ? CountTransmitters : CountElementSets;
    outcome.answer = count(temporary);
    outcome.previous = count(file);
    outcome.problem = AnswerProblem(outcome.answer, outcome.previous, kind);
    if (outcome.problem.empty()) {
      if (!NothingAt(file)) {
        WriteFileBytes(outcome.backup, ReadFileBytes(file, kElementFileLimit));
        outcome.backupKept = true;
      }
      RenameIntoPlace(temporary, file);
      outcome.replaced = true;
    }
  } catch (const std::exception& error) {
    outcome.problem = error.what();
    outcome.replaced = false;
  }
  // Only the plain file this update wrote: a folder or a pipe of that name is not ours.
  if (!outcome.replaced && !temporary.empty() &&
      std::filesystem::symlink_status(temporary, ec).type() ==
          std::filesystem::file_type::regular) {
    std::filesystem::remove(temporary, ec);
  }
  return outcome;
}

}  // namespace zen
