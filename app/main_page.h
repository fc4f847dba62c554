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

#include "app/time_commands.h"
#include "app/tracking_commands.h"
#include "app/update_commands.h"
#include "app/window_commands.h"

namespace zen {

class TMainPage : public QWidget {
  Q_OBJECT

 public:
  // Every control runs a command of its owner; the page shows the model after each change.
  TMainPage(const TTracker& tracker, TTimeCommands& time, TWindowCommands& window,
            TTrackingCommands& tracking, TUpdateCommands& update, QWidget* parent = nullptr);

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
  QComboBox* refresh;
  QLabel* offsetLabel;
  QPushButton* offsetAuto;
  QPushButton* offsetPlus;
  QPushButton* offsetMinus;
  QCheckBox* timePanel;
  QPushButton* exitButton;
  QPushButton* minimizeButton;
  QPushButton* screenShotButton;
  QPushButton* helpButton;
  QPushButton* loadTleButton;
  QPushButton* updateButton;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TTracker& tracker_;
  TTimeCommands& time_;

  // The simulated-time field shows the time unless the user is typing in it.
  void ShowTime();
  void Sync();
  void UstawCzas();
};

}  // namespace zen
