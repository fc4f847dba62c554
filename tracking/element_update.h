// Replacing an element file by a downloaded one: the download is counted as element sets,
// judged against the file it would replace, and only then renamed into place, with the
// previous file kept beside it.
#pragma once

#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

#include "tracking/update_sources.h"

namespace zen {

struct TElementCount {
  int valid = 0;
  int invalid = 0;  // sets (or pieces of the text) that could not be read
  // Julian date (UTC) of the newest epoch among the valid sets; NaN without one.
  double newestEpochJd = std::numeric_limits<double>::quiet_NaN();
};

// The sets of an element file, whether element lines or a mean-elements message in CSV, JSON
// or XML. A missing file counts nothing. Throws TFileError when the file cannot be read.
TElementCount CountElementSets(const std::filesystem::path& file);

// The transmitters of a transmitter list (JSON) counted the same way: a text that is no JSON
// array counts one unreadable piece; the epoch stays NaN. A missing file counts nothing. Throws
// TFileError when the file cannot be read.
TElementCount CountTransmitters(const std::filesystem::path& file);

// Why a download may not replace the current file, or an empty text when it may: it must hold
// at least one valid set, no unreadable one (a cut-off or damaged text), and at least half as
// many valid sets as the current file. For a transmitter list the same holds of transmitters,
// except that single entries the list cannot use are skipped, not taken for damage.
std::string AnswerProblem(const TElementCount& answer, const TElementCount& current,
                          TSourceKind kind = TSourceKind::Elements);

struct TReplaceOutcome {
  bool replaced = false;
  std::string problem;  // why the file was left as it was, when not replaced
  TElementCount answer;
  TElementCount previous;
  bool backupKept = false;  // the previous file is now backup
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

// Writes the downloaded bytes to a temporary file (PartFileOf) beside target, counts them and,
// when AnswerProblem finds nothing, keeps a copy of the previous file as its backup and renames
// the temporary into place. A symbolic link as target stays: the file it leads to is replaced
// (made when the link leads nowhere), with the temporary and the backup beside that file. A
// target that is a folder, a device or a named pipe is refused, as is a temporary or backup
// name that is one. On any refusal or failure target is left as it was and the temporary
// removed, though never anything else of its name. The folder of target is made when missing.
// Does not throw.
TReplaceOutcome ReplaceElementFile(const std::filesystem::path& target, std::string_view answer,
                                   TSourceKind kind = TSourceKind::Elements);

}  // namespace zen
