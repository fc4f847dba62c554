// What the fuzz programs share: scratch files for readers that only take a path, and the input
// cut into lines or words.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zen::fuzz {

// The folder for scratch files: $TMPDIR, else the shared-memory folder, else /tmp. Memory
// first: a disk file rewritten tens of thousands of times a second is flushed at every close
// on some file systems, which slows a run tenfold.
inline std::filesystem::path ScratchRoot() {
  const char* tmp = std::getenv("TMPDIR");
  if (tmp != nullptr && *tmp != '\0') return tmp;
  if (access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
  return "/tmp";
}

// A folder of this process's own, made once and removed when the process ends normally (a
// crash leaves it for the report's sake).
class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = (ScratchRoot() / "zen-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("zen-fuzz: cannot make a scratch folder");
      std::abort();
    }
    path_ = pattern;
  }
  ~TScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The process's scratch folder, made on first use.
inline const std::filesystem::path& Scratch() {
  static TScratchFolder folder;
  return folder.Path();
}

// Writes bytes as the whole content of file, replacing what was there; aborts when the disk
// refuses, since every later run would test a stale file.
inline void WriteWhole(const std::filesystem::path& file, std::string_view bytes) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() ||
      std::fclose(out) != 0) {
    std::perror("zen-fuzz: cannot write a scratch file");
    std::abort();
  }
}

// The file relative under the scratch folder, holding bytes (its folder made when missing).
inline std::filesystem::path ScratchFile(const std::filesystem::path& relative,
                                         std::string_view bytes) {
  const std::filesystem::path file = Scratch() / relative;
  std::filesystem::create_directories(file.parent_path());
  WriteWhole(file, bytes);
  return file;
}

// Stops the run with a report when a property every answer must have does not hold.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "zen-fuzz: does not hold: %s\n", what);
  std::abort();
}

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The text cut at every "\n" (a final piece without one included, even when empty).
inline std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

// The text cut at every blank, tab or line end; empty words are kept out. A word that needs a
// blank inside is out of reach, which costs little: the readers take words as the shell gives
// them, and every other byte still arrives.
inline std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(" \t\n", start);
    const size_t stop = end == std::string_view::npos ? text.size() : end;
    if (stop > start) words.emplace_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return words;
}

}  // namespace zen::fuzz
