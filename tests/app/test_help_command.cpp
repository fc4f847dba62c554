// The Help command of the window: its help window at the program folder's start page, or only a
// message when the help window could not be made.
#include <gtest/gtest.h>

#include <QTimer>
#include <stdexcept>

#include "app/main_window.h"
#include "app_fixture.h"
#include "help/help_window.h"

namespace zen {
namespace {

class HelpCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    window = std::make_unique<TMainWindow>(test::Context(folder.home.path(), folder.locks.path()),
                                           dialogs);
    window->ShowAsPlanned();
    ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
  }
  void TearDown() override {
    if (!window) return;
    dialogs.answers = {true};
    window->close();
  }

  void WritePage(const char* name, const char* body) {
    QDir().mkpath(folder.home.filePath("Help"));
    QFile file(folder.home.filePath(QStringLiteral("Help/") + name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("<html><body>") + body + "</body></html>");
  }

  // Runs command; while the help window is open, notes its page, runs then and closes it.
  QUrl PageShownBy(const std::function<void()>& command, const std::function<void()>& then = {}) {
    THelpWindow* help = window->WindowCommands().HelpWindow();
    QUrl shown;
    QTimer::singleShot(0, help, [&] {
      shown = help->isVisible() ? help->Browser()->source() : QUrl();
      if (then) then();
      help->ExitButton()->click();
    });
    command();
    return shown;
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
};

TEST_F(HelpCommand, OpensTheStartPageOfTheProgramFolderAndLaterThePageLeftOpen) {
  WritePage("index.htm", "<a href=\"keys.htm\">Keys</a>");
  WritePage("keys.htm", "Keys");
  ASSERT_FALSE(window->WindowCommands().HelpUnavailable());
  THelpWindow* help = window->WindowCommands().HelpWindow();

  QUrl first = PageShownBy([&] { window->KeyCommands().FormKeyDown(Qt::Key_F1, Qt::AltModifier); },
                           [&] { help->Follow(QUrl(QStringLiteral("keys.htm"))); });
  EXPECT_EQ(first, QUrl::fromLocalFile(folder.home.filePath("Help/index.htm")));

  QUrl second = PageShownBy([&] { window->WindowCommands().help->trigger(); });
  EXPECT_EQ(second, QUrl::fromLocalFile(folder.home.filePath("Help/keys.htm")));
  EXPECT_TRUE(dialogs.notices.isEmpty()) << qPrintable(dialogs.notices.join("\n"));
}

TEST_F(HelpCommand, WithoutAHelpWindowTheCommandOnlySaysSo) {
  window->WindowCommands().CreateHelpWindow(
      []() -> THelpWindow* { throw std::runtime_error("no HTML viewer"); });
  ASSERT_TRUE(window->WindowCommands().HelpUnavailable());

  window->KeyCommands().FormKeyDown(Qt::Key_F1, Qt::AltModifier);
  window->WindowCommands().help->trigger();
  EXPECT_EQ(
      dialogs.notices,
      QStringList(2, QStringLiteral(
                         "Can't display Help System because of problem with Internet Explorer.")));
  // The rest of the program goes on.
  window->KeyCommands().FormKeyDown(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(window->Tracker().time.Mode(), TTimeMode::Simulation);
}

}  // namespace
}  // namespace zen
