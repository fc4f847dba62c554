// The Main page's time controls, driven through the real widgets.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QKeyEvent>

#include "app/main_page.h"
#include "app_fixture.h"
#include "display/footer.h"

namespace zen {
namespace {

const TDateRec kClock{2026, 5, 30, 21, 15, 30, 0};

class MainPage : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    tracker_ = std::make_unique<TTracker>([] { return kClock; });
    tracker_->PobierzCzas();
    commands_ = std::make_unique<TTimeCommands>(
        *tracker_, [this] { return detected_; }, dialogs_);
    tracking_ = std::make_unique<TTrackingCommands>(*tracker_, footer_, dialogs_);
    window_ = std::make_unique<TWindowCommands>(
        host_, [this]() -> const QImage& { return map_; }, dialogs_);
    update_ = std::make_unique<TUpdateCommands>(*tracking_, nullptr);
    page_ = std::make_unique<TMainPage>(*tracker_, *commands_, *window_, *tracking_, *update_);
    QObject::connect(tracker_.get(), &TTracker::Changed, [this] { ++timeChanges_; });
  }
  // Widgets and actions need the application before any member is made.
  bool application_ = (test::EnsureApplication(), true);
  test::TScriptedDialogs dialogs_;
  TFooter footer_;
  QWidget host_;
  QImage map_;
  double detected_ = 0.0;
  std::unique_ptr<TTracker> tracker_;
  std::unique_ptr<TTimeCommands> commands_;
  std::unique_ptr<TTrackingCommands> tracking_;
  std::unique_ptr<TWindowCommands> window_;
  std::unique_ptr<TUpdateCommands> update_;
  std::unique_ptr<TMainPage> page_;
  int timeChanges_ = 0;
};

TEST_F(MainPage, SimulationControlsAreEnabledOnlyInSimulation) {
  for (QWidget* w : {static_cast<QWidget*>(page_->jumpBack), static_cast<QWidget*>(page_->simTime),
                     static_cast<QWidget*>(page_->jumpUnit)}) {
    EXPECT_FALSE(w->isEnabled());
  }
  page_->simulation->click();
  EXPECT_EQ(tracker_->time.Mode(), TTimeMode::Simulation);
  EXPECT_TRUE(page_->jumpBack->isEnabled());
  EXPECT_TRUE(page_->autoForward->isEnabled());
  EXPECT_EQ(timeChanges_, 1);
}

TEST_F(MainPage, PlusWithFiveMinutesMovesFiveMinutes) {
  page_->simulation->click();
  page_->jumpUnit->setCurrentIndex(1);
  page_->jumpMultiplier->setCurrentIndex(3);
  double before = tracker_->time.SimTime;
  page_->jumpForward->click();
  EXPECT_NEAR(tracker_->time.SimTime - before, 5.0 / 1440.0, 1e-9);
  EXPECT_EQ(DateRecToText(tracker_->time.LocalRecord), "2026-05-30 21:20:30");
}

TEST_F(MainPage, AutoButtonsSwapCaptionsAndRealTimeStopsThem) {
  page_->simulation->click();
  page_->autoBackward->click();
  EXPECT_EQ(page_->autoBackward->text(), "STOP");
  page_->autoForward->click();
  EXPECT_EQ(page_->autoForward->text(), "STOP");
  EXPECT_EQ(page_->autoBackward->text(), "Auto bck");
  page_->realTime->click();
  EXPECT_EQ(tracker_->time.AutoStep, 0);
  EXPECT_EQ(page_->autoForward->text(), "Auto fwd");
  EXPECT_FALSE(page_->autoForward->isEnabled());
}

TEST_F(MainPage, TypedUtcMomentIsKeptWhateverTheOffset) {
  commands_->SetOffset(3.5);
  page_->simulation->click();
  page_->showUtc->click();
  page_->simTime->setText("2002-06-01 12:00:00");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(page_->simTime, &enter);
  EXPECT_EQ(DateRecToText(tracker_->time.DisplayRecord()), "2002-06-01 12:00:00");
  EXPECT_EQ(page_->simTime->text(), "2002-06-01 12:00:00");
  // Nonsense is normalised, never refused.
  page_->simTime->setText("2023-02-30 25:61:61");
  QApplication::sendEvent(page_->simTime, &enter);
  EXPECT_EQ(page_->simTime->text(), "2023-02-28 23:59:59");
}

TEST_F(MainPage, OffsetButtonsStepByHalfHoursAndStopAtTwelve) {
  EXPECT_EQ(page_->offsetLabel->text(), "UTC +0:00");
  page_->offsetPlus->click();
  EXPECT_EQ(page_->offsetLabel->text(), "UTC +0:30");
  commands_->SetOffset(12.0);
  page_->offsetPlus->click();
  EXPECT_EQ(page_->offsetLabel->text(), "UTC +12:00");
  detected_ = -5.0;
  page_->offsetAuto->click();
  EXPECT_EQ(page_->offsetLabel->text(), "UTC -5:00");
  EXPECT_EQ(page_->offsetMinus->toolTip(), "Decrease UTC offset");
}

TEST_F(MainPage, CaptionsAndHints) {
  EXPECT_EQ(page_->realTime->text(), "R&eal time");
  EXPECT_EQ(page_->simulation->text(), "S&imulation");
  EXPECT_EQ(page_->jumpBack->toolTip(), "Jump backward (Ctrl+NUM-)");
  EXPECT_EQ(page_->autoForward->toolTip(), "Auto forward simulation (Ctrl+PgDn)");
  EXPECT_EQ(page_->screenShotButton->toolTip(), "Screen shot (Alt+F2; Alt+Shift+F2 - map only)");
  EXPECT_EQ(page_->jumpUnit->count(), 6);
  EXPECT_EQ(page_->jumpMultiplier->itemText(1), "0.50");
  EXPECT_EQ(page_->jumpUnit->currentText(), "min");
  EXPECT_EQ(page_->jumpMultiplier->currentText(), "5");
}

}  // namespace
}  // namespace zen
