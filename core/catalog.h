// The catalogue: every element set read from one element file, in element lines or as
// mean-elements messages (CSV, JSON or XML), told apart by the file's content.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/elements.h"
#include "core/file_access.h"
#include "core/omm.h"

namespace zen {

// One set as the catalogue keeps it, decoded once when it is read.
struct TCatalogSet {
  TTleLines lines;      // as read; both empty for a set read from a message
  TElements elements;   // catalogNumber always holds the number's text
  int64_t number = -1;  // the full catalogue number; -1 when the columns hold none
  // False when the lines pass validation but their launch year or revolution number do not
  // decode: such a set is listed but cannot be propagated.
  bool decodable = false;
  std::string decodeError;  // why not, naming the field
};

// The set of two lines as the catalogue keeps it (the lines are not validated here).
TCatalogSet DecodeCatalogSet(const TTleLines& lines);

// Slots are numbered 1..count as the rest of the program counts them; slot 0 is never a
// catalogue entry. The storage grows with the file: a read replaces every slot, a missing
// file leaves them as they were.
class TCatalog {
 public:
  TCatalog();
  ~TCatalog();
  TCatalog(const TCatalog&) = delete;
  TCatalog& operator=(const TCatalog&) = delete;

  // Reads every valid set into slots 1..count and returns count. A missing file gives 0 with
  // only the counters reset. Throws TFileError when the file exists but cannot be read: it
  // is not a plain file, it is larger than kElementFileLimit, or the system refuses (see
  // OpenFileToRead); the slots are then left as they were.
  int ReadElementFile(const std::filesystem::path& fileName);
  // Every valid set of the file in file order: each name and set as a slot would hold them is
  // handed to take. Returns the number of sets; errors and InvalidElementCount as
  // ReadElementFile. The catalogue's slots are left as they were.
  using TSetSink = std::function<void(const std::string& name, const TCatalogSet& set)>;
  int ReadEverySet(const std::filesystem::path& fileName, const TSetSink& take);

  // Exchanges everything read with other: a catalogue read on a worker thread is taken over
  // without copying a set.
  void Swap(TCatalog& other) noexcept;

  // When set, the bytes of the file read so far, for another thread to show progress by.
  std::atomic<uint64_t>* BytesRead = nullptr;

  // The kind of the last file read.
  TElementTextKind FileKind = TElementTextKind::ElementLines;

  // UTF-8 (a name line that is not valid UTF-8 is read as Windows-1252), at most 24 characters,
  // with every control character blanked (BlankControlCharacters) and no blank at the start; a
  // name that shows nothing is "#" and the number, as for a set without a name line.
  // Each holds count + 1 entries after a read.
  std::vector<std::string> CatalogNames;
  std::vector<TCatalogSet> CatalogElements;
  std::vector<uint8_t> CatalogFlags;  // 1 for a tracked slot
  // Sets of the last read that failed validation.
  uint16_t InvalidElementCount = 0;

 private:
  // Reads the next name / line 1 / line 2 group of the open file into slot 0; false when
  // the file ended before another non-blank line.
  bool ReadNextSatellite();
  // False for a missing file; throws as ReadElementFile. Sets FileKind from the file's start
  // and, for a message, reads all of it into messageSets_.
  bool OpenElementFile(const std::filesystem::path& fileName);
  // Puts set `index` of messageSets_ into slot 0.
  void TakeMessageSet(size_t index);
  void CloseElementFile();
  // The next set that passes validation into slot 0, counting the others; false at the end
  // of the file.
  bool ReadValidSet();
  // Hands every valid set, through slot 0, to take; false for a missing file.
  bool ReadSets(const std::filesystem::path& fileName, const TSetSink& take, int& count);
  int ReadByte();
  // Up to length bytes of the open file; fewer only at its end. Throws on a read error. Reads
  // through the line buffer, so only before any line is read.
  std::string ReadBlock(size_t length);
  // The next line; cut, when given, tells whether bytes past maxLength were dropped.
  std::string ReadLine(size_t maxLength, bool* cut = nullptr);

  TInputFile file_;
  std::array<unsigned char, 1024> buffer_{};
  size_t bufferPos_ = 0;
  size_t bufferLen_ = 0;
  int pushBack_ = -1;
  bool endOfFile_ = false;
  std::string prefix_;  // the file's start, read before the buffer
  size_t prefixPos_ = 0;
  std::vector<TOmmSet> messageSets_;
};

}  // namespace zen
