// What the window tests share: the application object, scripted dialogs, a program folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "core/elements.h"
#include "display/bitmaps.h"

namespace zen::test {

inline void EnsureApplication() {
  static int argc = 1;
  static char name[] = "zen_app_tests";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

// Answers questions from a script (No once the script runs out) and records every box.
class TScriptedDialogs : public UserDialogs {
 public:
  std::deque<bool> answers;
  QStringList questions;
  QStringList notices;
  QStringList errors;

  bool Ask(const QString& question) override {
    questions << question;
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // Questions whose default is No, answered from the same script; also listed in questions.
  QStringList defaultNoQuestions;
  bool AskDefaultNo(const QString& question) override {
    defaultNoQuestions << question;
    return Ask(question);
  }
  // Answers of the Yes, No and Cancel questions (Cancel once they run out).
  std::deque<TAnswer> choices;
  TAnswer AskYesNoCancel(const QString& question) override {
    questions << question;
    if (choices.empty()) return TAnswer::Cancel;
    TAnswer answer = choices.front();
    choices.pop_front();
    return answer;
  }
  void Inform(const QString& message) override { notices << message; }
  void ShowError(const QString& message) override { errors << message; }
  // The file the next open dialog picks (empty: cancel), and the folder and filter it was
  // opened with.
  QString fileToOpen;
  QString openFolder;
  QString openFilter;
  QString ChooseFileToOpen(const QString&, const QString& folder, const QString& filter) override {
    openFolder = folder;
    openFilter = filter;
    return fileToOpen;
  }
  // The file the next save dialog picks (empty: cancel) with the filter it picks (empty: the
  // first), and the folder, proposal and filters it was opened with.
  QString fileToSave;
  QString filterToSave;
  QString saveFolder;
  QString saveProposal;
  QString saveFilters;
  QString ChooseFileToSave(const QString&, const QString& proposal, const QString& filters,
                           QString* chosenFilter) override {
    saveProposal = proposal;
    saveFilters = filters;
    if (chosenFilter != nullptr) {
      *chosenFilter = filterToSave.isEmpty() ? filters.section(QStringLiteral(";;"), 0, 0)
                                             : filterToSave;
    }
    saveFolder = QFileInfo(proposal).isDir() ? proposal : QFileInfo(proposal).path();
    return fileToSave;
  }
  // The next answer of "Save settings..." (-1: cancel).
  int saveContent = 0;
  int ChooseSaveContent(int) override { return saveContent; }
};

// A start with a fixed clock (2026-05-30 21:15:30 local) and a machine offset of +2 hours.
inline TStartContext Context(const QString& home, const QString& locks,
                             std::optional<TScreenInfo> screen = std::nullopt) {
  TStartContext c;
  c.programFolder = home;
  c.lockFolder = locks;
  c.screen = screen;
  c.clock = [] { return TDateRec{2026, 5, 30, 21, 15, 30, 0}; };
  c.detectedOffset = [] { return 2.0; };
  return c;
}

inline const QString kShippedData = QStringLiteral(ZEN_SOURCE_DIR "/resources/Data");

// A temporary program folder holding the shipped bitmaps, and a lock folder of its own.
struct TProgramFolder {
  QTemporaryDir home;
  QTemporaryDir locks;

  bool HasShippedData() const { return QFile::exists(kShippedData + "/world.bmp"); }

  // The two self-test element sets, each with its name line, as file (relative to home).
  bool WriteSelfTestElements(const QString& file) {
    QDir().mkpath(QFileInfo(home.filePath(file)).path());
    std::ofstream out(home.filePath(file).toStdString(), std::ios::binary);
    for (const TNamedElements& s : SelfTestSatellites) {
      out << s.name << "\r\n" << s.line1 << "\r\n" << s.line2 << "\r\n";
    }
    return static_cast<bool>(out);
  }

  bool CopyData() {
    if (!QDir().mkpath(home.path() + "/Data")) return false;
    for (const char* name : kBitmapFiles) {
      QString file = QString::fromLatin1(name).mid(5);
      if (!QFile::copy(kShippedData + "/" + file, home.filePath(name))) return false;
    }
    if (!QFile::copy(kShippedData + "/world.vec", home.filePath("Data/world.vec"))) return false;
    return true;
  }
};

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

// A main window started from c as the program starts it, shown and waited on until active.
// A window that could not start fails the test and is handed back unshown.
inline std::unique_ptr<TMainWindow> StartWindow(const TStartContext& c, TScriptedDialogs& dialogs) {
  auto window = std::make_unique<TMainWindow>(c, dialogs);
  EXPECT_TRUE(window->Initialized()) << dialogs.errors.join("\n").toStdString();
  if (!window->Initialized()) return window;
  window->ShowAsPlanned();
  EXPECT_TRUE(WaitUntil([&] { return window->Activated(); }));
  return window;
}

// Closes the window as a user does, answering Yes to the question on leaving, or No to saving
// changed choices.
inline void CloseWindow(std::unique_ptr<TMainWindow>& window, TScriptedDialogs& dialogs) {
  dialogs.answers = {true};
  dialogs.choices = {TAnswer::No};
  window->close();
  window.reset();
}

}  // namespace zen::test
