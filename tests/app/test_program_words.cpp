// The program's first word, run as a user runs it: a command's --help, an unknown command and a
// missing file answer on the right stream with the right exit status, and open no window.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

namespace zen {
namespace {

TEST(ProgramWords, AnswerOnTheirStreamsWithTheirExitStatus) {
#ifndef ZEN_PROGRAM_FILE
  GTEST_SKIP() << "the program's path is not known to this build";
#else
  struct Case {
    QStringList args;
    int exitCode;
    QByteArray out;  // how standard output starts
    QByteArray err;  // standard error, whole
  };
  const QByteArray hint = "Run 'zenarith --help' for the options and commands.\n";
  const Case cases[] = {
      {{"--help"}, 0, "usage: zenarith [--home DIR]", ""},
      {{"passes", "--help"}, 0, "usage: zenarith passes FILE", ""},
      {{"flares", "-h"}, 0, "usage: zenarith flares FILE", ""},
      {{"pases", "sample.tle", "--all"},
       2,
       "",
       "zenarith: unknown command 'pases'; did you mean 'passes'?\n" + hint},
      {{"frobnicate"}, 2, "", "zenarith: unknown command 'frobnicate'\n" + hint},
      {{"missing.tle"},
       2,
       "",
       "zenarith: cannot open 'missing.tle': there is no such file\n" + hint},
      {{"--frobnicate"}, 2, "", "zenarith: unknown option --frobnicate\n" + hint},
  };
  // An empty working folder, so no word names a file, and no display, so a window could not
  // hide behind a wrong answer.
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  for (const Case& c : cases) {
    const std::string said = c.args.join(' ').toStdString();
    QProcess program;
    program.setWorkingDirectory(work.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZEN_PROGRAM_FILE), c.args);
    ASSERT_TRUE(program.waitForFinished(15000)) << said;
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << said;
    EXPECT_EQ(program.exitCode(), c.exitCode) << said;
    const QByteArray out = program.readAllStandardOutput();
    const QByteArray err = program.readAllStandardError();
    EXPECT_TRUE(out.startsWith(c.out)) << said << "\n" << out.toStdString();
    if (c.out.isEmpty()) {
      EXPECT_TRUE(out.isEmpty()) << said << "\n" << out.toStdString();
    }
    EXPECT_EQ(err.toStdString(), c.err.toStdString()) << said;
  }
#endif
}

// A search that finds nothing says why on standard error and still succeeds.
TEST(ProgramWords, AnEmptySearchSaysWhyOnStandardError) {
#ifndef ZEN_PROGRAM_FILE
  GTEST_SKIP() << "the program's path is not known to this build";
#else
  const QString data = QStringLiteral(ZEN_SOURCE_DIR "/tests/data/tle/");
  const std::pair<QStringList, std::string> cases[] = {
      // A satellite low enough to stay in the Earth's shadow through a February night.
      {{"passes", data + "visual_2026-02-11.tle", "--sat", "48865", "--site", "53.0217,18.6107,65",
        "--from", "2026-02-11T23:00:00Z", "--to", "2026-02-12T04:00:00Z", "--level", "5"},
       "No passes met the conditions: 3 passes above 10\u00B0 were left out because the "
       "satellite was in shadow (3)\n"},
      // The shipped table's Iridiums from an afternoon into the night.
      {{"flares", data + "iridium_gen1_celestrak_2014-09-18.tle", "--site", "53.0217,18.6107,65",
        "--from", "2014-09-18T15:00:00Z", "--to", "2014-09-19T00:00:00Z", "--max-angle", "4",
        "--max-sun", "-20"},
       "No flares met the conditions: 12 reflections were left out because the satellite was in "
       "shadow (6) / the Sun was above \u221220\u00B0 (6)\n"},
  };
  for (const auto& [args, err] : cases) {
    QProcess program;
    program.start(QStringLiteral(ZEN_PROGRAM_FILE), args);
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError().toStdString(), err);
  }
#endif
}

}  // namespace
}  // namespace zen
