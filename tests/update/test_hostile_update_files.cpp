// "zenarith update" run as a user runs it, with every kind of thing a user's folder may hold
// where the command reads its sources list or writes its file: each ends in a message and an
// exit status, never in a wait for good, and nothing that is not a plain file is replaced.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include "loopback_server.h"
#include "test_support.h"
#include "tracking/update_sources.h"

namespace zen {
namespace {

using test::Bytes;
using test::FileOf;
using test::Standing;

namespace fs = std::filesystem;

enum class TThing {
  Nothing,
  File,  // a plain file of the given bytes
  Folder,
  Pipe,          // a named pipe nobody writes to: opened to read, it would wait for good
  DeviceLink,    // a symbolic link to a character device
  Device,        // a character device node
  DanglingLink,  // a link to elsewhere/NAME, which is not there
  FileLink,      // a link to elsewhere/NAME, a plain file of the given bytes
};

// elsewhere/NAME beside path: where its links lead.
fs::path LinkedFile(const fs::path& path) {
  return path.parent_path() / "elsewhere" / path.filename();
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

// False when the system does not let this process make it (a device node needs the right).
bool Place(const fs::path& path, TThing thing, const std::string& bytes, const char* device) {
  fs::create_directories(path.parent_path());
  switch (thing) {
    case TThing::Nothing:
      return true;
    case TThing::File:
      WriteBytes(path, bytes);
      return true;
    case TThing::Folder:
      return fs::create_directory(path);
    case TThing::Pipe:
      return ::mkfifo(path.c_str(), 0644) == 0;
    case TThing::DeviceLink:
      fs::create_symlink(device, path);
      return true;
    case TThing::Device: {
      struct stat node {};
      return ::stat(device, &node) == 0 && ::mknod(path.c_str(), S_IFCHR | 0644, node.st_rdev) == 0;
    }
    case TThing::FileLink:
      WriteBytes(LinkedFile(path), bytes);
      [[fallthrough]];
    case TThing::DanglingLink:
      fs::create_symlink(fs::path("elsewhere") / path.filename(), path);
      return true;
  }
  return false;
}

// What a terminal would act on: control bytes but the line end, and the C1 controls of UTF-8.
bool HoldsControls(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if ((c < 0x20 && c != '\n') || c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F)) {
      return true;
    }
  }
  return false;
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Element sets numbered as asked, named "SAT n", of the epoch yyddd.dddddddd.
std::string Sets(std::initializer_list<int> numbers, const char* epoch) {
  std::string text;
  for (int n : numbers) {
    auto [l1, l2] = test::MakeLinePair(n);
    text +=
        "SAT " + std::to_string(n) + "\r\n" + test::Patched(l1, 19, epoch) + "\r\n" + l2 + "\r\n";
  }
  return text;
}

struct TRun {
  bool ended = false;
  int code = -1;
  std::string out;
  std::string err;
};


class HostileUpdateFiles : public ::testing::Test, private test::TCoreApplication {
 protected:
  void SetUp() override {
#ifndef ZEN_PROGRAM_FILE
    GTEST_SKIP() << "the program's path is not known to this build";
#endif
    ASSERT_TRUE(server.Listening());
    server.Answer("/good", test::TLoopbackServer::Http(200, QByteArray::fromStdString(fresh)));
  }

  // The program with args, the loopback server answering meanwhile. A run that has not ended
  // after a minute is stopped and reported as not ended.
  TRun Run(const QStringList& args) {
    TRun run;
#ifdef ZEN_PROGRAM_FILE
    QProcess program;
    QEventLoop loop;
    QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&program, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    program.start(QStringLiteral(ZEN_PROGRAM_FILE), QStringList{"update"} + args);
    loop.exec();
    if (program.state() != QProcess::NotRunning) {
      program.kill();
      program.waitForFinished();
      return run;
    }
    run.ended = program.exitStatus() == QProcess::NormalExit;
    run.code = program.exitCode();
    run.out = program.readAllStandardOutput().toStdString();
    run.err = program.readAllStandardError().toStdString();
#endif
    return run;
  }

  std::string List() const {
    return "[test]\r\nURL=" + server.Url("/good").toStdString() + "\r\nFile=test.tle\r\n";
  }

  test::TLoopbackServer server;
  const std::string previous = Sets({1, 2, 3, 4}, "01352.14768052");
  const std::string fresh = Sets({1, 2, 3, 4, 5}, "26150.50000000");
};

TEST_F(HostileUpdateFiles, TheSourcesListFailsIntoAMessageAndIsLeftAsItWas) {
  const std::string random = RandomBytes(6 * 1000 * 1000, 5);
  const struct {
    const char* label;
    TThing thing;
    std::string bytes;
    QStringList args;
    int code;
    std::string said;  // on standard error when code is not 0, else on standard output
  } rows[] = {
      // Nothing there: the shipped list, which has no such source.
      {"nothing", TThing::Nothing, "", {"--source", "nothing"}, 1, "nothing: no source of that"},
      {"dangling link", TThing::DanglingLink, "", {"--source", "nothing"}, 1, "nothing: no source"},
      {"folder", TThing::Folder, "", {}, 1, "sources.set: is a folder. Nothing was fetched.\n"},
      {"pipe", TThing::Pipe, "", {}, 1, "sources.set: is not a regular file. Nothing was"},
      {"link to a device", TThing::DeviceLink, "", {}, 1, "sources.set: is not a regular file"},
      {"empty", TThing::File, "", {}, 1, "sources.set is empty. Nothing was fetched.\n"},
      {"blanks", TThing::File, " \r\n\t\n  ", {}, 1, "sources.set is empty."},
      {"random bytes", TThing::File, random, {}, 1, "too large (6.0 MB; at most 4.0 MB)"},
      {"random text", TThing::File, RandomBytes(100 * 1000, 7), {}, 1, "Setup/sources.set: "},
      {"control bytes",
       TThing::File,
       "[ev\x1B[2Jil]\r\nURL=http://127.0.0.1/\x07\r\nFile=x.tle\r\n",
       {},
       1,
       "Source \"ev\\x1B[2Jil\": a name may not hold brackets or control characters."},
      {"an address with a control byte",
       TThing::File,
       "[evil]\r\nURL=http://127.0.0.1/\x1B]0;x\x07\r\nFile=x.tle\r\n",
       {},
       1,
       "Source \"evil\": the address must be"},
      // What the dialog writes when every source is removed: no sources, nothing to say.
      {"comments alone", TThing::File, "; no sources\r\n", {}, 0, ""},
      {"link to a sound list", TThing::FileLink, List(), {}, 0, "test: 5 element sets"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    QTemporaryDir home;
    const fs::path folder = home.path().toStdString();
    const fs::path list = folder / kUpdateSourcesFile;
    const fs::path tle = folder / "Tle" / "test.tle";
    WriteBytes(tle, previous);
    ASSERT_TRUE(Place(list, row.thing, row.bytes, "/dev/zero"));
    const std::string before = Standing(list);
    const int hits = server.Hits("/good");

    const TRun run = Run(QStringList{"--home", home.path(), "--timeout", "10"} + row.args);
    ASSERT_TRUE(run.ended) << "the command did not end";
    EXPECT_EQ(run.code, row.code) << run.out << run.err;
    EXPECT_NE((row.code == 0 ? run.out : run.err).find(row.said), std::string::npos)
        << run.out << run.err;
    EXPECT_FALSE(HoldsControls(run.out)) << run.out;
    EXPECT_FALSE(HoldsControls(run.err)) << run.err;
    EXPECT_EQ(Standing(list), before);
    if (row.thing == TThing::FileLink) {
      EXPECT_EQ(Bytes(tle), fresh);
      EXPECT_NE(ReadUpdateSources(LinkedFile(list)).at(0).lastFetchUnix, 0);
      continue;
    }
    if (row.said.empty()) {
      EXPECT_EQ(run.out + run.err, "");
    }
    EXPECT_EQ(Bytes(tle), previous);
    EXPECT_EQ(Standing(tle.string() + ".bak"), "nothing");
    EXPECT_EQ(server.Hits("/good"), hits);
    // Nothing was written in place of a list that is missing or leads nowhere.
    EXPECT_EQ(Standing(LinkedFile(list)), "nothing");
  }
}

TEST_F(HostileUpdateFiles, TheOutputFileIsRefusedBeforeTheFetchUnlessAPlainFileOrALink) {
  const std::string random = RandomBytes(6 * 1000 * 1000, 11);
  const struct {
    const char* label;
    const char* at;  // what of the output the thing stands at: "", ".part" or ".bak"
    TThing thing;
    const char* device;
    std::string bytes;
    int code;
    std::string said;
  } rows[] = {
      {"nothing", "", TThing::Nothing, "", "", 0, "5 element sets"},
      {"folder", "", TThing::Folder, "", "", 1, "one.tle: is a folder, so nothing was fetched"},
      {"pipe", "", TThing::Pipe, "", "", 1, "one.tle: is not a regular file, so nothing was"},
      {"link to a device", "", TThing::DeviceLink, "/dev/null", "", 1, "is not a regular file"},
      {"device", "", TThing::Device, "/dev/null", "", 1, "one.tle: is not a regular file"},
      {"dangling link", "", TThing::DanglingLink, "", "", 0, "one.tle written."},
      {"link to a file", "", TThing::FileLink, "", previous, 0, "elsewhere/one.tle.bak."},
      {"random bytes", "", TThing::File, "", random, 0, "one.tle updated"},
      {"folder as the temporary", ".part", TThing::Folder, "", "", 1, "one.tle.part: is a folder"},
      {"pipe as the temporary", ".part", TThing::Pipe, "", "", 1, "one.tle.part: is not a"},
      {"folder as the backup", ".bak", TThing::Folder, "", "", 1, "one.tle.bak: is a folder"},
      {"pipe as the backup", ".bak", TThing::Pipe, "", "", 1, "one.tle.bak: is not a regular"},
      // A link in the temporary's place is removed, never written through.
      {"link as the temporary", ".part", TThing::FileLink, "", "keep me", 0, "one.tle updated"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    QTemporaryDir home;
    const fs::path output = fs::path(home.path().toStdString()) / "out" / "one.tle";
    const fs::path at = output.string() + row.at;
    if (*row.at != '\0') WriteBytes(output, previous);
    if (!Place(at, row.thing, row.bytes, row.device)) {
      EXPECT_EQ(row.thing, TThing::Device) << "cannot make the " << row.label;
      continue;  // no right to make a device node here
    }
    const std::string before = Standing(at);
    const std::string outputBefore = Standing(output);
    const int hits = server.Hits("/good");

    const TRun run = Run({"--url", server.Url("/good"), "--output",
                          QString::fromStdString(output.string()), "--timeout", "10"});
    ASSERT_TRUE(run.ended) << "the command did not end";
    EXPECT_EQ(run.code, row.code) << run.out << run.err;
    EXPECT_NE((row.code == 0 ? run.out : run.err).find(row.said), std::string::npos)
        << run.out << run.err;
    // No temporary is left, whatever the outcome.
    for (const auto& entry : fs::recursive_directory_iterator(output.parent_path())) {
      if ((entry.path() == at && row.code != 0) || entry.path() == LinkedFile(at)) continue;
      EXPECT_NE(entry.path().extension(), ".part") << entry.path();
      EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
    if (row.code != 0) {
      EXPECT_EQ(server.Hits("/good"), hits) << "fetched for a file that could not take it";
      EXPECT_EQ(Standing(at), before);
      EXPECT_EQ(Standing(output), outputBefore);
      continue;
    }
    // A link stays and its file takes the answer, the backup beside that file.
    const bool beside = *row.at != '\0';
    const bool link =
        !beside && (row.thing == TThing::FileLink || row.thing == TThing::DanglingLink);
    const fs::path written = link ? LinkedFile(output) : output;
    EXPECT_EQ(Standing(output), link ? before : FileOf(fresh));
    EXPECT_EQ(Bytes(written), fresh);
    const bool hadFile = beside || row.thing == TThing::File || row.thing == TThing::FileLink;
    EXPECT_EQ(Standing(written.string() + ".bak"),
              hadFile ? FileOf(beside ? previous : row.bytes) : "nothing");
    if (link) {
      EXPECT_EQ(Standing(output.string() + ".bak"), "nothing");
    }
    if (beside) {
      EXPECT_EQ(Bytes(LinkedFile(at)), row.bytes);
    }
  }
}

// A fetch whose time cannot be written to the list is said as a failure, though its file stays:
// the next run would fetch it again within the pause. Root writes in any folder, so the write is
// stopped by a folder where the list's temporary must go.
TEST_F(HostileUpdateFiles, AFetchTimeThatCannotBeKeptIsAFailureOnTheErrorStream) {
  QTemporaryDir home;
  const fs::path folder = home.path().toStdString();
  const fs::path list = folder / kUpdateSourcesFile;
  WriteBytes(folder / "Tle" / "test.tle", previous);
  WriteBytes(list, List());
  fs::create_directory(list.string() + ".tmp");
  const TRun run = Run({"--home", home.path(), "--timeout", "10"});
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out, "");
  for (const char* said : {"test: 5 element sets", "The fetch time could not be kept: Cannot write",
                           "the fetched file stays in place.\n"}) {
    EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
  }
  EXPECT_EQ(Bytes(folder / "Tle" / "test.tle"), fresh);
  EXPECT_EQ(Bytes(list), List());
}

}  // namespace
}  // namespace zen
