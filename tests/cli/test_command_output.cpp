// The commands' standard output: a write that fails is an error with its reason, for every
// command, and the command stops at the first failed write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/scratch_folder.h"

namespace zen::cli {
namespace {

// A device that takes a number of characters and then fails every write as a full disk does.
class TFullAfter : public std::streambuf {
 public:
  explicit TFullAfter(size_t room) : room_(room) {}
  size_t attemptsAfterFull() const { return attemptsAfterFull_; }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    if (taken_ + static_cast<size_t>(n) <= room_) {
      taken_ += static_cast<size_t>(n);
      return n;
    }
    ++attemptsAfterFull_;
    errno = ENOSPC;
    return 0;
  }

 private:
  size_t room_;
  size_t taken_ = 0;
  size_t attemptsAfterFull_ = 0;
};

struct TCommandCase {
  const char* command;
  std::vector<std::string> options;  // after the element file
};

class CommandOutput : public testing::TestWithParam<TCommandCase> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    std::ofstream(file_)
        << "ISS\n"
        << "1 25544U 98067A   01352.14768052  .00078250  00000-0  94854-3 0  8583\n"
        << "2 25544  51.6400 243.0480 0003252  49.4561  86.0846 15.59935715175780\n";
  }
  std::vector<std::string> Args() const {
    std::vector<std::string> args = {file_.string()};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    return args;
  }
  TCommandFunction Command() const { return FindCommand(GetParam().command)->run; }

  test::TScratchFolder folder_{"zen_output_"};
  std::filesystem::path file_ = folder_.path() / "station.tle";
};

void PrintTo(const TCommandCase& c, std::ostream* os) {
  *os << c.command;
}

// Many lines, so the device fills long before the end.
const TCommandCase kCases[] = {
    {"ephem", {"--stop", "1440", "--step", "0.1"}},
    {"look",
     {"--sat", "25544", "--site", "48.2,16.37,190", "--from", "2001-12-18T00:00:00Z", "--to",
      "2001-12-19T00:00:00Z", "--step", "5"}},
};

TEST_P(CommandOutput, AFullDeviceIsAnErrorAndEndsTheCommand) {
  TFullAfter device(1000);
  std::ostream out(&device);
  std::ostringstream err;
  EXPECT_NE(Command()(Args(), out, err), 0);
  EXPECT_NE(err.str().find("cannot write the output: " + std::string(std::strerror(ENOSPC))),
            std::string::npos)
      << err.str();
  EXPECT_EQ(device.attemptsAfterFull(), 1u) << "the command went on writing";
}

// The program's own standard output on a device that is always full: the failure shows when
// the buffer is written, however short the output.
TEST_P(CommandOutput, StandardOutputOnAFullDeviceIsAnError) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (const bool shortRun : {false, true}) {
    std::vector<std::string> args = Args();
    if (shortRun && std::string(GetParam().command) == "ephem") args = {file_.string()};
    EXPECT_EXIT(
        {
          const int fd = open("/dev/full", O_WRONLY);
          if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0) std::_Exit(99);
          std::_Exit(Command()(args, std::cout, std::cerr));
        },
        testing::ExitedWithCode(1), "cannot write the output")
        << (shortRun ? "short run" : "long run");
  }
}

INSTANTIATE_TEST_SUITE_P(BothCommands, CommandOutput, testing::ValuesIn(kCases));

}  // namespace
}  // namespace zen::cli
