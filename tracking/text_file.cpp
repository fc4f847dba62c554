// Text files the program keeps: read with any line end and encoding fallback, written safely.
#include "tracking/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace zen {

namespace {

std::string Describe(const std::error_code& ec) { return ec.message(); }

}  // namespace

std::vector<std::string> ReadTextLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw TFileError("Cannot read " + file.string() + ": " + std::strerror(errno));
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TFileError("Cannot read " + file.string() + ": read error");
  std::string text = ToUtf8(bytes);
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  namespace fs = std::filesystem;
  fs::path temporary = file;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      throw TFileError("Cannot write " + file.string() + ": " + std::strerror(errno));
    }
    for (const std::string& line : lines) out << line << "\r\n";
    out.flush();
    if (!out) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      throw TFileError("Cannot write " + file.string() + ": the disk may be full");
    }
  }
  std::error_code ec;
  fs::rename(temporary, file, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw TFileError("Cannot write " + file.string() + ": " + Describe(ec));
  }
}

}  // namespace zen
