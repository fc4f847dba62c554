// Closing asks first; a second instance and a broken program folder end without a window.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app_fixture.h"

namespace zen {
namespace {

class Running : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
  }

  TStartContext Paths() const { return test::Context(folder.home.path(), folder.locks.path()); }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

TEST_F(Running, AnsweringNoToTheExitQuestionKeepsTheWindowOpen) {
  TMainWindow window(Paths(), dialogs);
  ASSERT_TRUE(window.Initialized());
  window.ShowAsPlanned();
  ASSERT_TRUE(test::WaitUntil([&] { return window.Activated(); }));
  dialogs.answers = {false};
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(dialogs.questions, QStringList({"Do you really want to exit?"}));
  EXPECT_TRUE(window.ClockTimer().isActive()) << "still running";

  dialogs.answers = {true};
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(dialogs.questions.size(), 2);
  EXPECT_FALSE(window.ClockTimer().isActive());
}

TEST_F(Running, SecondInstanceStopsSilentlyWithoutAWindow) {
  TMainWindow first(Paths(), dialogs);
  ASSERT_TRUE(first.Initialized());
  test::TScriptedDialogs secondDialogs;
  TMainWindow second(Paths(), secondDialogs);
  EXPECT_FALSE(second.Initialized());
  EXPECT_EQ(second.StopCode(), 0);
  EXPECT_FALSE(second.isVisible());
  EXPECT_TRUE(secondDialogs.errors.isEmpty());
  EXPECT_TRUE(secondDialogs.questions.isEmpty());
  EXPECT_TRUE(QFileInfo::exists(folder.locks.filePath("ZenarithMutex")));
}

TEST_F(Running, InstanceLockIsFreedWithTheWindowAndTakenAgain) {
  {
    TMainWindow first(Paths(), dialogs);
    ASSERT_TRUE(first.Initialized());
  }
  TMainWindow again(Paths(), dialogs);
  EXPECT_TRUE(again.Initialized());
}

// Outside a desktop session there is no XDG_RUNTIME_DIR; the lock must still be this user's
// alone, never in the /tmp that every user shares.
TEST(InstanceLock, WithoutARuntimeFolderStaysInAFolderOfTheUsersOwn) {
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  const QString folder = DefaultLockFolder();
  if (wasSet) qputenv("XDG_RUNTIME_DIR", saved);
  QFileInfo info(folder);
  EXPECT_NE(info.absoluteFilePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
  ASSERT_TRUE(info.isDir()) << folder.toStdString();
  EXPECT_EQ(info.ownerId(), static_cast<uint>(getuid()));
  EXPECT_FALSE(info.permissions() & (QFile::WriteGroup | QFile::WriteOther));
}

TEST_F(Running, SecondProcessExitsAtOnceWhileTheFirstRuns) {
#ifndef ZEN_PROGRAM_FILE
  GTEST_SKIP() << "the program's path is not known to this build";
#else
  QTemporaryDir runtime;
  ASSERT_TRUE(runtime.isValid());
  // The children inherit this process's platform; only the runtime folder, where the lock
  // lives, is their own.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", runtime.path());
  const QStringList args = {"--home", folder.home.path()};

  QProcess first;
  first.setProcessEnvironment(env);
  first.start(QStringLiteral(ZEN_PROGRAM_FILE), args);
  ASSERT_TRUE(first.waitForStarted(5000));
  // The folders appear once the first instance holds the lock and is past its start-up.
  ASSERT_TRUE(
      test::WaitUntil([&] { return QFileInfo(folder.home.filePath("Setup")).isDir(); }, 15000));

  QProcess second;
  second.setProcessEnvironment(env);
  second.start(QStringLiteral(ZEN_PROGRAM_FILE), args);
  ASSERT_TRUE(second.waitForStarted(5000));
  EXPECT_TRUE(second.waitForFinished(15000)) << "the second instance must end by itself";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running) << "the first instance is unaffected";

  first.kill();
  first.waitForFinished(5000);
#endif
}

TEST(ProgramOptions, HelpAndVersionReportAFailedWrite) {
#ifndef ZEN_PROGRAM_FILE
  GTEST_SKIP() << "the program's path is not known to this build";
#else
  if (!QFileInfo::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full here";
  for (const char* option : {"--help", "--version"}) {
    QProcess program;
    program.setStandardOutputFile(QStringLiteral("/dev/full"));
    program.start(QStringLiteral(ZEN_PROGRAM_FILE), {QString::fromLatin1(option)});
    ASSERT_TRUE(program.waitForFinished(15000)) << option;
    EXPECT_EQ(program.exitCode(), 1) << option;
    EXPECT_TRUE(program.readAllStandardError().contains("cannot write")) << option;
  }
#endif
}

class MissingBitmap : public Running, public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingBitmap, NamesTheFileAndEndsCleanly) {
  ASSERT_TRUE(QFile::remove(folder.home.filePath(GetParam())));
  TMainWindow window(Paths(), dialogs);
  EXPECT_FALSE(window.Initialized());
  EXPECT_NE(window.StopCode(), 0);
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains(QString::fromLatin1(GetParam())))
      << qPrintable(dialogs.errors[0]);
  EXPECT_TRUE(dialogs.errors[0].contains(QStringLiteral("missing")));
  EXPECT_TRUE(dialogs.questions.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EachFile, MissingBitmap, ::testing::ValuesIn(kBitmapFiles));

TEST_F(Running, WorkFolderThatCannotBeCreatedIsNamed) {
  // A file where the folder should be: creation fails for any user, the superuser included.
  QFile blocker(folder.home.filePath("Output"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  TMainWindow window(Paths(), dialogs);
  EXPECT_FALSE(window.Initialized());
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains(folder.home.filePath("Output")))
      << qPrintable(dialogs.errors[0]);
  EXPECT_FALSE(QFileInfo(folder.home.filePath("Setup")).exists())
      << "start-up stops at the first folder that fails";
}

TEST_F(Running, MissingProgramFolderIsNamed) {
  QString gone = folder.home.filePath("no-such-folder");
  TMainWindow window(test::Context(gone, folder.locks.path()), dialogs);
  EXPECT_FALSE(window.Initialized());
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains(gone)) << qPrintable(dialogs.errors[0]);
  EXPECT_FALSE(QFileInfo::exists(gone)) << "nothing is created in its place";
}

}  // namespace
}  // namespace zen
