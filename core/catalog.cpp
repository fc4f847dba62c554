// Reading element files into the catalogue.
#include "core/catalog.h"

#include <cerrno>
#include <system_error>

#include "core/numeric.h"
#include "core/text_encoding.h"

namespace zen {

namespace {

// Characters, not bytes.
constexpr size_t kNameLength = 24;
constexpr size_t kElementLineLength = 69;
constexpr size_t kFreeLineLength = 255;

}  // namespace

TCatalog::TCatalog() = default;

TCatalog::~TCatalog() {
  if (file_ != nullptr) std::fclose(file_);
}

int TCatalog::ReadByte() {
  if (pushBack_ >= 0) {
    int c = pushBack_;
    pushBack_ = -1;
    return c;
  }
  if (bufferPos_ >= bufferLen_) {
    if (endOfFile_ || file_ == nullptr) {
      endOfFile_ = true;
      return -1;
    }
    bufferLen_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    bufferPos_ = 0;
    if (bufferLen_ == 0) {
      if (std::ferror(file_)) {
        throw std::system_error(errno ? errno : EIO, std::generic_category(),
                                "Cannot read the element file");
      }
      endOfFile_ = true;
      return -1;
    }
  }
  return buffer_[bufferPos_++];
}

// CR, LF, CR LF, LF CR, CR CR and LF LF each end one line; bytes past maxLength are dropped.
std::string TCatalog::ReadLine(size_t maxLength) {
  std::string line;
  int c;
  while ((c = ReadByte()) >= 0 && c != '\r' && c != '\n') {
    if (line.size() < maxLength) line.push_back(static_cast<char>(c));
  }
  if (c >= 0) {
    int next = ReadByte();
    if (next >= 0 && next != '\r' && next != '\n') pushBack_ = next;
  }
  return line;
}

bool TCatalog::ReadNextSatellite(int slot) {
  std::string first;
  for (;;) {
    first = TrimBlanks(ReadLine(kFreeLineLength));
    if (!first.empty()) break;
    if (endOfFile_) return false;
  }
  TTleLines& lines = CatalogElements[static_cast<size_t>(slot)];
  std::string& name = CatalogNames[static_cast<size_t>(slot)];
  if (first.size() == kElementLineLength && first.compare(0, 2, "1 ") == 0) {
    lines.line1 = first;
    lines.line2 = ReadLine(kElementLineLength);
    name = Utf8Prefix(ToUtf8("#" + CatalogNumberText(lines)), kNameLength);
  } else {
    // Converted once, here, then cut between characters: every layer shows the catalogue's
    // names as they are.
    name = Utf8Prefix(ToUtf8(first), kNameLength);
    lines.line1 = ReadLine(kElementLineLength);
    lines.line2 = ReadLine(kElementLineLength);
  }
  return true;
}

bool TCatalog::OpenElementFile(const std::filesystem::path& fileName) {
  InvalidElementCount = 0;
  ElementFileTruncated = false;
  endOfFile_ = false;
  bufferPos_ = 0;
  bufferLen_ = 0;
  pushBack_ = -1;

  std::error_code ec;
  if (!std::filesystem::exists(fileName, ec)) return false;
  if (std::filesystem::is_directory(fileName, ec)) {
    throw std::system_error(std::make_error_code(std::errc::is_a_directory),
                            "Cannot open the element file " + fileName.string());
  }
  file_ = std::fopen(fileName.c_str(), "rb");
  if (file_ == nullptr) {
    throw std::system_error(errno, std::generic_category(),
                            "Cannot open the element file " + fileName.string());
  }
  return true;
}

void TCatalog::CloseElementFile() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool TCatalog::ReadValidSet(int slot) {
  while (ReadNextSatellite(slot)) {
    if (ElementSetValid(CatalogElements[static_cast<size_t>(slot)])) return true;
    if (InvalidElementCount < UINT16_MAX) ++InvalidElementCount;
  }
  return false;
}

int TCatalog::ReadElementFile(const std::filesystem::path& fileName) {
  if (!OpenElementFile(fileName)) return 0;
  int count = 0;
  try {
    while (count < CatalogCapacity && ReadValidSet(count + 1)) ++count;
    // Stopping at the capacity only truncates when another non-blank line follows; a file of
    // exactly 1000 sets with a final line end is complete.
    if (count == CatalogCapacity) {
      while (!endOfFile_) {
        if (!TrimBlanks(ReadLine(kFreeLineLength)).empty()) {
          ElementFileTruncated = true;
          break;
        }
      }
    }
  } catch (...) {
    CloseElementFile();
    throw;
  }
  CloseElementFile();
  return count;
}

int TCatalog::ReadEverySet(const std::filesystem::path& fileName, const TSetSink& take) {
  if (!OpenElementFile(fileName)) return 0;
  int count = 0;
  try {
    // Slot 0, never a catalogue entry, holds each set while it is handed on.
    while (ReadValidSet(0)) {
      take(CatalogNames[0], CatalogElements[0]);
      ++count;
    }
  } catch (...) {
    CloseElementFile();
    throw;
  }
  CloseElementFile();
  return count;
}

}  // namespace zen
