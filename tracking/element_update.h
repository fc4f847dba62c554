// Replacing an element file by a downloaded one: the download is counted as element sets,
// judged against the file it would replace, and only then renamed into place, with the
// previous file kept beside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

#include "tracking/update_sources.h"

namespace zen {

struct TElementCount {
  int valid = 0;
  int invalid = 0;  // sets (or pieces of the text) that could not be read
  // What the half rule counts: the satellites of the valid sets, each catalogue number once
  // however often the text repeats it. A transmitter list counts every transmitter, since one
  // satellite has several.
  int distinct = 0;
  // Julian date (UTC) of the newest epoch among the valid sets; NaN without one.
  double newestEpochJd = std::numeric_limits<double>::quiet_NaN();
};

// The sets of an element file, whether element lines or a mean-elements message in CSV, JSON
// or XML; a satellite whose sets repeat counts once in distinct, with the newest epoch of its
// sets. A missing file counts nothing. Throws TFileError when the file cannot be read.
TElementCount CountElementSets(const std::filesystem::path& file);

// The transmitters of a transmitter list (JSON) counted the same way: a text that is no JSON
// array counts one unreadable piece; the epoch stays NaN. A missing file counts nothing. Throws
// TFileError when the file cannot be read.
TElementCount CountTransmitters(const std::filesystem::path& file);

// "35 element sets", "100 element sets of 1 satellite" when sets repeat a satellite, "4
// transmitters".
std::string CountText(const TElementCount& count, TSourceKind kind);

// Why a download may not replace the current file, or an empty text when it may: it must hold
// at least one valid set, no unreadable one (a cut-off or damaged text), and sets of at least
// half as many satellites as the current file (distinct: a hundred copies of one satellite are
// one). For a transmitter list the same holds of transmitters, except that single entries the
// list cannot use are skipped, not taken for damage.
std::string AnswerProblem(const TElementCount& answer, const TElementCount& current,
                          TSourceKind kind = TSourceKind::Elements);

// Whether the file being replaced may take the place of its backup: not when it counts fewer
// than half of the backup's distinct, the same rule an answer meets. A file emptied, damaged or
// shrunk by hand then never pushes out the sound copy that the backup holds.
bool MayReplaceBackup(const TElementCount& previous, const TElementCount& backup);

struct TReplaceOutcome {
  bool replaced = false;
  std::string problem;  // why the file was left as it was, when not replaced
  TElementCount answer;
  TElementCount previous;
  bool backupKept = false;  // the previous file is now backup
  // The previous file was far smaller than the backup (MayReplaceBackup), which stays as it was.
  bool backupHeld = false;
  TElementCount backupCount;  // of the backup as it was found
  // BackupFileOf the file written: beside the file a symbolic link target leads to.
  std::filesystem::path backup;
};

// "<target>.bak": where the previous file is kept.
std::filesystem::path BackupFileOf(const std::filesystem::path& target);
// "<target>.part": where a download waits to be judged.
std::filesystem::path PartFileOf(const std::filesystem::path& target);

// Why target cannot take a download, or an empty text when it can: it (or the file its
// symbolic links lead to) must be a plain file or nothing (see WritableTarget), and its ".part"
// and, when there is a file to keep, its ".bak" beside it must not be a folder, a device or a
// named pipe. Asked before anything is fetched, so nothing is fetched for a file that could not
// take it.
std::string ElementTargetProblem(const std::filesystem::path& target);

// A download written piece by piece to a temporary file (PartFileOf) beside the file it would
// replace, so that no answer is ever held in memory whole. A symbolic link as target stays: the
// file it leads to is replaced (made when the link leads nowhere), with the temporary and the
// backup beside that file. The temporary is removed when the object goes without Replace having
// put it in place, though never anything else of its name.
class TAnswerFile {
 public:
  // Makes the folder of the file when missing, removes a leftover temporary and opens a new
  // one. Throws TFileError for a target that is a folder, a device or a named pipe, for a
  // temporary name that is one, and when the temporary cannot be made.
  explicit TAnswerFile(const std::filesystem::path& target);
  ~TAnswerFile();
  TAnswerFile(const TAnswerFile&) = delete;
  TAnswerFile& operator=(const TAnswerFile&) = delete;

  // Throws TFileError naming the temporary.
  void Append(std::string_view bytes);
  std::uint64_t Size() const { return size_; }

  // Puts the temporary on disk, counts it and, when AnswerProblem finds nothing, keeps a copy
  // of the previous file as its backup (unless MayReplaceBackup refuses) and renames the
  // temporary into place. On any refusal or failure the file is left as it was. Once only;
  // does not throw.
  TReplaceOutcome Replace(TSourceKind kind);

 private:
  void Discard();

  std::filesystem::path file_;  // the plain file replaced, past any link
  std::filesystem::path part_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  bool placed_ = false;
};

// The whole answer through a TAnswerFile; an empty answer is refused. Does not throw.
TReplaceOutcome ReplaceElementFile(const std::filesystem::path& target, std::string_view answer,
                                   TSourceKind kind = TSourceKind::Elements);

}  // namespace zen
