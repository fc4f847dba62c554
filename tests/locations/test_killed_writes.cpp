// Saves killed at random moments: a program saving the settings, the location database and the
// notes in a loop is killed 50 times, and each time every file is a whole version, the one
// before or the one being written, and nothing is left that the next start would read.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "core/scratch_folder.h"
#include "save_loop/save_versions.h"

extern char** environ;

namespace zen {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 50;
// A round of three saves, each put on disk, takes some milliseconds; the kills fall anywhere
// in the first few rounds after the start.
constexpr int kLongestWaitMicroseconds = 40000;
constexpr int kStartTimeoutMilliseconds = 30000;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// File i of a version as a save that nothing interrupted leaves it, written by the same
// writers into a folder of their own once per version.
class TWholeVersions {
 public:
  explicit TWholeVersions(fs::path folder) : folder_(std::move(folder)) {}

  const std::string& File(int64_t version, size_t i) {
    auto [at, fresh] = versions_.try_emplace(version);
    if (fresh) {
      std::error_code ignored;
      fs::remove_all(folder_, ignored);
      test::SaveVersion(folder_, version);
      const auto files = test::SavedFiles(folder_);
      for (size_t k = 0; k < files.size(); ++k) at->second[k] = FileBytes(files[k]);
    }
    return at->second[i];
  }

 private:
  fs::path folder_;
  std::map<int64_t, std::array<std::string, 3>> versions_;
};

// The saving program, started with its output on a pipe.
class TSaveLoop {
 public:
  explicit TSaveLoop(const fs::path& folder) {
    int ends[2];
    if (::pipe(ends) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    const std::string program = ZEN_SAVE_LOOP_FILE;
    const std::string folderText = folder.string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(folderText.c_str()),
                    nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    output_ = ends[0];
  }
  ~TSaveLoop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
  }
  TSaveLoop(const TSaveLoop&) = delete;
  TSaveLoop& operator=(const TSaveLoop&) = delete;

  // True once the program has read its files and begun saving.
  bool Started() const {
    if (pid_ <= 0 || output_ < 0) return false;
    pollfd wait{output_, POLLIN, 0};
    char mark = 0;
    return ::poll(&wait, 1, kStartTimeoutMilliseconds) == 1 && ::read(output_, &mark, 1) == 1 &&
           mark == 'R';
  }

  // Kills the program; true when it was still running, so the kill was what ended it.
  bool Kill() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    const bool reaped = ::waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return reaped && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

TEST(KilledWrites, EveryFileIsAWholeVersionAfterEachOf50Kills) {
  test::TScratchFolder scratch{"zen_killed_writes_"};
  ASSERT_FALSE(scratch.path().empty());
  const fs::path folder = scratch.path() / "program";
  TWholeVersions whole(scratch.path() / "reference");
  test::SaveVersion(folder, 0);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("random seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> waitMicroseconds(0, kLongestWaitMicroseconds);
  test::TSavedVersions before{0, 0, 0};
  int killsDuringSave = 0;
  for (int kill = 1; kill <= kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    TSaveLoop loop(folder);
    ASSERT_TRUE(loop.Started()) << "the saving program did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(waitMicroseconds(random)));
    ASSERT_TRUE(loop.Kill()) << "the saving program ended before it was killed";

    // Each file has a folder of its own. A kill may leave the file's temporary (its name and
    // ".tmp"), which no reader opens and the next save replaces; nothing else may be there.
    const auto files = test::SavedFiles(folder);
    bool leftTemporary = false;
    for (const fs::path& file : files) {
      for (const auto& entry : fs::directory_iterator(file.parent_path())) {
        if (entry.path() == file) continue;
        ASSERT_EQ(entry.path(), fs::path(file.string() + ".tmp")) << "left in the folder";
        leftTemporary = true;
      }
    }

    const test::TSavedVersions now = test::ReadSavedVersions(folder);
    for (size_t i = 0; i < files.size(); ++i) {
      ASSERT_TRUE(now[i]) << files[i] << " holds no version (" << FileBytes(files[i]).size()
                          << " bytes)";
      EXPECT_EQ(FileBytes(files[i]), whole.File(*now[i], i)) << files[i];
      EXPECT_GE(*now[i], *before[i]) << files[i];
      // Every round saves the files in order, and a start goes on from the newest.
      if (i > 0) {
        EXPECT_GE(*now[i - 1], *now[i]);
      }
    }

    // The list of databases the next start offers holds this one alone.
    TLocationDb db;
    db.LocationFile = test::kSavedLocationFile;
    db.zapodawajLokacje(folder);
    EXPECT_EQ(db.LocationDbFiles, std::vector<std::string>{"World"});

    if (leftTemporary || *now[0] != *now[2]) ++killsDuringSave;
    before = now;
  }
  // Saves went on between the kills.
  EXPECT_GT(*before[2], 0);
  RecordProperty("kills_during_a_save", killsDuringSave);
  RecordProperty("versions_saved", static_cast<int>(*before[0]));
}

}  // namespace
}  // namespace zen
