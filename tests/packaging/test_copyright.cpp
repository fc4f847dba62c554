// The package's papers: the copyright file in Debian's machine-readable form, with every
// licence it names given and every file pattern naming files of the source tree, and the
// licence text at the root of the tree.
#include <fnmatch.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zen {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = ZEN_SOURCE_DIR;

// One paragraph: each field's first line, and its continuation lines joined by "\n".
using TParagraph = std::map<std::string, std::string>;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Paragraphs are separated by empty lines; a line starting with a blank continues the field
// above it. Returns the paragraphs, and what was malformed in problems.
std::vector<TParagraph> ReadParagraphs(const std::string& text,
                                       std::vector<std::string>& problems) {
  std::vector<TParagraph> paragraphs;
  std::istringstream in(text);
  std::string field;
  bool open = false;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.find_first_not_of(" \t") == std::string::npos) {
      open = false;
      continue;
    }
    if (!open) {
      paragraphs.emplace_back();
      open = true;
      field.clear();
    }
    if (line[0] == ' ' || line[0] == '\t') {
      if (field.empty())
        problems.push_back("line " + std::to_string(number) + " continues nothing");
      paragraphs.back()[field] += "\n" + line.substr(1);
      continue;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || line.find(' ') < colon) {
      problems.push_back("line " + std::to_string(number) + " is no field: " + line);
      continue;
    }
    field = line.substr(0, colon);
    if (paragraphs.back().count(field) != 0) {
      problems.push_back("line " + std::to_string(number) + " repeats " + field);
    }
    const size_t value = line.find_first_not_of(' ', colon + 1);
    paragraphs.back()[field] = value == std::string::npos ? "" : line.substr(value);
  }
  return paragraphs;
}

std::string FirstLine(const std::string& value) {
  return value.substr(0, value.find('\n'));
}

// The files of the source tree, as paths relative to it, without build and version-control
// folders.
std::vector<std::string> SourceFiles() {
  std::vector<std::string> files;
  for (auto it = fs::recursive_directory_iterator(kSource);
       it != fs::recursive_directory_iterator(); ++it) {
    const std::string name = it->path().filename().string();
    if (it->is_directory() && (name.rfind("build", 0) == 0 || name.rfind('.', 0) == 0)) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file()) files.push_back(fs::relative(it->path(), kSource).string());
  }
  return files;
}

TEST(Copyright, IsMachineReadableWithEveryLicenceGiven) {
  std::vector<std::string> problems;
  const std::vector<TParagraph> paragraphs =
      ReadParagraphs(ReadAll(kSource / "packaging" / "copyright"), problems);
  EXPECT_EQ(problems, std::vector<std::string>{});
  ASSERT_GE(paragraphs.size(), 3u);
  EXPECT_EQ(paragraphs[0].count("Format"), 1u);
  if (paragraphs[0].count("Format") == 1) {
    EXPECT_EQ(paragraphs[0].at("Format"),
              "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/");
  }
  EXPECT_EQ(paragraphs[1].count("Files"), 1u) << "the first paragraph after the header";
  if (paragraphs[1].count("Files") == 1) {
    EXPECT_EQ(paragraphs[1].at("Files"), "*") << "the program's own licence comes first";
    EXPECT_EQ(paragraphs[1].at("License"), "GPL-3+");
  }

  const std::vector<std::string> files = SourceFiles();
  std::set<std::string> referred;            // licences named without their text
  std::map<std::string, std::string> given;  // stand-alone licence paragraphs
  for (size_t i = 1; i < paragraphs.size(); ++i) {
    const TParagraph& p = paragraphs[i];
    EXPECT_EQ(p.count("License"), 1u) << "paragraph " << i;
    if (p.count("License") == 0) continue;
    const std::string& license = p.at("License");
    const std::string name = FirstLine(license);
    EXPECT_FALSE(name.empty()) << "paragraph " << i;
    if (p.count("Files") == 0) {
      EXPECT_NE(license.find('\n'), std::string::npos) << name << " has no text";
      EXPECT_EQ(given.count(name), 0u) << name << " is given twice";
      given[name] = license;
      continue;
    }
    EXPECT_EQ(p.count("Copyright"), 1u) << p.at("Files");
    if (license.find('\n') == std::string::npos) referred.insert(name);
    // Patterns are separated by blanks or line ends; "*" matches "/" as well.
    std::istringstream patterns(p.at("Files"));
    for (std::string pattern; patterns >> pattern;) {
      bool matched = false;
      for (const std::string& file : files)
        matched |= fnmatch(pattern.c_str(), file.c_str(), 0) == 0;
      EXPECT_TRUE(matched) << "no file of the source tree is " << pattern;
    }
  }
  for (const std::string& name : referred) {
    EXPECT_EQ(given.count(name), 1u) << name << " is named but not given";
  }
  for (const auto& [name, text] : given) {
    EXPECT_EQ(referred.count(name), 1u) << name << " is given but no file uses it";
  }
  ASSERT_EQ(given.count("GPL-3+"), 1u);
  EXPECT_NE(given.at("GPL-3+").find("/usr/share/common-licenses/GPL-3"), std::string::npos);
}

// LICENSE is the GNU GPL version 3 as the system keeps it, when the system has it.
TEST(Copyright, LicenseIsTheGplVersion3) {
  const std::string license = ReadAll(kSource / "LICENSE");
  EXPECT_EQ(license.rfind("                    GNU GENERAL PUBLIC LICENSE\n"
                          "                       Version 3, 29 June 2007\n",
                          0),
            0u);
  const fs::path system = "/usr/share/common-licenses/GPL-3";
  if (!fs::exists(system)) GTEST_SKIP() << "this system keeps no copy of the licence";
  EXPECT_EQ(license, ReadAll(system));
}

}  // namespace
}  // namespace zen
