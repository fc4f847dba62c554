// Reading element files into the catalogue.
#include "core/catalog.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "core/alpha5.h"
#include "core/numeric.h"
#include "core/text_encoding.h"

namespace zen {

namespace {

// Characters, not bytes.
constexpr size_t kNameLength = 24;
constexpr size_t kElementLineLength = 69;
constexpr size_t kFreeLineLength = 255;
// Enough of a file's start to tell its kind: a message's first line or first character.
constexpr size_t kKindPrefixLength = 64 * 1024;

std::string NameOfNumber(const std::string& numberText) {
  return Utf8Prefix(ToUtf8("#" + numberText), kNameLength);
}

// A name as every layer shows and prints it: UTF-8, with no character that could move a
// terminal's cursor, split a report's line or turn a text around. Cleaned before the cut, so
// the cut counts the characters shown; blanks at the ends go as they go from a name line.
// Empty when nothing shows.
std::string NameOfText(const std::string& bytes) {
  return Utf8Prefix(TrimBlanks(BlankControlCharacters(ToUtf8(bytes))), kNameLength);
}

// Decodes the lines read into set once, so that every layer shares the same elements.
void DecodeLines(TCatalogSet& set) {
  const std::string& line1 = set.lines.line1;
  std::optional<int32_t> number = line1.size() >= 7
                                      ? CatalogNumberOfColumns(std::string_view(line1).substr(2, 5))
                                      : std::nullopt;
  set.number = number ? *number : -1;
  try {
    LoadElements(set.lines, set.elements);
    set.decodable = true;
    set.decodeError.clear();
  } catch (const TElementError& error) {
    set.elements = TElements{};
    set.elements.catalogNumber = CatalogNumberText(set.lines);
    set.decodable = false;
    set.decodeError = error.what();
  }
}

}  // namespace

TCatalogSet DecodeCatalogSet(const TTleLines& lines) {
  TCatalogSet set;
  set.lines = lines;
  DecodeLines(set);
  return set;
}

TCatalog::TCatalog() : CatalogNames(1), CatalogElements(1), CatalogFlags(1, 0) {}

void TCatalog::Swap(TCatalog& other) noexcept {
  std::swap(FileKind, other.FileKind);
  CatalogNames.swap(other.CatalogNames);
  CatalogElements.swap(other.CatalogElements);
  CatalogFlags.swap(other.CatalogFlags);
  std::swap(InvalidElementCount, other.InvalidElementCount);
}

TCatalog::~TCatalog() = default;

int TCatalog::ReadByte() {
  if (pushBack_ >= 0) {
    int c = pushBack_;
    pushBack_ = -1;
    return c;
  }
  if (prefixPos_ < prefix_.size()) return static_cast<unsigned char>(prefix_[prefixPos_++]);
  if (bufferPos_ >= bufferLen_) {
    if (endOfFile_ || !file_.IsOpen()) {
      endOfFile_ = true;
      return -1;
    }
    bufferLen_ = file_.Read(reinterpret_cast<char*>(buffer_.data()), buffer_.size());
    bufferPos_ = 0;
    if (BytesRead != nullptr) BytesRead->fetch_add(bufferLen_, std::memory_order_relaxed);
    if (bufferLen_ == 0) {
      endOfFile_ = true;
      return -1;
    }
  }
  return buffer_[bufferPos_++];
}

// CR, LF, CR LF, LF CR, CR CR and LF LF each end one line; bytes past maxLength are dropped.
std::string TCatalog::ReadLine(size_t maxLength, bool* cut) {
  std::string line;
  int c;
  if (cut != nullptr) *cut = false;
  while ((c = ReadByte()) >= 0 && c != '\r' && c != '\n') {
    if (line.size() < maxLength) {
      line.push_back(static_cast<char>(c));
    } else if (cut != nullptr) {
      *cut = true;
    }
  }
  if (c >= 0) {
    int next = ReadByte();
    if (next >= 0 && next != '\r' && next != '\n') pushBack_ = next;
  }
  return line;
}

bool TCatalog::ReadNextSatellite() {
  std::string first;
  bool cut = false;
  for (;;) {
    first = TrimBlanks(ReadLine(kFreeLineLength, &cut));
    if (!first.empty()) break;
    if (endOfFile_) return false;
  }
  TTleLines& lines = CatalogElements[0].lines;
  std::string& name = CatalogNames[0];
  if (first.size() == kElementLineLength && first.compare(0, 2, "1 ") == 0) {
    lines.line1 = first;
    lines.line2 = ReadLine(kElementLineLength);
    name = NameOfNumber(CatalogNumberText(lines));
  } else {
    // Converted and cleaned once, here, then cut between characters: every layer shows the
    // catalogue's names as they are. A UTF-8 line that the line's length cut inside a
    // character stays UTF-8.
    name = NameOfText(cut ? WithoutCutCharacter(first) : first);
    lines.line1 = ReadLine(kElementLineLength);
    lines.line2 = ReadLine(kElementLineLength);
    if (name.empty()) name = NameOfNumber(CatalogNumberText(lines));
  }
  return true;
}

bool TCatalog::OpenElementFile(const std::filesystem::path& fileName) {
  InvalidElementCount = 0;
  endOfFile_ = false;
  bufferPos_ = 0;
  bufferLen_ = 0;
  pushBack_ = -1;
  prefix_.clear();
  prefixPos_ = 0;
  messageSets_.clear();
  FileKind = TElementTextKind::ElementLines;

  try {
    file_ = OpenFileToRead(fileName, kElementFileLimit);
  } catch (const TFileError& error) {
    // A missing file (or a link to none) is an empty catalogue, not a fault.
    if (error.Code() == ENOENT) return false;
    throw;
  }
  // The start of the file tells its kind; element lines are then read from it as from the
  // rest of the file, a message is read whole.
  try {
    prefix_ = ReadBlock(kKindPrefixLength);
    FileKind = ElementTextKind(prefix_);
    if (FileKind != TElementTextKind::ElementLines) {
      std::string text = std::move(prefix_);
      prefix_.clear();
      for (std::string block; !(block = ReadBlock(1 << 20)).empty();) text += block;
      TOmmReadResult read = ReadOmmText(text);
      messageSets_ = std::move(read.sets);
      InvalidElementCount = static_cast<uint16_t>(std::min(read.invalidCount, int{UINT16_MAX}));
      endOfFile_ = true;
    }
  } catch (...) {
    CloseElementFile();
    throw;
  }
  return true;
}

// The block grows with what is read, so a small file costs no more memory than its size.
std::string TCatalog::ReadBlock(size_t length) {
  std::string block;
  while (block.size() < length) {
    const size_t want = std::min(buffer_.size(), length - block.size());
    const size_t got = file_.Read(reinterpret_cast<char*>(buffer_.data()), want);
    block.append(reinterpret_cast<const char*>(buffer_.data()), got);
    if (BytesRead != nullptr) BytesRead->fetch_add(got, std::memory_order_relaxed);
    if (got == 0) break;
  }
  return block;
}

void TCatalog::TakeMessageSet(size_t index) {
  const TOmmSet& message = messageSets_[index];
  TCatalogSet& set = CatalogElements[0];
  set.lines = TTleLines{};
  set.elements = message.elements;
  set.number = message.catalogNumber;
  set.decodable = true;
  set.decodeError.clear();
  const std::string name = NameOfText(message.name);
  CatalogNames[0] = name.empty() ? NameOfNumber(message.elements.catalogNumber) : name;
}

void TCatalog::CloseElementFile() { file_ = TInputFile(); }

bool TCatalog::ReadValidSet() {
  while (ReadNextSatellite()) {
    TCatalogSet& set = CatalogElements[0];
    if (ElementSetValid(set.lines)) {
      DecodeLines(set);
      return true;
    }
    if (InvalidElementCount < UINT16_MAX) ++InvalidElementCount;
  }
  return false;
}

bool TCatalog::ReadSets(const std::filesystem::path& fileName, const TSetSink& take, int& count) {
  count = 0;
  if (!OpenElementFile(fileName)) return false;
  try {
    // Slot 0, never a catalogue entry, holds each set while it is handed on.
    if (FileKind != TElementTextKind::ElementLines) {
      CloseElementFile();
      for (size_t i = 0; i < messageSets_.size(); ++i) {
        TakeMessageSet(i);
        take(CatalogNames[0], CatalogElements[0]);
        ++count;
      }
      messageSets_.clear();
      return true;
    }
    while (ReadValidSet()) {
      take(CatalogNames[0], CatalogElements[0]);
      ++count;
    }
  } catch (...) {
    messageSets_.clear();
    CloseElementFile();
    throw;
  }
  CloseElementFile();
  return true;
}

int TCatalog::ReadElementFile(const std::filesystem::path& fileName) {
  std::vector<std::string> names(1);
  std::vector<TCatalogSet> sets(1);
  // An element set takes about 170 bytes of its file; a message file holds fewer per byte.
  std::error_code ec;
  const auto bytes = std::filesystem::file_size(fileName, ec);
  if (!ec) {
    const size_t expected = std::min<uintmax_t>(bytes / 140 + 1, 1u << 22);
    names.reserve(expected);
    sets.reserve(expected);
  }
  int count = 0;
  if (!ReadSets(fileName, [&](const std::string& name, const TCatalogSet& set) {
        names.push_back(name);
        sets.push_back(set);
      }, count)) {
    return 0;
  }
  CatalogNames = std::move(names);
  CatalogElements = std::move(sets);
  CatalogFlags.assign(CatalogNames.size(), 0);
  return count;
}

int TCatalog::ReadEverySet(const std::filesystem::path& fileName, const TSetSink& take) {
  int count = 0;
  ReadSets(fileName, take, count);
  return count;
}

}  // namespace zen
