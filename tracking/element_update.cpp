// Replacing an element file by a downloaded one: the download is counted as element sets,
// judged against the file it would replace, and only then renamed into place, with the
// previous file kept beside it.
#include "tracking/element_update.h"

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

TReplaceOutcome ReplaceElementFile(const std::filesystem::path& target, std::string_view answer,
                                   TSourceKind kind) {
  TReplaceOutcome outcome;
  if (answer.empty()) {
    outcome.problem = "the answer was empty";
    return outcome;
  }
  std::filesystem::path temporary = target;
  temporary += ".part";
  std::error_code ec;
  try {
    if (!target.parent_path().empty()) {
      std::filesystem::create_directories(target.parent_path(), ec);
      if (ec)
        throw TFileError("Cannot make the folder " + target.parent_path().string() + ": " +
                         ec.message());
    }
    WriteFileBytes(temporary, answer);
    const auto count = kind == TSourceKind::Transmitters ? CountTransmitters : CountElementSets;
    outcome.answer = count(temporary);
    outcome.previous = count(target);
    outcome.problem = AnswerProblem(outcome.answer, outcome.previous, kind);
    if (outcome.problem.empty()) {
      if (std::filesystem::exists(target, ec)) {
        WriteFileBytes(BackupFileOf(target), ReadFileBytes(target, kElementFileLimit));
        outcome.backupKept = true;
      }
      RenameIntoPlace(temporary, target);
      outcome.replaced = true;
    }
  } catch (const std::exception& error) {
    outcome.problem = error.what();
    outcome.replaced = false;
  }
  if (!outcome.replaced) std::filesystem::remove(temporary, ec);
  return outcome;
}

}  // namespace zen
