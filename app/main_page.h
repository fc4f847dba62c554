// The "Main" page: time mode and display, simulated time, jumps, automatic stepping, refresh,
// the UTC offset, the time panel switch and the window buttons.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>

#include "tracking/time_control.h"

namespace zen {

inline constexpr std::array<int, 6> kRefreshSeconds = {1, 5, 10, 20, 30, 60};

class TMainPage : public QWidget {
  Q_OBJECT

 public:
  TMainPage(TTimeControl& time, QWidget* parent = nullptr);

  // The simulated-time field shows text unless the user is typing in it.
  void ShowTime(const QString& text);
  // Enables the seven simulation controls and sets the radio buttons from the model.
  void SyncFromModel();
  void SetOffsetLabel();

  int RefreshIndex() const { return refresh_->currentIndex(); }
  void SetRefreshIndex(int index) { refresh_->setCurrentIndex(index); }
  bool TimePanelShown() const { return timePanel_->isChecked(); }
  void SetTimePanelShown(bool shown) { timePanel_->setChecked(shown); }

  QRadioButton* realTime;
  QRadioButton* simulation;
  QRadioButton* showUtc;
  QRadioButton* showLocal;
  QLineEdit* simTime;
  QComboBox* jumpUnit;
  QComboBox* jumpMultiplier;
  QPushButton* jumpBack;
  QPushButton* jumpForward;
  QPushButton* autoBackward;
  QPushButton* autoForward;
  QComboBox* refresh_;
  QLabel* offsetLabel;
  QPushButton* offsetAuto;
  QPushButton* offsetPlus;
  QPushButton* offsetMinus;
  QCheckBox* timePanel_;
  QPushButton* exitButton;
  QPushButton* minimizeButton;
  QPushButton* screenShotButton;
  QPushButton* helpButton;
  QPushButton* loadTleButton;

  // The offset the machine has now, in hours (local time minus UTC).
  std::function<double()> detectedOffset;
  // Whether "Beg. after return to RT" is checked on the Options page.
  std::function<bool()> beginAfterReturnToRt;

 signals:
  // The moment changed: fetch the time, compute and draw (ZmianaCzasu).
  void TimeChanged();
  // Only the time texts need drawing again.
  void TimeDisplayChanged();
  // "Sat on track" must go back to "Begin" after a return to real time.
  void SatOnTrackToBegin();
  void RefreshChanged(int seconds);
  void TimePanelToggled(bool shown);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TTimeControl& time_;
  bool editing_ = false;

  void onModeClicked();
  void onSimTimeEntered();
  void onSimTimeLeft();
  void UstawCzas();
  void SetAutoCaptions();
};

}  // namespace zen
