// The running window with the shipped sample element file, and the progress dialog driven
// from inside its modal loop.
#pragma once

#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "app/prediction_page.h"
#include "app/prediction_setup_page.h"
#include "app/search_dialog.h"
#include "app_fixture.h"

namespace zen::test {

inline const QString kSampleTle = QStringLiteral(ZEN_SOURCE_DIR "/resources/Tle/sample.tle");

class PredictionWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(QFile::exists(kSampleTle)) << "no sample.tle under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Tle")));
    ASSERT_TRUE(QFile::copy(kSampleTle, folder.home.filePath("Tle/sample.tle")));
    Start({"25544"});
  }

  // A window on 2026-05-30 21:15:30 local (UTC+2), the sample (or elementFile) loaded and
  // track tracked.
  void Start(const std::vector<std::string>& track, const QString& elementFile = {}) {
    TStartContext c = Context(folder.home.path(), folder.locks.path());
    c.elementFile = elementFile.isEmpty() ? folder.home.filePath("Tle/sample.tle") : elementFile;
    c.trackIds = track;
    window = std::make_unique<TMainWindow>(c, dialogs);
    window->ShowAsPlanned();
    ASSERT_TRUE(WaitUntil([&] { return window->Activated(); }));
    setup = window->PredictionSetupPage();
    page = window->PredictionPage();
    commands = &window->PredictionCommands();
    dialog = window->SearchDialog();
  }

  // Types text into a field and leaves it, as a user would.
  static void Leave(QWidget* field, const std::function<void()>& type) {
    field->setFocus();
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(field, &in);
    type();
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(field, &out);
  }
  static void Leave(QLineEdit* field, const QString& text) {
    Leave(field, [&] { field->setText(text); });
  }

  // Every pass in a day of the sample, whatever the daylight.
  void AnyLight() {
    setup->illumination->setChecked(false);
    setup->sunLimit->setChecked(false);
  }
  // A 99-day search of every loaded set, its dialog closed by two presses once a pass is in:
  // the search goes on after the dialog has gone.
  void CloseDialogOfALongSearch() {
    AnyLight();
    setup->allLoaded->setChecked(true);
    setup->periodCount->setValue(99);
    Predict([&] {
      ASSERT_TRUE(test::WaitUntil([this] { return dialog->totalCount->text() != "0"; }, 60000));
      dialog->button->click();
      dialog->button->click();
    });
  }

  // Presses "&Predict"; script runs inside the progress dialog's modal loop and must close
  // the dialog (a dialog left open fails the test and is closed).
  void Predict(const std::function<void()>& script) {
    QTimer::singleShot(0, window.get(), [this, script] {
      script();
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the progress dialog was left open";
        dialog->done(QDialog::Rejected);
      }
    });
    page->predictButton->click();
  }
  bool Finished() const { return dialog->windowTitle() == "Finished!"; }
  // Runs a search to its end and presses "Ok".
  void PredictToTheEnd() {
    Predict([this] {
      ASSERT_TRUE(WaitUntil([this] { return Finished(); }, 60000));
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(dialog->button, &enter);
      EXPECT_FALSE(dialog->isVisible()) << "Enter presses \"Ok\"";
    });
  }
  QString Cell(int row, int column) const {
    return page->resultz->model()->index(row, column).data().toString();
  }

  TProgramFolder folder;
  TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
  TPredictionSetupPage* setup = nullptr;
  TPredictionPage* page = nullptr;
  TPredictionCommands* commands = nullptr;
  TForm3* dialog = nullptr;
};

}  // namespace zen::test
