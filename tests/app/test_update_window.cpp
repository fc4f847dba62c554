// "Update elements..." in the running window against a loopback server: the loaded file is
// replaced and read again with the tracked satellites kept, a failing source is said, and the
// sources list is only kept when sound.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QLayout>
#include <QMenu>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/main_page.h"
#include "app/main_window.h"
#include "app/update_dialog.h"
#include "app_fixture.h"
#include "loopback_server.h"
#include "test_support.h"
#include "tracking/update_sources.h"

namespace zen {
namespace {

constexpr const char* kNewEpoch = "26150.50000000";

class UpdateWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(folder.WriteSelfTestElements("Tle/test.tle"));
    // Made after the application, which its socket needs.
    server = std::make_unique<test::TLoopbackServer>();
    // The same two satellites with new epochs, in the other order, and one more.
    QByteArray fresh;
    for (size_t i : {size_t{1}, size_t{0}}) {
      const TNamedElements& s = SelfTestSatellites[i];
      fresh += QByteArray(s.name) + "\r\n" + test::Patched(s.line1, 19, kNewEpoch).c_str() +
               "\r\n" + s.line2 + "\r\n";
    }
    auto [l1, l2] = test::MakeLinePair(7);
    fresh += "SEVEN\r\n" + QByteArray(l1.c_str()) + "\r\n" + l2.c_str() + "\r\n";
    server->Answer("/test.tle", test::TLoopbackServer::Http(200, fresh));
    WriteUpdateSources(SourcesFile(),
                       {{"test", server->Url("/test.tle").toStdString(), "test.tle", 0},
                        {"broken", server->Url("/gone.tle").toStdString(), "broken.tle", 0}});
  }

  std::string SourcesFile() const { return folder.home.filePath(kUpdateSourcesFile).toStdString(); }

  std::unique_ptr<TMainWindow> Start() {
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = folder.home.filePath("Tle/test.tle");
    c.trackIds = {"25544", "25023"};
    return test::StartWindow(c, dialogs);
  }

  static QAction* MenuEntry(QMenu& menu, const QString& caption) {
    for (QAction* a : menu.actions()) {
      if (a->text() == caption) return a;
    }
    return nullptr;
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<test::TLoopbackServer> server;
};

TEST_F(UpdateWindow, QuickMenuUpdateReloadsTheLoadedFileAndKeepsTheTracked) {
  auto window = Start();
  TSatelliteList& list = window->Satellites();
  ASSERT_EQ(list.TrackedNames(), (std::vector<std::string>{"MAQSAT H", "ISS"}));
  ASSERT_EQ(list.ActiveSat, 2);
  QAction* entry = MenuEntry(window->QuickMenu(), "Update elements...");
  ASSERT_NE(entry, nullptr);
  entry->trigger();
  TUpdateDialog* dialog = window->UpdateCommands().Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  ASSERT_EQ(dialog->sources->rowCount(), 2);
  EXPECT_EQ(dialog->sources->item(0, kSourceLastFetch)->text(), "never");

  dialog->updateButton->click();
  EXPECT_FALSE(dialog->updateButton->isEnabled());
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->updateButton->isEnabled(); }, 20000));

  EXPECT_EQ(list.LoadedCount, 3);
  EXPECT_EQ(list.TrackedNames(), (std::vector<std::string>{"MAQSAT H", "ISS"}));
  EXPECT_EQ(list.ActiveSat, 2);
  for (int i = 1; i <= 2; ++i) EXPECT_EQ(list.ElementsOf(i).lines.line1.substr(18, 14), kNewEpoch);
  EXPECT_TRUE(list.TrackedSats[2].computed);
  EXPECT_TRUE(QFile::exists(folder.home.filePath("Tle/test.tle.bak")));
  EXPECT_FALSE(QFile::exists(folder.home.filePath("Tle/broken.tle")));
  const QString log = dialog->log->toPlainText();
  EXPECT_TRUE(log.contains("test: 3 element sets, newest epoch 2026-05-30 12:00:00 UTC"))
      << log.toStdString();
  EXPECT_TRUE(log.contains("broken: the server has no such file (HTTP 404")) << log.toStdString();
  EXPECT_TRUE(dialog->status->text().contains("1 fetched, 0 skipped, 1 failed"));
  EXPECT_EQ(dialog->progress->value(), dialog->progress->maximum());
  EXPECT_NE(dialog->sources->item(0, kSourceLastFetch)->text(), "never");
  EXPECT_EQ(dialog->sources->item(1, kSourceLastFetch)->text(), "never");
}

// "Update now" judges answers as the update command does: copies of one satellite do not stand
// for a file of many, and a length announced far past the limit is refused before its body.
TEST_F(UpdateWindow, UpdateNowRefusesCopiesOfOneSatelliteAndAnOversizedAnswer) {
  QByteArray many, copies;
  for (int n = 1; n <= 35; ++n) {
    auto [l1, l2] = test::MakeLinePair(n);
    many += "SAT " + QByteArray::number(n) + "\r\n" + l1.c_str() + "\r\n" + l2.c_str() + "\r\n";
    if (n == 7) copies = many.mid(many.lastIndexOf("SAT 7")).repeated(100);
  }
  const QString manyFile = folder.home.filePath("Tle/many.tle");
  { std::ofstream(manyFile.toStdString(), std::ios::binary) << many.toStdString(); }
  server->Answer("/copies", test::TLoopbackServer::Http(200, copies));
  server->Stream("/huge", "HTTP/1.1 200 OK\r\nContent-Length: 10737418240\r\n\r\n",
                 many.repeated(16), 3 * kLargestAnswerBytes);
  WriteUpdateSources(SourcesFile(),
                     {{"copies", server->Url("/copies").toStdString(), "many.tle", 0},
                      {"huge", server->Url("/huge").toStdString(), "huge.tle", 0}});
  auto window = Start();
  window->MainPage()->updateButton->click();
  TUpdateDialog* dialog = window->UpdateCommands().Dialog();
  ASSERT_NE(dialog, nullptr);
  dialog->updateButton->click();
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->updateButton->isEnabled(); }, 60000));
  const QString log = dialog->log->toPlainText();
  EXPECT_TRUE(
      log.contains("copies: the answer holds only 100 element sets of 1 satellite, far "
                   "fewer than the 35 satellites of the file it would replace; "
                   "Tle/many.tle is kept as it was."))
      << log.toStdString();
  EXPECT_TRUE(
      log.contains("huge: the answer is larger than 64 MB, too large for an element file; "
                   "nothing was written to Tle/huge.tle."))
      << log.toStdString();
  EXPECT_EQ(test::Bytes(manyFile.toStdString()), many.toStdString());
  for (const char* name :
       {"Tle/many.tle.bak", "Tle/many.tle.part", "Tle/huge.tle", "Tle/huge.tle.part"}) {
    EXPECT_FALSE(QFile::exists(folder.home.filePath(name))) << name;
  }
  // Refused at the announced length: what the server got out before the refusal is what the
  // sockets' buffers took, far below the limit a reading to the limit would take.
  EXPECT_LT(server->Sent("/huge"), kLargestAnswerBytes / 2);
}

TEST_F(UpdateWindow, AnEditThatBreaksTheListIsNotKept) {
  auto window = Start();
  window->MainPage()->updateButton->click();
  TUpdateDialog* dialog = window->UpdateCommands().Dialog();
  ASSERT_NE(dialog, nullptr);
  const std::vector<TUpdateSource> before = ReadUpdateSources(SourcesFile());
  dialog->sources->item(0, kSourceUrl)->setText("ftp://127.0.0.1/test.tle");
  EXPECT_FALSE(dialog->updateButton->isEnabled());
  EXPECT_TRUE(dialog->status->text().contains("http://")) << dialog->status->text().toStdString();
  EXPECT_EQ(ReadUpdateSources(SourcesFile()), before);
  dialog->addButton->click();  // a new row starts unfinished
  EXPECT_EQ(dialog->sources->rowCount(), 3);
  EXPECT_EQ(ReadUpdateSources(SourcesFile()).size(), 2u);

  dialog->sources->item(0, kSourceUrl)->setText("http://127.0.0.1:9/other.tle");
  dialog->sources->item(2, kSourceUrl)->setText("https://example.org/x.txt");
  EXPECT_TRUE(dialog->updateButton->isEnabled());
  const std::vector<TUpdateSource> after = ReadUpdateSources(SourcesFile());
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0].url, "http://127.0.0.1:9/other.tle");
  EXPECT_EQ(after[2].url, "https://example.org/x.txt");
  EXPECT_EQ(after[2].file, after[2].name + ".tle");
}

// A sources list that is there and cannot be read is said in the dialog, which then offers no
// edit that would write over it; once the file reads, the list is shown and may be edited again.
TEST_F(UpdateWindow, AListThatCannotBeReadIsSaidAndNeverWrittenOver) {
  const std::filesystem::path file = SourcesFile();
  const struct {
    const char* label;
    std::function<void()> make;
    const char* said;
  } rows[] = {
      {"folder", [&] { std::filesystem::create_directory(file); }, "sources.set: is a folder."},
      {"pipe", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }, ": is not a regular file."},
      {"empty", [&] { std::ofstream(file, std::ios::binary).flush(); }, "sources.set is empty."},
      {"binary", [&] { std::ofstream(file, std::ios::binary) << std::string(5000000, '\x1B'); },
       "too large (5.0 MB; at most 4.0 MB)."},
  };
  std::unique_ptr<TMainWindow> window;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    std::filesystem::remove_all(file);
    row.make();
    const std::filesystem::file_type kind = std::filesystem::symlink_status(file).type();
    const uintmax_t size =
        kind == std::filesystem::file_type::regular ? std::filesystem::file_size(file) : 0;
    // The first one stands there as the window starts.
    if (window == nullptr) window = Start();
    window->MainPage()->updateButton->click();
    TUpdateDialog* dialog = window->UpdateCommands().Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const QString status = dialog->status->text();
    EXPECT_TRUE(status.contains(row.said)) << status.toStdString();
    EXPECT_TRUE(status.contains("cannot be changed here")) << status.toStdString();
    EXPECT_EQ(dialog->sources->rowCount(), 0);
    EXPECT_EQ(dialog->sources->editTriggers(), QAbstractItemView::NoEditTriggers);
    for (QPushButton* button : {dialog->addButton, dialog->removeButton, dialog->updateButton}) {
      EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
      button->click();
    }
    EXPECT_EQ(dialog->sources->rowCount(), 0);
    EXPECT_EQ(std::filesystem::symlink_status(file).type(), kind);
    if (kind == std::filesystem::file_type::regular) {
      EXPECT_EQ(std::filesystem::file_size(file), size);
    }
  }
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();

  // Put right, with a name a terminal would act on, shown as its codes.
  std::filesystem::remove_all(file);
  WriteUpdateSources(file, {{"test", server->Url("/test.tle").toStdString(), "test.tle", 0},
                            {"o\x1B[2Jk", "http://127.0.0.1:9/", "ok.tle", 0}});
  window->MainPage()->updateButton->click();
  TUpdateDialog* dialog = window->UpdateCommands().Dialog();
  EXPECT_FALSE(dialog->status->text().contains("cannot be changed here"));
  ASSERT_EQ(dialog->sources->rowCount(), 2);
  EXPECT_EQ(dialog->sources->item(1, kSourceName)->text(), "o\\x1B[2Jk");
  EXPECT_TRUE(dialog->addButton->isEnabled());
  EXPECT_NE(dialog->sources->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// The dialog opens at its size and may be resized down to a minimum that holds every control;
// the list takes all the width it gains, the list and the log its height, and "Close" keeps to
// the right edge.
TEST_F(UpdateWindow, TheListAndTheLogGrowWithTheDialog) {
  TSourceUpdate update(folder.home.path());
  TUpdateDialog dialog(update);
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(dialog.size(), QSize(kUpdateDialogWidth, kUpdateDialogHeight));
  const QSize least = dialog.layout()->minimumSize();
  EXPECT_LE(least.width(), kUpdateMinimumWidth);
  EXPECT_LE(least.height(), kUpdateMinimumHeight);

  const struct {
    QSize asked;
    QSize shown;
  } rows[] = {
      {{200, 100}, {kUpdateMinimumWidth, kUpdateMinimumHeight}},
      {{kUpdateDialogWidth, kUpdateDialogHeight}, {kUpdateDialogWidth, kUpdateDialogHeight}},
      {{1100, 800}, {1100, 800}},
  };
  QSize window, list, text;
  int closeFromRight = 0;
  for (const auto& row : rows) {
    dialog.resize(row.asked);
    QApplication::processEvents();
    ASSERT_EQ(dialog.size(), row.shown);
    const int fromRight = dialog.width() - dialog.closeButton->geometry().right();
    if (window.isValid()) {
      EXPECT_EQ(dialog.sources->width() - list.width(), dialog.width() - window.width());
      EXPECT_GT(dialog.sources->height(), list.height());
      EXPECT_GT(dialog.log->height(), text.height());
      EXPECT_EQ(fromRight, closeFromRight);
    }
    window = dialog.size();
    list = dialog.sources->size();
    text = dialog.log->size();
    closeFromRight = fromRight;
  }
}

}  // namespace
}  // namespace zen
