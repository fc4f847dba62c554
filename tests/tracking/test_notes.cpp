// Notes files and the text files the program keeps.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/scratch_folder.h"
#include "tracking/notes.h"
#include "tracking/text_file.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

class NotesFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(home_.empty());
    fs::create_directories(home_ / "Notes");
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(home_ / "Notes", fs::perms::owner_all, ec);
  }
  std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  test::TScratchFolder folder_{"zen_notes_"};
  const fs::path& home_ = folder_.path();
};

TEST_F(NotesFolder, SavedDeletedWhenEmptiedAndReloaded) {
  fs::path file = NotesFilePath(home_, "25544");
  EXPECT_EQ(file, home_ / "Notes" / "25544.txt");
  EXPECT_EQ(ZapodawajNotes(file), std::vector<std::string>{kNotesEmpty});
  SaveNotes(file, {"Bright pass at 21:14", "", "mag -3"});
  EXPECT_EQ(Bytes(file), "Bright pass at 21:14\r\n\r\nmag -3\r\n");
  EXPECT_EQ(ZapodawajNotes(file), (std::vector<std::string>{"Bright pass at 21:14", "", "mag -3"}));
  EXPECT_EQ(SaveNotes(file, {}), std::vector<std::string>{kNotesEmpty});
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(ZapodawajNotes(file), std::vector<std::string>{kNotesEmpty});
  EXPECT_FALSE(fs::exists(home_ / "Notes" / "25544.txt.tmp"));
}

TEST_F(NotesFolder, AFailedWriteKeepsTheOldFileAndSaysWhy) {
  if (geteuid() == 0) {
    // Root writes into read-only folders; a missing folder fails for everybody.
    fs::path file = home_ / "NoSuchFolder" / "1.txt";
    try {
      SaveNotes(file, {"x"});
      ADD_FAILURE() << "no error";
    } catch (const TFileError& e) {
      EXPECT_NE(std::string(e.what()).find("NoSuchFolder"), std::string::npos) << e.what();
    }
    return;
  }
  fs::path file = NotesFilePath(home_, "00005");
  SaveNotes(file, {"keep me"});
  fs::permissions(home_ / "Notes", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THROW(SaveNotes(file, {"new"}), TFileError);
  EXPECT_EQ(Bytes(file), "keep me\r\n");
}

TEST_F(NotesFolder, WrittenLinesReadBackTheSame) {
  const std::vector<std::string> cases[] = {{}, {""}, {"caf\u00E9 \u20AC", "", "  spaced  "}};
  for (const std::vector<std::string>& lines : cases) {
    WriteTextLines(home_ / "round.txt", lines);
    EXPECT_EQ(ReadTextLines(home_ / "round.txt", kSettingsFileLimit), lines);
    std::string crLf;
    for (const std::string& line : lines) crLf += line + "\r\n";
    EXPECT_EQ(Bytes(home_ / "round.txt"), crLf);
    EXPECT_FALSE(fs::exists(home_ / "round.txt.tmp"));
  }
}

// The message of the error WriteTextLines throws, or "" when it throws none.
std::string WriteError(const fs::path& file, const std::vector<std::string>& lines) {
  try {
    WriteTextLines(file, lines);
  } catch (const TFileError& e) {
    return e.what();
  }
  return "";
}

// A file-size limit stops the write part way, as a full disk does.
bool WriteFailsUnderSizeLimit(const fs::path& file) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{1000, 1000};
  return setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
         WriteError(file, std::vector<std::string>(200, std::string(70, 'x')))
                 .find(std::strerror(EFBIG)) != std::string::npos;
}

// Root ignores permissions, so the failures are made otherwise: a folder where the temporary
// must go, and a limit (in a child process, where it ends with the child) that cuts it short.
TEST_F(NotesFolder, AFailedWriteLeavesThePreviousCopyWholeAndSaysWhy) {
  const fs::path file = home_ / "kept.txt";
  WriteTextLines(file, {"keep me", "whole"});
  const std::string previous = Bytes(file);
  fs::create_directory(home_ / "kept.txt.tmp");
  const std::string error = WriteError(file, {"new"});
  EXPECT_NE(error.find(file.string() + ": " + std::strerror(EISDIR)), std::string::npos) << error;
  EXPECT_EQ(Bytes(file), previous);
  fs::remove(home_ / "kept.txt.tmp");
  EXPECT_EXIT(std::_Exit(WriteFailsUnderSizeLimit(file) ? 0 : 1), testing::ExitedWithCode(0), "");
  EXPECT_EQ(Bytes(file), previous);
  EXPECT_FALSE(fs::exists(home_ / "kept.txt.tmp"));
}

TEST_F(NotesFolder, ReadsAnyLineEndAndSingleByteText) {
  fs::path file = home_ / "mixed.txt";
  std::ofstream(file, std::ios::binary) << "a\r\nb\nc\rd\r\n\xE9t\xE9 \x80";
  std::vector<std::string> lines = ReadTextLines(file, kSettingsFileLimit);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[3], "d");
  EXPECT_EQ(lines[4], "\u00E9t\u00E9 \u20AC");
  EXPECT_EQ(ToUtf8("\u00B0 ok"), "\u00B0 ok");  // valid UTF-8 is kept
  EXPECT_EQ(ToUtf8("\xC3"), "\u00C3");           // a cut sequence is single-byte text
}

// Only a regular file is read. Anything else that stands at the name fails at once with the
// file's name and the reason: a folder, a named pipe with no writer (which would wait for one
// for ever) and a device (which would never end).
TEST_F(NotesFolder, OnlyARegularFileIsReadAndAnythingElseIsNamedAtOnce) {
  fs::create_directory(home_ / "folder.txt");
  ASSERT_EQ(::mkfifo((home_ / "pipe.txt").c_str(), 0600), 0);
  fs::create_symlink(home_ / "gone.txt", home_ / "dangling.txt");
  std::ofstream(home_ / "plain.txt", std::ios::binary) << "one\r\ntwo";
  const struct {
    fs::path file;
    const char* reason;  // nullptr: read
  } rows[] = {
      {home_ / "plain.txt", nullptr},
      {home_ / "folder.txt", "is a folder"},
      {home_ / "pipe.txt", "is not a regular file"},
      {"/dev/zero", "is not a regular file"},
      {home_ / "absent.txt", "No such file or directory"},
      {home_ / "dangling.txt", "No such file or directory"},
  };
  for (const auto& row : rows) {
    try {
      const std::vector<std::string> lines = ReadTextLines(row.file, kSettingsFileLimit);
      EXPECT_EQ(row.reason, nullptr) << row.file;
      EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
    } catch (const TFileError& error) {
      ASSERT_NE(row.reason, nullptr) << row.file << ": " << error.what();
      EXPECT_EQ(std::string(error.what()), "Cannot read " + row.file.string() + ": " + row.reason);
    }
  }
}

}  // namespace
}  // namespace zen
