// Saves killed at random moments: a program saving the settings, the location database and the
// notes in a loop is killed 50 times, and each time every file is a whole version, the one
// before or the one being written, and nothing is left that the next start would read.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
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

struct TVersionBytes {
  std::string settings;
  std::string locations;
  std::string notes;
};

// The files of each version as a save that nothing interrupted leaves them, written by the
// same writers into a folder of their own once per version.
class TWholeVersions {
 public:
  explicit TWholeVersions(fs::path folder) : folder_(std::move(folder)) {}

  const TVersionBytes& Of(int64_t version) {
    auto known = versions_.find(version);
    if (known != versions_.end()) return known->second;
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    test::SaveVersion(folder_, version);
    TVersionBytes bytes{FileBytes(test::SavedSettingsFile(folder_)),
                        FileBytes(test::SavedLocationFile(folder_)),
                        FileBytes(test::SavedNotesFile(folder_))};
    return versions_.emplace(version, std::move(bytes)).first->second;
  }

 private:
  fs::path folder_;
  std::map<int64_t, TVersionBytes> versions_;
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

// Names in the three folders besides the files themselves. A kill may leave a file's temporary
// (its name and ".tmp"), which no reader opens and the next save replaces; anything else is
// unexpected.
std::set<std::string> Leftovers(const fs::path& folder, bool& unexpected) {
  const std::set<fs::path> files = {test::SavedSettingsFile(folder),
                                    test::SavedLocationFile(folder), test::SavedNotesFile(folder)};
  std::set<std::string> left;
  for (const fs::path& file : files) {
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      if (files.count(entry.path()) > 0) continue;
      left.insert(entry.path().filename().string());
      bool temporary = false;
      for (const fs::path& f : files) temporary |= entry.path() == fs::path(f.string() + ".tmp");
      unexpected |= !temporary;
    }
  }
  return left;
}

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

    bool unexpected = false;
    const std::set<std::string> left = Leftovers(folder, unexpected);
    ASSERT_FALSE(unexpected) << "left in the folders: " << ::testing::PrintToString(left);

    const test::TSavedVersions now = test::ReadSavedVersions(folder);
    ASSERT_TRUE(now.settings && now.locations && now.notes)
        << "a file holds no version: " << FileBytes(test::SavedSettingsFile(folder)).size() << " "
        << FileBytes(test::SavedLocationFile(folder)).size() << " "
        << FileBytes(test::SavedNotesFile(folder)).size() << " bytes";
    // Every round saves the files in this order, and a start goes on from the newest.
    EXPECT_GE(*now.settings, *now.locations);
    EXPECT_GE(*now.locations, *now.notes);
    EXPECT_GE(*now.settings, *before.settings);
    EXPECT_GE(*now.locations, *before.locations);
    EXPECT_GE(*now.notes, *before.notes);

    EXPECT_EQ(FileBytes(test::SavedSettingsFile(folder)), whole.Of(*now.settings).settings);
    EXPECT_EQ(FileBytes(test::SavedLocationFile(folder)), whole.Of(*now.locations).locations);
    EXPECT_EQ(FileBytes(test::SavedNotesFile(folder)), whole.Of(*now.notes).notes);

    // The list of databases the next start offers holds this one alone.
    TLocationDb db;
    db.LocationFile = test::kSavedLocationFile;
    db.zapodawajLokacje(folder);
    EXPECT_EQ(db.LocationDbFiles, std::vector<std::string>{"World"});

    if (!left.empty() || *now.settings != *now.notes) ++killsDuringSave;
    before = now;
  }
  // Saves went on between the kills.
  EXPECT_GT(*before.notes, 0);
  RecordProperty("kills_during_a_save", killsDuringSave);
  RecordProperty("versions_saved", static_cast<int>(*before.settings));
}

}  // namespace
}  // namespace zen
